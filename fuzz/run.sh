#!/usr/bin/env bash
# Builds the day-file fuzzer (Clang, `fuzz` preset) and runs it for a bounded time.
#   fuzz/run.sh [SECONDS] [extra libFuzzer options...]
# BUILD_DIR (default build/fuzz) is the build folder. New inputs go to $BUILD_DIR/corpus;
# the seed corpus in fuzz/corpus is only read. Any crash or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=${BUILD_DIR:-build/fuzz}

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --target fuzz_dayfile -j "${JOBS:-2}"

mkdir -p "$build/corpus" "$build/artifacts"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
exec "$build/fuzz/fuzz_dayfile" -max_total_time="$seconds" -print_final_stats=1 \
    -dict=fuzz/dayfile.dict -artifact_prefix="$build/artifacts/" "$@" \
    "$build/corpus" fuzz/corpus
