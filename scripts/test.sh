#!/usr/bin/env bash
# Runs every test: the host build's logic tests (with sanitizers and a bounded
# fuzz run), the checks of the built 32-bit executable and its assets, and the
# Win32 tests under Wine. Does all set-up itself; exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/setup.sh"
source "$root/scripts/wine-env.sh"

echo "== host: logic and handlers"
cmake --preset host >/dev/null
cmake --build --preset host
ctest --preset host -j2

# The shipped program is 32-bit. Where this kernel runs no 32-bit code, Wine
# runs the same sources built as 64-bit code for the Win32 tests.
arch=$(br_wine_arch)
if [ "$arch" = i686 ]; then wine_preset=win32; else wine_preset=win32-x64; fi

echo "== win32: the 32-bit program and its static checks"
cmake --preset win32 -DBR_WINE_TESTS=$([ "$arch" = i686 ] && echo ON || echo OFF) >/dev/null
cmake --build --preset win32
ctest --preset win32 -L static

if [ "$wine_preset" != win32 ]; then
  echo "== this kernel runs no 32-bit code: Win32 tests use the 64-bit build"
  cmake --preset "$wine_preset" >/dev/null
  cmake --build --preset "$wine_preset"
fi

# Make the Wine sessions of every screen size the tests use before they run:
# a fresh prefix takes a while, and test discovery runs inside the first one.
for screen in 1920x1080 1366x768 1024x768 800x600 1280x1024; do
  (export BR_OWN_DISPLAY=1; br_wine_session "$arch" "$screen")
done

echo "== $wine_preset: Win32 tests under Wine ($arch)"
status=0
ctest --preset "$wine_preset" -L wine || status=$?
# Leave no Wine session running.
for prefix in "$root"/build/wine/"$arch"-*/; do
  [ -d "$prefix" ] && WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
done
exit $status
