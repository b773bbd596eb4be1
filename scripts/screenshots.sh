#!/usr/bin/env bash
# Makes the two pictures that software centres show of Tilava (named in the AppStream metainfo,
# assets/linux/sk.zelm.Tilava.metainfo.xml): the widget and the week window, on a fixed day with
# fixed notes, drawn by the window-pictures program of the tests on Qt's offscreen platform at
# twice the size, so every run gives the same pixels. Writes assets/screenshots/widget.png and
# week.png.
#
# Usage: scripts/screenshots.sh [BUILD_DIR]   (a dev build, build/dev by default, with the target
# tilava_window_shots built: cmake --build --preset dev --target tilava_window_shots)
set -euo pipefail

source=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$source/build/dev}
shots=$build/tests/x11/tilava_window_shots
[[ -x $shots ]] || {
    echo "screenshots.sh: $shots is not built" >&2
    exit 2
}
work=$(mktemp -d "${TMPDIR:-/tmp}/tilava-screenshots.XXXXXX")
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 "$shots" "$work" >"$work/log" 2>&1 || {
    cat "$work/log" >&2
    exit 1
}
mkdir -p "$source/assets/screenshots"
for name in widget week; do
    cp "$work/$name.png" "$source/assets/screenshots/$name.png"
done
echo "screenshots.sh: assets/screenshots/widget.png and week.png written"
