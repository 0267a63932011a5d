#!/usr/bin/env bash
# Prints every figure of the launcher with its goal, measured in one run:
# launcher overhead against a minimal spawner under Wine, launcher CPU during
# a 5 s installer run, options load+save against OpenSSL over the same bytes,
# and the stripped size of setup.exe.
#
#   bash scripts/bench.sh [ROUNDS]     ROUNDS of the overhead measure (default 15)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
# The launcher figures come from the build that runs under this host's Wine
# (scripts/windows-target.sh); the size is always the i686 setup.exe's.
source scripts/windows-target.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target setup >/dev/null
cmake --preset "$windows_preset" >/dev/null
cmake --build --preset "$windows_preset" --target setup launcher_bench >/dev/null

echo "== launcher under Wine ($windows_reason)"
launcher=$(wine_run "$windows_build/bin/launcher_bench.exe" "${1:-15}")
echo "$launcher"

echo "== options load + save (bench/run-options-bench.sh)"
options=$(bash bench/run-options-bench.sh)
echo "$options"

size=$(stat -c %s build/windows/bin/setup.exe)
echo
echo "== summary"
echo "$launcher" | grep -E '^(overhead|cpu):'
# The first ratio line is the run on the build folder's disk.
echo "$options" | grep -m1 '^ratio (system files'
echo "size: setup.exe $size bytes ($((size / 1024)) KiB, goal <= 256 KiB)"
