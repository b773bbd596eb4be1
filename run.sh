#!/usr/bin/env bash
# Builds the release version of Tilava and starts it. Installs the Debian packages it needs
# when they are missing.
# Without a display it starts Tilava under Xvfb, saves a screenshot of the screen to
# build/screenshot.png once the widget is shown, and ends.
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc 2>/dev/null || echo 2)

scripts/install-deps.sh build run
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
program=build/release/app/tilava

if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
  exec "$program"
fi

pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

# A free display number for a private X server.
n=90
while [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=":$n"
for _ in $(seq 200); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
xdpyinfo >/dev/null 2>&1 || { echo "run.sh: Xvfb did not start" >&2; exit 1; }

QT_QPA_PLATFORM=xcb "$program" &
pids+=($!)
# The widget is shown when its window "Tilava" is mapped; give it a moment to paint.
shown=
for _ in $(seq 200); do
  if xwininfo -root -children 2>/dev/null | grep -q '"Tilava"'; then shown=1; break; fi
  kill -0 "${pids[1]}" 2>/dev/null || break
  sleep 0.05
done
if [[ -z $shown ]]; then
  echo "run.sh: the widget did not appear (is another copy of Tilava running?)" >&2
  exit 1
fi
sleep 0.5
mkdir -p build
import -window root build/screenshot.png
echo "No display: Tilava ran under Xvfb; the screenshot is in build/screenshot.png."
