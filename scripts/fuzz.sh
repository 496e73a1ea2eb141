#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each one in turn for the given number of
# seconds (default 60), one job at a time. Usage: scripts/fuzz.sh [seconds] [target...]
# The seeds under tools/fuzz/corpus/<target>/ (or tools/fuzz/<name>/corpus/ for a target fuzz_<name> with its
# own folder) are copied into build-fuzz/corpus/<target>/, where the corpus grows; a crash leaves its input in
# build-fuzz/artifacts/ and ends the script with a failure.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
bash scripts/setup.sh

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDORVANEL_FUZZ=ON >/dev/null
targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
  for dir in tools/fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
  for dir in tools/fuzz/*/corpus/; do
    name=$(basename "$(dirname "$dir")")
    [ "$name" = corpus ] || targets+=("fuzz_$name")
  done
fi
cmake --build build-fuzz -j 2 --target "${targets[@]}"

mkdir -p build-fuzz/artifacts
for t in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$t
  mkdir -p "$corpus"
  seeds=tools/fuzz/corpus/$t
  [ -d "$seeds" ] || seeds=tools/fuzz/${t#fuzz_}/corpus
  cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
  echo "== $t for ${seconds}s"
  log=build-fuzz/fuzz-$t.log
  binary=$(find build-fuzz/tools/fuzz -type f -name "$t" | head -1)
  if ! nice -n 10 "$binary" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
      -rss_limit_mb=2048 -artifact_prefix=build-fuzz/artifacts/"$t"- "$corpus" >"$log" 2>&1; then
    tail -40 "$log"
    echo "fuzz: $t found a problem; the input is in build-fuzz/artifacts/"
    exit 1
  fi
  grep -E '^#[0-9]+.*DONE|stat::number_of_executed_units' "$log" || tail -3 "$log"
done
