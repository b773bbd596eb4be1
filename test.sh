#!/usr/bin/env bash
# Builds Tilava and runs every test: the native suite (dev preset), the real program on a
# private X server (fade and tray), the Linux package check, then the Qt-free layers
# cross-built for Windows with their tests run under Wine.
# Installs the Debian packages it needs when they are missing.
set -uo pipefail
cd "$(dirname "$0")"
root=$PWD
jobs=$(nproc 2>/dev/null || echo 2)

scripts/install-deps.sh build test windows x11 package || exit 1

status=0
leg() { # leg NAME COMMAND...: runs a leg, times it, remembers a failure
  local name=$1 start=$SECONDS
  shift
  echo "=== $name ==="
  if "$@"; then
    echo "=== $name: passed in $((SECONDS - start)) s ==="
  else
    echo "=== $name: FAILED after $((SECONDS - start)) s ==="
    status=1
  fi
}

native() {
  cmake --preset dev >/dev/null &&
    cmake --build --preset dev -j "$jobs" &&
    QT_QPA_PLATFORM=offscreen ctest --preset dev -j "$jobs"
}

windows() {
  local build=$root/build/windows
  cmake --preset windows >/dev/null && cmake --build --preset windows -j "$jobs" || return 1
  # Wine needs a UTF-8 locale for non-ASCII file names; a Slovak one also gives
  # the Windows code page 1250, as on our users' computers.
  local locales=$build/locale
  if [[ ! -d $locales/sk_SK.UTF-8 ]]; then
    mkdir -p "$locales" && localedef -i sk_SK -f UTF-8 "$locales/sk_SK.UTF-8" || return 1
  fi
  # (set through env: this shell itself does not know the private locale)
  local wine_env=(env LOCPATH="$locales" LC_ALL=sk_SK.UTF-8 WINEPREFIX="$build/wineprefix"
    WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=")
  # A persistent wine server first, then the prefix: each test then starts in
  # well under a second. The server cannot start without the prefix's folder;
  # without it each test would start a server of its own that ends 3 s later,
  # and a test starting just as one ends dies with "wine client error".
  mkdir -p "$build/wineprefix" || return 1
  "${wine_env[@]}" wineserver -p </dev/null >/dev/null 2>&1
  "${wine_env[@]}" wine wineboot -i </dev/null >/dev/null 2>&1
  local rc=0
  # Now and then Wine ends a test program at its start, before it prints a line (seen once in
  # a few hundred programs, a different one each time, never again on its own). A test that
  # fails runs once more here; the native leg runs the same tests without a second chance.
  "${wine_env[@]}" ctest --preset windows -j 1 --repeat until-pass:2 || rc=1
  "${wine_env[@]}" wineserver -k </dev/null >/dev/null 2>&1
  return $rc
}

# The real program on a private X server with a compositor and a tray host: what offscreen
# tests cannot see.
x11() {
  tests/x11/fade.sh "$root/build/dev/app/tilava" && tests/x11/tray.sh "$root/build/dev/app/tilava"
}

# What `cmake --install` and the Debian package put on a system, from the dev build: seconds.
package() {
  tests/package/check.sh "$root/build/dev"
}

leg "native (Linux) build and tests" native
leg "X11 (Xvfb, xcompmgr) window system tests" x11
leg "Linux package (install, desktop entry, AppStream, .deb)" package
leg "Windows (MinGW-w64, Wine) build and tests" windows

if ((status == 0)); then echo "test.sh: all passed"; else echo "test.sh: FAILED"; fi
exit $status
