#!/usr/bin/env bash
# Prints the size of the product and of its tests in lines, and their ratio.
#
#   bash scripts/code-size.sh            one line: product, tests, ratio and goal
#   bash scripts/code-size.sh --check    the same, and exit 1 when the ratio is above the goal
#
# Product: the C++ sources, headers and resource scripts (*.cpp, *.h, *.rc)
# under src/ and tools/. Tests: every text file under tests/ (sources,
# CMakeLists.txt, scripts, resource scripts, everything) and fuzz/*.cpp; the
# fuzz corpora are data, not tests.
set -euo pipefail
cd "$(dirname "$0")/.."

goal=0.35
check=false
case ${1:-} in
  "") ;;
  --check) check=true ;;
  *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac

# Lines of the files named on stdin, NUL-separated; 0 for none.
count_lines() {
  xargs -0 -r cat -- | wc -l
}

product=$(find src tools -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.rc' \) -print0 | count_lines)
# grep -I leaves out binary files (an icon, a compiled module) and lists the rest.
test_files=$(find tests -type f -print0 | xargs -0 -r grep -Il '' -- || true)
tests=$( { [ -z "$test_files" ] || printf '%s\n' "$test_files" | tr '\n' '\0'; find fuzz -maxdepth 1 -type f -name '*.cpp' -print0; } | count_lines)

ratio=$(awk -v t="$tests" -v p="$product" 'BEGIN { printf "%.2f", (p > 0 ? t / p : 0) }')
echo "product $product lines, tests $tests lines, ratio $ratio (goal <= $goal)"

if $check && awk -v t="$tests" -v p="$product" -v g="$goal" 'BEGIN { exit !(t > g * p) }'; then
  exit 1
fi
exit 0
