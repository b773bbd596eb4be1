#!/usr/bin/env bash
# The real Windows program under Wine, the way a user meets it on a desktop: a private X server
# with a window manager (openbox), a compositor (xcompmgr) and a tray host (trayer), a fresh
# Wine prefix with a Slovak locale (code page 1250, as on our users' computers) that sees only
# the fonts Wine brings in place of Windows' own (no DejaVu), and real clicks and keys:
#   1. the widget appears in the top right corner; the tray icon in trayer (XEmbed) shows the
#      day's sheet (its red band on top and a number below it, not the heart of the day-less
#      picture);
#   2. the widget fades: each step reaches the X server as _NET_WM_WINDOW_OPACITY (Wine turns a
#      layered window's alpha into that property), then it is hidden and stays hidden;
#   3. a left click on the icon shows it again, fully opaque;
#   4. a right click on the widget opens the settings: 60 seconds and "Spustiť pri štarte PC"
#      land in HKCU\Software\ZELMtilava and, as the quoted program path, in the Run key;
#   5. a click on the widget opens the week window, a click into today's empty day list the
#      editor; a birthday typed there and saved with the week window's button lands in
#      %LOCALAPPDATA%\ZelmTilava\MMDD.txt with the bytes of the day-file format (four lines a
#      record, CR LF), and the widget then shows it;
#   6. a second tilava.exe ends at once with status 0 (the named mutex) and shows the widget
#      that was hidden in the tray;
#   7. "Ukončit", the first item of the tray menu, ends the program with status 0 and the
#      widget's place is in the registry;
#   8. at 2x (Wine's LogPixels 192) the widget is twice as large in the same corner and the
#      week window opens;
#   9. the end of the Windows session (wineboot --end-session: WM_QUERYENDSESSION and
#      WM_ENDSESSION) while the week window holds a new entry saves it and ends the program.
# Screenshots go to the output folder: 1x-start.png, 1x-editor.png, 1x-week.png,
# 1x-widget.png, 2x-start.png and 2x-week.png. The text typed is ASCII: xdotool types other
# letters by changing the keyboard map for a moment, and Wine, which keeps a map of its own, drops
# them (Latin-1 letters too, on a loaded machine).
#
# Usage: tests/wine/desktop.sh PATH/TO/tilava.exe [OUTPUT-FOLDER]
# OUTPUT-FOLDER (default: wine-desktop beside the program) keeps the screenshots, the private
# locale and, after a failure, the Wine prefix. Needs scripts/install-deps.sh wine-x11.
set -uo pipefail

started=$SECONDS
program=${1:?usage: desktop.sh PATH/TO/tilava.exe [OUTPUT-FOLDER]}
[[ -f $program ]] || { echo "desktop.sh: $program is not a file" >&2; exit 2; }
program=$(realpath "$program")
out=$(realpath -m "${2:-$(dirname "$program")/wine-desktop}")
prefix=$out/prefix
for tool in Xvfb openbox xcompmgr trayer xdotool xprop xwininfo import convert wine wineserver \
    localedef; do
    command -v "$tool" >/dev/null ||
        { echo "desktop.sh: $tool is missing (scripts/install-deps.sh wine-x11)" >&2; exit 2; }
done
[[ -f /usr/share/wine/fonts/tahoma.ttf ]] ||
    { echo "desktop.sh: Wine's fonts are missing (scripts/install-deps.sh wine-x11)" >&2; exit 2; }

source "$(dirname "$0")/../x11/common.sh"
source "$(dirname "$0")/env.sh"

passed=
fail() {
    echo "desktop.sh: FAILED: $*" >&2
    x11_tell_failure desktop.sh
    import -window root "$out/failed.png" 2>/dev/null &&
        echo "desktop.sh: the screen at the failure: $out/failed.png" >&2
    echo "desktop.sh: the Wine prefix stays in $prefix" >&2
    exit 1
}
ok() { echo "ok: $*"; }
running() { kill -0 "$tilava" 2>/dev/null; }

