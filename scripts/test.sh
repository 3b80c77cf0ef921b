#!/usr/bin/env bash
# Sets up, builds and runs every test: once in a normal build, once under
# AddressSanitizer + UndefinedBehaviorSanitizer, against the three database back-ends.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/test -j "$jobs"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUERCINO_SANITIZE=ON -DQUERCINO_BUILD_BENCH=OFF
cmake --build build/asan -j "$jobs"

# The database servers and ODBC data sources the tests use; stopped on exit.
source scripts/test-services.sh
services_start
trap services_stop EXIT

export QT_QPA_PLATFORM=offscreen
ctest --test-dir build/test -j "$jobs" --output-on-failure
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/asan -j "$jobs" --output-on-failure
