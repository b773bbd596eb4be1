#!/usr/bin/env bash
# Checks that the Debian package is reproducible: the source tree is copied into another folder
# (its files get new times), built there again later by scripts/build-package.sh without the
# compiler cache, and both packages, tilava and tilava-dbgsym, must be the same bytes as those
# of BUILD_DIR.
#
# Usage: tests/package/reproducible.sh BUILD_DIR   (made by scripts/build-package.sh BUILD_DIR)
set -uo pipefail

build=${1:?usage: reproducible.sh BUILD_DIR}
build=$(cd "$build" && pwd)
source=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/tilava-reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The files git knows and those it would take (a change not yet committed is built too).
other=$work/another-source-folder
mkdir -p "$other"
(cd "$source" && git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do [[ -e $file ]] && printf '%s\0' "$file"; done |
    tar --null --no-recursion -T - -cf - | tar -C "$other" -xf -) || {
    echo "reproducible.sh: the source tree could not be copied" >&2
    exit 1
}
find "$other" -exec touch {} +
if ! CCACHE_DISABLE=1 "$other/scripts/build-package.sh" >"$work/build.log" 2>&1; then
    tail -n 30 "$work/build.log" >&2
    echo "reproducible.sh: FAILED: the second build did not succeed" >&2
    exit 1
fi

failures=0
for first in "$build"/tilava_*.deb "$build"/tilava-dbgsym_*.ddeb; do
    second=$other/build/package/${first##*/}
    if [[ ! -f $second ]]; then
        echo "reproducible.sh: FAILED: the second build made no ${first##*/}" >&2
        failures=$((failures + 1))
    elif ! cmp -s "$first" "$second"; then
        echo "reproducible.sh: FAILED: the two builds of ${first##*/} differ:" >&2
        diff <(dpkg-deb -c "$first"; dpkg-deb -I "$first") \
            <(dpkg-deb -c "$second"; dpkg-deb -I "$second") >&2
        mkdir -p "$work/a" "$work/b"
        dpkg-deb -x "$first" "$work/a" && dpkg-deb -x "$second" "$work/b" &&
            diff -rq "$work/a" "$work/b" >&2
        rm -rf "$work/a" "$work/b"
        failures=$((failures + 1))
    fi
done
((failures == 0)) || exit 1
echo "reproducible.sh: a second build in another folder gave the same bytes:" \
    "$(cd "$build" && ls tilava_*.deb tilava-dbgsym_*.ddeb | tr '\n' ' ')"
