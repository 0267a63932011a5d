#!/usr/bin/env bash
# Builds setup.exe and runs it under Wine on the bundled sample package, the
# way a computer maker's script would start it, then shows what happened.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target setup sample

sample=build/windows/sample-setup
switches=("/vg:1" "/noreboot")
echo "== setup.exe: $(stat -c %s build/windows/bin/setup.exe) bytes, at build/windows/bin/setup.exe"
echo "== running: Setup.exe ${switches[*]}   (setup folder $sample)"

WINE_RUN_AFTER="bash scripts/show-sample-result.sh" \
  cmake/wine-run.sh build/windows/wine "$sample/Setup.exe" "${switches[@]}"
