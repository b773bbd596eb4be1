#!/bin/sh
# Runs a program with a desktop password store of its own: a private session bus with a keyring
# daemon on it whose keyring is made and unlocked here, in a temporary home that is removed
# afterwards. A build machine (root, no display) has no such store, and a developer's own
# keyring must not be touched by tests.
# Usage: tests/net/with-keyring.sh PROGRAM [ARGUMENTS...]
set -eu
home=$(mktemp -d "${TMPDIR:-/tmp}/tilava-keyring.XXXXXX")
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/runtime"
export HOME="$home" XDG_RUNTIME_DIR="$home/runtime" XDG_DATA_HOME="$home/data" \
  XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache"
# No display: a prompt of the keyring fails at once instead of waiting for a user.
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
status=0
# The daemon takes the new keyring's password on its standard input; it ends with the bus.
dbus-run-session -- sh -c 'printf unlock | gnome-keyring-daemon --unlock --components=secrets \
  >/dev/null && exec "$@"' with-keyring "$@" || status=$?
exit "$status"
