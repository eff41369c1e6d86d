#!/usr/bin/python3
"""Validates SARIF logs against the SARIF 2.1.0 JSON schema with Debian's python3-jsonschema,
then checks what the schema cannot: each result names its rule consistently.

Usage: validate_sarif.py SCHEMA LOG...
"""
import json
import sys

import jsonschema


def problems(schema, log):
    validator = jsonschema.validators.validator_for(schema)(schema)
    for error in validator.iter_errors(log):
        yield "schema: %s at %s" % (error.message, "/".join(map(str, error.absolute_path)))
    for run in log.get("runs", []):
        rules = run["tool"]["driver"].get("rules", [])
        for number, result in enumerate(run.get("results", [])):
            index = result.get("ruleIndex")
            if index is None or index >= len(rules) or rules[index]["id"] != result.get("ruleId"):
                yield "result %d: ruleIndex %s does not name rule %s" % (
                    number, index, result.get("ruleId"))


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        schema = json.load(f)
    jsonschema.validators.validator_for(schema).check_schema(schema)
    failed = False
    for path in sys.argv[2:]:
        with open(path, encoding="utf-8") as f:
            log = json.load(f)
        found = list(problems(schema, log))
        for problem in found:
            print("%s: %s" % (path, problem))
        failed = failed or bool(found)
        results = sum(len(run.get("results", [])) for run in log.get("runs", []))
        print("%s: %s, %d results" % (path, "INVALID" if found else "valid", results))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
