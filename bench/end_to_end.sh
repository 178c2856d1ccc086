#!/usr/bin/env bash
# End-to-end benchmark: a list report of RECORDS order lines (default 100,000: 7 columns,
# groups per customer with SUM and COUNT, a column header on every page, "Page X of Y" in two
# passes) is served over loopback HTTP, and zrviewer downloads the form and the data page,
# prepares the report and saves it as PDF, once in each PDF mode. Prints the wall time, peak
# memory and file size of each run, then the same run exported to HTML (a file per page, and
# one file), RTF, and PDF against Excel (save 10), one process each (document_exports_bench:
# the export's own time and the process's peak memory after it), then where the time goes,
# stage by stage (end_to_end_stages_bench on the same addresses, in one process).
#
#   bench/end_to_end.sh [RECORDS]      (after scripts/setup on a fresh machine)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
records=${1:-100000}

cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j 2 --target zrviewer zrtool end_to_end_stages_bench document_exports_bench >/dev/null

work="$root/build/bench-e2e"
site="$work/site"
rm -rf "$work" && mkdir -p "$site"
build/apps/zrtool/zrtool form build bench/end_to_end_form.json -o "$site/list.zrf"
python3 bench/end_to_end_page.py "$records" >"$site/list.html"
echo "data page: $records records, $(($(stat -c %s "$site/list.html") / 1024)) KiB"

log="$work/http.log"
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$site" >"$log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
port=""
for _ in $(seq 100); do
  port=$(sed -n 's/.* port \([0-9]*\) .*/\1/p' "$log" | head -n 1)
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "end_to_end: the web server did not start" >&2; cat "$log" >&2; exit 1; }
site_url="http://127.0.0.1:$port"

# Wall time and peak resident memory of each zrviewer process.
for mode in portable classic xlsx; do
  python3 - "$work" "$site_url" "$mode" <<'PY'
import os, resource, subprocess, sys, time
work, site, mode = sys.argv[1], sys.argv[2], sys.argv[3]
# "xlsx" is the same run saved as an Excel workbook (save 10) instead.
excel = mode == "xlsx"
pdf = os.path.join(work, "list.xlsx" if excel else f"list-{mode}.pdf")
command = ["build/apps/zrviewer/zrviewer", "--ReportFile", site + "/list.zrf",
           "--dataFile", site + "/list.html", "--Progress", "1", "--publ", "1",
           "--TimeOut", "3000"] + (["save", "10", pdf] if excel else
                                   ["--PdfMode", mode, "save", "0", pdf])
env = dict(os.environ, ZOREL_HOME=os.path.join(work, "zorel"))
start = time.monotonic()
status = subprocess.call(command, env=env, stdout=subprocess.DEVNULL)
wall = time.monotonic() - start
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
size = os.path.getsize(pdf) / 1e6 if os.path.exists(pdf) else 0
what = "save 10, Excel  " if excel else f"save 0, {mode:8}"
print(f"zrviewer {what}: exit {status}, wall {wall:5.2f} s, peak {peak:4.0f} MiB, "
      f"{'xlsx' if excel else 'PDF'} {size:5.1f} MB")
PY
done

echo "HTML, RTF, PDF and Excel (one process each: the export's time, the process's peak memory after it):"
for format in html-pages html-file rtf pdf xlsx; do
  extension=htm
  [ "$format" = rtf ] && extension=rtf
  [ "$format" = pdf ] && extension=pdf
  [ "$format" = xlsx ] && extension=xlsx
  out="$work/$format/list.$extension"
  build/bench/document_exports_bench "$site_url/list.zrf" "$site_url/list.html" "$format" \
    "$out" "$work/$format-sections" | tail -n 1
  rm -rf "$work/$format"
done

echo "stages (the same addresses in one process):"
build/bench/end_to_end_stages_bench "$site_url/list.zrf" "$site_url/list.html" "$work/stages"
