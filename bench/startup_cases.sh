#!/usr/bin/env bash
# Start until the first paint in three cases: a usual settings file and day; a 5 MB settings
# file (which the program refuses at once, with a message after its first paint, and leaves as
# it is); an entry of 1 MB on today (its bar shows three lines). Usage:
# bench/startup_cases.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-15}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# What a user's file holds after the settings window was confirmed once.
cat >"$work/normal.ini" <<'INI'
# Tilava

[Settings]
ShowTime=20000
Upozornenie=1
Dopredu=2
frmMainTop=0
frmMainLeft=1100
frmTyzdenTop=120
frmTyzdenLeft=300
Now=8. 12. 2026
NowIso=2026-12-08

[Run]
ZelmTilavaS=True
INI
# The same values, then 5 MB of further values.
cp "$work/normal.ini" "$work/large.ini"
awk 'BEGIN { for (i = 0; i < 200000; i++) printf "Hodnota%07d=%010d\n", i, i }' >>"$work/large.ini"
normal_sum=$(sha256sum <"$work/normal.ini")
large_sum=$(sha256sum <"$work/large.ini")
# Today's usual two entries, the first one a megabyte of words.
awk 'BEGIN { printf "!\r\n-1\r\n1\r\n2026\r\n"; for (i = 0; i < 180000; i++) printf "slovo ";
             printf "\r\n-1\r\n2\r\n1980\r\nJano\r\n" }' >"$work/long-entry.txt"

echo "== usual settings.ini ($(stat -c %s "$work/normal.ini") bytes) and day"
TILAVA_BENCH_SETTINGS="$work/normal.ini" bench/startup.sh "$build" "$runs"
echo "== settings.ini of $(stat -c %s "$work/large.ini") bytes"
TILAVA_BENCH_SETTINGS="$work/large.ini" bench/startup.sh "$build" "$runs"
echo "== an entry of $(stat -c %s "$work/long-entry.txt") bytes today"
TILAVA_BENCH_SETTINGS="$work/normal.ini" TILAVA_BENCH_DAY_FILE="$work/long-entry.txt" \
  bench/startup.sh "$build" "$runs"
[[ $(sha256sum <"$work/normal.ini") == "$normal_sum" && $(sha256sum <"$work/large.ini") == "$large_sum" ]]
