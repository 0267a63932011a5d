# Chooses the Windows build that the Windows tests and runs use, and says why.
# Sourced by the scripts (bash); sets:
#
#   windows_arch    i686 or x86_64
#   windows_preset  the CMake preset of that build: windows or windows64
#   windows_build   its build folder: build/windows or build/windows64
#   wine_arch       the Wine it runs under: win32 or win64
#   windows_reason  one line: which build, and why
#
# and defines wine_run PROGRAM [ARGS...], cmake/wine-run.sh for that build.
#
# The product is the i686 build, and it runs under 32-bit Wine where the host
# can run 32-bit programs. Some kernels cannot (hardened cloud and container
# kernels switch 32-bit emulation off): there the same sources, built for
# x86_64, run under 64-bit Wine. Which kind of host this is is found by
# running Wine's 32-bit loader once. SETUP_WINDOWS_ARCH=i686 or x86_64 forces
# the choice.

wine32_loader=/usr/lib/wine/wine   # Debian's wine32 package

choose_windows_target() {
  local probe
  case ${SETUP_WINDOWS_ARCH:-} in
    i686|x86_64)
      windows_arch=$SETUP_WINDOWS_ARCH
      windows_why="forced by SETUP_WINDOWS_ARCH=$SETUP_WINDOWS_ARCH" ;;
    "")
      if probe=$("$wine32_loader" --version 2>&1); then
        windows_arch=i686
        windows_why="this host runs Wine's 32-bit loader ($probe)"
      else
        windows_arch=x86_64
        windows_why="this host cannot run Wine's 32-bit loader: $(printf '%s' "$probe" | tail -n 1 | sed 's/^.*: \([^:]*\)$/\1/')"
      fi ;;
    *)
      echo "SETUP_WINDOWS_ARCH must be i686 or x86_64, not '$SETUP_WINDOWS_ARCH'" >&2
      return 2 ;;
  esac
  if [ "$windows_arch" = i686 ]; then
    windows_preset=windows windows_build=build/windows wine_arch=win32
    windows_reason="Windows tests and runs use the i686 build under 32-bit Wine: $windows_why"
  else
    windows_preset=windows64 windows_build=build/windows64 wine_arch=win64
    windows_reason="Windows tests and runs use the x86_64 test build under 64-bit Wine: $windows_why"
  fi
}

wine_run() {
  cmake/wine-run.sh "$wine_arch" "$windows_build/wine" "$@"
}

choose_windows_target
