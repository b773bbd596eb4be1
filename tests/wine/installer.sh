#!/usr/bin/env bash
# Installs Tilava for Windows under Wine as a user would, silently, in a fresh Wine prefix of its
# own, and checks what the installer put where: the program under Program Files, the Start-menu
# entry, the entry in the list of installed programs with version, publisher and icon. The
# installed program must print its version. While the installed program runs, neither the
# installer nor the uninstaller may change anything. Then it uninstalls silently: the program's
# folder, its menu entry, its uninstall entry and the "start with Windows" value that starts it
# must be gone, and the user's notes (%LOCALAPPDATA%\ZelmTilava) and settings
# (HKCU\Software\ZELMtilava, the start-up markers) must have the same bytes as before.
#
# Usage: tests/wine/installer.sh PATH/TO/Tilava-VERSION-setup.exe
# Needs the packages of scripts/install-deps.sh windows (Wine, locales, MinGW's objdump). The
# prefix (about 0.7 GB) lives in a temporary folder that is removed at the end.
set -uo pipefail

me=installer.sh
installer=${1:?usage: installer.sh PATH/TO/Tilava-VERSION-setup.exe}
[[ -f $installer ]] || { echo "$me: no installer at $installer" >&2; exit 2; }
installer=$(cd "$(dirname "$installer")" && pwd)/$(basename "$installer")
# The build names the installer after the project's version, which the program prints too.
if [[ $(basename "$installer") =~ ^Tilava-([0-9]+\.[0-9]+\.[0-9]+)-setup\.exe$ ]]; then
    version=${BASH_REMATCH[1]}
else
    echo "$me: $installer is not named Tilava-VERSION-setup.exe" >&2
    exit 2
fi

failures=0
fail() {
    echo "$me: FAILED: $*" >&2
    failures=$((failures + 1))
}
# The steps after a failed one would only report its consequences.
stop() {
    fail "$@"
    exit 1
}

now() { echo "${EPOCHREALTIME/./}"; }
deadline() { until_=$(($(now) + $1 * 1000000)); }
late() { (($(now) > until_)); }

# shellcheck source=tests/wine/env.sh
source "$(dirname "${BASH_SOURCE[0]}")/env.sh" || exit 2
work=$(mktemp -d "${TMPDIR:-/tmp}/tilava-installer.XXXXXX")
program_pid=
cleanup() {
    [[ -n $program_pid ]] && kill "$program_pid" 2>/dev/null
    [[ -v wine_env ]] && wine_end
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
# Without a display Wine uses its null display driver: the program runs the same on a machine
# with or without an X server.
unset DISPLAY WAYLAND_DISPLAY
# win SECONDS COMMAND...: a Windows command under Wine, ended after SECONDS.
win() {
    local seconds=$1
    shift
    "${wine_env[@]}" timeout "$seconds" wine "$@" </dev/null
}
# reg_value KEY NAME: the value's data as `reg query` shows it; fails when the value is missing.
reg_value() {
    local out
    out=$(win 60 reg query "$1" /v "$2" 2>/dev/null | tr -d '\r') || return 1
    awk -v name="$2" '$1 == name && $2 ~ /^REG_/ {
        sub(/^[ \t]*[^ \t]+[ \t]+REG_[A-Z_]+[ \t]+/, ""); print; found = 1 }
        END { exit !found }' <<<"$out"
}
# expect_value KEY NAME DATA
expect_value() {
    local data
    data=$(reg_value "$1" "$2") || { fail "$1 has no value $2"; return; }
    [[ $data == "$3" ]] || fail "$1\\$2 is '$data', not '$3'"
}
unix_path() { win 60 winepath -u "$1" 2>/dev/null | tr -d '\r'; }
# link_target FILE: the local path a shell link (.lnk) starts, from its LinkInfo structure.
link_target() {
    local file=$1 flags pos info_flags
    u16() { od -An -tu2 -j"$1" -N2 "$file" | tr -d ' '; }
    u32() { od -An -tu4 -j"$1" -N4 "$file" | tr -d ' '; }
    flags=$(u32 20)
    pos=76
    ((flags & 1)) && pos=$((pos + 2 + $(u16 76))) # the item list comes first
    ((flags & 2)) || return 1                      # no LinkInfo
    info_flags=$(u32 $((pos + 8)))
    ((info_flags & 1)) || return 1 # no local path
    tail -c +$((pos + $(u32 $((pos + 16))) + 1)) "$file" | head -c 260 | tr '\0' '\n' | head -n1
}

# --- a fresh prefix ------------------------------------------------------------------------------
wine_prefix "$work/prefix" || stop "no Wine prefix (wineboot -i failed)"
drive_c=$work/prefix/drive_c
[[ -d $drive_c/windows/system32 ]] || stop "wineboot made no C:\\windows\\system32"

