#!/usr/bin/env bash
# Screenshots of the main widget on a private X server with a compositor: a week of widgets
# (tilava_widget_shots) at scale 1 and 2, and the real program with an unreadable day file
# and its message box. For looking at, not asserting.
#
# Usage: tests/x11/shots.sh BUILD_DIR OUT_DIR [MONDAY]   (MONDAY as YYYY-MM-DD)
set -uo pipefail

build=${1:?usage: shots.sh BUILD_DIR OUT_DIR [MONDAY]}
out=${2:?usage: shots.sh BUILD_DIR OUT_DIR [MONDAY]}
monday=${3:-2025-03-24}
mkdir -p "$out"
out=$(cd "$out" && pwd)

work=$(mktemp -d "${TMPDIR:-/tmp}/tilava-shots.XXXXXX")
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "shots.sh: $*" >&2; exit 1; }
now() { echo "${EPOCHREALTIME/./}"; }
deadline() { until_=$(($(now) + $1 * 1000000)); }
late() { (($(now) > until_)); }

export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/ZelmTilava" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS

Xvfb -displayfd 3 -screen 0 2560x900x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
deadline 20
until [[ -s $work/display ]]; do late && fail "Xvfb did not start"; sleep 0.02; done
export DISPLAY=:$(head -n1 "$work/display")
until xdpyinfo >/dev/null 2>&1; do late && fail "Xvfb does not answer"; sleep 0.02; done
xcompmgr 2>/dev/null &
pids+=($!)

# shoot NAME PID COUNT: waits for COUNT visible windows of PID, then the whole screen.
shoot() {
    deadline 20
    until (($(xdotool search --onlyvisible --pid "$2" 2>/dev/null | wc -l) >= $3)); do
        late && fail "$1: no windows"
        sleep 0.05
    done
    sleep 1 # the compositor's and the widgets' first paints
    import -window root "$out/$1.png" && echo "shots.sh: $out/$1.png"
}

for scale in 1 2; do
    notes=$work/notes$scale
    mkdir -p "$notes"
    env QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale "$build/tests/x11/tilava_widget_shots" \
        "$monday" "$notes" 2>"$work/shots$scale.log" &
    pid=$!
    shoot "week-${scale}x" $pid 7
    kill $pid
    wait $pid 2>/dev/null
done

# The real program on the real date with a bad file for today.
today=$(date +%m%d)
printf '!\r\n-1\r\nx\r\n' >"$XDG_DATA_HOME/ZelmTilava/$today.txt"
env QT_QPA_PLATFORM=xcb "$build/app/tilava" &
pid=$!
pids+=($pid)
shoot "bad-file" $pid 2
# The message box answered: the widget with the bad day's bar.
box=$(xdotool search --onlyvisible --pid $pid 2>/dev/null | tail -n1)
xdotool windowfocus "$box" key Return 2>/dev/null
sleep 1
import -window root "$out/bad-file-after.png" && echo "shots.sh: $out/bad-file-after.png"
