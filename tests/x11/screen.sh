#!/usr/bin/env bash
# The widget on a screen whose free area changes, on a private X server without a window
# manager; the free area is the root window's _NET_WORKAREA, set here as a panel's window
# manager would set it. With 32 birthdays today:
#   1. the widget in the top right corner of a 1280x900 screen ends inside the free area, its
#      last bar telling how many birthdays are left out;
#   2. the free area shrinks to 500 pixels: the widget gets shorter and stays inside;
#   3. a panel of 300 pixels takes the top of the screen: the widget moves down below it and
#      still ends inside the free area;
#   4. the screen is whole again: the widget grows down to the bottom of the screen.
#
# Usage: tests/x11/screen.sh PATH/TO/tilava
# Needs Xvfb, xprop, xwininfo and xdotool (scripts/install-deps.sh x11).
set -uo pipefail

program=${1:?usage: screen.sh PATH/TO/tilava}
[[ -x $program ]] || { echo "screen.sh: $program is not a program" >&2; exit 2; }

source "$(dirname "$0")/common.sh"

fail() {
    echo "screen.sh: FAILED: $*" >&2
    x11_tell_failure screen.sh
    exit 1
}
ok() { echo "ok: $*"; }
running() { kill -0 "$tilava" 2>/dev/null; }

x11_begin screen
notes=$XDG_DATA_HOME/ZelmTilava
mkdir -p "$notes"
{
    printf '!\r\n'
    for i in $(seq 32); do printf -- '-1\r\n2\r\n1980\r\nOslavenec %s\r\n' "$i"; done
} >"$notes/$(date +%m%d).txt"

x11_server 1280x900
work_area() { xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "$1, $2, $3, $4"; }
work_area 0 0 1280 900

env QT_QPA_PLATFORM=xcb "$program" >"$work/tilava.log" 2>&1 &
tilava=$!
pids+=("$tilava")

widget=
find_widget() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$tilava" 2>/dev/null); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Width: 170$' && widget=$id && return 0
    done
    return 1
}
wait_for 20 "the widget appears" find_widget

# inside TOP BOTTOM: the widget lies between the two lines (the bottom one excluded).
inside() {
    read_window "$widget" && ((win_y >= $1 && win_y + win_h <= $2 && win_h > 85))
}
# settled TOP BOTTOM WHAT: the widget is inside within 5 s and stays there for half a second.
settled() {
    wait_for 5 "$3" inside "$1" "$2"
    x11_holds 500 "$3: the widget left the free area again (y $win_y, $win_h high)" inside "$1" "$2"
}

settled 0 900 "the widget ends inside a screen of 900 pixels"
full=$win_h
((full > 700)) || fail "with 32 birthdays the widget is only $full pixels high on 900"
ok "32 birthdays: the widget is $full pixels high at y $win_y on a screen of 900"

work_area 0 0 1280 500
settled 0 500 "the widget ends inside a free area of 500 pixels"
((win_h < full)) || fail "the widget did not get shorter"
ok "free area of 500 pixels: the widget is $win_h pixels high"

work_area 0 300 1280 600
settled 300 900 "the widget moves below a panel of 300 pixels at the top"
ok "panel of 300 pixels at the top: the widget is at y $win_y, $win_h pixels high"

work_area 0 0 1280 900
grown() { read_window "$widget" && ((win_y + win_h > 900 - 60 && win_y + win_h <= 900)); }
wait_for 5 "the widget grows again to the bottom of the whole screen" grown
ok "whole screen again: the widget is $win_h pixels high at y $win_y"
echo "screen.sh: passed"
