#!/usr/bin/env bash
# "Ukončit" from the tray menu while the week window is open, on a private X server with a
# window manager (openbox), a real tray host (trayer) and real clicks and keys (xdotool):
#   1. a click on the widget's day opens the week window;
#   2. Insert there opens the editor for the selected day, where a birthday is typed and
#      confirmed: the entry is in the week window only, no day file is written yet;
#   3. a right click on the tray icon opens its menu while the week window is open, and the
#      week window stays on the screen; its "Exportovať do kalendára…" says in a message box
#      over the week window why it does not run now, and the menu opens over that box too;
#   4. "Ukončit" (the menu's first item) closes the week window, which saves the entry, and
#      the program ends with status 0: the day file holds the entry's bytes.
#
# Usage: tests/x11/quit-over-week.sh PATH/TO/tilava
# Needs Xvfb, openbox, trayer, xdotool, xprop and xwininfo (scripts/install-deps.sh x11);
# without openbox, trayer or xdotool it is skipped.
set -uo pipefail

program=${1:?usage: quit-over-week.sh PATH/TO/tilava}
[[ -x $program ]] || { echo "quit-over-week.sh: $program is not a program" >&2; exit 2; }
for tool in openbox trayer xdotool; do
    command -v "$tool" >/dev/null ||
        { echo "quit-over-week.sh: skipped ($tool is not installed)"; exit 0; }
done

source "$(dirname "$0")/common.sh"

fail() {
    echo "quit-over-week.sh: FAILED: $*" >&2
    x11_tell_failure quit-over-week.sh
    exit 1
}
ok() { echo "ok: $*"; }

day_files() { compgen -G "$notes/*.txt"; }

x11_begin quit-over-week
notes=$XDG_DATA_HOME/ZelmTilava

x11_server
x11_window_manager
x11_tray

x11_start_widget
day_files >/dev/null && fail "a day file exists before anything was entered: $(day_files)"

# 1. The day number (the day area lies over it) opens the week window.
read_window "$widget" || fail "the widget's window is gone"
click "$((win_x + 30))" "$((win_y + 55))" 1
wait_for 20 "the week window \"Kalendár\" is shown after a click on the day" find_titled Kalendár
week=$found
wait_for 10 "the week window is the active window" active_is "$week"
ok "a click on the day opened the week window $week"

# 2. A birthday for the selected day: the name, Enter to its year, the year, Enter confirms.
xdotool key Insert
wait_for 20 "Insert opens the editor over the week window" find_titled Udalosť
editor=$found
wait_for 10 "the editor is the active window" active_is "$editor"
xdotool type --delay 20 Jana
xdotool key Return ctrl+a
xdotool type --delay 20 1990
xdotool key Return
wait_for 10 "Enter in the year box confirms and closes the editor" gone "$editor"
wait_for 10 "the week window is active again" active_is "$week"
day_files >/dev/null && fail "a day file was written while the week window is open: $(day_files)"
ok "the editor added a birthday to the open week window; no day file yet"

# 3. The tray icon answers while the week window is open, and while a message box is open over it.
click "$icon_x" "$icon_y" 3
wait_for 5 "a right click on the tray icon opens its menu while the week window is open" find_menu
read_window "$week" && [[ $win_state == IsViewable ]] ||
    fail "the week window is no longer shown while the tray menu is open"
xdotool key Down Down Down Return
wait_for 10 "\"Exportovať do kalendára…\" over the week window shows a message box" find_box
box=$found
wait_for 10 "the message box is the active window" active_is "$box"
click "$icon_x" "$icon_y" 3
wait_for 5 "a right click on the tray icon opens its menu while a message box is open" find_menu
xdotool key Escape
wait_for 5 "Escape closes the menu" menu_closed
wait_for 10 "the message box is active again" active_is "$box"
xdotool key Return
wait_for 10 "Enter closes the message box" gone "$box"
day_files >/dev/null && fail "a day file was written while the week window is open: $(day_files)"
ok "the tray menu opened over the week window and over the message box of the export's refusal"

click "$icon_x" "$icon_y" 3
wait_for 5 "the menu opens once more" find_menu

# 4. "Ukončit": the week window saves the entry on closing, then the program ends.
xdotool key Down Return
chosen=$(now)
x11_wait_end 20 "\"Ukončit\" was chosen"
((status == 0)) || fail "the program ended with status $status after \"Ukončit\""
ended_ms=$((($(now) - chosen) / 1000))
files=$(day_files) || fail "no day file in $notes after \"Ukončit\": the entry was lost"
[[ $files != *$'\n'* ]] || fail "more than one day file after \"Ukončit\": $files"
expected=$(printf '!\r\n-1\r\n2\r\n1990\r\nJana\r\n' | od -An -c)
actual=$(od -An -c "$files")
[[ $actual == "$expected" ]] || fail "the day file $files holds
$actual
instead of
$expected"
ok "\"Ukončit\" saved the week window's entry to $(basename "$files") and ended with status 0 in $ended_ms ms"
echo "quit-over-week.sh: passed"
