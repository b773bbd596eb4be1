#!/usr/bin/env bash
# The real program on a headless mutter (GNOME's compositor): started as a user starts it on a
# GNOME Wayland session, it runs on XWayland, and its widget is in the top right corner.
# mutter does not run as root here: mutter, its session bus and the program run as the user
# nobody. Usage: tests/wayland/mutter.sh PATH/TO/tilava
# Needs mutter, xwayland, x11-utils, xdotool and dbus-daemon (scripts/install-deps.sh wayland).
set -uo pipefail

program=${1:?usage: mutter.sh PATH/TO/tilava}
[[ -x $program ]] || { echo "mutter.sh: $program is not a program" >&2; exit 2; }
source "$(dirname "$0")/../x11/common.sh"

fail() {
    echo "mutter.sh: FAILED: $*" >&2
    for log in mutter tilava; do
        [[ -s $work/$log.log ]] &&
            { echo "mutter.sh: $log's output:" >&2; sed 's/^/    /' "$work/$log.log" >&2; }
    done
    exit 1
}

x11_begin mutter
chmod 755 "$work"
cp "$program" "$work/tilava"
chown -R nobody:nogroup "$work"/*
# XWayland puts its socket there; a folder made by a user's X server would stop mutter's.
mkdir -p /tmp/.X11-unix && chown root:root /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix

user=(setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH=/usr/bin:/bin
    HOME="$HOME" XDG_CONFIG_HOME="$XDG_CONFIG_HOME" XDG_DATA_HOME="$XDG_DATA_HOME"
    XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus" LANG=C.UTF-8)

"${user[@]}" dbus-daemon --session --nofork --nopidfile --address="unix:path=$XDG_RUNTIME_DIR/bus" \
    >"$work/dbus.log" 2>&1 &
pids+=($!)
deadline 10
until [[ -S $XDG_RUNTIME_DIR/bus ]]; do late && fail "the session bus did not start"; sleep 0.05; done

"${user[@]}" mutter --headless --wayland --virtual-monitor 1280x800 >"$work/mutter.log" 2>&1 &
mutter=$!
pids+=("$mutter")
deadline 30
until grep -q 'Using public X11 display' "$work/mutter.log" &&
    compgen -G "$XDG_RUNTIME_DIR/.mutter-Xwaylandauth.*" >/dev/null; do
    kill -0 "$mutter" 2>/dev/null || fail "mutter ended"
    late && fail "mutter did not start with XWayland"
    sleep 0.1
done
x_display=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$work/mutter.log" | head -n1)
user+=(WAYLAND_DISPLAY=wayland-0 DISPLAY="$x_display"
    XAUTHORITY="$(compgen -G "$XDG_RUNTIME_DIR/.mutter-Xwaylandauth.*" | head -n1)")
# The X tools ask as that user too (the X server lets in only its owner).
as_user() { "${user[@]}" "$@"; }

"${user[@]}" "$work/tilava" >"$work/tilava.log" 2>&1 &
tilava=$!
pids+=("$tilava")
# An X window of the program is the widget's: it runs on XWayland.
find_x_widget() {
    local id
    for id in $(as_user xdotool search --onlyvisible --pid "$tilava" 2>/dev/null); do
        info=$(as_user xwininfo -id "$id" 2>/dev/null) || continue
        [[ $info == *"Width: 170"* ]] || continue
        win_x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
        win_y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
        return 0
    done
    return 1
}
wait_for 20 "the widget appears as an X window (XWayland)" find_x_widget
in_corner() { find_x_widget && ((win_x == 1280 - 170 && win_y == 0)); }
wait_for 5 "the widget is in the top right corner" in_corner
echo "mutter.sh: ok: default start on XWayland, the widget at $win_x,$win_y"
kill -TERM "$tilava"
x11_wait_end 10 "SIGTERM"
((status == 0)) || fail "the program ended with status $status on SIGTERM"
echo "mutter.sh: passed"
