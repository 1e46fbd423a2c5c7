#!/usr/bin/env bash
# Starts break-reminder under Wine with code page 936, building it first.
# Where there is no X display, it starts a virtual one, saves a screenshot of
# the program's main window, says where, and closes the program again.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
br_prepare_program
root=$br_root arch=$BR_ARCH exe=$BR_EXE
cd "$root"

headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then headless=1; fi
br_wine_session "$arch" "${BR_SCREEN:-1920x1080}"

if [ $headless -eq 0 ]; then
  echo "break-reminder: running $exe ($arch) under Wine; close its window to end it."
  exec "$BR_WINE" "$exe"
fi

mkdir -p "$root/build/screenshots"
bmp="$root/build/screenshots/main-window.bmp"
png="$root/build/screenshots/main-window.png"
"$BR_WINE" "$BR_BUILD/screenshot.exe" main "$exe" "$bmp"
convert "$bmp" "$png" && rm -f "$bmp"
echo "break-reminder: no X display here, so it ran on a virtual one ($DISPLAY)."
echo "break-reminder: screenshot of its main window: $png"
