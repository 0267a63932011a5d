#!/usr/bin/env bash
# Formats every C++ source in place with .clang-format, or with --check
# changes nothing and fails, naming each line that is not in that format
# (what scripts/test.sh runs).
set -euo pipefail
cd "$(dirname "$0")/.."
mode=(-i)
case ${1:-} in
  --check) mode=(--dry-run -Werror) ;;
  "") ;;
  *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac
find src tools tests fuzz bench \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
  xargs -0 clang-format "${mode[@]}"
