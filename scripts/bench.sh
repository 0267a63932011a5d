#!/usr/bin/env bash
# Prints the launcher's figures, measured side by side in one run under Wine:
# overhead against a minimal spawner, CPU during a 5 s installer, and size.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target setup launcher_bench >/dev/null

cmake/wine-run.sh build/windows/wine build/windows/bin/launcher_bench.exe "${1:-15}"
size=$(stat -c %s build/windows/bin/setup.exe)
echo "size: setup.exe $size bytes ($((size / 1024)) KiB, goal <= 320 KiB)"
