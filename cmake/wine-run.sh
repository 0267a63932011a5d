#!/usr/bin/env bash
# Runs one Windows program under Wine in a fresh copy of the build's template
# prefix, then stops that prefix's wineserver and deletes the copy.
#
#   wine-run.sh STATE_DIR PROGRAM.exe [ARGS...]
#
# WINE_RUN_AFTER, when set, is run with the prefix path and the exit code
# after the program ends and before the prefix is deleted.
#
# STATE_DIR holds the template prefix (made once, under a lock) and the
# per-run copies. The template is 32-bit (closest to the systems the launcher
# targets) and uses the null graphics driver, so windows and message boxes
# work without an X server.
#
# Wine's service processes inherit the standard handles of the process that
# starts the wineserver; a detached wineserver started first, and killed at
# the end, keeps them from holding CTest's output pipe open.
set -u

state=$(realpath -m "${1:?state directory}"); shift
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
unset DISPLAY WAYLAND_DISPLAY

template=$state/template
mkdir -p "$state"

start_server() {
  # No blank after -p; the lock descriptor must not live on in the daemon.
  setsid wineserver "-p${1}" </dev/null >/dev/null 2>&1 9>&-
}

make_template() {
  rm -rf "$template"
  mkdir -p "$template"
  (
    export WINEPREFIX=$template
    start_server 5
    wineboot --init </dev/null >/dev/null 2>&1 9>&-
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 9>&-
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 9>&-
    wineserver -k 9>&- 2>/dev/null
    wineserver -w 9>&- 2>/dev/null
  )
  [ -f "$template/system.reg" ] || { echo "wine-run: could not create the template prefix" >&2; return 1; }
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
cleanup() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  rm -rf "$prefix"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_server 30
wine "$@"
rc=$?
# A caller that wants to look into the prefix before it goes (the sample run
# shows the installer's log) names a command here; it gets the prefix path.
if [ -n "${WINE_RUN_AFTER:-}" ]; then
  $WINE_RUN_AFTER "$prefix" "$rc"
fi
exit $rc
