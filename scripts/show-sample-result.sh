#!/usr/bin/env bash
# Run by cmake/wine-run.sh after the sample's setup.exe has ended and before
# its Wine prefix is deleted. Keeps the run's artifacts and shows them.
# Arguments: the folder for the artifacts, the prefix path, setup.exe's exit code.
# From run-sample.sh: SAMPLE_SWITCHES, the switches given, and
# SAMPLE_EXPECTED, the option lines (as instopts shows them) that the switches
# must have set in the file the package saw. From wine-run.sh: WINE, the
# loader, and WINE_RUN_REFUSAL, Wine's reason when it could not start setup.exe.
#
# Every check that fails appends a line to $run/failures; run-sample.sh ends
# with an error when there is one.
run=$1 prefix=$2 rc=$3
instopts=build/native/bin/instopts
temp=$(find "$prefix/drive_c/windows" -maxdepth 1 -iname temp | head -n 1)
find_in_temp() { find "$temp" -maxdepth 1 -iname "$1" 2>/dev/null | head -n 1; }
fail() {
  echo "   FAILED: $1"
  echo "$1" >>"$run/failures"
}

echo
echo "== Installer command line (msiexec.exe as started, from Wine's process trace $run/wine-trace.txt)"
# The trace line: ... CreateProcessInternalW app L"..." cmdline L"<command line>"
line=$(grep -a -m 1 'CreateProcessInternalW app L".*msiexec\.exe"' "$run/wine-trace.txt" |
       sed -e 's/.* cmdline L"//' -e 's/"$//' -e 's/\\"/"/g' -e 's/\\\\/\\/g')
if [ -n "$line" ]; then
  echo "   $line"
else
  fail "setup.exe did not start the installer (no msiexec.exe start in the trace)"
fi
reached=""
for switch in $SAMPLE_SWITCHES; do
  case "$line" in *"$switch"*) reached="$reached $switch";; esac
done
if [ -n "$reached" ]; then
  fail "the OEM switches$reached reached the installer instead of being cut out"
elif [ -n "$line" ]; then
  echo "   (the OEM switches $SAMPLE_SWITCHES were cut out before the installer started)"
fi

echo
echo "== Installation result"
if [ -n "${WINE_RUN_REFUSAL:-}" ]; then
  fail "setup.exe did not run: Wine could not start it ($WINE_RUN_REFUSAL)"
elif [ "$rc" -ne 0 ]; then
  fail "setup.exe ended with exit code $rc, not 0"
else
  echo "   setup.exe exit code: 0"
fi
log=$(find_in_temp ZEL.log)
if [ -n "$log" ]; then
  # The log is UTF-16 on Windows and narrow text under Wine; read it either way.
  if [ "$(head -c 2 "$log" | od -An -tx1 | tr -d ' ')" = fffe ]; then
    iconv -f UTF-16 -t UTF-8 "$log" >"$run/ZEL.log"
  else
    tr -d '\r' <"$log" >"$run/ZEL.log"
  fi
  echo "   C:\\windows\\Temp\\ZEL.log:"
  grep -a -m 1 -E 'Property\(S\): INSTOPTS = ' "$run/ZEL.log" | sed 's/^/     /'
  grep -a -E 'Action (start|ended) .*(INSTALL|KeepStagedOptions)\.' "$run/ZEL.log" |
    awk '!seen[$0]++' | tail -n 4 | sed 's/^/     /'
else
  echo "   no installer log was written"
fi
find "$prefix/drive_c" -path '*Kestrova/Zove Antivirus/*' -type f 2>/dev/null |
  sed -e "s#^$prefix/drive_c#   installed: C:#" -e 's#/#\\#g'

echo
echo "== Options the package saw (its copy of the staged file, C:\\windows\\Temp\\SampleOptionsSeen.dat)"
seen=$(find_in_temp SampleOptionsSeen.dat)
if [ -n "$seen" ]; then
  cp "$seen" "$run/SampleOptionsSeen.dat"
  shown=$("$instopts" show "$run/SampleOptionsSeen.dat" 2>&1)
  printf '%s\n' "$shown" | sed 's/^/   /'
  while IFS= read -r option; do
    [ -n "$option" ] || continue
    printf '%s\n' "$shown" | grep -qxF "$option" || fail "the package did not see the staged option \"$option\""
  done <<<"$SAMPLE_EXPECTED"
else
  fail "the package did not see the staged options (it kept no copy)"
fi

echo
echo "== Clean-up check"
if [ -z "$temp" ]; then
  fail "staged file C:\\windows\\TEMP\\instopts.dat: could not look (the prefix has no Windows Temp folder)"
elif [ -n "$(find_in_temp instopts.dat)" ]; then
  fail "staged file C:\\windows\\TEMP\\instopts.dat: still there"
else
  echo "   staged file C:\\windows\\TEMP\\instopts.dat: gone"
fi
# reg ends with 1 and says so when the value is missing; any other answer
# means the query itself did not run, and tells nothing about the value.
value='registry value HKLM\Software\Kestrova Instopts'
query=$(WINEDEBUG=-all WINEPREFIX=$prefix "$WINE" reg query 'HKLM\Software\Kestrova' /v Instopts 2>&1)
status=$?
query=$(printf '%s' "$query" | tr -d '\r')
if [ "$status" -eq 0 ]; then
  fail "$value: still there"
elif [ "$status" -eq 1 ] && printf '%s\n' "$query" | grep -q 'Unable to find'; then
  echo "   $value: gone"
else
  fail "$value: could not look (reg query ended with $status: $(printf '%s' "$query" | head -n 1))"
fi
touch "$run/shown"
