#!/usr/bin/env bash
# Checks what a Linux system gets from a build: `cmake --install` into a temporary root must put
# exactly the program, its calendar export module (in a private folder under the multiarch
# library folder), its manual page, its desktop entry, its icons, its AppStream metainfo and the
# package's documents under /usr; the installed program must find its module and export; the
# manual page must name every option of --help; the desktop entry and the metainfo must pass
# their validators and agree with each other and with the installed files; the Debian package
# made by CPack must hold the same files, declare the libraries the program and the module need
# and the widget's font, carry the project's version with its Debian revision, pass lintian
# without an error, a warning or a hardening remark, and have its debug information, and nothing
# else, in tilava-dbgsym.
#
# Usage: tests/package/check.sh BUILD_DIR   (built by scripts/build-package.sh BUILD_DIR)
# Needs desktop-file-validate, appstreamcli, appstream-util, lintian, dpkg-shlibdeps and file
# (scripts/install-deps.sh package).
set -uo pipefail

build=${1:?usage: check.sh BUILD_DIR}
[[ -f $build/CPackConfig.cmake ]] || {
    echo "check.sh: $build is not a configured Linux build (no CPackConfig.cmake)" >&2
    exit 2
}
build=$(cd "$build" && pwd)

work=$(mktemp -d "${TMPDIR:-/tmp}/tilava-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "check.sh: FAILED: $*" >&2
    failures=$((failures + 1))
}

id=sk.zelm.Tilava
sizes=(16 22 24 32 48 64 128 256)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null)
expected=(usr/bin/tilava "usr/lib/$multiarch/tilava/calendar-export.so"
          "usr/lib/$multiarch/tilava/calendar-sync.so"
          usr/share/man/man1/tilava.1.gz usr/share/applications/$id.desktop
          usr/share/metainfo/$id.metainfo.xml usr/share/doc/tilava/copyright
          usr/share/doc/tilava/changelog.Debian.gz usr/share/lintian/overrides/tilava)
for size in "${sizes[@]}"; do expected+=("usr/share/icons/hicolor/${size}x$size/apps/$id.png"); done
expected_list=$(printf '%s\n' "${expected[@]}" | sort)

# compare_lists WHAT EXPECTED ACTUAL: reports the lines missing from and added to ACTUAL.
compare_lists() {
    local missing extra
    missing=$(comm -23 <(echo "$2") <(echo "$3"))
    extra=$(comm -13 <(echo "$2") <(echo "$3"))
    [[ -z $missing ]] || fail "$1 lacks:"$'\n'"$missing"
    [[ -z $extra ]] || fail "$1 has more than it should:"$'\n'"$extra"
}

# --- cmake --install ---------------------------------------------------------------------------
root=$work/root
if ! DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    fail "cmake --install did not succeed"
    exit 1
fi
installed=$(cd "$root" && find . ! -type d | sed 's|^\./||' | sort)
compare_lists "the installed tree" "$expected_list" "$installed"
[[ -x $root/usr/bin/tilava ]] || fail "usr/bin/tilava is not executable"
for size in "${sizes[@]}"; do
    icon=$root/usr/share/icons/hicolor/${size}x$size/apps/$id.png
    [[ -f $icon ]] || continue
    file -b "$icon" | grep -q "^PNG image data, $size x $size," ||
        fail "the ${size}x$size icon is $(file -b "$icon")"
done

# --- the installed program exports -------------------------------------------------------------
# The export lives in the module, which the program loads from the library folder by its path
# relative to the program's folder: one birthday in the notes must come out as one event.
home=$work/home
mkdir -p "$home/data/ZelmTilava" "$home/run"
chmod 700 "$home/run"
printf '!\r\n-1\r\n2\r\n1980\r\nJano\r\n' >"$home/data/ZelmTilava/0305.txt"
if [[ -x $root/usr/bin/tilava ]]; then
    out=$(cd "$home" && env -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" XDG_DATA_HOME="$home/data" \
        XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/run" \
        "$root/usr/bin/tilava" --export-ics Tilava.ics 2>&1)
    rc=$?
    ((rc == 0)) || fail "the installed program's export ended with $rc:"$'\n'"$out"
    events=$(grep -c '^BEGIN:VEVENT' "$home/Tilava.ics" 2>/dev/null)
    [[ $events == 1 ]] || fail "the installed program exported ${events:-no} events, not 1:"$'\n'"$out"
