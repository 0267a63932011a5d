#!/usr/bin/env bash
# Run by cmake/wine-run.sh after the sample's setup.exe has ended and before
# its Wine prefix is deleted. Keeps the run's artifacts and shows them.
# Arguments: the folder for the artifacts, the prefix path, setup.exe's exit code.
run=$1 prefix=$2 rc=$3
instopts=build/native/bin/instopts
temp=$(find "$prefix/drive_c/windows" -maxdepth 1 -iname temp | head -n 1)
find_in_temp() { find "$temp" -maxdepth 1 -iname "$1" 2>/dev/null | head -n 1; }

echo
echo "== Installer command line (msiexec.exe as started, from Wine's process trace $run/wine-trace.txt)"
# The trace line: ... CreateProcessInternalW app L"..." cmdline L"<command line>"
line=$(grep -a -m 1 'CreateProcessInternalW app L".*msiexec\.exe"' "$run/wine-trace.txt" |
       sed -e 's/.* cmdline L"//' -e 's/"$//' -e 's/\\"/"/g' -e 's/\\\\/\\/g')
echo "   ${line:-(no msiexec.exe start in the trace)}"
reached=""
for switch in $SAMPLE_SWITCHES; do
  case "$line" in *"$switch"*) reached="$reached $switch";; esac
done
if [ -n "$reached" ]; then
  echo "   the OEM switches$reached reached the installer"
elif [ -n "$line" ]; then
  echo "   (the OEM switches $SAMPLE_SWITCHES were cut out before the installer started)"
fi

echo
echo "== Installation result"
echo "   setup.exe exit code: $rc"
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
  "$instopts" show "$run/SampleOptionsSeen.dat" | sed 's/^/   /'
else
  echo "   the package kept no copy"
fi

echo
echo "== Clean-up check"
if [ -n "$(find_in_temp instopts.dat)" ]; then
  echo "   staged file C:\\windows\\TEMP\\instopts.dat: still there"
else
  echo "   staged file C:\\windows\\TEMP\\instopts.dat: gone"
fi
query=$(WINEDEBUG=-all WINEPREFIX=$prefix wine reg query 'HKLM\Software\Kestrova' /v Instopts 2>&1 | tr -d '\r')
if printf '%s\n' "$query" | grep -q 'Instopts'; then
  echo "   registry value HKLM\\Software\\Kestrova Instopts: still there"
else
  echo "   registry value HKLM\\Software\\Kestrova Instopts: gone ($(printf '%s' "$query" | head -n 1))"
fi
touch "$run/shown"
