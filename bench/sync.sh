#!/usr/bin/env bash
# Times the calendar sync (bench/CalendarSyncBench.cpp) against a real calendar server: radicale
# on 127.0.0.1 with its storage under /dev/shm, as the tests start it. Not part of CI.
#  - Upload: the first sync of 5,000 entries takes about 17 minutes here, nearly all of it the
#    server's (its time for one new event grows with the calendar, from 7 ms to 340 ms at 5,000
#    events); then the sync with nothing to do.
#  - Download, beside vdirsyncer (Debian's, to a folder of .ics files): a calendar of 1,000 and
#    of 5,000 events, put on the server once in one request, downloaded into nothing and then
#    synced with nothing to do, by each program in the same run. The end prints the medians and
#    Tilava's wall time as a share of vdirsyncer's.
#   bench/sync.sh BUILD_DIR [benchmark options]
#   bench/sync.sh build/release --benchmark_filter=NoChangeSync --benchmark_repetitions=11
#   bench/sync.sh build/release --benchmark_filter=Download --benchmark_repetitions=5
set -euo pipefail
build=${1:?build folder, e.g. build/release}
shift
here=$(cd "$(dirname "$0")/.." && pwd)
server=$(mktemp -d "${TMPDIR:-/tmp}/tilava-bench-dav.XXXXXX")
trap '"$here/tests/exchange/radicale.sh" stop "$server"; rm -rf "$server"' EXIT
"$here/tests/exchange/radicale.sh" start "$server"
TILAVA_TEST_DAV=$server "$build/bench/bench_CalendarSyncBench" \
  --benchmark_out="$server/times.json" --benchmark_out_format=json "$@"
python3 - "$server/times.json" <<'SUMMARY'
import json, statistics, sys

times = {}
for run in json.load(open(sys.argv[1]))["benchmarks"]:
    if run.get("run_type") == "iteration" and not run.get("error_occurred"):
        # "BM_Download/1000/iterations:1/manual_time" -> "BM_Download/1000"
        name = "/".join(run["run_name"].split("/")[:2])
        times.setdefault(name, []).append(run["real_time"])
pairs = [("first download", "BM_Download", "BM_VdirsyncerDownload"),
         ("no-change sync", "BM_DownloadNoChange", "BM_VdirsyncerNoChange")]
for what, ours, theirs in pairs:
    for size in (1000, 5000):
        mine, other = times.get(f"{ours}/{size}"), times.get(f"{theirs}/{size}")
        if mine and other:
            a, b = statistics.median(mine), statistics.median(other)
            print(f"{what}, {size} events: Tilava {a:.0f} ms, vdirsyncer {b:.0f} ms "
                  f"(medians of {len(mine)} and {len(other)}): {a / b:.2f}x its wall time")
SUMMARY
