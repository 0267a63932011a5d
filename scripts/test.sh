#!/usr/bin/env bash
# Builds every preset and runs every test: the portable parts natively with
# ASan+UBSan, then the Windows build (unit and end-to-end) under Wine. The
# tests of the reliability suite's short form are among them;
# scripts/reliability.sh runs that form alone, or with --long the fuzzing and
# the reproducible-build check too.
#
# The i686 setup.exe is always built and its binary check always runs (it
# needs no Wine). The Windows tests run against the build that
# scripts/windows-target.sh chooses: the i686 one, or the x86_64 test build
# where the host cannot run 32-bit programs (SETUP_WINDOWS_ARCH forces it).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
source scripts/windows-target.sh
echo "$windows_reason"

# Every source in the one format of .clang-format (scripts/format.sh applies it).
bash scripts/format.sh --check

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

cmake --preset windows >/dev/null
if [ "$windows_preset" = windows ]; then
  cmake --build --preset windows
  ctest --preset windows
else
  cmake --build --preset windows --target setup
  ctest --preset windows -R '^setup_binary_fits_windows_98$'
  cmake --preset "$windows_preset" >/dev/null
  cmake --build --preset "$windows_preset"
  ctest --preset "$windows_preset"
fi
echo "$windows_reason"

# The size of the tests against the product's (printed only).
bash scripts/code-size.sh
