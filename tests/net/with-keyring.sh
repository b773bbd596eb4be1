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
# The daemon takes the new keyring's password on its standard input. It runs in the foreground
# so that it can be stopped here: one that has not reached the bus yet when the program ends
# would not notice the bus going and would stay behind.
dbus-run-session -- sh -c '
  printf unlock | gnome-keyring-daemon --foreground --unlock --components=secrets >/dev/null &
  daemon=$!
  tries=0
  until dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null |
      grep -q "boolean true"; do
    tries=$((tries + 1))
    if [ "$tries" -gt 200 ] || ! kill -0 "$daemon" 2>/dev/null; then
      echo "with-keyring: the keyring daemon did not start" >&2
      kill "$daemon" 2>/dev/null
      exit 1
    fi
    sleep 0.05
  done
  status=0
  "$@" || status=$?
  kill "$daemon"
  wait "$daemon" 2>/dev/null || true
  exit "$status"' with-keyring "$@" || status=$?
exit "$status"
