#!/usr/bin/env bash
# A CalDAV server for the sync's tests: Debian's radicale on 127.0.0.1, a port the system picks,
# its storage in a fresh folder under /dev/shm (a PUT costs 8 ms there, 76 ms on a disk that
# syncs), users from a plain htpasswd file.
#   radicale.sh start DIR [USER:PASSWORD ...]   starts it; DIR/url holds http://127.0.0.1:PORT
#                                               (default user alice:secret1)
#   radicale.sh stop DIR                        stops it and removes its storage
set -euo pipefail

command=${1:?start or stop}
dir=${2:?folder}

case "$command" in
start)
  shift 2
  # A server this folder still holds (a repeated run) is stopped first, or it would be lost.
  [[ -f "$dir/pid" || -f "$dir/storage" ]] && "$0" stop "$dir"
  (($# > 0)) || set -- alice:secret1
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  storage=$(mktemp -d /dev/shm/tilava-dav.XXXXXX)
  printf '%s\n' "$storage" >"$dir/storage"
  printf '%s\n' "$@" >"$dir/users"
  cat >"$dir/config" <<CONFIG
[server]
hosts = 127.0.0.1:0
[auth]
type = htpasswd
htpasswd_filename = $dir/users
htpasswd_encryption = plain
delay = 0
[rights]
type = owner_only
[storage]
filesystem_folder = $storage/collections
[logging]
level = info
CONFIG
  # /usr/bin/radicale, not "python3 -m radicale": the python3 first on PATH may lack the module.
  /usr/bin/radicale --config "$dir/config" >"$dir/log" 2>&1 &
  echo $! >"$dir/pid"
  # The log names the port the system gave; a slow start on a busy machine gets 60 s.
  for _ in $(seq 600); do
    if port=$(grep -o "Listening on '\[127.0.0.1\]:[0-9]*'" "$dir/log" | grep -o '[0-9]*' | tail -1) &&
      [[ -n "$port" ]]; then
      printf 'http://127.0.0.1:%s\n' "$port" >"$dir/url"
      exit 0
    fi
    kill -0 "$(cat "$dir/pid")" 2>/dev/null || { cat "$dir/log" >&2; exit 1; }
    sleep 0.1
  done
  echo "radicale.sh: the server did not start in 60 s" >&2
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
  echo "radicale.sh: start or stop" >&2
  exit 2
  ;;
esac
