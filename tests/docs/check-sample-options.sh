#!/usr/bin/env bash
# The sample's committed options file loads with its digest checked, holds
# the options the sample run starts from, and is exactly what its recipe
# (make-instopts.sh) makes.
#
#   check-sample-options.sh INSTOPTS SAMPLE_FOLDER
set -u
instopts=$1 sample=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

expected='INSTOPTS:FirewallSecurityLevel = 1  [integer, L=8]
INSTALL:EnableScriptBlocking = 1  [integer, L=8]
INSTALL:EnableVigilux = 0  [integer, L=8]
INSTALL:NoReboot = 0  [integer, L=8]'
shown=$("$instopts" show "$sample/instopts.dat") || { echo "sample/instopts.dat does not load"; exit 1; }
if [ "$shown" != "$expected" ]; then
  echo "sample/instopts.dat holds other options:"
  diff <(echo "$expected") <(echo "$shown")
  exit 1
fi
bash "$sample/make-instopts.sh" "$instopts" "$scratch/remade.dat" >/dev/null || exit 1
cmp "$sample/instopts.dat" "$scratch/remade.dat" || { echo "make-instopts.sh makes another file"; exit 1; }
echo "sample/instopts.dat loads and matches make-instopts.sh"
