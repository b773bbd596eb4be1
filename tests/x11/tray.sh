#!/usr/bin/env bash
# The path a user takes between the tray icon and the widget, on a private X server with a
# real tray host (trayer) and real clicks (xdotool), starting from a fresh user with no
# settings file:
#   1. after start the widget is mapped and the tray icon is embedded in the panel;
#   2. a right click on the icon opens the menu and hides the widget; Escape closes the menu
#      and the widget stays hidden;
#   3. a left click on the icon shows the widget again, fully opaque;
#   4. right click, then "Zobraziť" (the menu's second item) shows the widget;
#   5. the widget's minimise button hides it, a left click on the icon shows it;
#   6. the widget's close button ends the program with status 0, and the settings file it
#      created holds the position the widget stood at.
# No session bus is needed: without one the tray icon is embedded over XEmbed.
#
# Usage: tests/x11/tray.sh PATH/TO/tilava
# Needs Xvfb, trayer, xdotool, xprop and xwininfo (scripts/install-deps.sh x11); without
# trayer or xdotool it is skipped.
set -uo pipefail

program=${1:?usage: tray.sh PATH/TO/tilava}
[[ -x $program ]] || { echo "tray.sh: $program is not a program" >&2; exit 2; }
for tool in trayer xdotool; do
    command -v "$tool" >/dev/null || { echo "tray.sh: skipped ($tool is not installed)"; exit 0; }
done

source "$(dirname "$0")/common.sh"

fail() {
    echo "tray.sh: FAILED: $*" >&2
    x11_tell_failure tray.sh
    exit 1
}
ok() { echo "ok: $*"; }

# A user of our own: home, settings, notes and runtime folder in the temporary folder, and no
# session bus. The settings folder is left to the program to create.
x11_begin tray
settings=$XDG_CONFIG_HOME/ZELMtilava/settings.ini

x11_server
# The tray host, at the bottom: without a window manager the widget's corner is the top right
# of the whole screen.
x11_tray

# 1. Start: the widget is shown and the icon sits in the tray.
x11_start_widget
ok "widget $widget mapped at start, tray icon $icon embedded at $icon_x,$icon_y"

# 2. Right click: the menu opens, the widget is hidden; Escape closes the menu only.
click "$icon_x" "$icon_y" 3
wait_for 5 "a popup menu opens after a right click on the tray icon" find_menu
wait_for 5 "the widget is hidden while the menu is open" widget_unmapped
first_menu=$menu
xdotool key Escape
wait_for 5 "Escape closes the menu" menu_closed
x11_holds 500 "the widget came back after Escape closed the menu" widget_unmapped
ok "right click opened menu $first_menu (${menu_w}x$menu_h) and hid the widget; Escape closed it, the widget stayed hidden"

# 3. Left click: the widget is back, fully opaque.
click "$icon_x" "$icon_y" 1
wait_for 5 "a left click on the tray icon shows the widget" widget_mapped
x11_opaque "$widget" || fail "the widget shown from the tray is not fully opaque: $opacity"
ok "left click on the icon showed the widget, fully opaque"

# 4. The menu's second item, "Zobraziť", shows the widget (the first one would end the program).
# Chosen with the keys, as the menu grabs them: they find it however many items follow.
click "$icon_x" "$icon_y" 3
wait_for 5 "the menu opens again" find_menu
wait_for 5 "the widget is hidden while the menu is open" widget_unmapped
xdotool key Down Down Return
wait_for 5 "\"Zobraziť\" shows the widget" widget_mapped
wait_for 5 "the menu closes after its item was chosen" menu_closed
ok "\"Zobraziť\" in the menu showed the widget"

# 5. The minimise button (13x14 at 135,1 in the widget) hides it; the icon brings it back.
read_window "$widget" || fail "the widget's window is gone"
widget_x=$win_x widget_y=$win_y
click "$((widget_x + 141))" "$((widget_y + 8))" 1
wait_for 5 "the minimise button hides the widget" widget_unmapped
click "$icon_x" "$icon_y" 1
wait_for 5 "a left click on the tray icon shows the minimised widget" widget_mapped
ok "minimise button hid the widget, the tray icon showed it again"

# 6. The close button (13x14 at 152,1) ends the program, which records where the widget stood.
read_window "$widget" || fail "the widget's window is gone"
widget_x=$win_x widget_y=$win_y
click "$((widget_x + 158))" "$((widget_y + 8))" 1
clicked=$(now)
x11_wait_end 5 "its close button was clicked"
ended_ms=$((($(now) - clicked) / 1000))
((status == 0)) || fail "the program ended with status $status after its close button"
[[ -f $settings ]] || fail "no settings file at $settings after the close"
if ! grep -qx "frmMainTop=$widget_y" "$settings" || ! grep -qx "frmMainLeft=$widget_x" "$settings"; then
    fail "the settings file does not hold frmMainTop=$widget_y and frmMainLeft=$widget_x:
$(cat "$settings")"
fi
ok "close button ended the program with status 0 in $ended_ms ms; settings hold frmMainTop=$widget_y, frmMainLeft=$widget_x"
echo "tray.sh: passed"
