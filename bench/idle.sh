#!/usr/bin/env bash
# What an idle widget costs: Tilava runs on a private X server with a tray host (trayer),
# set never to fade out (ZelmTilavaS in [Run]), and nothing touches it. After 10 s for the
# start-up to settle it measures WINDOWS consecutive windows of 60 s: the CPU time of all the
# process's threads (/proc/PID/task/*/schedstat, ns on a CPU) and its wake-ups (voluntary and
# involuntary context switches of all threads, and of the main thread alone), then prints the
# medians. With strace installed a last minute counts the poll and futex returns per thread
# under strace as a cross-check (STRACE=0 leaves it out); it does not count in the medians.
#
# Usage: bench/idle.sh PATH/TO/tilava [WINDOWS]   (WINDOWS: 5 when left out)
# Needs Xvfb, trayer, xdotool, xprop and xwininfo (scripts/install-deps.sh x11).
set -uo pipefail

program=${1:?usage: idle.sh PATH/TO/tilava [WINDOWS]}
windows=${2:-5}
window_s=60
[[ -x $program ]] || { echo "idle.sh: $program is not a program" >&2; exit 2; }
[[ $windows =~ ^[1-9][0-9]*$ ]] || { echo "idle.sh: WINDOWS must be a positive number" >&2; exit 2; }
for tool in Xvfb trayer xdotool xprop xwininfo; do
  command -v "$tool" >/dev/null || { echo "idle.sh: needs $tool (scripts/install-deps.sh x11)" >&2; exit 2; }
done

source "$(dirname "$0")/../tests/x11/common.sh"
fail() { echo "idle.sh: $*" >&2; exit 1; }

# A user of our own, with the widget set never to fade and no session bus.
x11_begin idle
mkdir -p "$XDG_CONFIG_HOME/ZELMtilava"
printf '[Run]\nZelmTilavaS=True\n' >"$XDG_CONFIG_HOME/ZELMtilava/settings.ini"

x11_server
x11_tray
# The pointer stays away from the widget (top right) and the tray (bottom right).
xdotool mousemove 10 790

env QT_QPA_PLATFORM=xcb "$program" >"$work/tilava.log" 2>&1 &
tilava=$!
pids+=("$tilava")
for ((i = 0; i < 1000; i++)); do
  kill -0 "$tilava" 2>/dev/null || fail "the program ended: $(cat "$work/tilava.log")"
  [[ -n $(xdotool search --onlyvisible --pid "$tilava" 2>/dev/null) ]] && break
  sleep 0.02
done
sleep 10
kill -0 "$tilava" 2>/dev/null || fail "the program ended: $(cat "$work/tilava.log")"
icon=no
for panel in $(xdotool search --classname '^panel$' 2>/dev/null); do
  for id in $(xwininfo -tree -id "$panel" 2>/dev/null | awk '/^ +0x/ {print $1}'); do
    [[ $(xprop -id "$id" _NET_WM_PID 2>/dev/null) == *" = $tilava" ]] && icon=yes
  done
done
echo "idle.sh: $program, pid $tilava, tray icon embedded: $icon, $windows windows of $window_s s"

# The widget: a mapped top-level window of ours, as wide as the widget.
widget_shown() {
  local id
  for id in $(xwininfo -root -children 2>/dev/null | awk '/^ +0x/ && / 170x[0-9]+[+-]/ {print $1}'); do
    [[ $(xprop -id "$id" _NET_WM_PID 2>/dev/null) == *" = $tilava" ]] &&
      xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && return 0
  done
  return 1
}
widget_shown || fail "the widget is not shown after the start"

# snapshot FILE: one line per thread: TID CPU_NS VOLUNTARY INVOLUNTARY NAME (switches)
snapshot() {
  local task ns key value voluntary involuntary name
  for task in /proc/"$tilava"/task/*; do
    read -r ns _ <"$task/schedstat" 2>/dev/null || continue
    voluntary=0 involuntary=0
    while read -r key value _; do
      case $key in
      voluntary_ctxt_switches:) voluntary=$value ;;
      nonvoluntary_ctxt_switches:) involuntary=$value ;;
      esac
    done <"$task/status"
    read -r name <"$task/comm"
    echo "${task##*/} $ns $voluntary $involuntary $name"
  done >"$1"
}

