#!/usr/bin/env bash
# A second CalDAV server for the sync's interop test: Debian's xandikos on 127.0.0.1, a port the
# system picks, its storage in a fresh folder under /dev/shm. xandikos checks no password (it
# leaves that to a web server in front of it); the user's principal is /alice/, and a calendar
# goes below /alice/calendars/.
#   xandikos.sh start DIR    starts it; DIR/url holds http://127.0.0.1:PORT
#   xandikos.sh stop DIR     stops it and removes its storage
set -euo pipefail

command=${1:?start or stop}
dir=${2:?folder}

case "$command" in
start)
  # A server this folder still holds (a repeated run) is stopped first, or it would be lost.
  [[ -f "$dir/pid" || -f "$dir/storage" ]] && "$0" stop "$dir"
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  storage=$(mktemp -d /dev/shm/tilava-xandikos.XXXXXX)
  printf '%s\n' "$storage" >"$dir/storage"
  # Its log does not name a port the system gave, so a free one is picked first; when another
  # program takes it meanwhile, the server ends and another port is tried.
  for _ in $(seq 5); do
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    /usr/bin/xandikos --directory "$storage/data" --defaults --current-user-principal /alice/ \
      --listen-address 127.0.0.1 --port "$port" >"$dir/log" 2>&1 &
    pid=$!
    echo "$pid" >"$dir/pid"
    # A slow start on a busy machine gets 60 s.
    for _ in $(seq 600); do
      if grep -q "Running on" "$dir/log" &&
        python3 -c 'import socket, sys; socket.create_connection(("127.0.0.1", int(sys.argv[1])), 1)' "$port" 2>/dev/null; then
        printf 'http://127.0.0.1:%s\n' "$port" >"$dir/url"
        exit 0
      fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && break
  done
  echo "xandikos.sh: the server did not start in 60 s" >&2
  cat "$dir/log" >&2
  exit 1
  ;;
stop)
  # Stopping a server of either make is the same: its process and its storage go.
  exec "$(dirname "$0")/radicale.sh" stop "$dir"
  ;;
*)
  echo "xandikos.sh: start or stop" >&2
  exit 2
  ;;
esac
