#!/usr/bin/env bash
# Builds the fuzzers (Clang, `fuzz` preset) and runs each for a bounded time.
#   fuzz/run.sh [SECONDS] [extra libFuzzer options...]     e.g. fuzz/run.sh 3600 -runs=1000000
# FUZZERS (default "dayfile vcard now settings davxml discovery") picks the fuzzers; BUILD_DIR (default
# build/fuzz) is the build folder. New inputs go to $BUILD_DIR/corpus-NAME; the seed corpora
# fuzz/corpus (day files) and fuzz/corpus/NAME, and the dictionary fuzz/NAME.dict, are only read.
# Any crash or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=${BUILD_DIR:-build/fuzz}
fuzzers=${FUZZERS:-dayfile vcard now settings davxml discovery}

cmake --preset fuzz -B "$build" >/dev/null
for name in $fuzzers; do
  cmake --build "$build" --target "fuzz_$name" -j "${JOBS:-2}"
done

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
mkdir -p "$build/artifacts"
for name in $fuzzers; do
  echo "=== fuzz_$name ==="
  corpus=("$build/corpus-$name")
  options=()
  if [[ $name == dayfile ]]; then
    corpus+=(fuzz/corpus)
    options+=(-dict=fuzz/dayfile.dict)
  elif [[ -d fuzz/corpus/$name ]]; then
    corpus+=("fuzz/corpus/$name")
  fi
  if [[ $name != dayfile && -f fuzz/$name.dict ]]; then
    options+=("-dict=fuzz/$name.dict")
  fi
  mkdir -p "${corpus[0]}"
  # The settings fuzzer saves a file at every input: in memory, where a flush costs nothing.
  temporary=${TMPDIR:-/tmp}
  [[ $name == settings && -d /dev/shm ]] && temporary=/dev/shm
  TMPDIR=$temporary "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 "${options[@]}" \
    -artifact_prefix="$build/artifacts/$name-" "$@" "${corpus[@]}"
done
