#!/usr/bin/env python3
"""Checks JSON files against the feed schema with the jsonschema library.

Usage: check-feed-schema.py SCHEMA FILE_OR_FOLDER...
A folder stands for every *.json file in it. Prints one line per invalid file and exits
with 1 when any file is invalid, 2 when a file cannot be read or the schema is broken.
"""
import json
import pathlib
import sys

try:
    import jsonschema
except ImportError:
    print("the Python package jsonschema is missing (Debian: python3-jsonschema)", file=sys.stderr)
    sys.exit(2)


def files(arguments):
    for argument in arguments:
        path = pathlib.Path(argument)
        if path.is_dir():
            yield from sorted(path.glob("*.json"))
        else:
            yield path


def main():
    if len(sys.argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    schema = json.loads(pathlib.Path(sys.argv[1]).read_text(encoding="utf-8"))
    validator_class = jsonschema.validators.validator_for(schema)
    validator_class.check_schema(schema)
    validator = validator_class(schema)
    checked = 0
    invalid = 0
    for path in files(sys.argv[2:]):
        try:
            instance = json.loads(path.read_text(encoding="utf-8"))
        except (OSError, ValueError) as error:
            print(f"{path}: {error}", file=sys.stderr)
            return 2
        checked += 1
        for error in validator.iter_errors(instance):
            invalid += 1
            location = "/".join(str(p) for p in error.absolute_path)
            print(f"{path}: {location}: {error.message}")
    if checked == 0:
        print("no files to check", file=sys.stderr)
        return 2
    return 1 if invalid else 0


if __name__ == "__main__":
    sys.exit(main())
