#!/usr/bin/env bash
# The captions the window system shows are the windows' own: the widget is "Tilava" and the
# week window "Kalendár", with nothing added after them; the windows keep the program's window
# class ("tilava", "Tilava"), which links them to its desktop entry. Run on a private X server.
#
# Usage: tests/x11/titles.sh PATH/TO/tilava
# Needs Xvfb, xdotool, xprop and xwininfo (scripts/install-deps.sh x11).
set -uo pipefail

program=${1:?usage: titles.sh PATH/TO/tilava}
[[ -x $program ]] || { echo "titles.sh: $program is not a program" >&2; exit 2; }

source "$(dirname "$0")/common.sh"

fail() {
    echo "titles.sh: FAILED: $*" >&2
    [[ -n ${seen:-} ]] && echo "titles.sh: the captions of the program's windows:$seen" >&2
    x11_tell_failure titles.sh
    exit 1
}

x11_begin titles
x11_server

env QT_QPA_PLATFORM=xcb "$program" >"$work/tilava.log" 2>&1 &
tilava=$!
pids+=("$tilava")
running() { kill -0 "$tilava" 2>/dev/null; }

# title WID: the window's _NET_WM_NAME as UTF-8 text, in $title.
title() {
    title=$(LC_ALL=C.UTF-8 xprop -id "$1" _NET_WM_NAME 2>/dev/null) || return 1
    [[ $title == *' = "'*'"' ]] || return 1
    title=${title#*' = "'}
    title=${title%'"'}
}

# find_window TITLE: a mapped top-level window of our process with exactly that caption, in
# $found; every caption of our windows seen on the way in $seen.
find_window() {
    local id
    for id in $(xwininfo -root -children 2>/dev/null | awk '/^ +0x/ {print $1}'); do
        [[ $(xprop -id "$id" _NET_WM_PID 2>/dev/null) == *" = $tilava" ]] || continue
        read_window "$id" && [[ $win_state == IsViewable ]] && title "$id" || continue
        [[ " $seen " == *" [$title] "* ]] || seen+=" [$title]"
        [[ $title == "$1" ]] && found=$id && return 0
    done
    return 1
}

seen=''
wait_for 20 "the widget is shown with the caption \"Tilava\"" find_window Tilava
widget=$found
class=$(xprop -id "$widget" WM_CLASS 2>/dev/null)
[[ $class == *' = "tilava", "Tilava"' ]] || fail "the widget's window class is $class"
echo "ok: the widget's caption is \"Tilava\", its class \"tilava\", \"Tilava\""

# A click on the day text opens the week window.
read_window "$widget" || fail "the widget went away"
click "$((win_x + 30))" "$((win_y + 50))" 1
wait_for 10 "the week window is shown with the caption \"Kalendár\"" find_window Kalendár
echo "ok: the week window's caption is \"Kalendár\""
