#!/usr/bin/env bash
# Builds both presets and runs every test: the portable parts natively with
# ASan+UBSan, then the Windows build (unit and end-to-end) under Wine. The
# tests of the reliability suite's short form are among them;
# scripts/reliability.sh runs that form alone, or with --long the fuzzing and
# the reproducible-build check too.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

cmake --preset windows >/dev/null
cmake --build --preset windows
ctest --preset windows

# The size of the tests against the product's (printed only).
bash scripts/code-size.sh
