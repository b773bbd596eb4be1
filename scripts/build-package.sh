#!/usr/bin/env bash
# Builds the Debian package of Tilava as a distribution builds its packages: a release build
# with the distribution's hardening flags (dpkg-buildflags: stack protector, _FORTIFY_SOURCE,
# full RELRO with immediate binding, PIE) and debug information, which CPack strips into the
# package tilava-dbgsym. Two builds of one source tree give the same bytes: every time stamp
# (Qt resources, the manual page, the files in the package) is SOURCE_DATE_EPOCH, the date of
# the newest changelog entry, and the build folder's path is left out of the debug information.
#
# Usage: scripts/build-package.sh [BUILD_DIR]   (build/package by default; a BUILD_DIR outside
# the source tree gives a package that is not reproducible from another folder)
# Needs scripts/install-deps.sh build package. Prints the paths of the two packages it made.
set -euo pipefail

source=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$source/build/package}
mkdir -p "$build"
build=$(cd "$build" && pwd)

# A compiler cache may be used, but not its rewriting of paths into relative ones (base_dir):
# the compiler would see other file names than in a build without it.
export CCACHE_BASEDIR=
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$source/assets/linux/changelog" -STimestamp)
export SOURCE_DATE_EPOCH
# The flags a Debian package build gets; -ffile-prefix-map makes the source folder ".".
eval "$(cd "$source" && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"

cmake -S "$source" -B "$build" -G Ninja --log-level=WARNING \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DTILAVA_TESTS=OFF -DTILAVA_BENCH=OFF -DTILAVA_FUZZ=OFF \
    -DCMAKE_C_FLAGS="$CFLAGS $CPPFLAGS" -DCMAKE_CXX_FLAGS="$CXXFLAGS $CPPFLAGS" \
    -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" -DCMAKE_SHARED_LINKER_FLAGS="$LDFLAGS" \
    -DCMAKE_MODULE_LINKER_FLAGS="$LDFLAGS" >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target tilava tilava_calendar_export \
    tilava_calendar_sync tilava_manual tilava_changelog
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || {
    cat "$build/cpack.log" >&2
    exit 1
}
ls "$build"/tilava_*.deb "$build"/tilava-dbgsym_*.ddeb
