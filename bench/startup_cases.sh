#!/usr/bin/env bash
# Start until the first paint with a usual settings file and with a 5 MB one (which the program
# refuses at once, with a message, and leaves as it is). Usage:
# bench/settings_startup.sh [BUILD_DIR] [RUNS]
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

for kind in normal large; do
  echo "== settings.ini: $kind, $(stat -c %s "$work/$kind.ini") bytes"
  TILAVA_BENCH_SETTINGS="$work/$kind.ini" bench/startup.sh "$build" "$runs"
done
[[ $(sha256sum <"$work/normal.ini") == "$normal_sum" && $(sha256sum <"$work/large.ini") == "$large_sum" ]]
