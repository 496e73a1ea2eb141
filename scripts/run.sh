#!/usr/bin/env bash
# Sets everything up, builds, and starts Dorvanel on its built-in demo: the stand-in services on loopback.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"

bin=build/src/app
standin=build/tools/standin/dorvanel-standin
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

# The stand-in services answer every request the program makes; the program finds them through
# dbservices.dat beside it.
if [ -x "$standin" ]; then
  log=$(mktemp)
  "$standin" 0 >"$log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do grep -q 'port' "$log" && break; sleep 0.1; done
  port=$(grep -o 'port [0-9]*' "$log" | head -1 | cut -d' ' -f2)
  if [ -n "$port" ]; then
    cat > "$bin/dbservices.dat" <<INI
[Services]
SuggestionHost=127.0.0.1:$port
GoogleHost=127.0.0.1:$port
YahooHost=127.0.0.1:$port
MsnHost=127.0.0.1:$port
AffiliateHost=127.0.0.1:$port
INI
    echo "run: stand-in services on 127.0.0.1:$port"
  fi
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display here; starting Dorvanel under Xvfb (xvfb-run)"
  xvfb-run -a -s "-screen 0 1280x1024x24" "$bin/dorvanel" "$@"
else
  "$bin/dorvanel" "$@"
fi
