#!/usr/bin/env bash
# Runs a Windows program under Wine: the emulator CTest uses for the Win32 tests.
#   wine-run.sh ARCH PROGRAM [ARGS...]
# The screen size comes from BR_SCREEN (default 1920x1080).
set -euo pipefail
# Tests always get a display of their own, of the screen size they ask for.
export BR_OWN_DISPLAY=1
source "$(dirname "$0")/wine-env.sh"
arch=$1
shift
br_wine_session "$arch" "${BR_SCREEN:-1920x1080}"
exec "$BR_WINE" "$@"
