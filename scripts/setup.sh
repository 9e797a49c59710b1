#!/usr/bin/env bash
# Installs the Debian packages the three builds need, once. Safe to run again:
# it installs only what is missing. Needs root, or sudo.
set -euo pipefail

packages=(
  cmake make g++ googletest ccache
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
  mingw-w64-tools   # widl
  libwine-dev       # the standard .idl files widl imports
  wine64            # runs the win64 test programs; also ships stdole2.tlb
  wine32:i386       # runs the win32 (deliverable) test programs
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# wine32 is an i386 package: the architecture must be known to dpkg before
# apt can even name it.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
$sudo apt-get update -qq
# No recommends: nothing beyond what the builds and the suites use.
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
