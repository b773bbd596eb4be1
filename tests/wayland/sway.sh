#!/usr/bin/env bash
# The real program on a headless sway (a Wayland compositor), judged by its screenshots (grim)
# and sway's own account of its windows, with a virtual pointer for hovering and clicking:
#   the default start runs on XWayland, and with the README's line in sway's configuration the
#   widget sits in the top right corner; it fades (its pixels change towards the background
#   step by step, then it is gone); the pointer on it shows tomorrow, and off it, today again
#   within half a second;
#   forced onto Wayland itself (QT_QPA_PLATFORM=wayland): it fades, Qt prints no warning about
#   window opacity, a drag by its top strip is the compositor's and changes no recorded
#   position, a click on its day opens the week window, and neither window records a place.
# sway does not run as root: sway, the program, grim and the pointer run as the user nobody.
#
# Usage: tests/wayland/sway.sh PATH/TO/tilava [FOLDER]: with FOLDER, screenshots of the whole
# screen during each fade (half-way, nearly gone) are kept there.
# Needs sway, xwayland, grim, jq, libwayland-dev and a C compiler (scripts/install-deps.sh
# wayland) and qt6-wayland for the forced start.
set -uo pipefail

program=${1:?usage: sway.sh PATH/TO/tilava}
[[ -x $program ]] || { echo "sway.sh: $program is not a program" >&2; exit 2; }
shots=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../x11/common.sh"

fail() {
    echo "sway.sh: FAILED: $*" >&2
    for log in sway tilava; do
        [[ -s $work/$log.log ]] && { echo "sway.sh: $log's output:" >&2; sed 's/^/    /' "$work/$log.log" >&2; }
    done
    exit 1
}
say() { echo "sway.sh: $*"; }

x11_begin sway
chmod 755 "$work"
width=1280 height=800
background='51 102 153' # #336699, sway's background
user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)

# The program must be readable by that user: a copy in the temporary folder (the build's own
# folder may be closed to others).
cp "$program" "$work/tilava"
program=$work/tilava
cc -std=c11 -O1 -Wall -o "$work/virtual-pointer" "$here/VirtualPointer.c" -lwayland-client ||
    fail "the virtual pointer does not build (libwayland-dev)"

