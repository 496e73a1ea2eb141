#!/usr/bin/env bash
# Builds the benchmarks in release mode and prints their figures, with the reference tools run beside them.
# Every benchmark runs, also after one that fails; the script fails at the end if any did.
# --soak runs the soak alone (Gather Data over 5,000 rows against a stand-in making faults; some minutes).
set -euo pipefail
cd "$(dirname "$0")/.."
soak=no
for arg in "$@"; do
  case "$arg" in
    --soak) soak=yes ;;
    *) echo "usage: scripts/bench.sh [--soak]" >&2; exit 2 ;;
  esac
done
bash scripts/setup.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null

# Only the benchmarks and the stand-in some of them start, not the whole tree with its tests.
if [ "$soak" = yes ]; then
  wanted=(bench_soak)
else
  wanted=()
  for src in tools/bench/bench_*.cpp; do
    name=$(basename "$src" .cpp)
    [ "$name" = bench_soak ] || wanted+=("$name")
  done
fi
known=$(cmake --build build-bench --target help | sed -n 's/^\([A-Za-z0-9_-]*\): .*/\1/p')
targets=()
for t in "${wanted[@]}" dorvanel-standin; do
  # A benchmark whose reference library is missing is not configured; it is left out here too.
  if grep -qx -- "$t" <<<"$known"; then targets+=("$t"); fi
done
cmake --build build-bench -j "$(nproc 2>/dev/null || echo 2)" --target "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
failed=()
for t in "${targets[@]}"; do
  b="build-bench/tools/bench/$t"
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo "== $t"
  # The offscreen platform says for every skinned window that it cannot set window masks: noise here.
  "$b" 2> >(grep -v 'does not support setting window masks' >&2) || failed+=("$t")
done
if [ "${#failed[@]}" -gt 0 ]; then
  echo "bench: failed: ${failed[*]}" >&2
  exit 1
fi
