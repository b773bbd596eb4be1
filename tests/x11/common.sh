# Shared by the scripts that run the real program on a private X server (tests/x11/*.sh,
# bench/idle.sh); sourced, not run. The script defines fail() before it calls anything here.
#
# x11_begin NAME: a temporary folder $work, removed at the end with every process listed in
#   $pids; a user of our own there (home, base settings and data folders and a runtime folder;
#   the program's own folders are left to the script or the program; no session bus).
# x11_server [WxH]: a private Xvfb on a free display; exports DISPLAY. Its log: $work/xvfb.log.
# x11_window_manager: openbox, once it has taken the screen. Its log: $work/openbox.log.
# x11_tray [HEIGHT [WIDTH]]: trayer as tray host at the bottom right, once its panel is shown;
#   its pid in $trayer. With WIDTH the panel keeps that width instead of growing with its icons.
# now, deadline SECONDS, late: bash's microsecond clock, a time limit and whether it is past.
# wait_for SECONDS WHAT COMMAND...: polls COMMAND; fails with WHAT when the script's running()
#   says the program ended first, or when the time is up.
# read_window WID: the window's place, size and state in win_x, win_y, win_w, win_h, win_state
#   and win_override.
# click X Y BUTTON: a click at X,Y, half a second after the one before.
# x11_watch_opacity WID FILE: every change of the window's _NET_WM_WINDOW_OPACITY, stamped with
#   the time it reached us, goes to FILE from now on.
# x11_fade_steps FILE: the fade in such a FILE: sets seen (its steps that arrived), first and
#   last (when the first and the last of them arrived); fails on a value that is not a step or
#   that rises.
# x11_hidden_after_fade WID FILE: waits until the window is hidden, sets hidden (when), then
#   x11_fade_steps FILE once the fade's last step is in it.
# x11_opaque WID: whether the window is fully opaque; the property as xprop shows it in $opacity.
# x11_holds MS WHAT COMMAND...: COMMAND keeps succeeding for MS milliseconds, else fails with WHAT.
# x11_tell_failure NAME: for a failure report: whether the X server went away, and the program's
#   output ($work/tilava.log).
#
# For a script that runs the widget, its pid in $tilava:
# running: whether the program still runs. ours WID: whether the window is the program's.
# find_widget: the widget's window (as wide as the widget) in $widget; widget_mapped and
#   widget_unmapped tell its state.
# find_icon: the tray icon embedded in trayer's panel: $icon, its centre in icon_x, icon_y.
# find_menu: the open popup menu: $menu with menu_x, menu_y, menu_w, menu_h; menu_closed.
# find_titled TITLE: a mapped window of ours whose title starts with TITLE: its id in $found.
# find_box: a mapped message box of ours ("Tilava", as the widget is called; not a note from the
#   tray icon, which the window manager does not frame): its id in $found.
# active_is WID: whether the window is the active one. gone WID: whether it is no longer shown.
# x11_start_widget: starts $program on the display (its output in $work/tilava.log), once its
#   widget is mapped and its tray icon embedded (find_icon).
# x11_wait_end SECONDS WHAT: waits until the program has ended after WHAT happened; its exit
#   status in $status (it is no longer one of $pids).
#
# x11_keyring: a private session bus (DBUS_SESSION_BUS_ADDRESS) with gnome-keyring's secret
#   service on it, its keyring unlocked, both stopped at the end; for programs that keep
#   passwords in the desktop's secret store.

now() { echo "${EPOCHREALTIME/./}"; }
deadline() { until_=$(($(now) + $1 * 1000000)); }
late() { (($(now) > until_)); }

x11_cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}

x11_begin() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/tilava-$1.XXXXXX")
    pids=()
    trap x11_cleanup EXIT
    export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
    export XDG_RUNTIME_DIR=$work/runtime
    mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    unset DBUS_SESSION_BUS_ADDRESS
}

x11_server() {
    # -noreset: without it the server resets when its last client (the xdpyinfo probe)
    # leaves, and a client connecting just then is turned away.
    Xvfb -displayfd 3 -screen 0 "${1:-1280x800}x24" -nolisten tcp -noreset 3>"$work/display" \
        2>"$work/xvfb.log" &
    pids+=($!)
    deadline 20
    until [[ -s $work/display ]]; do late && fail "Xvfb did not start"; sleep 0.02; done
    export DISPLAY=:$(head -n1 "$work/display")
    until xdpyinfo >/dev/null 2>&1; do late && fail "Xvfb does not answer"; sleep 0.02; done
}

x11_window_manager() {
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    pids+=($!)
    deadline 20
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        late && fail "openbox did not start: $(cat "$work/openbox.log")"
        sleep 0.05
    done
}

