#!/usr/bin/env bash
# Runs a test program as a native Wayland client of a compositor of its own: weston with its headless backend
# (pixman rendering, so that its screenshooter can read the output), a private XDG_RUNTIME_DIR and socket
# name, and no X display. Exits 77 (skipped) only when weston or Qt's Wayland plugin is not installed or
# weston cannot start here, and says so loudly.
set -u
skip() {
  echo "**************************************************************************" >&2
  echo "SKIPPED: the Wayland session test did not run: $*" >&2
  echo "**************************************************************************" >&2
  exit 77
}
command -v weston >/dev/null || skip "weston is not installed (Debian package weston)"
plugin_found=no
for dir in /usr/lib/*/qt6/plugins/platforms /usr/lib/qt6/plugins/platforms; do
  ls "$dir"/libqwayland-*.so >/dev/null 2>&1 && plugin_found=yes
done
[ "$plugin_found" = yes ] || skip "Qt's Wayland platform plugin is not installed (Debian package qt6-wayland)"

runtime=$(mktemp -d)
chmod 700 "$runtime"
socket="dorvanel-test-$$"
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rm -rf "$runtime"
}
trap cleanup EXIT

# --debug lets a client (weston-screenshooter) read the output.
XDG_RUNTIME_DIR="$runtime" weston --backend=headless-backend.so --use-pixman --width=1280 --height=1024 \
  --socket="$socket" --idle-time=0 --debug >"$runtime/weston.log" 2>&1 &
pid=$!
for _ in $(seq 100); do
  [ -S "$runtime/$socket" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if [ ! -S "$runtime/$socket" ]; then
  cat "$runtime/weston.log" >&2
  skip "weston --backend=headless-backend.so did not start"
fi

export XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland
# The headless backend offers no seat (no keyboard, no pointer), and Qt's Wayland text-input context reads the
# missing seat when an edit draws its cursor: the compose input context serves instead. A real session has a seat.
export QT_IM_MODULE=compose
unset DISPLAY
"$@"
