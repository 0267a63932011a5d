#!/usr/bin/env bash
# Builds the options benchmark optimised (-O2, no sanitizers) in build/bench
# and runs it: once with the scratch file on the build folder's disk, once in
# /dev/shm where a flush costs nothing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench
cmake -S "$root/bench/options" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" >/dev/null
cmake --build "$build" --target options_bench >/dev/null
"$build/options_bench" "$build"
if [ -d /dev/shm ]; then
  echo
  "$build/options_bench" /dev/shm
fi
