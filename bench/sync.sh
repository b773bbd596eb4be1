#!/usr/bin/env bash
# Times the calendar sync (bench/CalendarSyncBench.cpp) against a real calendar server: radicale
# on 127.0.0.1 with its storage under /dev/shm, as the tests start it. Not part of CI: the first
# sync of 5,000 entries takes about a minute.
#   bench/sync.sh BUILD_DIR [benchmark options, e.g. --benchmark_repetitions=3]
set -euo pipefail
build=${1:?build folder, e.g. build/release}
shift
here=$(cd "$(dirname "$0")/.." && pwd)
server=$(mktemp -d "${TMPDIR:-/tmp}/tilava-bench-dav.XXXXXX")
trap '"$here/tests/exchange/radicale.sh" stop "$server"; rm -rf "$server"' EXIT
"$here/tests/exchange/radicale.sh" start "$server"
TILAVA_TEST_DAV=$server "$build/bench/bench_CalendarSyncBench" "$@"
