#!/usr/bin/env bash
# Builds what the whole Windows program needs and Debian ships no MinGW-w64 build of, from
# Debian's own source packages: Qt (Core, Gui, Widgets, Test; static, with the windows, offscreen
# and minimal platforms; the host Qt's version, whose moc, rcc and uic the cross build uses),
# libjpeg-turbo (static TurboJPEG) and libical (static). Everything goes into a cache folder
# outside the clone, keyed by this script's content, so a second run finds it and costs nothing.
#
# Usage: scripts/windows-deps.sh
#   TILAVA_WINDOWS_DEPS  the cache root (default /var/cache/tilava/windows-deps)
# The last line printed is the prefix that holds the three (lib/cmake/… below it).
# The sources come through a private sources list (apt's own configuration is not changed) and
# are unpacked by dpkg-source, which checks them against the checksums of their .dsc files.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=${TILAVA_WINDOWS_DEPS:-/var/cache/tilava/windows-deps}
key=$(sha256sum "$here/windows-deps.sh" | cut -c1-16)
cache=$root/$key
prefix=$cache/prefix
jobs=$(nproc 2>/dev/null || echo 2)

if [[ -f $prefix/.complete ]]; then
  echo "$prefix"
  exit 0
fi

"$here/install-deps.sh" windows-deps >&2
start=$SECONDS
work=$cache/work
rm -rf "$work" "$prefix"
mkdir -p "$work" "$prefix"

# --- sources -----------------------------------------------------------------------------------
apt_dir=$work/apt
mkdir -p "$apt_dir/sources" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
cat >"$apt_dir/sources/debian-src.sources" <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
apt_options=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt_dir/sources"
  -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache")
apt-get "${apt_options[@]}" -q update >&2
# The sources are unpacked by dpkg-source, which checks every file against the checksums of
# the .dsc (apt has checked the .dsc against the archive's signed index). Where the archive no
# longer serves Debian's own part of a package (libical3's debian.tar.xz), the upstream tarball
# alone is checked against the .dsc and unpacked: Debian's changes there are packaging only.
fetch() { # PACKAGE[=VERSION] FOLDER
  local dir=$work/download-$2
  mkdir -p "$dir"
  (cd "$dir" && apt-get "${apt_options[@]}" -q source --download-only "$1" >&2) || true
  local dsc
  dsc=$(ls "$dir"/*.dsc)
  if (cd "$work" && dpkg-source -x "$dsc" "$2" >&2); then
    return
  fi
  local orig
  orig=$(awk '/^Checksums-Sha256:/ {on = 1; next} /^[^ ]/ {on = 0} on && $3 ~ /\.orig\.tar\./ {print $3}' "$dsc")
  [[ -n $orig && -f $dir/$orig ]] || { echo "windows-deps.sh: no source of $1" >&2; exit 1; }
  awk -v f="$orig" '/^Checksums-Sha256:/ {on = 1; next} /^[^ ]/ {on = 0} on && $3 == f {print $1 "  " $3}' \
    "$dsc" | (cd "$dir" && sha256sum -c - >&2)
  mkdir -p "$work/$2"
  tar -xf "$dir/$orig" -C "$work/$2" --strip-components=1
  echo "windows-deps.sh: $1 built from its upstream tarball (checked against its .dsc)" >&2
}
fetch "qt6-base=$(dpkg-query -W -f='${Version}' qt6-base-dev)" src-qt6-base
fetch libjpeg-turbo src-libjpeg-turbo
fetch libical3 src-libical3

# --- toolchain ---------------------------------------------------------------------------------
toolchain=$work/mingw-w64.cmake
cat >"$toolchain" <<TOOLCHAIN
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 $prefix)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TOOLCHAIN
common=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF)

# --- libjpeg-turbo -----------------------------------------------------------------------------
cmake -S "$work/src-libjpeg-turbo" -B "$work/build-jpeg" "${common[@]}" -DENABLE_SHARED=OFF \
  -DENABLE_STATIC=ON -DWITH_TURBOJPEG=ON -DWITH_SIMD=ON -DWITH_JPEG8=OFF >&2
cmake --build "$work/build-jpeg" -j "$jobs" >&2
cmake --install "$work/build-jpeg" >&2

# --- libical -----------------------------------------------------------------------------------
cmake -S "$work/src-libical3" -B "$work/build-ical" "${common[@]}" -DSTATIC_ONLY=ON \
  -DSHARED_ONLY=OFF -DICAL_GLIB=OFF -DICAL_BUILD_DOCS=OFF -DLIBICAL_BUILD_TESTING=OFF \
  -DGOBJECT_INTROSPECTION=OFF -DICAL_GLIB_VAPI=OFF -DWITH_CXX_BINDINGS=OFF -DENABLE_GTK_DOC=OFF \
  -DUSE_BUILTIN_TZDATA=ON -DCMAKE_DISABLE_FIND_PACKAGE_ICU=ON -DCMAKE_DISABLE_FIND_PACKAGE_BDB=ON \
  >&2
cmake --build "$work/build-ical" -j "$jobs" >&2
cmake --install "$work/build-ical" >&2

# --- Qt ----------------------------------------------------------------------------------------
qt=$work/src-qt6-base
# Two spots of this version do not compile with OpenGL and Direct2D turned off: each needs the
# feature it uses in its condition.
patch_source() { # FILE OLD NEW: replaces the text OLD, which must be there once
  local file=$qt/$1
  OLD=$2 NEW=$3 perl -0pi -e '
    my $n = () = /\Q$ENV{OLD}\E/g;
    die "windows-deps.sh: '"$1"' has changed\n" if $n != 1;
    s/\Q$ENV{OLD}\E/$ENV{NEW}/' "$file"
}
patch_source src/plugins/platforms/windows/qwindowswindow.cpp \
  $'#if QT_CONFIG(dynamicgl)\n    return QOpenGLStaticContext' \
  $'#if QT_CONFIG(dynamicgl) && QT_CONFIG(opengl)\n    return QOpenGLStaticContext'
patch_source src/plugins/platforms/windows/qwindowsintegration.cpp \
  $'#if QT_CONFIG(directwrite3)\n        if (d->m_options' \
  $'#if QT_CONFIG(directwrite3) && QT_CONFIG(direct2d)\n        if (d->m_options'
cmake -S "$qt" -B "$work/build-qt" "${common[@]}" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DQT_QMAKE_TARGET_MKSPEC=win32-g++ -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DQT_BUILD_BENCHMARKS=OFF -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF \
  -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF -DFEATURE_xml=OFF \
  -DFEATURE_concurrent=OFF -DFEATURE_direct2d=OFF -DFEATURE_tabletevent=OFF \
  -DFEATURE_freetype=ON -DINPUT_freetype=qt -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF \
  -DFEATURE_androiddeployqt=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF -DINPUT_harfbuzz=qt \
  -DINPUT_pcre=qt -DINPUT_libpng=qt >&2
cmake --build "$work/build-qt" -j "$jobs" >&2
cmake --install "$work/build-qt" >&2

# The build folders (about 2 GB) and the sources can go; the prefix is what is kept.
rm -rf "$work"
echo "windows-deps.sh: built in $((SECONDS - start)) s" >&2
touch "$prefix/.complete"
echo "$prefix"
