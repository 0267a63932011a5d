#!/usr/bin/env bash
# Shows, from the Wine prefix of a sample run, what the installer received and
# did. Arguments: the prefix path and setup.exe's exit code.
prefix=$1 rc=$2
temp=$(find "$prefix/drive_c/windows" -maxdepth 1 -iname temp | head -n 1)
log=$(find "$temp" -maxdepth 1 -iname ZEL.log 2>/dev/null | head -n 1)
echo "== setup.exe exit code: $rc"
if [ -n "$log" ]; then
  echo "== installer log: C:\\windows\\Temp\\$(basename "$log")"
  # The log is UTF-16 on Windows and narrow text under Wine; show it either way.
  if [ "$(head -c 2 "$log" | od -An -tx1 | tr -d ' ')" = fffe ]; then
    text=$(iconv -f UTF-16 -t UTF-8 "$log")
  else
    text=$(cat "$log")
  fi
  printf '%s\n' "$text" | grep -a -E 'Action (start|ended) .*INSTALL\.' | head -n 4
else
  echo "== no installer log was written"
fi
echo "== installed files:"
find "$prefix/drive_c" -path '*Kestrova/Zove Antivirus/*' -type f 2>/dev/null |
  sed -e "s#^$prefix/drive_c#   C:#" -e 's#/#\\#g'

