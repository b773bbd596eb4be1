#!/usr/bin/env bash
# Installs the Debian 12 packages that a step needs, only those that are missing.
# Usage: scripts/install-deps.sh build|test|windows|windows-installer|windows-deps|run|x11|wine-x11|wayland|package ...
set -euo pipefail

declare -A groups=(
  [build]="cmake ninja-build g++ pkg-config qt6-base-dev qt6-translations-l10n libgl-dev libjpeg-dev libturbojpeg0-dev libfontconfig-dev libxcb1-dev libical-dev libcurl4-openssl-dev libsecret-1-dev fonts-dejavu-core"
  [test]="libgtest-dev libgmock-dev googletest libbenchmark-dev clang-format desktop-file-utils dbus-daemon radicale xandikos vdirsyncer gnome-keyring"
  [windows]="g++-mingw-w64-x86-64-posix wine64 wine locales"
  [windows-installer]="nsis"
  [windows-deps]="g++-mingw-w64-x86-64-posix cmake ninja-build nasm perl dpkg-dev debian-archive-keyring qt6-base-dev qt6-base-dev-tools"
  [run]="xvfb x11-utils imagemagick"
  [x11]="xvfb openbox xcompmgr x11-utils xdotool trayer"
  [wine-x11]="xvfb openbox xcompmgr x11-utils xdotool trayer imagemagick wine64 wine fonts-wine locales"
  [wayland]="sway xwayland grim jq qt6-wayland libwayland-dev gcc mutter dbus-daemon x11-utils xdotool"
  [package]="desktop-file-utils appstream appstream-util lintian dpkg-dev file git"
)

wanted=()
for group in "$@"; do
  [[ -n "${groups[$group]:-}" ]] || { echo "install-deps: unknown group '$group'" >&2; exit 2; }
  for pkg in ${groups[$group]}; do wanted+=("$pkg"); done
done

missing=()
for pkg in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
((${#missing[@]} == 0)) && exit 0

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
