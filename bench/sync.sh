#!/usr/bin/env bash
# Times the calendar sync (bench/CalendarSyncBench.cpp) against a real calendar server: radicale
# on 127.0.0.1 with its storage under /dev/shm, as the tests start it. Not part of CI: the first
# sync of 5,000 entries takes about 17 minutes here, nearly all of it the server's (its time for
# one new event grows with the calendar, from 7 ms to 340 ms at 5,000 events).
#   bench/sync.sh BUILD_DIR [benchmark options]
#   bench/sync.sh build/release --benchmark_filter=NoChange --benchmark_repetitions=11
#     (the first sync once, then the median of 11 syncs with nothing to do)
set -euo pipefail
build=${1:?build folder, e.g. build/release}
shift
here=$(cd "$(dirname "$0")/.." && pwd)
server=$(mktemp -d "${TMPDIR:-/tmp}/tilava-bench-dav.XXXXXX")
trap '"$here/tests/exchange/radicale.sh" stop "$server"; rm -rf "$server"' EXIT
"$here/tests/exchange/radicale.sh" start "$server"
TILAVA_TEST_DAV=$server "$build/bench/bench_CalendarSyncBench" "$@"