x11_tray() {
    local width=(--widthtype request --expand true)
    [[ -n ${2:-} ]] && width=(--widthtype pixel --width "$2" --expand false)
    trayer --edge bottom --align right "${width[@]}" --height "${1:-24}" \
        --transparent false >"$work/trayer.log" 2>&1 &
    trayer=$!
    pids+=("$trayer")
    deadline 20
    until [[ -n $(xdotool search --onlyvisible --classname '^panel$' 2>/dev/null) ]]; do
        kill -0 "$trayer" 2>/dev/null || fail "trayer ended: $(cat "$work/trayer.log")"
        late && fail "trayer's panel did not appear: $(cat "$work/trayer.log")"
        sleep 0.02
    done
}

# wait_for SECONDS WHAT COMMAND...: polls COMMAND until it succeeds; fails with WHAT when the
# program ends first or the time is up.
wait_for() {
    local seconds=$1 what=$2
    shift 2
    deadline "$seconds"
    until "$@"; do
        running || fail "the program ended while waiting until $what"
        late && fail "not within $seconds s: $what"
        sleep 0.05
    done
}

# read_window WID: sets win_x, win_y (absolute), win_w, win_h, win_state (IsViewable,
# IsUnMapped, IsUnviewable) and win_override (yes/no); false when the window is gone.
read_window() {
    local info key value
    info=$(xwininfo -id "$1" 2>/dev/null) || return 1
    win_x='' win_y='' win_w='' win_h='' win_state='' win_override=''
    while IFS=: read -r key value; do
        value=${value// /}
        case $key in
        *"Absolute upper-left X") win_x=$value ;;
        *"Absolute upper-left Y") win_y=$value ;;
        *Width) win_w=$value ;;
        *Height) win_h=$value ;;
        *"Map State") win_state=$value ;;
        *"Override Redirect State") win_override=$value ;;
        esac
    done <<<"$info"
    [[ -n $win_state ]]
}

# click X Y BUTTON: Qt merges two presses of one button within 400 ms into a double click
# (which the tray icon does not take as a click), so clicks keep half a second apart.
last_click=0
click() {
    local wait_us=$((last_click + 500000 - $(now)))
    ((wait_us > 0)) && sleep "$(printf '0.%06d' "$wait_us")"
    xdotool mousemove "$1" "$2" click "$3" || fail "xdotool could not click at $1,$2"
    last_click=$(now)
}

x11_watch_opacity() {
    xprop -id "$1" -spy _NET_WM_WINDOW_OPACITY 2>/dev/null | while IFS= read -r line; do
        echo "$(now) $line"
    done >"$2" &
    pids+=($!)
}

x11_fade_steps() {
    # The values Qt sets are alpha * 0x01010101 (alpha 0..255): the fade's 29 steps below full
    # opacity are 246, 238, ..., 8 (alpha = remaining ms / 3000 * 255, truncated).
    local -A step=()
    local ms stamp value previous=4294967296
    for ((ms = 2900; ms >= 100; ms -= 100)); do step[$((ms * 255 / 3000 * 16843009))]=1; done

    seen=0 first= last=
    while read -r stamp _ _ value; do
        [[ $value =~ ^[0-9]+$ ]] || continue # "not found" while the window is fully opaque
        [[ -n ${step[$value]:-} ]] || fail "opacity $value is not a step of the fade"
        ((value <= previous)) || fail "opacity rose from $previous to $value during the fade"
        ((value < previous)) && seen=$((seen + 1))
        previous=$value
        first=${first:-$stamp}
        last=$stamp
    done <"$1"
}

x11_hidden_after_fade() {
    # (ShowTime plus ample time for a loaded machine)
    deadline 30
    until xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsUnMapped'; do
        late && fail "the widget was not hidden in 30 s"
        sleep 0.05
    done
    hidden=$(now)
    # The last step may still be on its way through the pipe.
    deadline 2
    until grep -q " $((8 * 16843009))\$" "$2" || late; do sleep 0.02; done
    x11_fade_steps "$2"
}

x11_opaque() {
    opacity=$(xprop -id "$1" _NET_WM_WINDOW_OPACITY 2>/dev/null)
    [[ $opacity == *"not found"* || $opacity == *" = 4294967295" ]]
}

x11_holds() {
    local what=$2
    until_=$(($(now) + $1 * 1000))
    shift 2
    until late; do
        "$@" || fail "$what"
        sleep 0.05
    done
}

