#!/usr/bin/env bash
# Runs one Windows program under Wine in a fresh copy of the build's template
# prefix, then stops that prefix's wineserver and deletes the copy.
#
#   wine-run.sh win32|win64 STATE_DIR PROGRAM.exe [ARGS...]
#
# win32 runs Wine's 32-bit loader in a 32-bit prefix (the i686 build, closest
# to the systems the launcher targets); win64 runs the 64-bit loader in a
# 64-bit prefix (the x86_64 test build, for hosts that cannot run 32-bit
# programs). Debian's `wine` command always takes the 32-bit loader when it is
# installed, so the loader is named here; it is exported as WINE for the
# commands that look into the prefix afterwards.
#
# WINE_RUN_AFTER, when set, is run with the prefix path and the exit code
# after the program ends and before the prefix is deleted; WINE_RUN_REFUSAL
# then holds Wine's reason when it could not start the program.
#
# STATE_DIR holds the template prefix (made once, under a lock) and the
# per-run copies. The template uses the null graphics driver, so windows and
# message boxes work without an X server. It counts as ready only when Wine
# booted it; a template that failed is deleted, never reused, and the run
# ends with 125 and Wine's reason. So does a program Wine could not start,
# rather than with an exit code that might be taken for the program's.
#
# Wine's service processes inherit the standard handles of the process that
# starts the wineserver; a detached wineserver started first, and killed at
# the end, keeps them from holding CTest's output pipe open.
set -u

case ${1:-} in
  win32) loader=/usr/lib/wine/wine ;;
  win64) loader=/usr/lib/wine/wine64 ;;
  *) echo "usage: wine-run.sh win32|win64 STATE_DIR PROGRAM.exe [ARGS...]" >&2; exit 2 ;;
esac
export WINEARCH=$1; shift
state=$(realpath -m "${1:?state directory}"); shift
export WINE=$loader WINELOADER=$loader
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
unset DISPLAY WAYLAND_DISPLAY

template=$state/template
mkdir -p "$state"

start_server() {
  # No blank after -p; the lock descriptor must not live on in the daemon.
  setsid wineserver "-p${1}" </dev/null >/dev/null 2>&1 9>&-
}

# Wine's own lines about a program it could not start, as opposed to the
# program's output: the kernel's refusal of the loader, the loader's, and
# start.exe's (a missing file, or a 32-bit program that a host without
# 32-bit support cannot run).
wine_refusal() {
  grep -a -h -m 1 -E ': cannot execute binary file|Exec format error|^wine: (cannot find|[Bb]ad EXE format|failed to (open|start)|could not (load|exec))|^Application could not be started' "$@" | head -n 1
}

make_template() {
  local log=$state/template-boot.log booted=0
  rm -rf "$template"
  mkdir -p "$template"
  (
    export WINEPREFIX=$template
    start_server 5
    "$loader" wineboot --init </dev/null >"$log" 2>&1 9>&- &&
      "$loader" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >>"$log" 2>&1 9>&- &&
      "$loader" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$log" 2>&1 9>&-
    booted=$?
    wineserver -k 9>&- 2>/dev/null
    wineserver -w 9>&- 2>/dev/null
    exit $booted
  ) || booted=$?
  if [ "$booted" -ne 0 ] || [ ! -d "$template/drive_c/windows/system32" ]; then
    echo "wine-run: Wine ($loader, $WINEARCH) could not boot the template prefix $template:" >&2
    tail -n 5 "$log" | sed 's/^/  /' >&2
    rm -rf "$template"
    return 1
  fi
  touch "$template/.ready"
}

exec 9>"$state/lock"
flock 9
if [ ! -f "$template/.ready" ]; then
  make_template || exit 125
fi
prefix=$(mktemp -d "$state/run.XXXXXX")
cp -a "$template/." "$prefix/"
flock -u 9
exec 9>&-

export WINEPREFIX=$prefix
# The program's output goes through files (a pipe would be held open by
# Wine's service processes until the wineserver ends) and is copied out after
# it ends, or when the run is interrupted.
output=$prefix.stdout errors=$prefix.stderr
replay_output() {
  [ -f "$output" ] && cat "$output"
  [ -f "$errors" ] && cat "$errors" >&2
  rm -f "$output" "$errors"
}
cleanup() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  replay_output
  rm -rf "$prefix"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_server 30
# Tests read Wine's debug channels of the programs they start from here.
export WINE_RUN_ERRORS=$errors
"$loader" "$@" >"$output" 2>"$errors"
rc=$?
refusal=""
[ "$rc" -ne 0 ] && refusal=$(wine_refusal "$output" "$errors")
replay_output
if [ -n "$refusal" ]; then
  echo "wine-run: Wine could not start $1: $refusal" >&2
  rc=125
fi
# A caller that wants to look into the prefix before it goes (the sample run
# shows the installer's log) names a command here; it gets the prefix path.
if [ -n "${WINE_RUN_AFTER:-}" ]; then
  WINE_RUN_REFUSAL=$refusal $WINE_RUN_AFTER "$prefix" "$rc"
fi
exit $rc
