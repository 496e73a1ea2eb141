#!/usr/bin/env bash
# Sets everything up, builds, and starts Dorvanel on its built-in demo: the stand-in services on 127.0.0.1,
# found by the program through the dbservices.dat of a demo folder, with a sample keyword list beside it.
# With --branded, a second demo folder shows a reseller's branding (scripts/branded_demo.sh lays it out).
# Arguments are passed to the stand-in, e.g. `scripts/run.sh --delay 800` to watch Stop at work (see
# `build/tools/standin/dorvanel-standin --help`). With `--https` (before those), the stand-in serves https with a
# certificate from a demo authority made here with openssl; the program is started with OpenSSL's standard
# SSL_CERT_FILE naming the system's authorities plus the demo one (the program itself trusts nothing extra).
# With --live-demo, build/demo-live/ asks the stand-in's live-source endpoints instead (OpenSearch suggestions
# with the alphabet and question expansions, a JSON count for the Google column, pacing and retries).
set -euo pipefail
https=""
branded=0
live=0
while true; do
  case "${1:-}" in
    --https) https=1; shift ;;
    --branded) branded=1; shift ;;
    --live-demo) live=1; shift ;;
    *) break ;;
  esac
done
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=(dorvanel dorvanel-standin)
if [ "$branded" = 1 ]; then targets+=(graphite_skin dorvanel_icons); fi
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target "${targets[@]}"

demo=build/demo
title=Dorvanel
if [ "$branded" = 1 ]; then demo=build/demo-branded title="Keyword Finder Pro"; fi
if [ "$live" = 1 ]; then demo=build/demo-live; fi
mkdir -p "$demo"
cp build/src/app/dorvanel "$demo/dorvanel"
printf 'golf clubs\r\ntennis rackets\r\nrunning shoes\r\n' > "$demo/keywords.txt"

scheme=""
tls=()
if [ -n "$https" ]; then
  certs="$demo/tls"
  mkdir -p "$certs"
  if [ ! -s "$certs/server.pem" ]; then
    ec=(-newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -sha256)
    openssl req -x509 "${ec[@]}" -days 30 -subj "/CN=Dorvanel Demo CA" -keyout "$certs/ca.key" -out "$certs/ca.pem" \
      -addext basicConstraints=critical,CA:true -addext keyUsage=keyCertSign 2>/dev/null
    openssl req "${ec[@]}" -subj /CN=localhost -keyout "$certs/server.key" -out "$certs/server.csr" 2>/dev/null
    printf 'subjectAltName=DNS:localhost,IP:127.0.0.1\n' > "$certs/san.cnf"
    openssl x509 -req -in "$certs/server.csr" -CA "$certs/ca.pem" -CAkey "$certs/ca.key" -CAcreateserial -days 30 \
      -extfile "$certs/san.cnf" -out "$certs/server.pem" 2>/dev/null
  fi
  cat /etc/ssl/certs/ca-certificates.crt "$certs/ca.pem" > "$certs/trust.pem" 2>/dev/null || cp "$certs/ca.pem" "$certs/trust.pem"
  export SSL_CERT_FILE="$certs/trust.pem"
  scheme="https://"
  tls=(--tls-cert "$certs/server.pem" --tls-key "$certs/server.key")
fi

log="$demo/standin.log"
standin_pid=""
xvfb=""
trap 'kill "$standin_pid" 2>/dev/null || true; [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true' EXIT
source tools/standin/start_standin.sh
start_standin "$log" build/tools/standin/dorvanel-standin 0 "${tls[@]}" "$@"
if [ "$branded" = 1 ]; then
  bash scripts/branded_demo.sh build "$demo" "$port"
fi
host=127.0.0.1:$port
[ -n "$https" ] && host=localhost:$port
cat > "$demo/dbservices.dat" <<INI
[Services]
SuggestionHost=$scheme$host
GoogleHost=$scheme$host
YahooHost=$scheme$host
MsnHost=$scheme$host
AffiliateHost=$host
INI
if [ "$live" = 1 ]; then
  # Live sources are full addresses, with their scheme.
  origin="${scheme:-http://}$host"
  cat >> "$demo/dbservices.dat" <<INI
[Suggestions]
Source1=$origin/complete?client=demo&q={keyword}
Expand=alphabet questions
[Engines]
Google=$origin/count?key=DEMO-KEY&q={query}
GoogleCount=/searchInformation/totalResults
[Pacing]
DelayMs=50
Retries=3
INI
fi
echo "run: stand-in services on $scheme$host (log: $log); demo folder $demo (sample list: $demo/keywords.txt)"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  "$demo/dorvanel"
  exit 0
fi

# No display: a virtual one, and a picture of the window once it is up.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
export DISPLAY=":$display"
echo "run: no display here; Dorvanel runs on the virtual display $DISPLAY (Xvfb)."
echo "run: look at it with: DISPLAY=$DISPLAY xwd -root -silent | convert-im6.q16 xwd:- $demo/screen.png"
"$demo/dorvanel" &
program=$!
for _ in $(seq 100); do
  xwininfo -root -tree 2>/dev/null | grep -q "\"$title\"" && break
  sleep 0.1
done
sleep 1
if xwd -root -silent 2>/dev/null | convert-im6.q16 xwd:- "$demo/screenshot.png" 2>/dev/null; then
  echo "run: a picture of the window is in $demo/screenshot.png"
fi
echo "run: the program runs until its window is closed (or Ctrl+C here)."
wait "$program"
