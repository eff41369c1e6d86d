#!/usr/bin/python3
"""Validates analyze's JSON Lines against the JSON Schema that ships in dist/schema, with
Debian's python3-jsonschema.

Usage: validate_analyze_json.py SCHEMA FILE.jsonl...
"""
import json
import sys

import jsonschema


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
                for error in validator.iter_errors(json.loads(line)):
                    failed = True
                    print("%s:%d: %s at %s" % (path, number, error.message,
                                               "/".join(map(str, error.absolute_path))))
        print("%s: %d lines" % (path, lines))
        failed = failed or lines == 0
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
