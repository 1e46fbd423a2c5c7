#!/usr/bin/env bash
# Runs a Windows program under Wine: the emulator CTest uses for the Win32 tests.
#   wine-run.sh ARCH PROGRAM [ARGS...]
# The screen size comes from BR_SCREEN (default 1920x1080); with BR_DEBUG_OUTPUT
# set, the standard error of the program and of everything it starts goes there.
set -euo pipefail
# Tests always get a display of their own, of the screen size they ask for.
export BR_OWN_DISPLAY=1
source "$(dirname "$0")/wine-env.sh"
arch=$1
shift
br_wine_session "$arch" "${BR_SCREEN:-1920x1080}"
# Wine's debug output of every program the test starts goes where the test can read it.
if [ -n "${BR_DEBUG_OUTPUT:-}" ]; then
  : >"$BR_DEBUG_OUTPUT"
  exec "$BR_WINE" "$@" 2>>"$BR_DEBUG_OUTPUT"
fi
exec "$BR_WINE" "$@"
