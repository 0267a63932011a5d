#!/usr/bin/env bash
# Runs library_trace_run.exe under Wine's loader trace and checks the
# launcher's own process: no library may be loaded from, or searched for in,
# the launcher's folder.
#
#   check_library_trace.sh WINE_RUN STATE_DIR library_trace_run.exe TRACE_LOG
#
# Wine writes "looking for NAME in PATH" for every search by name, "looking
# for FULL-PATH" for loads by path, and "Loaded PATH" for every module mapped;
# +pid prefixes each line with the process id. The libraries Windows protects
# (KnownDLLs) are mapped from the system's own copies whatever the search
# path says, so their searches by the system's libraries themselves (Wine's
# user32 loads imm32 before the launcher's code runs) are listed, not failed.
set -u
wine_run=$1 state=$2 helper=$3 log=$4
protected='^(advapi32|comdlg32|gdi32|imagehlp|imm32|kernel32|kernelbase|lz32|msvcrt|ntdll|ole32|oleaut32|rpcrt4|sechost|shell32|ucrtbase|user32|win32u|combase|shcore|setupapi|wldap32|ws2_32)\.dll$'

WINEDEBUG=+pid,+module,+loaddll "$wine_run" "$state" "$helper" >"$log.out" 2>"$log"
rc=$?
cat "$log.out"
[ "$rc" -eq 0 ] || { echo "FAIL: the launcher run did not complete (exit $rc)"; exit 1; }

pid=$(sed -n 's/^launcher process \([0-9a-f]*\).*/\1/p' "$log.out" | tr -d '\r')
folder=$(sed -n 's/^setup folder [A-Za-z]:\\\(.*\)/\1/p' "$log.out" | tr -d '\r')
[ -n "$pid" ] && [ -n "$folder" ] || { echo "FAIL: no launcher process id or folder printed"; exit 1; }
grep -a "^$pid:" "$log" >"$log.launcher"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# The trace names the launcher's own file: proof that the folder is matched.
grep -aiq "Loaded L\"[A-Za-z]:\\\\\\\\$folder\\\\\\\\[^\"]*\.exe\"" "$log.launcher" ||
  fail "the trace of process $pid does not show the launcher's own load; are the channels on?"

# Libraries mapped from the launcher's folder.
while IFS= read -r line; do
  fail "loaded from the launcher's folder: $line"
done < <(grep -ai "Loaded L\"[^\"]*\\\\$folder\\\\[^\"]*\.dll\"" "$log.launcher")

# Libraries looked for by full path in the launcher's folder (the program
# itself is looked up there once, to be started).
while IFS= read -r line; do
  fail "looked for in the launcher's folder: $line"
done < <(grep -ai "looking for L\"[A-Za-z]:\\\\\\\\$folder\\\\\\\\" "$log.launcher" | grep -avi '\.exe"')

# Searches by name whose path holds the launcher's folder.
while IFS= read -r name; do
  if echo "$name" | tr 'A-Z' 'a-z' | grep -Eq "$protected"; then
    echo "searched with the launcher's folder on the path, protected system library: $name"
  else
    fail "$name searched for with the launcher's folder on the search path"
  fi
done < <(grep -ai "looking for L\"[^\"\\\\]*\" in L\"[^\"]*$folder" "$log.launcher" |
         sed 's/.*looking for L"\([^"]*\)".*/\1/' | sort -fu)

# The steps that bind libraries at run time did run, from the system folder.
for library in msi.dll shlwapi.dll version.dll; do
  grep -aiq "L\"[A-Za-z]:\\\\\\\\windows\\\\\\\\system32\\\\\\\\$library\"" "$log.launcher" ||
    fail "no lookup of $library by its system folder path in the trace"
done

echo "libraries loaded by the launcher's process:"
grep -a "trace:loaddll:" "$log.launcher" | sed 's/.*Loaded L"\([^"]*\)".*: \(.*\)/  \1 (\2)/' | sort -u
[ "$failures" -eq 0 ] || { echo "$failures library lookups touched the launcher's folder"; exit 1; }
echo "PASS: every library lookup of process $pid stayed out of the launcher's folder"
