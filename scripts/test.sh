#!/usr/bin/env bash
# Sets up, builds and runs every test: once in a normal build, once under
# AddressSanitizer + UndefinedBehaviorSanitizer, against the three database back-ends; then
# the PDF and import tests once more at a fixed moment of the clock.
set -euo pipefail
cd "$(dirname "$0")/.."

# A line for each phase, so that a long quiet one (apt-get, the program-set build) is known.
phase() { printf '\n== scripts/test.sh: %s\n' "$*"; }

phase "set-up: the Debian packages of the program and of the tests, the Italian locale, the npm data"
bash scripts/setup.sh tests

# The program sets up, builds and starts, laid out as run.sh lays it out, with the packages
# of `scripts/setup.sh program` alone.
phase "the program with its own packages alone: set-up, build and start under strace (quiet, a few minutes)"
bash scripts/check-program-set.sh

jobs=$(nproc)
phase "the normal build, build/test"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/test -j "$jobs"
phase "the sanitizer build, build/asan"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUERCINO_SANITIZE=ON -DQUERCINO_BUILD_BENCH=OFF
cmake --build build/asan -j "$jobs"

# Every test carries its area's label and runs on the offscreen platform by itself.
phase "the tests' labels"
bash scripts/check-test-labels.sh build/test
bash scripts/check-test-labels.sh build/asan

# The database servers and ODBC data sources the tests use; stopped on exit.
phase "the test services: a private PostgreSQL and the ODBC data sources"
source scripts/test-services.sh
services_start
trap services_stop EXIT

status=0
# The plain build under the machine's own locale, the sanitizer build under the Italian one.
phase "the tests of the normal build"
ctest --test-dir build/test -j "$jobs" --output-on-failure || status=1
phase "the tests of the sanitizer build, in the Italian locale"
LANG=it_IT.UTF-8 LC_ALL=it_IT.UTF-8 ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/asan -j "$jobs" --output-on-failure || status=1

# The files these tests write carry the date and time: a test that looks for a value where a
# date may stand passes at most hours and fails at some. Here it fails every time: 09:05:09
# on 5 September holds "90" and "0905", and at UTC+14 the local day is not the UTC one.
phase "the PDF and import tests at 2026-09-05 09:05:09 in Pacific/Kiritimati (faketime)"
at=(env TZ=Pacific/Kiritimati faketime '2026-09-05 09:05:09')
# The moment must hold: without faketime or the zone the run would prove nothing.
if [ "$("${at[@]}" date '+%F %H:%M %z')" != "2026-09-05 09:05 +1400" ]; then
  echo "faketime or the zone Pacific/Kiritimati (tzdata) does not work here" >&2
  status=1
fi
"${at[@]}" ctest --test-dir build/test -j "$jobs" -L '^(pdf|import)$' --output-on-failure || status=1
exit $status
