#!/usr/bin/env bash
# Runs the libFuzzer harnesses of fuzz/ for a given time each, one after the other.
#   bash scripts/fuzz.sh [SECONDS] [HARNESS...]     (default: 60 seconds, every harness)
# The clang build lives in build/fuzz; each harness starts from its seed inputs (made by
# the tests' generators, built in build/fuzz-seeds) and its kept inputs in
# fuzz/corpus/HARNESS, and grows its own working corpus in build/fuzz/corpus/HARNESS. A
# crash, leak or timeout is written into fuzz/corpus/HARNESS: commit it with the fix, and CI
# replays it from then on.
# The last lines give the executions of every harness.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

seconds=${1:-60}
shift || true
harnesses=("$@")
if ((${#harnesses[@]} == 0)); then
  for f in fuzz/*_fuzz.cpp; do
    name=$(basename "$f" _fuzz.cpp)
    harnesses+=("$name")
  done
fi

# The harnesses in the clang build; the seeds from the replay programs of a gcc build of its
# own (build/fuzz-seeds: the generators need what clang 14 does not compile). build/test, the
# tests' build, is left as its user configured it.
CC=clang-14 CXX=clang++-14 cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUERCINO_FUZZ=ON \
  -DQUERCINO_BUILD_BENCH=OFF -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache >/dev/null
cmake -S . -B build/fuzz-seeds -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUERCINO_BUILD_BENCH=OFF \
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache >/dev/null
fuzzers=() replays=()
for h in "${harnesses[@]}"; do fuzzers+=("fuzz_$h"); replays+=("fuzz_${h}_replay"); done
cmake --build build/fuzz -j "$(nproc)" --target "${fuzzers[@]}"
cmake --build build/fuzz-seeds -j "$(nproc)" --target "${replays[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen
summary=()
status=0
for h in "${harnesses[@]}"; do
  seeds=build/fuzz/semi/$h
  work=build/fuzz/corpus/$h
  kept=fuzz/corpus/$h
  mkdir -p "$work" "$kept"
  "build/fuzz-seeds/fuzz/fuzz_${h}_replay" --semi "$seeds"
  log=build/fuzz/$h.log
  if ! "build/fuzz/fuzz/fuzz_$h" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 \
       -artifact_prefix="$kept/" "$work" "$seeds" "$kept" >"$log" 2>&1; then
    status=1
    echo "fuzz_$h: FINDING, see $log and the new file in $kept" >&2
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  summary+=("$(printf '%-16s %12s executions in %ss' "$h" "${runs:-?}" "$seconds")")
done
printf '%s\n' "${summary[@]}"
exit $status
