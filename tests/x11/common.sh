# Shared by the scripts that run the real program on a private X server (tests/x11/*.sh,
# bench/idle.sh); sourced, not run. The script defines fail() before it calls anything here.
#
# x11_begin NAME: a temporary folder $work, removed at the end with every process listed in
#   $pids; a user of our own there (home, base settings and data folders and a runtime folder;
#   the program's own folders are left to the script or the program; no session bus).
# x11_server [WxH]: a private Xvfb on a free display; exports DISPLAY. Its log: $work/xvfb.log.
# x11_tray [HEIGHT]: trayer as tray host at the bottom right, once its panel is shown; its pid
#   in $trayer.
# now, deadline SECONDS, late: bash's microsecond clock, a time limit and whether it is past.

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

x11_tray() {
    trayer --edge bottom --align right --widthtype request --height "${1:-24}" \
        --transparent false --expand true >"$work/trayer.log" 2>&1 &
    trayer=$!
    pids+=("$trayer")
    deadline 10
    until [[ -n $(xdotool search --onlyvisible --classname '^panel$' 2>/dev/null) ]]; do
        kill -0 "$trayer" 2>/dev/null || fail "trayer ended: $(cat "$work/trayer.log")"
        late && fail "trayer's panel did not appear"
        sleep 0.02
    done
}
