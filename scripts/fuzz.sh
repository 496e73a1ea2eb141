#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each one in turn for the given number of
# seconds (default 60), one job at a time. Usage: scripts/fuzz.sh [seconds] [target...]
# Every target's seeds are in tools/fuzz/corpus/<target>/; they are copied into build-fuzz/corpus/<target>/,
# where the corpus grows. A crash leaves its input in build-fuzz/artifacts/ and ends the script with a failure.
# Without named targets, every target this build has is run (fuzz_skin needs a build configured with
# -DDORVANEL_WITH_QT=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
bash scripts/setup.sh

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDORVANEL_FUZZ=ON >/dev/null
targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
  known=$(ninja -C build-fuzz -t targets all | sed -n 's/^\(fuzz_[a-z_0-9]*\): .*/\1/p' | sort -u)
  for dir in tools/fuzz/corpus/*/; do
    t=$(basename "$dir")
    if grep -qx "$t" <<<"$known"; then targets+=("$t"); else echo "fuzz: $t is not in this build, skipped"; fi
  done
fi
cmake --build build-fuzz -j 2 --target "${targets[@]}"

mkdir -p build-fuzz/artifacts
# Leaks of the system's font library (kept for the process's life) are not findings.
export LSAN_OPTIONS="suppressions=$PWD/tools/fuzz/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
for t in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$t
  mkdir -p "$corpus"
  cp -n tools/fuzz/corpus/"$t"/* "$corpus"/ 2>/dev/null || true
  echo "== $t for ${seconds}s"
  log=build-fuzz/fuzz-$t.log
  if ! nice -n 10 build-fuzz/tools/fuzz/"$t" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
      -rss_limit_mb=2048 -malloc_limit_mb=256 -artifact_prefix=build-fuzz/artifacts/"$t"- "$corpus" >"$log" 2>&1; then
    tail -40 "$log"
    echo "fuzz: $t found a problem; the input is in build-fuzz/artifacts/"
    exit 1
  fi
  grep -E '^#[0-9]+.*DONE|stat::number_of_executed_units' "$log" || tail -3 "$log"
done
