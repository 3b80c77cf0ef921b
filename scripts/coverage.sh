#!/usr/bin/env bash
# Line and branch coverage of the program's code (not of tests, benchmarks or tools) by the
# whole test suite, on the normal build with gcov instrumentation. Not part of CI: run it
# before and after a change to the tests to see that nothing which caught a fault was lost.
#   bash scripts/coverage.sh [BUILD_DIR]    (default build/coverage)
# Prints the gcovr summary and writes BUILD_DIR/coverage.txt with the per-file tables, lines
# first, then branches.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh   # gcovr among the tests' packages

build=${1:-build/coverage}
jobs=$(nproc)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUERCINO_BUILD_BENCH=OFF \
  -DCMAKE_C_FLAGS=--coverage -DCMAKE_CXX_FLAGS=--coverage \
  -DCMAKE_EXE_LINKER_FLAGS=--coverage -DCMAKE_SHARED_LINKER_FLAGS=--coverage
cmake --build "$build" -j "$jobs"
find "$build" -name '*.gcda' -delete

source scripts/test-services.sh
services_start
trap services_stop EXIT
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" -j "$jobs" --output-on-failure || true

# Only the program's own sources count; generated moc files and the test tree do not, nor
# the compiler checks CMake compiled into CMakeFiles/ (their data would only bring gcov's
# warnings about them).
filters=(--root . --object-directory "$build" --filter 'app/' --filter 'declarants/'
  --filter 'platform/' --filter 'pdf/' --exclude '.*_autogen/.*' --exclude 'tests/'
  --exclude-directories "$(realpath "$build")/CMakeFiles" --gcov-ignore-parse-errors -j "$jobs")
{
  gcovr "${filters[@]}"
  echo
  gcovr "${filters[@]}" --branches
} >"$build/coverage.txt"
gcovr "${filters[@]}" --print-summary | tail -n 3
