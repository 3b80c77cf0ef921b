#!/usr/bin/env bash
# Sets up, builds and runs every test: once in a normal build, once under
# AddressSanitizer + UndefinedBehaviorSanitizer, against the three database back-ends.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh tests

# The program sets up, builds and starts, laid out as run.sh lays it out, with the packages
# of `scripts/setup.sh program` alone.
bash scripts/check-program-set.sh

jobs=$(nproc)
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/test -j "$jobs"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUERCINO_SANITIZE=ON -DQUERCINO_BUILD_BENCH=OFF
cmake --build build/asan -j "$jobs"

# Every test carries its area's label and runs on the offscreen platform by itself.
bash scripts/check-test-labels.sh build/test
bash scripts/check-test-labels.sh build/asan

# The database servers and ODBC data sources the tests use; stopped on exit.
source scripts/test-services.sh
services_start
trap services_stop EXIT

status=0
# The plain build under the machine's own locale, the sanitizer build under the Italian one.
ctest --test-dir build/test -j "$jobs" --output-on-failure || status=1
LANG=it_IT.UTF-8 LC_ALL=it_IT.UTF-8 ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/asan -j "$jobs" --output-on-failure || status=1
exit $status
