#!/usr/bin/env bash
# velmora-cli analyze --json, run as a program, against the JSON Schema of its JSON Lines that
# ships in dist/schema: the sample pages, and pages with hostile names and contents.
# Usage: analyze_schema_test.sh VELMORA_CLI SCHEMA EXAMPLES SCRATCH
set -euo pipefail
cli=$1 schema=$2 examples=$3 scratch=$4
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$scratch" && mkdir -p "$scratch/site" && cd "$scratch"

printf '<html>\r\n<head><title>Esc \033[2J and \001</title>\r\n<meta name="keywords" content="a, a, \033">\r\n</head><body><h3>\033[2J</h3><img src="x\001.png"><a href="/m">more</a>\r\n<!-- velmora-disable-next-line images, nonsense -->\r\n<img src="y.png"></body></html>\r\n' \
    >"site/odd name: 100%, é.html"
printf '<p>\xe9t\xe9</p>\r<h1>Caf\xe9</h1>\r<h3>skip</h3>\r' >site/windows-1252.htm
printf '' >site/empty.html
printf '<meta name="robots" content="noindex"><script type="application/ld+json">{"a":}</script>' \
    >site/broken.php

run() {
    local status=0
    "$cli" analyze --no-config --defaults --json "$@" || status=$?
    [ "$status" -le 1 ] || { echo "velmora-cli exited $status" >&2; return 1; }
}
run site >hostile.jsonl 2>/dev/null
run "$examples" >examples.jsonl
run --baseline examples.jsonl "$examples" >baselined.jsonl
/usr/bin/python3 "$here/validate_analyze_json.py" "$schema" hostile.jsonl examples.jsonl baselined.jsonl
