#!/usr/bin/env bash
# Times the Windows program's start under Wine until its widget is painted, against the
# yardstick built the same way (a bare frameless Qt window with a tray icon, static Qt), on a
# private Xvfb with a window manager and a tray host (without a window manager Wine waits 2 s
# for each window it hides to be withdrawn, which would swamp the start). Runs alternate; each
# is timed from the start of `wine` until the process ends (both end right after their first
# paint). Reports both medians and their ratio.
# Usage: bench/startup_wine.sh [BUILD_DIR] [RUNS]   (BUILD_DIR: build/windows-app)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/windows-app}")
runs=${2:-15}
program=$build/app/tilava.exe
yardstick=$build/bench/tilava_yardstick.exe
[[ -f $program && -f $yardstick ]] || {
  echo "build the windows-app preset first: cmake --build --preset windows-app" >&2
  exit 2
}
source tests/x11/common.sh
source tests/wine/env.sh
fail() {
  echo "startup_wine.sh: $*" >&2
  exit 1
}

x11_begin startup-wine
trap 'set +e; [[ -n ${wine_env+set} ]] && wine_end; x11_cleanup' EXIT
x11_server
x11_window_manager
# (a panel of fixed width: Wine clips a docked icon to the panel's size when it docked)
x11_tray 24 48

wine_prefix "$work/wineprefix"
wine_env+=(TILAVA_EXIT_AFTER_PAINT=1)
# Wine's desktop process for the display stays up between the runs, as on a running desktop.
"${wine_env[@]}" wine "$build/tests/wine/keep-desktop.exe" </dev/null >/dev/null 2>&1 &
pids+=($!)
# A first run of each maps the files into the page cache and creates the settings.
for exe in "$program" "$yardstick"; do
  "${wine_env[@]}" wine "$exe" </dev/null >/dev/null 2>&1 || true
done

time_ms() { # EXE: milliseconds from start to end
  local start end
  start=$(date +%s%N)
  "${wine_env[@]}" wine "$1" </dev/null >/dev/null 2>&1 || true
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}
: >"$work/program" >"$work/yardstick"
for ((i = 0; i < runs; i++)); do
  time_ms "$program" >>"$work/program"
  time_ms "$yardstick" >>"$work/yardstick"
done
median() { sort -n "$1" | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }
p=$(median "$work/program")
y=$(median "$work/yardstick")
echo "runs: $runs"
echo "tilava.exe median: $p ms"
echo "yardstick median:  $y ms"
awk -v p="$p" -v y="$y" 'BEGIN {printf "ratio: %.2f\n", p / y}'