x11_begin wine-desktop
mkdir -p "$out" || fail "cannot create $out"
rm -f "$out"/*.png

cleanup() {
    [[ -n ${wine_env+set} ]] && wine_end
    x11_cleanup
    [[ -n $passed ]] && rm -rf "$prefix"
}
trap cleanup EXIT

# A screen that also holds the week window at 2x.
screen_w=2560
x11_server "${screen_w}x1600"
x11_window_manager
xcompmgr 2>"$work/xcompmgr.log" &
pids+=($!)
# A panel of fixed width: Wine reads the size of the tray's windows once, when it docks the icon,
# and clips the icon to them; a panel that grows for the new icon afterwards leaves the icon
# clipped away (seen in about half of the starts, with plain Win32 programs too).
x11_tray 24 48

# A fresh prefix (its wine server runs until the end) whose Wine finds no font through
# fontconfig: it then has only its own fonts, as Windows has no DejaVu. (Exported only now: the
# window manager draws its titles with the system's fonts.)
cat >"$work/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><cachedir>$work/fontconfig</cachedir></fontconfig>
EOF
export FONTCONFIG_FILE=$work/fonts.conf
# (what an interrupted run of this script left running in it ends first)
[[ -d $prefix ]] && WINEPREFIX=$prefix wineserver -k </dev/null >/dev/null 2>&1
rm -rf "$prefix" || fail "cannot remove the old prefix $prefix"
wine_prefix "$prefix" || fail "the Wine prefix $prefix could not be prepared"
# Debian's Wine does not load its own TrueType fonts (fonts-wine) from where that package puts
# them: with only the raster fonts left, Qt draws every letter as an empty box. Tahoma is the face
# the widget names for Windows and the one Wine's dialogs use; Wine's other faces stay out (its
# "MS Sans Serif" is a TrueType face that Qt draws as symbols, where Windows has a raster font).
cp /usr/share/wine/fonts/tahoma*.ttf "$prefix/drive_c/windows/Fonts/" ||
    fail "cannot copy Wine's Tahoma into the prefix"
ok "Wine prefix ready after $((SECONDS - started)) s"

reg() { "${wine_env[@]}" wine reg "$@" </dev/null 2>/dev/null | tr -d '\r'; }
# reg_value KEY NAME: the data of a value; false when it is missing.
reg_value() {
    reg query "$1" /v "$2" | awk -v name="$2" '
        $1 == name && $2 ~ /^REG_/ { sub(/^ *[^ ]+ +REG_[A-Z_]+ */, ""); print; found = 1 }
        END { exit !found }'
}
settings='HKCU\Software\ZELMtilava'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
# Five seconds: fully shown for two, then the three-second fade.
reg add "$settings" /v ShowTime /t REG_SZ /d 5000 /f >/dev/null || fail "reg add ShowTime"

start_program() {
    "${wine_env[@]}" wine "$program" </dev/null >"$work/tilava.log" 2>&1 &
    tilava=$!
    pids+=("$tilava")
}

# stopped WHAT: waits until the program has ended and checks that it ended with status 0.
stopped() {
    deadline 20
    while running; do
        late && fail "the program still runs 20 s after $1"
        sleep 0.05
    done
    wait "$tilava"
    local status=$?
    ((status == 0)) || fail "the program ended with status $status after $1"
    local kept=() pid
    for pid in "${pids[@]}"; do ((pid == tilava)) || kept+=("$pid"); done
    pids=("${kept[@]}")
}

ours() { [[ $(xprop -id "$1" WM_CLASS 2>/dev/null) == *'"tilava.exe"'* ]]; }
named() { [[ $(xprop -id "$1" _NET_WM_NAME 2>/dev/null) == *"= \"$2"* ]]; }

# The widget: the program's window named Tilava, as wide as the widget at this scale.
find_widget() {
    local id
    for id in $(xdotool search --classname '^tilava\.exe$' 2>/dev/null); do
        read_window "$id" && ((win_w == 170 * scale)) && named "$id" Tilava || continue
        widget=$id
        return 0
    done
    return 1
}
widget_mapped() { read_window "$widget" && [[ $win_state == IsViewable ]]; }
widget_unmapped() { read_window "$widget" && [[ $win_state == IsUnMapped ]]; }
widget_lists_entry() { read_window "$widget" && ((win_h > 85 * scale)); }

# find_window TITLE: a mapped window of the program whose title begins with TITLE; its id in
# $found and its client area's place in win_x, win_y.
find_window() {
    local id
    for id in $(xdotool search --classname '^tilava\.exe$' 2>/dev/null); do
        named "$id" "$1" && read_window "$id" && [[ $win_state == IsViewable ]] || continue
        found=$id
        return 0
    done
    return 1
}
window_gone() { ! read_window "$1" || [[ $win_state != IsViewable ]]; }