x11_tell_failure() {
    # (a display that went away makes every later step fail: say so first)
    kill -0 "${pids[0]}" 2>/dev/null ||
        echo "$1: the X server is no longer running: $(cat "$work/xvfb.log")" >&2
    if [[ -s $work/tilava.log ]]; then
        echo "$1: the program's output:" >&2
        sed 's/^/    /' "$work/tilava.log" >&2
    fi
}

running() { kill -0 "$tilava" 2>/dev/null; }

ours() { [[ $(xprop -id "$1" _NET_WM_PID 2>/dev/null) == *" = $tilava" ]]; }
widget_mapped() { read_window "$widget" && [[ $win_state == IsViewable ]]; }
widget_unmapped() { read_window "$widget" && [[ $win_state == IsUnMapped ]]; }

# (the program's own window, also where a window manager has framed it)
find_widget() {
    local id
    for id in $(xdotool search --pid "$tilava" 2>/dev/null); do
        read_window "$id" && ((win_w == 170)) && widget=$id && return 0
    done
    return 1
}

find_icon() {
    local id panel
    for panel in $(xdotool search --classname '^panel$' 2>/dev/null); do
        for id in $(xwininfo -tree -id "$panel" 2>/dev/null | awk '/^ +0x/ {print $1}'); do
            ours "$id" && read_window "$id" && [[ $win_state == IsViewable ]] &&
                ((win_w > 0 && win_h > 0 && (win_x != 0 || win_y != 0))) || continue
            icon=$id icon_x=$((win_x + win_w / 2)) icon_y=$((win_y + win_h / 2))
            return 0
        done
    done
    return 1
}

# (a mapped override-redirect top-level window of ours)
find_menu() {
    local id
    for id in $(xwininfo -root -children 2>/dev/null | awk '/^ +0x/ && /"tilava" "Tilava"/ {print $1}'); do
        [[ $id != "$widget" ]] && read_window "$id" && [[ $win_state == IsViewable ]] &&
            [[ $win_override == yes ]] && ours "$id" || continue
        menu=$id menu_x=$win_x menu_y=$win_y menu_w=$win_w menu_h=$win_h
        return 0
    done
    return 1
}
menu_closed() { ! read_window "$menu" || [[ $win_state != IsViewable ]]; }

find_titled() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$tilava" --name "^$1" 2>/dev/null); do
        read_window "$id" && [[ $win_state == IsViewable ]] && found=$id && return 0
    done
    return 1
}
find_box() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$tilava" --name '^Tilava$' 2>/dev/null); do
        [[ $id != "$widget" ]] && read_window "$id" && [[ $win_state == IsViewable ]] &&
            [[ $win_override == no ]] && ((win_w != 170)) && found=$id && return 0
    done
    return 1
}
active_is() { [[ $(xdotool getactivewindow 2>/dev/null) == "$1" ]]; }
gone() { ! read_window "$1" || [[ $win_state != IsViewable ]]; }

x11_start_widget() {
    env QT_QPA_PLATFORM=xcb "$program" >"$work/tilava.log" 2>&1 &
    tilava=$!
    pids+=("$tilava")
    widget=
    wait_for 20 "a window of the program's width appears" find_widget
    wait_for 10 "the widget is mapped" widget_mapped
    # (a tray found at start embeds the icon at once; one found later only after 5 s)
    wait_for 10 "the tray icon is embedded in trayer's panel" find_icon
}

x11_wait_end() {
    local pid kept=()
    deadline "$1"
    while running; do
        late && fail "the program still runs $1 s after $2"
        sleep 0.02
    done
    wait "$tilava"
    status=$?
    for pid in "${pids[@]}"; do ((pid == tilava)) || kept+=("$pid"); done
    pids=("${kept[@]}")
}

x11_keyring() {
    dbus-daemon --session --nofork --nopidfile --address="unix:path=$work/bus" \
        >"$work/dbus.log" 2>&1 &
    pids+=($!)
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/bus
    deadline 10
    until dbus-send --session --dest=org.freedesktop.DBus --print-reply /org/freedesktop/DBus \
        org.freedesktop.DBus.GetId >/dev/null 2>&1; do
        late && fail "the session bus did not start: $(cat "$work/dbus.log")"
        sleep 0.05
    done
    # The keyring's own password comes on standard input; it creates the keyring unlocked.
    printf 'keyring' | gnome-keyring-daemon --foreground --unlock --components=secrets \
        >"$work/keyring.log" 2>&1 &
    pids+=($!)
    deadline 10
    until dbus-send --session --dest=org.freedesktop.DBus --print-reply /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null |
        grep -q 'boolean true'; do
        late && fail "the keyring's secret service did not start: $(cat "$work/keyring.log")"
        sleep 0.05
    done
}
