# A CUPS server of our own with one file queue, for printing without touching the system's
# CUPS: cupsd runs from a folder with its own configuration, spool and socket, and its queue
# "ZorelFile" writes what it is sent into a file (FileDevice Yes; a pass-through filter, so
# the document arrives as the viewer made it). Source this file, then:
#
#   file_queue_start DIR OUTPUT   starts it in DIR (created anew); the queue writes OUTPUT
#                                 and is the server's default; exports CUPS_SERVER
#   file_queue_stop               stops it (by its process id)
#
# Each job replaces OUTPUT. Needs cupsd (Debian's cups-daemon, installed by scripts/setup).

file_queue_start() {
  local dir=$1 output=$2 source
  source=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  rm -rf "$dir" && mkdir -p "$dir"/{etc/ppd,spool,tmp,cache,state,log}
  chmod 755 "$dir"
  mkdir -p "$(dirname "$output")"
  # The filter runs as the server's user: readable and executable by it, written by nobody else.
  printf '#!/bin/sh\nexec cat "${6:--}"\n' >"$dir/pass-through"
  chmod 755 "$dir/pass-through"
  sed -e "s|^\*cupsFilter2:.*|*cupsFilter2: \"application/pdf application/vnd.cups-pdf 0 $dir/pass-through\"|" \
    "$source/tests/data/printing/pdf_laser.ppd" >"$dir/etc/ppd/ZorelFile.ppd"
  cat >"$dir/etc/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel warn
<Location />
  Order allow,deny
  Allow all
</Location>
CONF
  cat >"$dir/etc/cups-files.conf" <<CONF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
FileDevice Yes
CONF
  cat >"$dir/etc/printers.conf" <<CONF
<DefaultPrinter ZorelFile>
Info Zorel file queue
DeviceURI file://$output
State Idle
Accepting Yes
Shared No
</DefaultPrinter>
CONF
  /usr/sbin/cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" &
  file_queue_pid=$!
  for _ in $(seq 100); do
    [ -S "$dir/cups.sock" ] && break
    sleep 0.1
  done
  [ -S "$dir/cups.sock" ] || { echo "cupsd did not start:" >&2; cat "$dir/log/error_log" >&2; return 1; }
  export CUPS_SERVER="$dir/cups.sock"
  file_queue_dir=$dir
}

file_queue_stop() {
  [ -n "${file_queue_pid:-}" ] && kill "$file_queue_pid" 2>/dev/null && wait "$file_queue_pid" 2>/dev/null
  file_queue_pid=""
  return 0
}

# Waits until OUTPUT holds a finished document (the queue writes it after the job is sent).
file_queue_wait() {
  local output=$1
  for _ in $(seq 600); do
    [ -s "$output" ] && tail -c 1024 "$output" | grep -q '%%EOF' && return 0
    sleep 0.1
  done
  echo "the file queue wrote no document; its log:" >&2
  cat "$file_queue_dir/log/error_log" >&2
  return 1
}
