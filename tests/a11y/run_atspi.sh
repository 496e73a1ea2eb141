#!/usr/bin/env bash
# Starts the real program on a virtual display, on a private session bus with the accessibility bus, against
# the stand-in's live sources, and lets gather_keywords.py drive it the way a screen reader user would.
# Arguments: the program, the stand-in.
set -euo pipefail
program=$1 standin=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
standin_pid=""
cleanup() {
  [ -n "$standin_pid" ] && kill "$standin_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

source "$here/../../tools/standin/start_standin.sh"
start_standin "$work/standin.log" "$standin" 0

mkdir -p "$work/app" "$work/config" "$work/state" "$work/cache"
cp "$program" "$work/app/dorvanel"
origin="http://127.0.0.1:$port"
cat >"$work/app/dbservices.dat" <<INI
[Services]
SuggestionHost=127.0.0.1:$port
GoogleHost=127.0.0.1:$port
YahooHost=127.0.0.1:$port
MsnHost=127.0.0.1:$port
AffiliateHost=127.0.0.1:$port
[Suggestions]
Source1=$origin/complete?client=demo&q={keyword}
[Pacing]
DelayMs=0
Retries=0
INI

# The user's own settings stay out of it; Qt is told that assistive technology listens.
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" XDG_CACHE_HOME="$work/cache"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
"$here/../x11/run_on_xvfb.sh" none \
  dbus-run-session -- /usr/bin/python3 "$here/gather_keywords.py" "$work/app/dorvanel"