fi

# --- manual page -------------------------------------------------------------------------------
manual=$root/usr/share/man/man1/tilava.1.gz
if [[ -f $manual && -x $root/usr/bin/tilava ]]; then
    page=$(MANWIDTH=200 man -l "$manual" 2>&1)
    options=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/tilava" --help |
        grep -oE '(^|[ ,])--?[a-z?][a-z-]*' | tr -d ' ,' | sort -u)
    [[ -n $options ]] || fail "tilava --help names no options"
    for option in $options; do
        grep -qF -- "$option" <<<"$page" || fail "the manual page lacks $option"
    done
fi

# --- desktop entry -----------------------------------------------------------------------------
desktop=$root/usr/share/applications/$id.desktop
if [[ -f $desktop ]]; then
    if ! out=$(desktop-file-validate "$desktop" 2>&1) || [[ -n $out ]]; then
        fail "desktop-file-validate:"$'\n'"$out"
    fi
    # The entry must start the installed program and name the installed icon.
    key() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
    [[ $(key Exec) == tilava ]] || fail "the desktop entry starts '$(key Exec)', not tilava"
    [[ $(key Icon) == "$id" ]] || fail "the desktop entry's icon is '$(key Icon)', not $id"
    # Docks group the windows under the entry by their class (WM_CLASS "tilava", "Tilava").
    [[ $(key StartupWMClass) == Tilava ]] ||
        fail "the desktop entry's StartupWMClass is '$(key StartupWMClass)', not Tilava"
fi

# --- AppStream metainfo ------------------------------------------------------------------------
metainfo=$root/usr/share/metainfo/$id.metainfo.xml
cpack_value() { sed -n "s/^set($1 \"\\(.*\\)\")\$/\\1/p" "$build/CPackConfig.cmake"; }
version=$(cpack_value CPACK_PACKAGE_VERSION)
# The package's version: the project's, then the Debian revision from the changelog.
package_version=$version-$(cpack_value CPACK_DEBIAN_PACKAGE_RELEASE)
if [[ -f $metainfo ]]; then
    # Errors and warnings fail; the pedantic remark that the id has capitals stays (the id is the
    # desktop entry's, the icons' and the session bus name's, as with many reverse-DNS ids).
    out=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1)
    rc=$?
    if ((rc != 0)) || grep -qE '^[EW]: ' <<<"$out"; then
        fail "appstreamcli validate --pedantic (status $rc):"$'\n'"$out"
    fi
    out=$(appstream-util validate-strict --nonet "$metainfo" 2>&1) ||
        fail "appstream-util validate-strict:"$'\n'"$out"
    grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
        fail "the metainfo does not launch $id.desktop"
    # The newest release listed first must be the version being built.
    newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1 | cut -d'"' -f2)
    [[ $newest == "$version" ]] ||
        fail "the metainfo's newest release is '$newest', the project is $version"
fi

# --- Debian package ----------------------------------------------------------------------------
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    fail "cpack -G DEB did not succeed"
    exit 1
fi
deb=$work/cpack/tilava_${package_version}_$(dpkg --print-architecture).deb
ddeb=$work/cpack/tilava-dbgsym_${package_version}_$(dpkg --print-architecture).ddeb
if [[ ! -f $deb ]]; then
    fail "cpack made $(cd "$work/cpack" && ls -- *.deb 2>/dev/null | tr '\n' ' '), not ${deb##*/}"
    exit 1
fi
[[ $(dpkg-deb -f "$deb" Package) == tilava ]] || fail "the package is not named tilava"
[[ $(dpkg-deb -f "$deb" Version) == "$package_version" ]] ||
    fail "the package's version is $(dpkg-deb -f "$deb" Version), not $package_version"
