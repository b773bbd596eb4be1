#!/usr/bin/env bash
# The widget with 32 birthdays ends inside the screen's free area (_NET_WORKAREA, set here as
# a window manager sets it for a panel): at start, when the area shrinks to 500 pixels, and
# below a panel of 300 pixels at the top. Usage: tests/x11/screen.sh PATH/TO/tilava
set -uo pipefail
program=${1:?usage: screen.sh PATH/TO/tilava}
source "$(dirname "$0")/common.sh"
fail() {
    echo "screen.sh: FAILED: $*" >&2
    x11_tell_failure screen.sh
    exit 1
}
running() { kill -0 "$tilava" 2>/dev/null; }

x11_begin screen
mkdir -p "$XDG_DATA_HOME/ZelmTilava"
{
    printf '!\r\n'
    for i in $(seq 32); do printf -- '-1\r\n2\r\n1980\r\nOslavenec %s\r\n' "$i"; done
} >"$XDG_DATA_HOME/ZelmTilava/$(date +%m%d).txt"
x11_server 1280x900
free_area() { xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "0, $1, 1280, $2"; }
free_area 0 900
env QT_QPA_PLATFORM=xcb "$program" >"$work/tilava.log" 2>&1 &
tilava=$!
pids+=("$tilava")
find_widget() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$tilava" 2>/dev/null); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Width: 170$' && widget=$id && return 0
    done
    return 1
}
wait_for 20 "the widget appears" find_widget

# inside TOP BOTTOM WHAT: within 5 s the widget lies between the two lines, and stays there.
inside() { read_window "$widget" && ((win_y >= $1 && win_y + win_h <= $2 && win_h > 85)); }
settled() {
    wait_for 5 "$3" inside "$1" "$2"
    x11_holds 500 "$3: it left again (y $win_y, $win_h high)" inside "$1" "$2"
    echo "ok: $3: y $win_y, $win_h high"
}
settled 0 900 "the widget ends inside the screen"
((win_h > 700)) || fail "32 birthdays make a widget of only $win_h pixels on 900"
full=$win_h
free_area 0 500
settled 0 500 "the widget ends inside a free area of 500 pixels"
((win_h < full)) || fail "the widget did not get shorter"
free_area 300 600
settled 300 900 "the widget moves below a panel of 300 pixels at the top"
echo "screen.sh: passed"
