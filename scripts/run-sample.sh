#!/usr/bin/env bash
# Builds setup.exe and runs it under Wine on the bundled sample package, the
# way a computer maker's script would start it, then shows what happened:
# the installer command line, the installation's result, the options the
# package found in the staged file, and that the staging was cleaned up.
# It ends with an error when any of that did not happen. It runs the build
# that scripts/windows-target.sh chooses, with a package of the same bitness.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
source scripts/windows-target.sh
quiet_build() {
  local log
  log=$(mktemp)
  if ! { cmake --preset "$1" && cmake --build --preset "$1" --target "${@:2}"; } >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    exit 1
  fi
  rm -f "$log"
}
echo "$windows_reason"
echo "building setup.exe, the sample package and instopts ..."
quiet_build "$windows_preset" setup sample
quiet_build native instopts

sample=$windows_build/sample-setup
run=$windows_build/sample-run
switches=("/vg:1" "/noreboot")
# What the switches must have set in the file the package saw.
expected=$'INSTALL:EnableVigilux = 1  [integer, L=8]\nINSTALL:NoReboot = 1  [integer, L=8]'

rm -rf "$run"
mkdir -p "$run"

echo
echo "== Switches given"
echo "   Setup.exe ${switches[*]}    (setup folder $sample, $windows_arch under $wine_arch Wine)"
echo "   shipped options, Package\\instopts.dat:"
build/native/bin/instopts show "$sample/Package/instopts.dat" | sed 's/^/     /'

# Wine's process trace records every command line a process is started with;
# it is how the installer's command line is shown, as msiexec received it.
rc=0
SAMPLE_SWITCHES="${switches[*]}" SAMPLE_EXPECTED=$expected WINEDEBUG=+process \
  WINE_RUN_AFTER="bash scripts/show-sample-result.sh $run" \
  wine_run "$sample/Setup.exe" "${switches[@]}" 2>"$run/wine-trace.txt" || rc=$?
if [ ! -f "$run/shown" ]; then
  echo "the sample run failed: setup.exe did not run to its end, or its result could not be read (exit code $rc); Wine's output: $run/wine-trace.txt" >&2
  tail -n 20 "$run/wine-trace.txt" >&2
  exit 1
fi
echo
echo "(artifacts kept in $run: ZEL.log, SampleOptionsSeen.dat, wine-trace.txt)"
if [ -s "$run/failures" ]; then
  echo >&2
  echo "the sample run failed:" >&2
  sed 's/^/  /' "$run/failures" >&2
  grep -a '^wine-run:' "$run/wine-trace.txt" | sed 's/^/  /' >&2
  exit 1
fi
echo "the sample run passed"