# The tray icon: Wine's window (of its explorer.exe) inside trayer's panel, mapped.
find_icon() {
    local id panel
    for panel in $(xdotool search --classname '^panel$' 2>/dev/null); do
        for id in $(xwininfo -tree -id "$panel" 2>/dev/null | awk '/"explorer\.exe"/ {print $1}'); do
            read_window "$id" && [[ $win_state == IsViewable ]] && ((win_w > 1 && win_h > 1)) ||
                continue
            icon_left=$win_x icon_top=$win_y icon_w=$win_w icon_h=$win_h
            icon_x=$((win_x + win_w / 2)) icon_y=$((win_y + win_h / 2))
            return 0
        done
    done
    return 1
}

# The icon as the screen shows it: the day's sheet has its red band in the upper part and no
# red below it, and navy digits in the middle of the lower part; the day-less picture has a
# navy band on top and a red heart below.
icon_shows_day() {
    import -window root -crop "${icon_w}x${icon_h}+$icon_left+$icon_top" "$work/icon.png" \
        2>/dev/null || return 1
    convert "$work/icon.png" -depth 8 txt:- 2>/dev/null |
        sed -n 's/^\([0-9]*\),\([0-9]*\): *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4 \5/p' |
        awk -v w="$icon_w" -v h="$icon_h" '
            { red = $3 > 170 && $4 < 90 && $5 < 100; navy = $3 < 80 && $4 < 100 && $5 > 70 && $5 < 170 }
            red && $2 < 0.45 * h { top_red++ }
            red && $2 > 0.5 * h { low_red++ }
            navy && $2 > 0.45 * h && $1 > w / 3 && $1 < 2 * w / 3 { digits++ }
            END { exit !(top_red >= 3 && low_red == 0 && digits >= 3) }'
}

# A right click that Wine's tray takes: press and release a little apart.
right_click_icon() {
    xdotool mousemove "$icon_x" "$icon_y" mousedown 3 || fail "xdotool could not press"
    sleep 0.2
    xdotool mouseup 3 || fail "xdotool could not release"
}

# The open tray menu: a mapped pop-up window of the program (Wine leaves those to no window
# manager).
find_menu() {
    local id
    for id in $(xdotool search --classname '^tilava\.exe$' 2>/dev/null); do
        [[ $id != "$widget" ]] && read_window "$id" && [[ $win_state == IsViewable ]] &&
            [[ $win_override == yes ]] && ((win_h > 40 * scale && win_w > 40 * scale)) || continue
        menu_x=$win_x menu_y=$win_y menu_w=$win_w menu_h=$win_h
        return 0
    done
    return 1
}

# ukoncit: "Ukončit", the first of the tray menu's four items, and the program's end.
ukoncit() {
    right_click_icon
    wait_for 10 "the tray menu opens after a right click on the icon" find_menu
    click "$((menu_x + menu_w / 2))" "$((menu_y + menu_h / 8))" 1
    stopped '"Ukončit" in the tray menu'
}

# click_in WID WIDTH HEIGHT X Y: a left click at X,Y of a window's client area of WIDTH x HEIGHT
# (in the scale's units). Wine draws the frame of a window with a title itself, inside the X
# window: equal borders left, right and below, and the title above.
click_in() {
    read_window "$1" || fail "the window $1 is gone"
    local border=$(((win_w - $2 * scale) / 2)) title
    title=$((win_h - $3 * scale - border))
    ((border >= 0 && title >= 0)) || fail "the window $1 is ${win_w}x$win_h, smaller than $2x$3"
    click "$((win_x + border + $4 * scale))" "$((win_y + title + $5 * scale))" 1
}

# add_birthday NAME [SCREENSHOT]: in the open week window, a click below today's entries (the
# row of today, Monday on top: its list lies at 182,55*i+42, 331x52) opens the editor; NAME is
# typed as a birthday and confirmed with the year the editor offers.
add_birthday() {
    deadline 15
    until find_window Udalos; do
        late && fail "a click into today's day list does not open the editor"
        click_in "$week" 527 552 350 $((55 * $(date +%u) + 80))
        for _ in 1 2 3 4 5 6 7 8 9 10; do find_window Udalos && break; sleep 0.2; done
    done
    editor=$found
    click_in "$editor" 369 188 190 58 # the birthday's name
    xdotool type --delay 80 "$1" || fail "xdotool could not type"
    sleep 0.5
    [[ -z ${2:-} ]] || import -window root "$2"
    xdotool key Return && sleep 0.3 && xdotool key Return || fail "xdotool could not press Return"
    wait_for 10 "two Returns (name, then year) confirm the editor" window_gone "$editor"
}

