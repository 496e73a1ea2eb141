#!/usr/bin/env bash
# Sets everything up, builds, and runs every test headless. Extra arguments go to ctest (e.g. -R Sort).
# DORVANEL_WERROR=ON makes every compiler warning an error (CI sets it).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDORVANEL_WERROR="${DORVANEL_WERROR:-OFF}" >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs" "$@"

# The plain C++ libraries again under AddressSanitizer and UndefinedBehaviorSanitizer: they meet the
# hostile bytes (server answers, pictures, archives).
if [ "${DORVANEL_SKIP_SANITIZE:-0}" != "1" ]; then
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDORVANEL_SANITIZE=ON -DDORVANEL_WERROR="${DORVANEL_WERROR:-OFF}" >/dev/null
  cmake --build build-sanitize -j "$jobs"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs" "$@"
fi
