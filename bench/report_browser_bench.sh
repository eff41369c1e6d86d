#!/usr/bin/env bash
# The site report of many generated pages (10,000 by default) in headless Chromium: the time
# velmora-cli takes to write it and its size, then, per run, the browser's time to parse the
# report and run its script, to lay out the table, and to sort it three times (rating up,
# rating down, file name), each sort timed until the new order is laid out. Medians of the runs.
#
#   bench/report_browser_bench.sh RELEASE_BUILD [pages] [runs]
set -euo pipefail

build="${1:?usage: report_browser_bench.sh RELEASE_BUILD [pages] [runs]}"
pages=${2:-10000}
runs=${3:-5}
chromium=/usr/bin/chromium

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work"
"$build/bench/generate_varied_pages" "$work/site" "$pages" > /dev/null

start=$(date +%s%N)
"$build/cli/velmora-cli" report --defaults "$work/site" -o "$work/report.html"
end=$(date +%s%N)
echo "velmora-cli report: $(((end - start) / 1000000)) ms," \
    "$(($(stat -c %s "$work/report.html") / 1024)) KiB"

# The probe runs right after the report's own script, so the clock then covers the parse of the
# whole file, the embedded data and the script's set-up.
cat > "$work/probe.js" <<'PROBE'
<script>
(function () {
    var ready = performance.now();
    document.body.offsetHeight;
    var laidOut = performance.now();
    function sort(key) {
        var started = performance.now();
        document.querySelector('#pages thead button[data-key="' + key + '"]').click();
        document.body.offsetHeight;
        return Math.round(performance.now() - started);
    }
    var out = document.createElement('pre');
    out.id = 'bench';
    out.textContent = [Math.round(ready), Math.round(laidOut - ready), sort('rating'),
                       sort('rating'), sort('file'),
                       document.querySelectorAll('#pages tr.page').length].join(' ');
    document.body.appendChild(out);
})();
</script>
PROBE
awk -v probe="$work/probe.js" '/^<\/body>$/ { while ((getline line < probe) > 0) print line } { print }' \
    "$work/report.html" > "$work/probed.html"

for run in $(seq "$runs"); do
    start=$(date +%s%N)
    "$chromium" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$work/profile-$run" --dump-dom "file://$work/probed.html" 2> /dev/null |
        sed -n 's#.*<pre id="bench">\([^<]*\)</pre>.*#\1#p' > "$work/figures-$run"
    end=$(date +%s%N)
    echo "$(cat "$work/figures-$run") $(((end - start) / 1000000))" >> "$work/figures"
done

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
column() { awk -v c="$1" '{ print $c }' "$work/figures" | median; }
echo "browser, median of $runs runs, $(column 6) rows:"
echo "  parse and script $(column 1) ms, layout $(column 2) ms"
echo "  sort by rating up $(column 3) ms, down $(column 4) ms, by file $(column 5) ms"
echo "  whole headless run (start, load, dump) $(column 7) ms"