# The README's line for sway, as a user copies it.
rule=$(grep -m1 '^for_window \[class=' "$here/../../README.md") || fail "README has no sway line"
cat >"$work/sway.conf" <<CONFIG
xwayland enable
output HEADLESS-1 resolution ${width}x${height} position 0 0 bg #336699 solid_color
default_border none
$rule
CONFIG
chown -R nobody:nogroup "$work"/*
# XWayland puts its socket there; a folder made by a user's X server would stop the next one's.
mkdir -p /tmp/.X11-unix && chown root:root /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix

# as_user COMMAND...: runs COMMAND as that user in the session (its environment and no other).
# Started in the background, "${user[@]}" env -i "${session[@]}" COMMAND is written out, so
# that $! is the command's own process.
session=(PATH=/usr/bin:/bin HOME="$HOME" XDG_CONFIG_HOME="$XDG_CONFIG_HOME"
    XDG_DATA_HOME="$XDG_DATA_HOME" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" LANG=C.UTF-8
    DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus")
as_user() { "${user[@]}" env -i "${session[@]}" "$@"; }

# A session bus, over which a second start asks the running program to show its widget.
"${user[@]}" env -i "${session[@]}" dbus-daemon --session --nofork --nopidfile \
    --address="unix:path=$XDG_RUNTIME_DIR/bus" >"$work/dbus.log" 2>&1 &
pids+=($!)
deadline 10
until [[ -S $XDG_RUNTIME_DIR/bus ]]; do late && fail "the session bus did not start"; sleep 0.05; done

"${user[@]}" env -i "${session[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_RENDERER=pixman sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
sway_pid=$!
pids+=("$sway_pid")
deadline 20
until compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock" >/dev/null && [[ -S $XDG_RUNTIME_DIR/wayland-1 ]]; do
    kill -0 "$sway_pid" 2>/dev/null || fail "sway ended"
    late && fail "sway did not start"
    sleep 0.05
done
session+=(SWAYSOCK="$(compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock")" WAYLAND_DISPLAY=wayland-1)
# The X server sway starts for XWayland: its DISPLAY, as sway gives it to what it starts.
as_user swaymsg -q exec "env >$XDG_RUNTIME_DIR/sway-env"
deadline 10
until grep -q '^DISPLAY=' "$XDG_RUNTIME_DIR/sway-env" 2>/dev/null; do
    late && fail "sway gives no DISPLAY (XWayland)"
    sleep 0.05
done
x_display=$(sed -n 's/^DISPLAY=//p' "$XDG_RUNTIME_DIR/sway-env")

# The pointer: commands in, an "ok" out when sway has handled each.
coproc pointer {
    exec "${user[@]}" env -i "${session[@]}" "$work/virtual-pointer" "$width" "$height" \
        2>>"$work/sway.log"
}
pids+=("$pointer_PID")
point() {
    echo "$*" >&"${pointer[1]}"
    local answer
    read -r -t 5 answer <&"${pointer[0]}" && [[ $answer == ok ]] || fail "the pointer did not $*"
}
point move 5 $((height - 5))

# pixel X Y: the screen's colour there, "R G B".
pixel() {
    as_user grim -g "$1,$2 1x1" -t ppm - 2>/dev/null | tail -c 3 | od -An -tu1 | xargs
}
# shot X Y W H FILE: a screenshot of that area.
shot() { as_user grim -g "$1,$2 $3x$4" -t ppm - >"$5" 2>/dev/null; }

# view FILTER: the first of the program's windows that sway's tree shows and the jq FILTER
# takes: view_x, view_y, view_w, view_h, view_shell, view_name.
view() {
    local line
    line=$(as_user swaymsg -t get_tree 2>/dev/null | jq -r --argjson pid "$tilava" \
        "[.. | objects | select(.pid? == \$pid and .visible? == true) | select($1)][0] //
         empty | \"\(.rect.x) \(.rect.y) \(.rect.width) \(.rect.height) \(.shell) \(.name)\"")
    [[ -n $line ]] && read -r view_x view_y view_w view_h view_shell view_name <<<"$line"
}
widget_view() { view '.rect.width == 170'; }
widget_gone() { ! widget_view; }

# painted: the widget's top strip is no longer the background.
painted() { [[ $(pixel $((view_x + 120)) $((view_y + 5))) != "$background" ]]; }

# start_widget [VARIABLE=VALUE...]: the program as that user, once sway shows its widget.
start_widget() {
    "${user[@]}" env -i "${session[@]}" DISPLAY="$x_display" "$@" "$program" \
        >"$work/tilava.log" 2>&1 &
    tilava=$!
    pids+=("$tilava")
    wait_for 20 "sway shows the widget" widget_view
    wait_for 10 "the widget is painted" painted
}
end_widget() {
    kill -TERM "$tilava"
    x11_wait_end 10 "SIGTERM"
    ((status == 0)) || fail "the program ended with status $status on SIGTERM"
}
settings=$XDG_CONFIG_HOME/ZELMtilava/settings.ini

# fade X Y NAME: samples the colour at X,Y through the fade, until the widget is gone (the
# background shows) or opaque again (on XWayland without a tray the faded widget is
# minimised, which sway does not do): the colours, one a line, in $work/fade. Fails unless they
# come near the background through at least 3 colours between (a loaded machine samples few;
# a widget that does not fade shows none). Screenshots of the whole screen half-way and nearly
# gone go to $shots/NAME-half.png and NAME-end.png.
distance() { # distance "R G B" "R G B": the largest difference of a channel
    local -a a=($1) b=($2)
    local d i m=0
    for i in 0 1 2; do d=$((a[i] - b[i])); ((d < 0)) && d=$((-d)); ((d > m)) && m=$d; done
    echo $m
}
fade() {
    local colour first last nearest=255 d between full
    first=$(pixel "$1" "$2") last=$first
    full=$(distance "$first" "$background")
    echo "$first" >"$work/fade"
    deadline 30
    while [[ $last != "$background" ]]; do
        late && fail "the widget did not fade out in 30 s: $(paste -sd, "$work/fade")"
        colour=$(pixel "$1" "$2")
        [[ $colour == "$last" ]] && continue
        ((nearest < full)) && [[ $colour == "$first" ]] && break # opaque again
        echo "$colour" >>"$work/fade"
        last=$colour
        d=$(distance "$colour" "$background")
        if [[ -n $shots ]]; then
            ((d * 2 <= full && nearest * 2 > full)) && as_user grim - >"$shots/$3-half.png"
            ((d <= 8 && nearest > 8)) && as_user grim - >"$shots/$3-end.png"
        fi
        ((d < nearest)) && nearest=$d
    done
    between=$(grep -cvx -e "$background" -e "$first" "$work/fade")
    ((between >= 3 && nearest <= 16)) ||
        fail "the widget did not fade: colours $(paste -sd, "$work/fade")"
    say "ok: it faded through $between colours to $nearest from the background"
}
# hover_check: the pointer on the day's names shows tomorrow; off the widget, today again
# within half a second.
showing() { shot "$view_x" "$view_y" 170 85 "$work/now.ppm" && cmp -s "$work/now.ppm" "$work/$1.ppm"; }
hover_check() {
    wait_for 10 "the widget is painted" painted
    sleep 0.2
    shot "$view_x" "$view_y" 170 85 "$work/today.ppm"
    point move $((view_x + 120)) $((view_y + 55))
    wait_for 2 "the widget shows tomorrow under the pointer" eval '! showing today'
    point move 1000 700
    local left
    left=$(now)
    wait_for 2 "the widget shows today after the pointer left" showing today
    say "ok: tomorrow under the pointer, today $((($(now) - left) / 1000)) ms after it left"
    (($(now) - left <= 500000)) || fail "today came back only after $((($(now) - left) / 1000)) ms"
}

# --- The default start: XWayland, in the corner, fading, tomorrow while the pointer rests ---
mkdir -p "$(dirname "$settings")"
printf '[Settings]\nShowTime=9000\n' >"$settings"
chown -R nobody:nogroup "$XDG_CONFIG_HOME"
start_widget
[[ $view_shell == xwayland ]] || fail "the default start runs on $view_shell, not on XWayland"
wait_for 5 "the widget is in the top right corner (at $view_x,$view_y)" \
    eval 'widget_view && ((view_x == width - 170 && view_y == 0))'
say "ok: default start on XWayland, the widget at $view_x,$view_y ${view_w}x$view_h"

hover_check
fade $((view_x + 120)) $((view_y + 5)) xwayland
end_widget

# --- Wayland itself: fades, no opacity warning, a drag records nothing, a click opens ---
printf '[Settings]\nShowTime=9000\nfrmMainTop=7\nfrmMainLeft=5\n' >"$settings"
chown nobody:nogroup "$settings"
start_widget QT_QPA_PLATFORM=wayland
[[ $view_shell == xdg_shell ]] || fail "the forced start runs on $view_shell, not on Wayland"
say "ok: forced Wayland start, sway put the widget at $view_x,$view_y"
fade $((view_x + 120)) $((view_y + 5)) wayland
grep -i 'opacity' "$work/tilava.log" && fail "Qt warned about window opacity"
say "ok: no warning about window opacity"
# Without a tray the faded widget was hidden (not minimised, from where a Wayland program
# cannot bring it back): a second start shows it.
widget_gone || fail "the faded widget is still shown"
as_user DISPLAY="$x_display" QT_QPA_PLATFORM=wayland timeout 20 "$program" >>"$work/tilava.log" 2>&1 ||
    fail "the second start failed"
wait_for 10 "a second start shows the hidden widget" widget_view
say "ok: a second start showed the faded widget"
hover_check
# A drag by the top strip: the compositor moves the window (or not); nothing is recorded.
# (at a hand's pace: the program asks sway to move it once it has the press)
from_x=$view_x from_y=$view_y
point move $((view_x + 20)) $((view_y + 8))
point press
sleep 0.3
for step in 1 2 3 4 5; do
    point move $((from_x + 20 - step * 40)) $((from_y + 8 + step * 30))
    sleep 0.05
done
sleep 0.3
point release
moved() { widget_view && ((view_x != from_x || view_y != from_y)); }
wait_for 5 "sway moves the dragged widget" moved
say "ok: the drag moved the widget from $from_x,$from_y to $view_x,$view_y"
# A click on the day opens the week window.
point move $((view_x + 120)) $((view_y + 55))
point click
wait_for 10 "the week window opens" view '.name == "Kalendár"'
say "ok: a click on the day opened the week window"
end_widget
grep -q '^frmMainTop=7$' "$settings" && grep -q '^frmMainLeft=5$' "$settings" ||
    fail "the recorded position changed: $(grep '^frmMain' "$settings" | paste -sd' ')"
# (the week window, closed by the signal, cannot know its place either)
grep '^frmTyzden' "$settings" && fail "the week window recorded a place it cannot know"
say "ok: the recorded positions stayed"
say "passed"
