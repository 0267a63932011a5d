#!/usr/bin/env bash
# instopts.exe under Wine: a non-ASCII text given on its (UTF-16) command line
# is stored in code page 1250, shows again through 1250, and through 1252
# shows the very bytes 1250 gave it.
#   instopts_exe_code_page.sh WINE-RUN WINE-ARCH STATE-DIR INSTOPTS.EXE
set -eu
run=$1 arch=$2 state=$3 exe=$4
export LANG=C.UTF-8 LC_ALL=C.UTF-8
folder=$(mktemp -d) && trap 'rm -rf "$folder"' EXIT && cd "$folder"
instopts() { "$run" "$arch" "$state" "$exe" "$@"; }

instopts new o.dat
instopts set o.dat Miasto --text 'Łódź' --codepage 1250
shown=$(instopts show o.dat --codepage 1250)
json=$(instopts show o.dat --json)
[ "$shown" = 'Miasto = Łódź  [string, L=8]' ] || { echo "show --codepage 1250: $shown"; exit 1; }
[ "$json" = '{"name":"Miasto","type":"string","value":"£ódŸ","length":8}' ] || { echo "show --json: $json"; exit 1; }
