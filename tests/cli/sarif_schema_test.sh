#!/usr/bin/env bash
# velmora-cli analyze --format sarif, run as a program, against the SARIF 2.1.0 schema: the
# sample pages given by absolute path, and pages with awkward names and contents given from the
# working folder. Usage: sarif_schema_test.sh VELMORA_CLI SCHEMA EXAMPLES SCRATCH
set -euo pipefail
cli=$1 schema=$2 examples=$3 scratch=$4
rm -rf "$scratch" && mkdir -p "$scratch/site" && cd "$scratch"

printf '<html>\r\n<head><title>100%% sure: yes, really</title>\r\n<meta name="keywords" content="a, a">\r\n</head><body><img src="x%%:,y.png"><a href="/m">more</a></body></html>\r\n' \
    >"site/odd name: 100%, é.html"
printf '<p>\xe9t\xe9</p>\r<h1>Caf\xe9</h1>\r<h3>skip</h3>\r' >site/windows-1252.htm
printf '' >site/empty.html

analyze() {
    local status=0
    "$cli" analyze --defaults --format sarif "$@" || status=$?
    # 1 only says that some page failed its bar; the log is still whole.
    [ "$status" -le 1 ] || { echo "velmora-cli exited $status" >&2; return 1; }
}
analyze site >relative.sarif
analyze "$examples" >absolute.sarif
analyze site/empty.html --skip-check title --skip-check content >few.sarif
analyze site --min-level info --base-dir . >notes.sarif
# An unreadable file is a notification of the invocation, and exit 3.
status=0
"$cli" analyze --defaults --format sarif site/empty.html site/missing.html >failed.sarif || status=$?
[ "$status" -eq 3 ] || { echo "velmora-cli exited $status for a missing file" >&2; exit 1; }
/usr/bin/python3 "$(dirname "$0")/validate_sarif.py" "$schema" relative.sarif absolute.sarif \
    few.sarif notes.sarif failed.sarif
