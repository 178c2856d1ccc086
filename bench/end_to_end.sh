#!/usr/bin/env bash
# End-to-end benchmark: a list report of RECORDS order lines (default 100,000; the shape of
# prepare_bench) is served over loopback HTTP and zrviewer downloads the form and the data
# page, prepares the report and saves it as PDF. Prints the wall time and peak memory of that
# run, then where the time goes, stage by stage (end_to_end_stages_bench on the same files).
#
#   bench/end_to_end.sh [RECORDS]      (after scripts/setup on a fresh machine)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
records=${1:-100000}

cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j 2 --target zrviewer zrtool end_to_end_stages_bench >/dev/null

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

# Wall time and peak resident memory of the zrviewer process.
python3 - "$work" "http://127.0.0.1:$port" <<'PY'
import os, resource, subprocess, sys, time
work, site = sys.argv[1], sys.argv[2]
pdf = os.path.join(work, "list.pdf")
command = ["build/apps/zrviewer/zrviewer", "--ReportFile", site + "/list.zrf",
           "--dataFile", site + "/list.html", "--Progress", "1", "--publ", "1",
           "--TimeOut", "3000", "save", "0", pdf]
env = dict(os.environ, ZOREL_HOME=os.path.join(work, "zorel"))
start = time.monotonic()
status = subprocess.call(command, env=env)
wall = time.monotonic() - start
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
size = os.path.getsize(pdf) // 1024 if os.path.exists(pdf) else 0
print(f"zrviewer save 0 (PDF): exit {status}, wall {wall:.2f} s, peak {peak:.0f} MiB, "
      f"PDF {size} KiB")
PY

echo "stages (the same form and page in one process, without HTTP):"
build/bench/end_to_end_stages_bench "$site/list.zrf" "$site/list.html" "$work/stages"
