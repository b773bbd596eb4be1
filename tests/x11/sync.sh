#!/usr/bin/env bash
# The calendar sync from the tray, end to end, on a private X server with a real tray host
# (trayer), real clicks and keys (xdotool), a real CalDAV server (radicale on 127.0.0.1) and a
# private session bus with an unlocked keyring (gnome-keyring):
#   1. the sync's address and user are in settings.ini and one birthday is in the notes folder;
#   2. the tray menu's "Nastavenie synchronizácie…" opens the dialog, where the password is typed
#      and saved: the dialog closes, and settings.ini holds the address but not the password;
#   3. the tray menu's "Synchronizovať": the birthday arrives on the server as one event, and no
#      message box (a failure) appears;
#   4. "Ukončit" ends the program with status 0.
#
# Usage: tests/x11/sync.sh PATH/TO/tilava
# Needs Xvfb, openbox, trayer, xdotool, xprop, xwininfo, dbus-daemon, gnome-keyring, radicale and
# curl; without one of them it is skipped. A build without the sync's libraries fails here: its
# dialog says that it has no sync.
set -uo pipefail

program=${1:?usage: sync.sh PATH/TO/tilava}
[[ -x $program ]] || { echo "sync.sh: $program is not a program" >&2; exit 2; }
for tool in openbox trayer xdotool dbus-daemon gnome-keyring-daemon /usr/bin/radicale curl; do
    command -v "$tool" >/dev/null || { echo "sync.sh: skipped ($tool is not installed)"; exit 0; }
done

here=$(dirname "$0")
source "$here/common.sh"

fail() {
    echo "sync.sh: FAILED: $*" >&2
    x11_tell_failure sync.sh
    [[ -s $work/dav/log ]] && { echo "sync.sh: the server's log:" >&2; tail -n 30 "$work/dav/log" >&2; }
    exit 1
}
ok() { echo "ok: $*"; }

x11_begin sync
# (radicale's own clean-up: its storage lies outside the temporary folder)
trap '"$here/../exchange/radicale.sh" stop "$work/dav"; x11_cleanup' EXIT
settings=$XDG_CONFIG_HOME/ZELMtilava/settings.ini
notes=$XDG_DATA_HOME/ZelmTilava
password=secret1

# 1. The server with an empty calendar, the settings without the password, one birthday.
"$here/../exchange/radicale.sh" start "$work/dav" "alice:$password" >/dev/null ||
    fail "radicale did not start"
calendar="$(cat "$work/dav/url")/alice/tilava/"
dav() { curl -s -u "alice:$password" -H 'Content-Type: application/xml; charset=utf-8' "$@"; }
created=$(dav -o /dev/null -w '%{http_code}' -X MKCALENDAR "$calendar" --data-binary \
    '<C:mkcalendar xmlns:D="DAV:" xmlns:C="urn:ietf:params:xml:ns:caldav"><D:set><D:prop>
     <D:displayname>Tilava</D:displayname></D:prop></D:set></C:mkcalendar>')
[[ $created == 201 ]] || fail "MKCALENDAR $calendar answered $created"
# The events of the calendar, each with its iCalendar text.
events() {
    dav -X REPORT -H 'Depth: 1' "$calendar" --data-binary \
        '<C:calendar-query xmlns:D="DAV:" xmlns:C="urn:ietf:params:xml:ns:caldav"><D:prop>
         <D:getetag/><C:calendar-data/></D:prop><C:filter><C:comp-filter name="VCALENDAR">
         <C:comp-filter name="VEVENT"/></C:comp-filter></C:filter></C:calendar-query>'
}
on_server() { [[ $(events) == *"SUMMARY:Jana – narodeniny"* ]]; }

mkdir -p "$(dirname "$settings")" "$notes"
printf '[Settings]\nSyncCalendar=%s\nSyncUser=alice\n' "$calendar" >"$settings"
printf '!\r\n-1\r\n2\r\n1990\r\nJana\r\n' >"$notes/0315.txt"
ok "radicale at $calendar, the sync set up without its password, Jana's birthday on 15 March"

x11_server
x11_window_manager
x11_keyring
x11_tray
x11_start_widget

# 2. The password, typed into the sync's settings (the menu's sixth item).
click "$icon_x" "$icon_y" 3
wait_for 5 "a right click on the tray icon opens its menu" find_menu
xdotool key Down Down Down Down Down Down Return
wait_for 20 "\"Nastavenie synchronizácie…\" opens the dialog \"Synchronizácia\"" \
    find_titled Synchronizácia
dialog=$found
wait_for 10 "the dialog is the active window" active_is "$dialog"
# From the address: the user, then the password; Enter saves.
xdotool key Tab Tab
xdotool type --delay 20 "$password"
xdotool key Return
deadline 20
until gone "$dialog"; do
    find_box && fail "saving the sync's settings showed a message box (a build without the sync, or the keyring refused)"
    running || fail "the program ended while the dialog saved"
    late && fail "the dialog did not close in 20 s after Enter"
    sleep 0.05
done
grep -qF "SyncCalendar=$calendar" "$settings" || fail "settings.ini lost the address: $(cat "$settings")"
grep -qF "$password" "$settings" && fail "the password is in settings.ini: $(cat "$settings")"
ok "the password was saved from the dialog, and not into settings.ini"

# 3. "Synchronizovať" (the menu's fifth item) brings the birthday to the server.
click "$icon_x" "$icon_y" 3
wait_for 5 "the menu opens again" find_menu
xdotool key Down Down Down Down Down Return
chosen=$(now)
deadline 60
until on_server; do
    find_box && fail "the sync showed a message box instead of bringing the birthday to the server"
    running || fail "the program ended while it synced"
    late && fail "Jana's birthday is not on the server 60 s after \"Synchronizovať\": $(events)"
    sleep 0.2
done
synced_ms=$((($(now) - chosen) / 1000))
count=$(events | grep -c 'BEGIN:VEVENT')
((count == 1)) || fail "the server holds $count events instead of one: $(events)"
# A failure would come as a message box once the sync has ended.
x11_holds 1500 "a message box appeared after the sync" eval '! find_box'
ok "\"Synchronizovať\" brought the birthday to the server in $synced_ms ms, as its one event"

# 4. "Ukončit" (the menu's first item).
click "$icon_x" "$icon_y" 3
wait_for 5 "the menu opens once more" find_menu
xdotool key Down Return
x11_wait_end 20 "\"Ukončit\" was chosen"
((status == 0)) || fail "the program ended with status $status after \"Ukončit\""
ok "\"Ukončit\" ended the program with status 0"
echo "sync.sh: passed"
