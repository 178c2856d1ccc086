#!/usr/bin/env bash
# Printing benchmark: the list report of end_to_end.sh (RECORDS order lines, default
# 100,000) is loaded from local files, prepared and printed with `zrviewer print` on a file
# queue of a CUPS server of its own (scripts/lib/file_queue.sh). Prints the wall time and
# peak memory of zrviewer, the time until the queue has written the document, and the
# document's pages and size.
#
#   bench/print_list.sh [RECORDS]      (after scripts/setup on a fresh machine)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
records=${1:-100000}

cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j 2 --target zrviewer zrtool >/dev/null

work="$root/build/bench-print"
rm -rf "$work" && mkdir -p "$work"
build/apps/zrtool/zrtool form build bench/end_to_end_form.json -o "$work/list.zrf"
python3 bench/end_to_end_page.py "$records" >"$work/list.html"
echo "data page: $records records, $(($(stat -c %s "$work/list.html") / 1024)) KiB"

output="$work/printed.pdf"
source scripts/lib/file_queue.sh
file_queue_start "$work/cups" "$output"
trap file_queue_stop EXIT

python3 - "$work" "$output" <<'PY'
import os, resource, subprocess, sys, time
work, output = sys.argv[1], sys.argv[2]
command = ["build/apps/zrviewer/zrviewer", "--ReportFile", os.path.join(work, "list.zrf"),
           "--dataFile", os.path.join(work, "list.html"), "--Progress", "1", "--publ", "1",
           "print"]
env = dict(os.environ, ZOREL_HOME=os.path.join(work, "zorel"))
start = time.monotonic()
status = subprocess.call(command, env=env)
wall = time.monotonic() - start
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
print(f"zrviewer print: exit {status}, wall {wall:5.2f} s, peak {peak:4.0f} MiB")
while not (os.path.exists(output) and open(output, "rb").read()[-1024:].find(b"%%EOF") >= 0):
    if time.monotonic() - start > 600:
        sys.exit("the file queue wrote no document")
    time.sleep(0.1)
print(f"document written by the queue after {time.monotonic() - start:5.2f} s")
PY
echo "document: $(pdfinfo "$output" | sed -n 's/^Pages: *//p') pages, $(($(stat -c %s "$output") / 1024 / 1024)) MiB"
