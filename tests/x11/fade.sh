#!/usr/bin/env bash
# Runs the real program on a private X server with a compositor and watches the widget's
# _NET_WM_WINDOW_OPACITY while it fades out: the window system must be told every step of the
# fade as it happens, not all of them at once when the widget is hidden. Then a termination
# signal must end it as "Ukončit" does; on the way, the widget's class and icon must be the
# desktop entry's. A tray host (trayer)
# runs too: with a tray icon to bring it back, the faded widget is hidden (without one it
# would go to the task bar).
#
# Usage: tests/x11/fade.sh PATH/TO/tilava
# Needs Xvfb, xcompmgr, trayer, xprop, xwininfo and xdotool (scripts/install-deps.sh x11).
set -uo pipefail

program=${1:?usage: fade.sh PATH/TO/tilava}
[[ -x $program ]] || { echo "fade.sh: $program is not a program" >&2; exit 2; }

source "$(dirname "$0")/common.sh"

fail() {
    echo "fade.sh: FAILED: $*" >&2
    exit 1
}

# A user of our own: settings, notes, runtime folder and home in the temporary folder.
x11_begin fade
# Five seconds: fully shown for two, then the three-second fade.
mkdir -p "$XDG_CONFIG_HOME/ZELMtilava"
printf '[Settings]\nShowTime=5000\n' >"$XDG_CONFIG_HOME/ZELMtilava/settings.ini"

x11_server

xcompmgr 2>"$work/xcompmgr.log" &
pids+=($!)

# The tray is there before the program starts, so its icon is made at once.
x11_tray

env QT_QPA_PLATFORM=xcb "$program" >"$work/tilava.log" 2>&1 &
tilava=$!
pids+=("$tilava")

# The widget's window: the visible one of our process that is the widget's width (the other
# is the tray icon).
deadline 20
wid=
while [[ -z $wid ]]; do
    kill -0 "$tilava" 2>/dev/null || fail "the program ended: $(cat "$work/tilava.log")"
    late && fail "no window of the program appeared"
    for id in $(xdotool search --onlyvisible --pid "$tilava" 2>/dev/null); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Width: 170$' && wid=$id && break
    done
    [[ -n $wid ]] || sleep 0.02
done
kill -0 "${pids[1]}" 2>/dev/null || fail "xcompmgr ended: $(cat "$work/xcompmgr.log")"

x11_watch_opacity "$wid" "$work/spy"

# What docks and task bars go by: the window's class is the desktop entry's StartupWMClass, and
# the window carries the program's icon rather than the window system's default one.
entry=$(dirname "$0")/../../assets/linux/sk.zelm.Tilava.desktop
wm_class=$(xprop -id "$wid" WM_CLASS)
[[ $wm_class == *", \"$(sed -n 's/^StartupWMClass=//p' "$entry")\"" ]] ||
    fail "the widget's $wm_class does not match StartupWMClass in ${entry##*/}"
[[ $(xprop -id "$wid" _NET_WM_ICON | head -c 200) == "_NET_WM_ICON(CARDINAL) = "* ]] ||
    fail "the widget carries no icon (_NET_WM_ICON)"

x11_hidden_after_fade "$wid" "$work/spy"

echo "fade.sh: $seen of 29 fade steps seen by the X server," \
    "spread over $(((${last:-0} - ${first:-0}) / 1000)) ms," \
    "the last $(((hidden - ${last:-$hidden}) / 1000)) ms before the widget was hidden"
# A loaded machine may merge a few steps; a fade held back until the hide shows at most a
# couple of values within a few milliseconds.
((seen >= 20)) || fail "only $seen steps of the fade reached the X server"
((last - first >= 1500000)) || fail "the fade steps arrived within $(((last - first) / 1000)) ms"

# A termination signal (logout, shutdown) ends the program as "Ukončit" does: its close
# reaction runs and records the widget's place, and it ends with status 0.
kill -TERM "$tilava"
deadline 10
while kill -0 "$tilava" 2>/dev/null; do
    late && fail "the program did not end within 10 s of SIGTERM"
    sleep 0.05
done
wait "$tilava"
status=$?
((status == 0)) || fail "the program ended with status $status on SIGTERM"
grep -q '^frmMainTop=' "$XDG_CONFIG_HOME/ZELMtilava/settings.ini" ||
    fail "on SIGTERM the widget did not close as Ukončit closes it"
echo "fade.sh: passed"
