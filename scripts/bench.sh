#!/usr/bin/env bash
# Builds the benchmarks in release mode and prints their figures, with the reference tools run beside them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench -j "$(nproc 2>/dev/null || echo 2)"
export QT_QPA_PLATFORM=offscreen
for b in build-bench/tools/bench/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done
