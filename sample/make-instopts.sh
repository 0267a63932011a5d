#!/usr/bin/env bash
# How sample/instopts.dat, the sample package's shipped options file, was made:
#   bash sample/make-instopts.sh build/native/bin/instopts sample/instopts.dat
# The file is committed, so the Windows build needs no native tool; the
# options file is deterministic (fixed key, no time stamps), and a test
# remakes it with this script and compares the bytes.
set -euo pipefail
instopts=${1:?path of the instopts tool}
out=${2:?options file to write}

rm -f "$out"
"$instopts" new "$out"
"$instopts" set "$out" INSTALL:EnableVigilux --int 0
"$instopts" set "$out" INSTALL:EnableScriptBlocking --int 1
"$instopts" set "$out" INSTALL:NoReboot --int 0
"$instopts" set "$out" INSTOPTS:FirewallSecurityLevel --int 1
