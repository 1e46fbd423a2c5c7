#!/usr/bin/env bash
# Regenerates the screenshots in docs/: docs/main-window.png (the main window
# as it starts) and docs/picture-window.png (the picture window), taken from
# the program running under Wine on a 1366x768 screen.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
br_prepare_program
root=$br_root arch=$BR_ARCH exe=$BR_EXE
cd "$root"

# Always a display of its own, so that no other window lies over the shots.
export BR_OWN_DISPLAY=1
br_wine_session "$arch" 1366x768

work="$root/build/screenshots"
mkdir -p "$work"
for window in main picture; do
  bmp="$work/$window-window.bmp"
  "$BR_WINE" "$BR_BUILD/screenshot.exe" "$window" "$exe" "$bmp"
  convert "$bmp" "$root/docs/$window-window.png"
  rm -f "$bmp"
  echo "screenshots: docs/$window-window.png"
done
