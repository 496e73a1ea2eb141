#!/usr/bin/env bash
# Runs a test program on a display of its own (Xvfb), with no window manager ("none") or under openbox, so
# that it can drive its windows with real pointer and key events (xdotool). Exits 77 (skipped) when a tool
# is missing. XVFB_SCREEN sets the screen's size and depth (1280x1024x24 unless set).
set -u
wm=$1
shift
for tool in Xvfb xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
if [ "$wm" = openbox ] && ! command -v openbox >/dev/null; then echo "skipped: openbox is not installed"; exit 77; fi

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
# Ready once a client gets in (several servers starting at once may take a moment more).
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "Xvfb on $DISPLAY takes no clients:"; cat "$work/xvfb.log"; exit 1; }

if [ "$wm" = openbox ]; then
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  pids+=($!)
  # Ready once it announces itself on the root window.
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
  done
fi

export DORVANEL_EXPECT_WM="$wm"
QT_QPA_PLATFORM=xcb "$@"