# Per window: CPU s, wake-ups and main thread's wake-ups scaled to 60 s; per thread the sums.
# The involuntary switches are shown apart: a busy machine preempts the program more often.
: >"$work/windows"
: >"$work/threads"
for ((w = 1; w <= windows; w++)); do
  snapshot "$work/before"
  start=$(now)
  sleep "$window_s"
  snapshot "$work/after"
  elapsed=$(($(now) - start))
  kill -0 "$tilava" 2>/dev/null || fail "the program ended during window $w"
  awk -v main="$tilava" -v us="$elapsed" -v w="$w" \
    -v figures="$work/windows" -v threads="$work/threads" '
    NR == FNR { cpu[$1] = $2; sw[$1] = $3 + $4; inv[$1] = $4; next }
    {
      name = $5; for (i = 6; i <= NF; i++) name = name " " $i
      dc = $2 - cpu[$1]; ds = $3 + $4 - sw[$1]
      total_cpu += dc; total_sw += ds; total_inv += $4 - inv[$1]; if ($1 == main) main_sw = ds
      printf "%s%s\t%d\t%d\n", name, ($1 == main ? " (main)" : ""), dc, ds >> threads
      seen[$1] = 1; n++
    }
    END {
      for (t in cpu) if (!(t in seen)) gone++
      scale = 60e6 / us
      printf "%.6f %.1f %.1f\n", total_cpu / 1e9 * scale, total_sw * scale, main_sw * scale >> figures
      printf "window %d: CPU %.4f s, wake-ups %.0f (main thread %.0f, involuntary %.0f)" \
        " per 60 s; %d threads%s\n", w, total_cpu / 1e9 * scale, total_sw * scale,
        main_sw * scale, total_inv * scale, n,
        gone ? sprintf(", %d ended during the window", gone) : ""
    }' "$work/before" "$work/after"
done

median() { # median COLUMN FORMAT: the median of that column of the windows' figures
  sort -g <(cut -d' ' -f"$1" "$work/windows") | awk -v format="$2" '{ v[NR] = $1 }
    END { printf format, (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
echo "per thread over all windows (CPU s, wake-ups):"
awk -F'\t' '{ cpu[$1] += $2; sw[$1] += $3 } END {
  for (t in cpu) printf "  %-20s %.4f s %d\n", t, cpu[t] / 1e9, sw[t] }' "$work/threads" | sort
printf 'idle: CPU s per 60 s median %s; wake-ups per minute median %s (main thread %s)\n' \
  "$(median 1 %.4f)" "$(median 2 %.1f)" "$(median 3 %.1f)"
# An idle widget that faded out after all would be a different measurement.
widget_shown ||
  echo "idle.sh: WARNING: the widget is no longer shown; the figures are of a hidden widget" >&2

# Cross-check under strace: how often each thread came back from poll/ppoll/epoll_wait, and
# from futex, in one minute. strace slows the program down; this minute is not in the medians.
if [[ ${STRACE:-1} != 0 ]] && command -v strace >/dev/null; then
  timeout -s INT "$window_s" strace -f -tt -e trace=poll,ppoll,epoll_wait,futex \
    -o "$work/strace" -p "$tilava" 2>/dev/null
  declare -A names=()
  for task in /proc/"$tilava"/task/*; do
    read -r name <"$task/comm" && names[${task##*/}]=$name
  done
  echo "strace, $window_s s: returns per thread (poll, ppoll, epoll_wait / futex):"
  # A return is a whole call line or a "resumed" line, both ending in "= RESULT ...".
  awk '/ = / && !/unfinished/ {
         tid = $1; kind = ($0 ~ /futex/) ? "futex" : "poll"; n[tid " " kind]++; tids[tid] = 1 }
       END { for (t in tids) print t, n[t " poll"] + 0, n[t " futex"] + 0 }' "$work/strace" |
    sort -n >"$work/returns"
  [[ -s $work/returns ]] || echo "  none"
  while read -r tid polls futexes; do
    label=${names[$tid]:-?}
    [[ $tid == "$tilava" ]] && label="$label (main)"
    printf '  %-20s poll %d / futex %d\n' "$label" "$polls" "$futexes"
  done <"$work/returns"
fi
