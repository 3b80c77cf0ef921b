#!/usr/bin/env bash
# Sets up, builds, lays out the program folder in the user's data folder and starts Quercino.
# The folder ($XDG_DATA_HOME/quercino, by default ~/.local/share/quercino) holds the program
# with the declarants' database, the configuration and the Help documents; a rebuild replaces
# the program and the project's own Help files there, never the rest.
set -euo pipefail
cd "$(dirname "$0")/.."

# Quercino is a window: without a desktop session Qt would stop it at start, after the build.
# A platform chosen on purpose (QT_QPA_PLATFORM=offscreen, vnc...) needs no display.
case "${QT_QPA_PLATFORM:-}" in
  "" | xcb* | wayland*)
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      echo "Quercino is a desktop program and needs a desktop session: neither DISPLAY nor" >&2
      echo "WAYLAND_DISPLAY is set here. Run scripts/run.sh from a terminal of the desktop." >&2
      exit 1
    fi ;;
esac

bash scripts/setup.sh program

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
