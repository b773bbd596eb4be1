#!/usr/bin/env bash
# Screenshots of the main widget on a private X server with a compositor: a week of widgets
# (tilava_widget_shots) at scale 1 and 2, and the real program with an unreadable day file
# and its message box; then, with trayer, the widget after days without a run with its tray
# icon on a dark and a light panel, and the tray menu. For looking at, not asserting.
#
# Usage: tests/x11/shots.sh BUILD_DIR OUT_DIR [MONDAY]   (MONDAY as YYYY-MM-DD)
set -uo pipefail

build=${1:?usage: shots.sh BUILD_DIR OUT_DIR [MONDAY]}
out=${2:?usage: shots.sh BUILD_DIR OUT_DIR [MONDAY]}
monday=${3:-2025-03-24}
mkdir -p "$out"
out=$(cd "$out" && pwd)

source "$(dirname "$0")/common.sh"
fail() { echo "shots.sh: $*" >&2; exit 1; }

x11_begin shots
mkdir -p "$XDG_DATA_HOME/ZelmTilava"
x11_server 2560x900
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
kill $pid
wait $pid 2>/dev/null
rm -f "$XDG_DATA_HOME/ZelmTilava/$today.txt"

# The widget after four days without a run, with its tray icon (the day's number) on a dark and
# on a light panel, and the tray menu.
command -v trayer >/dev/null || { echo "shots.sh: no trayer, no tray pictures"; exit 0; }
export LC_ALL=C # "Now" as the C locale writes it: "5 Dec 2026"
mkdir -p "$XDG_CONFIG_HOME/ZELMtilava"
printf '[Settings]\nNow=%s\n' "$(date -d '-4 days' '+%-d %b %Y')" \
    >"$XDG_CONFIG_HOME/ZELMtilava/settings.ini"
day() { date -d "$1" +%m%d; }
printf '!\r\n-1\r\n2\r\n1996\r\nJano\r\n' >"$XDG_DATA_HOME/ZelmTilava/$(day '-3 days').txt"
printf '!\r\n-1\r\n1\r\n%s\r\nzubár o 9.00\r\n' "$(date -d '-1 day' +%Y)" |
    iconv -f UTF-8 -t CP1250 >"$XDG_DATA_HOME/ZelmTilava/$(day '-1 day').txt"
printf '!\r\n-1\r\n1\r\n%s\r\nnákup\r\n' "$(date +%Y)" |
    iconv -f UTF-8 -t CP1250 >"$XDG_DATA_HOME/ZelmTilava/$today.txt"
for panel in dark:0x202020 light:0xf0f0f0; do
    name=${panel%%:*}
    trayer --edge bottom --align right --widthtype request --height 22 --transparent true \
        --alpha 0 --tint "${panel#*:}" --expand true 2>/dev/null &
    tray=$!
    sleep 0.5
    env QT_QPA_PLATFORM=xcb "$build/app/tilava" &
    pid=$!
    pids+=($pid $tray)
    shoot "missed-$name" $pid 1
    convert "$out/missed-$name.png" -crop 120x30+2440+870 +repage -scale 400% \
        "$out/tray-$name.png" && echo "shots.sh: $out/tray-$name.png"
    if [[ $name == light ]]; then
        xdotool mousemove 2549 889 click 3
        sleep 1
        import -window root "$out/tray-menu.png" && echo "shots.sh: $out/tray-menu.png"
        xdotool key Escape
    fi
    kill $pid $tray
    wait $pid $tray 2>/dev/null
done
