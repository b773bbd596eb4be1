#!/usr/bin/env bash
# A second CalDAV server for the sync's tests: Debian's xandikos on 127.0.0.1, its storage in a
# fresh folder under /dev/shm, with its default calendar (/user/calendars/calendar/). It asks
# for no password; the client sends one anyway.
#   xandikos.sh start DIR   starts it; DIR/url holds http://127.0.0.1:PORT
#   xandikos.sh stop DIR    stops it and removes its storage
set -euo pipefail

command=${1:?start or stop}
dir=${2:?folder}

case "$command" in
start)
  [[ -f "$dir/pid" || -f "$dir/storage" ]] && "$0" stop "$dir"
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  storage=$(mktemp -d /dev/shm/tilava-xandikos.XXXXXX)
  printf '%s\n' "$storage" >"$dir/storage"
  # xandikos cannot take port 0 and say which one it got: a free port is picked here, and
  # picked again when another program took it meanwhile.
  for _ in 1 2 3 4 5; do
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    /usr/bin/xandikos --defaults -d "$storage/data" -l 127.0.0.1 -p "$port" >"$dir/log" 2>&1 &
    echo $! >"$dir/pid"
    for _ in $(seq 600); do
      if grep -q "Running on http://127.0.0.1:$port" "$dir/log"; then
        printf 'http://127.0.0.1:%s\n' "$port" >"$dir/url"
        exit 0
      fi
      kill -0 "$(cat "$dir/pid")" 2>/dev/null || break
      sleep 0.1
    done
    kill "$(cat "$dir/pid")" 2>/dev/null || true
  done
  echo "xandikos.sh: the server did not start" >&2
  cat "$dir/log" >&2
  exit 1
  ;;
stop)
  if [[ -f "$dir/pid" ]]; then
    pid=$(cat "$dir/pid")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
    rm -f "$dir/pid" "$dir/url"
  fi
  if [[ -f "$dir/storage" ]]; then
    rm -rf "$(cat "$dir/storage")"
    rm -f "$dir/storage"
  fi
  ;;
*)
  echo "xandikos.sh: start or stop" >&2
  exit 2
  ;;
esac
