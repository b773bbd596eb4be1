#!/usr/bin/env bash
# Times Tilava's start until its widget is painted against the yardstick (a bare frameless
# window with a tray icon). Usage: bench/startup.sh [BUILD_DIR] [RUNS]
# Without a display it runs on a private Xvfb; with trayer installed both get a real tray.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-15}
[[ -x $build/app/tilava && -x $build/bench/tilava_startup_bench ]] || {
  echo "build the release preset first: cmake --preset release && cmake --build --preset release" >&2
  exit 2
}

pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

if [[ -z ${DISPLAY:-} ]]; then
  for n in $(seq 90 120); do [[ -e /tmp/.X$n-lock ]] || break; done
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  export DISPLAY=":$n"
  for _ in $(seq 200); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
fi
if command -v trayer >/dev/null; then
  trayer --edge bottom --align right --widthtype request --height 24 --transparent false >/dev/null 2>&1 &
  pids+=($!)
  sleep 0.5
  echo "tray: trayer"
else
  echo "tray: none (install trayer for a real tray)"
fi
"$build/bench/tilava_startup_bench" "$build/app/tilava" "$build/bench/tilava_yardstick" "$runs"
