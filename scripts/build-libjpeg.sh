#!/usr/bin/env bash
# Builds a static i686 libjpeg for MinGW from Debian's own libjpeg-turbo source
# package (Debian ships no MinGW build of it). Installs into build/deps/libjpeg-ARCH
# for ARCH i686 (the shipped program) or x86_64 (the Wine test build on machines
# that cannot run 32-bit code).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-i686}
prefix="$root/build/deps/libjpeg-$arch"
work="$root/build/deps/src-$arch"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# Built small: no arithmetic coding, no reading of the JPEGMEM environment
# variable (whose sscanf would pull in the C library's scanf), the C runtime's
# own stdio. A change of these options builds the library again.
options="-DCMAKE_BUILD_TYPE=MinSizeRel -DWITH_ARITH_DEC=OFF -DWITH_ARITH_ENC=OFF"
cflags="-DNO_GETENV -D__USE_MINGW_ANSI_STDIO=0 -fno-asynchronous-unwind-tables"
stamp="$options $cflags"
if [ -f "$prefix/lib/libjpeg.a" ] && [ -f "$prefix/include/jpeglib.h" ] &&
   [ "$(cat "$prefix/options" 2>/dev/null)" = "$stamp" ]; then
  exit 0
fi

# apt-get source needs the source index of the suites already configured.
if ! apt-cache showsrc libjpeg-turbo 2>/dev/null | grep -q '^Package:'; then
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    if grep -q '^Types: deb$' "$f"; then
      $SUDO sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"
    fi
  done
  if [ -f /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | while read -r line; do
      grep -qxF "$line" /etc/apt/sources.list || echo "$line" | $SUDO tee -a /etc/apt/sources.list >/dev/null
    done
  fi
  $SUDO apt-get update -qq
fi

rm -rf "$work"
mkdir -p "$work"
(cd "$work" && apt-get source -qq --download-only libjpeg-turbo >/dev/null 2>&1 \
  && dpkg-source -x --no-check ./libjpeg-turbo_*.dsc src >/dev/null)

cmake -S "$work/src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
  $options -DCMAKE_C_FLAGS="$cflags" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DWITH_SIMD=OFF -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
  -DWITH_JAVA=OFF -Wno-dev >/dev/null
cmake --build "$work/build" --target jpeg-static >/dev/null
cmake --install "$work/build" >/dev/null 2>&1 || true
# The install step wants every target built; copy what we need if it stopped short.
mkdir -p "$prefix/lib" "$prefix/include"
cp "$work/build/libjpeg.a" "$prefix/lib/libjpeg.a"
cp "$work/src/jpeglib.h" "$work/src/jmorecfg.h" "$work/src/jerror.h" "$work/build/jconfig.h" "$prefix/include/"
echo "$stamp" >"$prefix/options"
rm -rf "$work"
echo "setup: libjpeg built into $prefix"