changelog=$(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/doc/tilava/changelog.Debian.gz |
    gzip -dc | head -n 1)
[[ $changelog == "tilava ($package_version) "* ]] ||
    fail "the changelog's newest entry is not $package_version: $changelog"
depends=$(dpkg-deb -f "$deb" Depends)
# Package names only: "a (>= 1), b | c" gives a, b and c one a line.
names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*)//; s/[[:space:]]//g' | sed '/^$/d' | sort -u)
for needed in libqt6core6 libqt6gui6 libqt6widgets6 libqt6dbus6 libturbojpeg0 libical3 libcurl4 \
    libsecret-1-0 fonts-dejavu-core; do
    grep -qx "$needed" <<<"$names" || fail "Depends lacks $needed: $depends"
done
[[ $(dpkg-deb -f "$deb" Recommends) == qt6-translations-l10n ]] ||
    fail "the package does not recommend qt6-translations-l10n (Qt's Slovak dialogs)"
# Qt's X11 platform (XWayland on a Wayland session) is libqt6gui6's, above; its Wayland
# platform is for those who choose it.
[[ $(dpkg-deb -f "$deb" Suggests) == qt6-wayland ]] ||
    fail "the package does not suggest qt6-wayland (Qt's Wayland platform, when chosen)"
packaged=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||' | sort)
compare_lists "the .deb" "$expected_list" "$packaged"

# --- lintian -----------------------------------------------------------------------------------
# Errors and warnings fail, and so does any remark on hardening (which lintian gives as
# information: no immediate binding, no fortified functions, ...).
if [[ -f $ddeb ]]; then
    lintian_out=$(lintian -I --pedantic "$deb" "$ddeb" 2>&1 | grep -v 'root privileges')
    if grep -qE '^[EW]: |hardening' <<<"$lintian_out"; then
        fail "lintian:"$'\n'"$lintian_out"
    fi
else
    fail "cpack made no debug package ${ddeb##*/}"
fi

# --- debug information -------------------------------------------------------------------------
# Every program and module in the package is stripped, links to its debug file, and that file is
# in tilava-dbgsym under its build id.
unpacked=$work/unpacked
mkdir -p "$unpacked/deb" "$unpacked/ddeb"
dpkg-deb -x "$deb" "$unpacked/deb"
[[ -f $ddeb ]] && dpkg-deb -x "$ddeb" "$unpacked/ddeb"
for elf in "$unpacked/deb/usr/bin/tilava" "$unpacked/deb/usr/lib/$multiarch/tilava/calendar-"{export,sync}.so; do
    [[ -f $elf ]] || continue
    sections=$(readelf -SW "$elf")
    grep -q '\.debug_info' <<<"$sections" && fail "${elf#"$unpacked/deb"} keeps its debug information"
    grep -q '\.gnu_debuglink' <<<"$sections" || fail "${elf#"$unpacked/deb"} has no debug link"
    grep -q 'BIND_NOW' <<<"$(readelf -d "$elf")" || fail "${elf#"$unpacked/deb"} binds lazily"
    grep -q __stack_chk_fail <<<"$(readelf --dyn-syms -W "$elf")" ||
        fail "${elf#"$unpacked/deb"} has no stack protector"
    build_id=$(readelf -n "$elf" | sed -n 's/.*Build ID: //p')
    debug=$unpacked/ddeb/usr/lib/debug/.build-id/${build_id:0:2}/${build_id:2}.debug
    if [[ ! -f $debug ]]; then
        fail "tilava-dbgsym lacks the debug file of ${elf#"$unpacked/deb"} (build id $build_id)"
    elif ! grep -q '\.debug_info' <<<"$(readelf -SW "$debug" 2>/dev/null)"; then
        fail "${debug#"$unpacked/ddeb"} holds no debug information"
    fi
done

if ((failures > 0)); then
    echo "check.sh: $failures checks failed" >&2
    exit 1
fi
echo "check.sh: install tree, desktop entry, metainfo and ${deb##*/} are as they should be"
echo "Depends: $depends"
