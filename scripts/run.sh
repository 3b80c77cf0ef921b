#!/usr/bin/env bash
# Sets up, builds, lays out the program folder and starts Quercino.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh program
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUERCINO_BUILD_TESTS=OFF -DQUERCINO_BUILD_BENCH=OFF
cmake --build build/release
exec build/release/program/quercino "$@"