program_dir='C:\Program Files\Tilava'
program="$program_dir\\tilava.exe"
unix_program_dir=$drive_c/'Program Files/Tilava'
menu_entry=$drive_c/'ProgramData/Microsoft/Windows/Start Menu/Programs/Tilava.lnk'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tilava'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
settings_key='HKCU\Software\ZELMtilava'

# --- the user's notes and settings from before ----------------------------------------------------
local_appdata=$(win 60 cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
notes_dir=$(unix_path "$local_appdata\\ZelmTilava")
[[ -n $local_appdata && $notes_dir == /* ]] || stop "no local application data folder in the prefix"
mkdir -p "$notes_dir"
# A day file, Windows-1250 with CR LF: a birthday of "Ján Šťastný" and a note.
printf '!\r\n-1\r\n2\r\n1980\r\nJ\341n \212\235astn\375\r\n-\r\n-1\r\n0\r\n0\r\nZavola\235\r\n' \
    >"$notes_dir/1209.txt"
notes_sum=$(sha256sum <"$notes_dir/1209.txt")
declare -A settings=([ShowTime]=30000 [Dopredu]=2 [frmMainTop]=40 [frmMainLeft]=1100)
for name in "${!settings[@]}"; do
    win 60 reg add "$settings_key" /v "$name" /t REG_SZ /d "${settings[$name]}" /f >/dev/null ||
        stop "could not write $settings_key\\$name"
done
win 60 reg add "$run_key" /v ZelmTilavaS /t REG_SZ /d True /f >/dev/null ||
    stop "could not write $run_key\\ZelmTilavaS"

# --- install ---------------------------------------------------------------------------------------
win 300 "$installer" /S
rc=$?
((rc == 0)) || stop "the silent installation ended with $rc"
[[ -f $unix_program_dir/tilava.exe ]] || stop "no $program"
[[ $(head -c 2 "$unix_program_dir/tilava.exe") == MZ ]] || fail "$program is no Windows program"
[[ -f $unix_program_dir/uninstall.exe ]] || fail "no $program_dir\\uninstall.exe"
if [[ -f $menu_entry ]]; then
    target=$(link_target "$menu_entry")
    [[ ${target,,} == "${program,,}" ]] || fail "the Start-menu entry starts '$target', not $program"
else
    fail "no Start-menu entry Tilava.lnk for all users"
fi
# What Windows shows of the program and reads before it starts: an icon, a version of the
# installer's and exactly one manifest (a second one, as a MinGW runtime's default manifest, would
# leave Windows to pick either).
resources=$(x86_64-w64-mingw32-objdump -p "$unix_program_dir/tilava.exe" 2>&1 | awk '
    function id() { s = $3 == "ID:" ? $4 : $(NF - 2); sub(/,$/, "", s); return s }
    /^[0-9a-f]+   Entry: / { type = id(); next }
    /^[0-9a-f]+     Entry: / { name = id(); next }
    /^[0-9a-f]+       Entry: / { print type, name, id() }')
[[ $(grep -c '^0x000018 ' <<<"$resources") == 1 && $resources == *'0x000018 0x000001 '* ]] ||
    fail "tilava.exe does not hold exactly one manifest with ID 1:"$'\n'"$resources"
[[ $resources == *'0x00000e '* ]] || fail "tilava.exe holds no icon:"$'\n'"$resources"
declare -A info=()
while IFS= read -r key && IFS= read -r value; do info[$key]=$value; done < <(
    strings -el "$unix_program_dir/tilava.exe" |
        grep -A1 -x -E 'CompanyName|ProductName|ProductVersion|FileVersion|OriginalFilename' |
        grep -v -x -e --)
for expected in CompanyName=ZELM ProductName=Tilava ProductVersion="$version" \
    FileVersion="$version" OriginalFilename=tilava.exe; do
    key=${expected%%=*}
    [[ ${info[$key]:-} == "${expected#*=}" ]] ||
        fail "tilava.exe's version resource has $key '${info[$key]:-}', not '${expected#*=}'"
done
grep -aqF 'PerMonitorV2, PerMonitor</dpiAwareness>' "$unix_program_dir/tilava.exe" ||
    fail "tilava.exe's manifest does not ask for per-monitor DPI awareness"

expect_value "$uninstall_key" DisplayName Tilava
expect_value "$uninstall_key" DisplayVersion "$version"
expect_value "$uninstall_key" Publisher ZELM
expect_value "$uninstall_key" DisplayIcon "$program,0"
expect_value "$uninstall_key" InstallLocation "$program_dir"
expect_value "$uninstall_key" UninstallString "\"$program_dir\\uninstall.exe\""
expect_value "$uninstall_key" QuietUninstallString "\"$program_dir\\uninstall.exe\" /S"

# --- the installed program ---------------------------------------------------------------------
# A program of the Windows subsystem: Wine hands it the terminal's output all the same.
out=$(win 120 "$program" --version 2>&1)
rc=$?
out=${out//$'\r'/}
[[ $rc == 0 && $out == "Tilava $version" ]] ||
    fail "the installed '$program --version' said '$out' (status $rc), not 'Tilava $version'"

# "Start with Windows", as the program's settings window writes it.
win 60 reg add "$run_key" /v ZelmTilava /t REG_SZ /d "\"$program\"" /f >/dev/null ||
    stop "could not write $run_key\\ZelmTilava"
expect_value "$run_key" ZelmTilava "\"$program\""

# --- while it runs, nothing changes -------------------------------------------------------------
# The running program records today's date as NowIso after its first five seconds: by then it
# holds its mutex.
"${wine_env[@]}" wine "$program" </dev/null >"$work/program.log" 2>&1 &
program_pid=$!
deadline 120
until reg_value "$settings_key" NowIso >/dev/null; do
    kill -0 "$program_pid" 2>/dev/null ||
        stop "the installed program ended at its start: $(cat "$work/program.log")"
    late && stop "the installed program wrote no NowIso within 120 s"
    sleep 0.5
done
program_sum=$(sha256sum <"$unix_program_dir/tilava.exe")
win 300 "$installer" /S
rc=$?
((rc == 2)) || fail "the installer, run while Tilava runs, ended with $rc, not 2"
# Told its folder (_?=, which takes no quotes: the short name) the uninstaller runs where it is
# and its status is seen here.
short_dir=$(win 60 winepath -s "$program_dir" 2>/dev/null | tr -d '\r')
[[ $short_dir != *' '* && -n $short_dir ]] || stop "no short name for $program_dir: '$short_dir'"
win 300 "$short_dir\\uninstall.exe" /S "_?=$short_dir"
rc=$?
((rc == 2)) || fail "the uninstaller, run while Tilava runs, ended with $rc, not 2"
[[ $(sha256sum 2>/dev/null <"$unix_program_dir/tilava.exe") == "$program_sum" ]] ||
    fail "$program changed while it ran"
[[ -f $unix_program_dir/uninstall.exe && -f $menu_entry ]] ||
    fail "the uninstaller removed files while Tilava ran"
reg_value "$uninstall_key" DisplayName >/dev/null || fail "the uninstall entry went while Tilava ran"
win 60 taskkill /F /IM tilava.exe >/dev/null 2>&1
deadline 60
while kill -0 "$program_pid" 2>/dev/null; do
    late && stop "the installed program did not end after taskkill"
    sleep 0.2
done
program_pid=

# --- uninstall -------------------------------------------------------------------------------------
settings_before=$(win 60 reg query "$settings_key" /s | tr -d '\r')
notes_before=$(cd "$notes_dir" && find . -type f -exec sha256sum {} + | sort)
# The uninstaller copies itself into the temporary folder, starts the copy and ends; the copy
# removes the program's folder.
win 300 "$program_dir\\uninstall.exe" /S
rc=$?
((rc == 0)) || fail "the silent uninstallation ended with $rc"
deadline 120
while [[ -e $unix_program_dir ]] || reg_value "$uninstall_key" DisplayName >/dev/null; do
    late && stop "120 s after the uninstallation, $program_dir or its uninstall entry is still there:
$(ls -la "$unix_program_dir" 2>&1)"
    sleep 0.5
done
[[ -e $menu_entry ]] && fail "the Start-menu entry is still there"
reg_value "$run_key" ZelmTilava >/dev/null &&
    fail "$run_key\\ZelmTilava still starts the removed program"
expect_value "$run_key" ZelmTilavaS True

[[ $(sha256sum 2>/dev/null <"$notes_dir/1209.txt") == "$notes_sum" ]] ||
    fail "the notes file 1209.txt changed: $(od -c "$notes_dir/1209.txt" 2>&1 | head -5)"
[[ $(cd "$notes_dir" && find . -type f -exec sha256sum {} + | sort) == "$notes_before" ]] ||
    fail "the uninstaller changed the notes folder"
[[ $(win 60 reg query "$settings_key" /s | tr -d '\r') == "$settings_before" ]] ||
    fail "the uninstaller changed $settings_key"
for name in "${!settings[@]}"; do expect_value "$settings_key" "$name" "${settings[$name]}"; done

if ((failures > 0)); then
    echo "$me: $failures check(s) failed" >&2
    exit 1
fi
echo "$me: Tilava $version installed, ran, refused to be replaced or removed while running, and was uninstalled; notes and settings kept"
