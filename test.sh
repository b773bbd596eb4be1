#!/usr/bin/env bash
# Builds Tilava and runs every test: the native suite (dev preset), the real program on a
# private X server (fade and tray) and on a headless sway (Wayland), the Linux package check,
# then the whole program cross-built for Windows with every test run under Wine, and its
# installer installed and removed under Wine.
# Installs the Debian packages it needs when they are missing.
set -uo pipefail
cd "$(dirname "$0")"
root=$PWD
jobs=$(nproc 2>/dev/null || echo 2)

scripts/install-deps.sh build test windows windows-installer x11 wine-x11 wayland package || exit 1

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
  local build=$root/build/windows-app
  # The static Qt, libjpeg-turbo and libical for MinGW-w64: built once from Debian's sources
  # (about half an hour on two cores), then found in their cache.
  scripts/windows-deps.sh >/dev/null || return 1
  cmake --preset windows-app >/dev/null && cmake --build --preset windows-app -j "$jobs" || return 1
  source tests/wine/env.sh
  wine_prefix "$build/wineprefix" || return 1
  # Wine passes no Unix variable that starts with QT_ to a Windows program: the window tests
  # get the offscreen platform, its fonts and Qt Test's log on stderr from the prefix's
  # environment in the registry.
  local name value
  while read -r name value; do
    "${wine_env[@]}" wine reg add 'HKCU\Environment' /v "$name" /t REG_SZ /d "$value" /f \
      </dev/null >/dev/null 2>&1 || return 1
  done <<'VARIABLES'
QT_QPA_PLATFORM offscreen
QT_QPA_FONTDIR Z:\usr\share\fonts\truetype\dejavu
QT_FORCE_STDERR_LOGGING 1
VARIABLES
  # One Wine desktop process for the whole run (see tests/wine/KeepDesktop.c).
  "${wine_env[@]}" wine "$build/tests/wine/keep-desktop.exe" </dev/null >/dev/null 2>&1 &
  local keeper=$!
  local rc=0
  # Now and then Wine ends a test program at its start, before it prints a line (seen once in
  # a few hundred programs, a different one each time, never again on its own). A test that
  # fails runs once more here; the native leg runs the same tests without a second chance.
  "${wine_env[@]}" ctest --preset windows-app -j 1 --repeat until-pass:2 || rc=1
  kill "$keeper" 2>/dev/null
  wine_end
  return $rc
}

# The real program on a private X server with a compositor and a tray host: what offscreen
# tests cannot see.
x11() {
  tests/x11/fade.sh "$root/build/dev/app/tilava" && tests/x11/tray.sh "$root/build/dev/app/tilava" &&
    tests/x11/titles.sh "$root/build/dev/app/tilava" &&
    tests/x11/screen.sh "$root/build/dev/app/tilava" &&
    tests/x11/quit-over-week.sh "$root/build/dev/app/tilava" &&
    tests/x11/sync.sh "$root/build/dev/app/tilava"
}

# The Debian package as a distribution builds it (hardened release, debug package), what it
# and `cmake --install` put on a system, lintian, and a second build in another folder that must
# give the same bytes: two release builds, minutes each.
package() {
  scripts/build-package.sh "$root/build/package" >/dev/null &&
    tests/package/check.sh "$root/build/package" &&
    tests/package/reproducible.sh "$root/build/package"
}

leg "native (Linux) build and tests" native
leg "X11 (Xvfb, xcompmgr) window system tests" x11
# The real program on a headless Wayland compositor (sway): XWayland by default, and Wayland
# itself when chosen.
wayland() {
  tests/wayland/sway.sh "$root/build/dev/app/tilava" &&
    tests/wayland/mutter.sh "$root/build/dev/app/tilava"
}
leg "Wayland (headless sway and mutter; XWayland and native) window system tests" wayland
leg "Linux package (install, desktop entry, AppStream, .deb, lintian, reproducible)" package
# The Windows installer (NSIS) built from the windows-app build, installed, started and
# uninstalled silently under Wine.
installer() {
  cmake --build --preset windows-app --target tilava_installer &&
    tests/wine/installer.sh "$root/build/windows-app/Tilava-$(project_version)-setup.exe"
}
project_version() {
  sed -n 's/^project(Tilava VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt
}

leg "Windows (MinGW-w64, Wine) build and tests" windows
leg "Windows program under Wine (Xvfb, openbox, xcompmgr, trayer)" tests/wine/desktop.sh \
  "$root/build/windows-app/app/tilava.exe"
leg "Windows installer under Wine" installer

if ((status == 0)); then echo "test.sh: all passed"; else echo "test.sh: FAILED"; fi
exit $status
