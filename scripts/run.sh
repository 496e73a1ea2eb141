#!/usr/bin/env bash
# Sets everything up, builds, and starts Dorvanel on its built-in demo: the stand-in services on 127.0.0.1,
# found by the program through the dbservices.dat of a demo folder, with a sample keyword list beside it.
# With --branded, a second demo folder shows a reseller's branding (scripts/branded_demo.sh lays it out).
set -euo pipefail
branded=0
if [ "${1:-}" = "--branded" ]; then branded=1; shift; fi
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=(dorvanel dorvanel-standin)
if [ "$branded" = 1 ]; then targets+=(graphite_skin dorvanel_icons); fi
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target "${targets[@]}"

demo=build/demo
if [ "$branded" = 1 ]; then demo=build/demo-branded; fi
mkdir -p "$demo"
cp build/src/app/dorvanel "$demo/dorvanel"
printf 'golf clubs\r\ntennis rackets\r\nrunning shoes\r\n' > "$demo/keywords.txt"

log=$(mktemp)
build/tools/standin/dorvanel-standin 0 >"$log" 2>&1 &
standin=$!
trap 'kill "$standin" 2>/dev/null || true; rm -f "$log"' EXIT
port=""
for _ in $(seq 100); do
  port=$(grep -o 'port [0-9]*' "$log" | head -1 | cut -d' ' -f2 || true)
  [ -n "$port" ] && break
  sleep 0.1
done
if [ -z "$port" ]; then
  echo "run: the stand-in services did not start:" >&2
  cat "$log" >&2
  exit 1
fi
if [ "$branded" = 1 ]; then
  bash scripts/branded_demo.sh build "$demo" "$port"
fi
cat > "$demo/dbservices.dat" <<INI
[Services]
SuggestionHost=127.0.0.1:$port
GoogleHost=127.0.0.1:$port
YahooHost=127.0.0.1:$port
MsnHost=127.0.0.1:$port
AffiliateHost=127.0.0.1:$port
INI
echo "run: stand-in services on 127.0.0.1:$port; demo folder $demo (sample list: $demo/keywords.txt)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display here; starting Dorvanel under Xvfb (xvfb-run)"
  xvfb-run -a -s "-screen 0 1280x1024x24" "$demo/dorvanel"
else
  "$demo/dorvanel"
fi