# ---- 1x ------------------------------------------------------------------------------------
scale=1
start_program
wait_for 60 "the widget appears" find_widget
wait_for 10 "the widget is mapped" widget_mapped
widget_x=$win_x widget_y=$win_y
corner=$((screen_w - 170))
((widget_x == corner && widget_y == 0)) ||
    fail "the widget is at $widget_x,$widget_y, not in the top right corner ($corner,0)"
x11_watch_opacity "$widget" "$work/spy"
wait_for 20 "the tray icon is docked in trayer's panel" find_icon
wait_for 10 "the tray icon shows the day's sheet" icon_shows_day
import -window root "$out/1x-start.png" || fail "no screenshot"
ok "widget $widget at the top right ($widget_x,$widget_y), tray icon ${icon_w}x$icon_h in trayer at $icon_x,$icon_y showing the day"

# 2. The fade, then the hidden widget.
x11_hidden_after_fade "$widget" "$work/spy"
# A loaded machine merges steps (xprop reads the property once for changes that come close
# together); a fade held back until the hide shows a couple of values within milliseconds.
((seen >= 15)) || fail "only $seen of the 29 fade steps reached the X server"
((last - first >= 1500000)) || fail "the fade steps arrived within $(((last - first) / 1000)) ms"
x11_holds 1000 "the faded widget came back on its own" widget_unmapped
ok "$seen of 29 fade steps reached the X server over $(((last - first) / 1000)) ms; hidden $(((hidden - last) / 1000)) ms after the last"

# 3. A left click on the icon.
click "$icon_x" "$icon_y" 1
wait_for 10 "a left click on the tray icon shows the widget" widget_mapped
x11_opaque "$widget" || fail "the widget shown from the tray is not fully opaque: $opacity"
ok "a left click on the icon showed the widget, fully opaque"

# 4. The settings: a right click on the day page.
xdotool mousemove "$((corner + 30))" 50
click "$((corner + 30))" 50 3
wait_for 10 "a right click on the widget opens the settings" find_window Nastavenia
setup=$found
click_in "$setup" 303 332 184 110 # the seconds box
xdotool key ctrl+a && xdotool type --delay 80 60 || fail "xdotool could not type"
click_in "$setup" 303 332 175 168 # "Spustiť pri štarte PC"
click_in "$setup" 303 332 241 308 # OK
wait_for 10 "OK closes the settings" window_gone "$setup"
deadline 10
until [[ $(reg_value "$settings" ShowTime) == 60000 ]]; do
    late && fail "ShowTime is not 60000 after the settings: $(reg query "$settings")"
    sleep 0.2
done
path=$("${wine_env[@]}" winepath -w "$program" 2>/dev/null | tr -d '\r')
run_value=$(reg_value "$run_key" ZelmTilava) ||
    fail "no ZelmTilava value in the Run key: $(reg query "$run_key")"
[[ $run_value == "\"$path\"" ]] || fail "the Run value is $run_value, not \"$path\""
for name in Upozornenie Dopredu frmSetupTop frmSetupLeft; do
    reg_value "$settings" "$name" >/dev/null || fail "no $name in $settings: $(reg query "$settings")"
done
ok "the settings put ShowTime=60000 into $settings and $run_value into the Run key"

