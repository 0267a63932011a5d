#!/usr/bin/env bash
# Installs every Debian package the build and the tests need, when missing.
# Fast when everything is present: it only asks dpkg.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format
  g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine32:i386 wine64
  googletest msitools wixl
  libssl-dev nlohmann-json3-dev
  python3 procps locales
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"

# Wine maps non-ASCII file names through the process's locale: the test of a
# setup folder named outside the ANSI code page runs under en_US.UTF-8.
ensure_locale() {
  locale -a 2>/dev/null | grep -qix 'en_US.utf8' || $sudo localedef -i en_US -f UTF-8 en_US.UTF-8
}

if [[ ${#missing[@]} -eq 0 ]]; then ensure_locale; exit 0; fi
echo "installing: ${missing[*]}" >&2
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
ensure_locale
