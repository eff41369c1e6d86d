#!/usr/bin/python3
"""Validates analyze's JSON Lines against the JSON Schema that ships in dist/schema, with
Debian's python3-jsonschema.

Usage: validate_analyze_json.py SCHEMA FILE.jsonl...
"""
import json
import sys

import jsonschema


def undescribed(page, schema):
    """The fields of the line and of its site object that the schema does not describe."""
    missing = [key for key in page if key not in schema["properties"]]
    site_schema = schema["properties"].get("site", {}).get("properties", {})
    missing += ["site/" + key for key in page.get("site", {}) if key not in site_schema]
    return missing


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        schema = json.load(f)
    validator_class = jsonschema.validators.validator_for(schema)
    validator_class.check_schema(schema)
    validator = validator_class(schema)
    failed = False
    for path in sys.argv[2:]:
        lines = 0
        with open(path, encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                lines += 1
                page = json.loads(line)
                for error in validator.iter_errors(page):
                    failed = True
                    print("%s:%d: %s at %s" % (path, number, error.message,
                                               "/".join(map(str, error.absolute_path))))
                # Readers must accept new fields, so the schema cannot refuse them: every field
                # the program writes is held against the schema's list here instead.
                for where in undescribed(page, schema):
                    failed = True
                    print("%s:%d: %s is not in the schema" % (path, number, where))
        print("%s: %d lines" % (path, lines))
        failed = failed or lines == 0
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