# 5. The week window, the editor and the day file.
widget_mapped || click "$icon_x" "$icon_y" 1
wait_for 10 "the widget is shown" widget_mapped
click "$((corner + 30))" 50 1
wait_for 15 "a click on the widget opens the week window" find_window Kalend
week=$found
row=$(date +%u) day=$(date +%m%d)
add_birthday 'Jan Novak' "$out/1x-editor.png"
sleep 1
import -window root "$out/1x-week.png"
click_in "$week" 527 552 464 539 # "Uložiť a zavrieť"
wait_for 10 "the save button closes the week window" window_gone "$week"
notes=$(ls -d "$prefix"/drive_c/users/*/AppData/Local/ZelmTilava 2>/dev/null | head -n1)
[[ -n $notes ]] || fail "no ZelmTilava folder under %LOCALAPPDATA%"
printf '!\r\n-1\r\n2\r\n1980\r\nJan Novak\r\n' >"$work/expected.txt"
cmp -s "$work/expected.txt" "$notes/$day.txt" ||
    fail "$notes/$day.txt does not hold the expected bytes: $(od -c "$notes/$day.txt" 2>&1)"
# The widget lists today's birthday under its header.
wait_for 10 "the widget grows by the birthday's bar" widget_lists_entry
sleep 0.5
import -window root "$out/1x-widget.png"
ok "the editor's birthday is in %LOCALAPPDATA%\\ZelmTilava\\$day.txt as the day-file format has it; the widget lists it"

# 6. A second start: it ends at once and shows the widget hidden in the tray.
read_window "$widget"
click "$((win_x + 141))" "$((win_y + 8))" 1 # minimise
wait_for 10 "the minimise button hides the widget" widget_unmapped
second_started=$(now)
"${wine_env[@]}" timeout 30 wine "$program" </dev/null >"$work/second.log" 2>&1
status=$?
second_ms=$((($(now) - second_started) / 1000))
((status == 0)) || fail "the second copy ended with status $status: $(cat "$work/second.log")"
((second_ms < 10000)) || fail "the second copy took $second_ms ms to end"
running || fail "the first copy ended when the second started"
wait_for 5 "the second start shows the hidden widget" widget_mapped
ok "a second tilava.exe ended with status 0 in $second_ms ms and the running copy showed its widget"

# 7. "Ukončit".
ukoncit
[[ $(reg_value "$settings" frmMainTop) == 0 && $(reg_value "$settings" frmMainLeft) == "$corner" ]] ||
    fail "the widget's place is not in the registry: $(reg query "$settings")"
ok "\"Ukončit\" ended the program with status 0; frmMainTop=0, frmMainLeft=$corner in the registry"

# ---- 2x ------------------------------------------------------------------------------------
scale=2
reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null ||
    fail "reg add LogPixels"
# Every Wine process of the prefix reads the resolution when it starts.
wine_end
"${wine_env[@]}" wineserver -p </dev/null >/dev/null 2>&1
kill "$trayer" && wait "$trayer" 2>/dev/null
x11_tray 40 80
start_program
wait_for 60 "the widget appears at 2x" find_widget
wait_for 10 "the widget is mapped" widget_mapped
widget_x=$win_x widget_y=$win_y widget_size=${win_w}x$win_h
corner=$((screen_w - 340))
((widget_x == corner && widget_y == 0)) ||
    fail "at 2x the widget is $widget_size at $widget_x,$widget_y, not in the corner ($corner,0)"
wait_for 20 "the tray icon is docked at 2x" find_icon
wait_for 10 "the tray icon shows the day's sheet at 2x" icon_shows_day
import -window root "$out/2x-start.png"
ok "at 2x the widget is $widget_size at $widget_x,$widget_y, the tray icon ${icon_w}x$icon_h shows the day"
click "$((corner + 60))" 100 1
wait_for 15 "a click on the widget opens the week window at 2x" find_window Kalend
week=$found
read_window "$week"
week_size=${win_w}x$win_h
# (its client area, 527 x 552 at 1x, inside the frame that Wine draws)
((win_w >= 2 * 527 && win_w <= 2 * 527 + 40 && win_h >= 2 * 552 && win_h <= 2 * 552 + 80)) ||
    fail "at 2x the week window is ${win_w}x$win_h, not about 1054x1104"
sleep 1
import -window root "$out/2x-week.png"
ok "at 2x the week window is $week_size"

# 9. The end of the Windows session while the week window holds an entry it has not saved yet:
# the week window saves it, then the program ends, as with "Ukončit".
add_birthday 'Eva Mala'
# Windows ends the process itself once it has answered WM_ENDSESSION: any exit status goes
# (and the shell need not report the killed job).
disown "$tilava"
"${wine_env[@]}" timeout 60 wine wineboot --end-session </dev/null >/dev/null 2>&1
deadline 20
while running; do
    late && fail "the program still runs 20 s after the end of the session"
    sleep 0.05
done
printf '!\r\n-1\r\n2\r\n1980\r\nJan Novak\r\n-1\r\n2\r\n1980\r\nEva Mala\r\n' >"$work/expected.txt"
cmp -s "$work/expected.txt" "$notes/$day.txt" ||
    fail "after the end of the session $notes/$day.txt holds: $(od -c "$notes/$day.txt" 2>&1)"
ok "the end of the session saved the week window's new entry and ended the program"

passed=1
echo "desktop.sh: passed in $((SECONDS - started)) s; screenshots in $out"
