#!/usr/bin/env bash
# Builds setup.exe and runs it under Wine on the bundled sample package, the
# way a computer maker's script would start it, then shows what happened:
# the installer command line, the installation's result, the options the
# package found in the staged file, and that the staging was cleaned up.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
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
echo "building setup.exe, the sample package and instopts ..."
quiet_build windows setup sample
quiet_build native instopts

sample=build/windows/sample-setup
run=build/windows/sample-run
switches=("/vg:1" "/noreboot")
rm -rf "$run"
mkdir -p "$run"

echo
echo "== Switches given"
echo "   Setup.exe ${switches[*]}    (setup folder $sample, Windows 32-bit under Wine)"
echo "   shipped options, Package\\instopts.dat:"
build/native/bin/instopts show "$sample/Package/instopts.dat" | sed 's/^/     /'

# Wine's process trace records every command line a process is started with;
# it is how the installer's command line is shown, as msiexec received it.
rc=0
SAMPLE_SWITCHES="${switches[*]}" WINEDEBUG=+process WINE_RUN_AFTER="bash scripts/show-sample-result.sh $run" \
  cmake/wine-run.sh build/windows/wine "$sample/Setup.exe" "${switches[@]}" 2>"$run/wine-trace.txt" || rc=$?
if [ ! -f "$run/shown" ]; then
  echo "the sample run did not finish (exit code $rc); Wine's output: $run/wine-trace.txt" >&2
  tail -n 20 "$run/wine-trace.txt" >&2
  exit 1
fi
echo
echo "(artifacts kept in $run: ZEL.log, SampleOptionsSeen.dat, wine-trace.txt)"
