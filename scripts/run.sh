#!/usr/bin/env bash
# Sets up, builds, lays out the program folder in the user's data folder and starts Quercino.
# The folder ($XDG_DATA_HOME/quercino, by default ~/.local/share/quercino) holds the program
# with the declarants' database, the configuration and the Help documents; a rebuild replaces
# the program and the project's own Help files there, never the rest.
set -euo pipefail
cd "$(dirname "$0")/.."

# Quercino is a window: without a desktop session that answers, Qt would stop it at start,
# after the build. Checked before anything is installed, and once more after the set-up when
# that brought the python3 the check connects with.
had_python=false
[ -x /usr/bin/python3 ] && had_python=true
bash scripts/check-desktop.sh

bash scripts/setup.sh program
$had_python || bash scripts/check-desktop.sh

build=build/release
log=$build/run.log
mkdir -p "$build"
: >"$log"
# Configured once; later builds configure again by themselves when a CMake file changed.
if [ ! -f "$build/CMakeCache.txt" ] || [ ! -f "$build/build.ninja" ]; then
  echo "Configuring the build in $build: the first build takes a few minutes"
  if ! cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
         -DQUERCINO_BUILD_TESTS=OFF -DQUERCINO_BUILD_BENCH=OFF >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    echo "Configuring failed: the whole output is in $log" >&2
    exit 1
  fi
fi
echo "Building Quercino in $build (output in $log)"
if ! cmake --build "$build" >>"$log" 2>&1; then
  tail -n 30 "$log" >&2
  echo "The build failed: the whole output is in $log" >&2
  exit 1
fi

if [ -n "${XDG_DATA_HOME:-}" ] && [ "${XDG_DATA_HOME#/}" != "$XDG_DATA_HOME" ]; then
  folder=$XDG_DATA_HOME/quercino
else
  folder=$HOME/.local/share/quercino
fi
cmake -DDESTINAZIONE="$folder" -P "$build/disponi_programma.cmake"
exec "$folder/quercino" "$@"
