# Sourced by the scripts that start the stand-in. start_standin <log> <command...> starts it (the command
# names port 0, so it takes a free 127.0.0.1 port), waits until it says which port, and sets standin_pid and
# port; when it does not start, its log is shown and the script exits.
start_standin() {
  local log=$1
  shift
  "$@" >"$log" 2>&1 &
  standin_pid=$!
  port=""
  for _ in $(seq 200); do
    port=$(grep -o 'port [0-9]*' "$log" | head -1 | cut -d' ' -f2 || true)
    [ -n "$port" ] && return 0
    kill -0 "$standin_pid" 2>/dev/null || break
    sleep 0.05
  done
  echo "the stand-in services did not start:" >&2
  cat "$log" >&2
  exit 1
}
