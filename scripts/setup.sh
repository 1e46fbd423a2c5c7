#!/usr/bin/env bash
# Installs everything the build and the tests need from Debian's packages and
# builds a static i686 libjpeg from Debian's libjpeg-turbo source package.
# Idempotent: a second run finds everything in place and does nothing.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

packages=(
  wine wine32:i386 wine64 g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
  cmake ninja-build make xvfb xauth x11-utils locales fonts-wqy-microhei fonts-wine
  googletest dpkg-dev fakeroot clang libclang-rt-14-dev
  python3-pil python3-pefile imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Locales: zh_CN.UTF-8 gives Wine the ANSI code page 936, en_US.UTF-8 gives 1252.
need_gen=0
for loc in "zh_CN.UTF-8 UTF-8" "en_US.UTF-8 UTF-8"; do
  if ! grep -qx "$loc" /etc/locale.gen 2>/dev/null; then
    echo "$loc" | $SUDO tee -a /etc/locale.gen >/dev/null
    need_gen=1
  fi
done
locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$' || need_gen=1
locale -a 2>/dev/null | grep -qi '^en_US.utf8$' || need_gen=1
if [ $need_gen -eq 1 ]; then $SUDO locale-gen >/dev/null; fi

"$root/scripts/build-libjpeg.sh" i686
# Where the kernel runs no 32-bit code, Wine runs the tests as 64-bit code.
"$root/scripts/build-libjpeg.sh" x86_64
