#!/usr/bin/env bash
# How sample/instopts.dat, the sample package's shipped options file, is made
# from its recipe sample/instopts.jsonl:
#   bash sample/make-instopts.sh build/native/bin/instopts sample/instopts.dat
# The file is committed, so the Windows build needs no native tool; the
# options file is deterministic (fixed key, no time stamps), and a test
# remakes it with this script and compares the bytes.
set -euo pipefail
instopts=${1:?path of the instopts tool}
out=${2:?options file to write}

rm -f "$out"
"$instopts" new "$out" --from "$(dirname "$0")/instopts.jsonl"
