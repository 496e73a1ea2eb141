#!/usr/bin/env bash
# Builds the benchmarks in release mode and prints their figures, with the reference tools run beside them.
# Every benchmark runs, also after one that fails; the script fails at the end if any did.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench -j "$(nproc 2>/dev/null || echo 2)"
export QT_QPA_PLATFORM=offscreen
failed=()
for b in build-bench/tools/bench/bench_*; do
  # Only the programs: the build also leaves folders (bench_*_autogen) here.
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" || failed+=("$(basename "$b")")
done
if [ "${#failed[@]}" -gt 0 ]; then
  echo "bench: failed: ${failed[*]}" >&2
  exit 1
fi
