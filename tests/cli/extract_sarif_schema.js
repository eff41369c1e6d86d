// Reads the SARIF 2.1.0 schema out of a package's bundle, where the bundler turned the schema's
// JSON file into an object literal, and writes it as JSON.
// Usage: node extract_sarif_schema.js BUNDLE OUTPUT
"use strict";
const fs = require("fs");
const [bundle, output] = process.argv.slice(2);
const source = fs.readFileSync(bundle, "utf8");
const marker = "var sarif_schema_2_1_0_default = ";
const start = source.indexOf(marker);
if (start < 0) {
    throw new Error(`no SARIF schema in ${bundle}`);
}
// The literal ends at the first line that closes the top-level object.
const end = source.indexOf("\n};", start);
const literal = source.slice(start + marker.length, end + 2);
const schema = new Function(`return ${literal};`)();
fs.writeFileSync(output, JSON.stringify(schema, null, 2) + "\n");
