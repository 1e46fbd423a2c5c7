# Sourced by the scripts that run Windows programs: sets up one Wine session.
#   br_wine_session ARCH SCREEN   ARCH i686 or x86_64, SCREEN like 1920x1080
# Exports WINEPREFIX, LANG (zh_CN.UTF-8 unless BR_LANG says otherwise, so the
# ANSI code page is 936), DISPLAY (a private Xvfb where there is none) and
# BR_WINE (the loader). The prefix is made once, with a virtual desktop of
# SCREEN so that the program sees that screen size and its exit code reaches us.

br_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The arch whose Windows code this machine can run under Wine: i686 where the
# kernel runs 32-bit code, else x86_64 (some kernels have 32-bit emulation off).
br_wine_arch() {
  if [ -n "${BR_WINE_ARCH:-}" ]; then echo "$BR_WINE_ARCH"; return; fi
  if timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1; then echo i686; else echo x86_64; fi
}

# Each screen size gets an Xvfb display of its own, exactly that size, so that
# Wine desktops of different sizes never cover each other. Where the user has
# a display of their own, the program goes there.
# Builds TARGETS of the preset whose code Wine runs here and exports BR_ARCH and
# BR_PRESET. The program is 32-bit; where this kernel runs no 32-bit code, the
# same sources built as 64-bit code stand in for it.
br_build_for_wine() {
  BR_ARCH=$(br_wine_arch)
  if [ "$BR_ARCH" = i686 ]; then BR_PRESET=win32; else BR_PRESET=win32-x64; fi
  export BR_ARCH BR_PRESET
  (cd "$br_root" && cmake --preset "$BR_PRESET" >/dev/null && cmake --build --preset "$BR_PRESET" --target "$@" >/dev/null)
}

# Installs what is missing, then builds the program and the screenshot tool
# for the arch Wine runs here. Exports BR_ARCH and BR_PRESET as above, and
# BR_BUILD (the build folder) and BR_EXE (the program).
br_prepare_program() {
  "$br_root/scripts/setup.sh"
  br_build_for_wine break-reminder screenshot
  BR_BUILD="$br_root/build/$BR_PRESET"
  BR_EXE="$BR_BUILD/break-reminder.exe"
  export BR_BUILD BR_EXE
}

# The display of SCREEN: the first number from one derived from the size that
# is either free (an Xvfb of that size is started there) or already shows a
# screen of that size. Sizes whose numbers collide thus never share a display.
br_start_display() {
  local screen=$1
  if [ -n "${DISPLAY:-}" ] && [ -z "${BR_OWN_DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
  local number=$((100 + $(printf '%s' "$screen" | cksum | cut -d' ' -f1) % 100)) tries=0 shown
  while shown=$(DISPLAY=:$number xdpyinfo 2>/dev/null | awk '/dimensions:/ {print $2}') && [ -n "$shown" ]; do
    [ "$shown" = "$screen" ] && break
    number=$((number + 1)) tries=$((tries + 1))
    if [ $tries -ge 100 ]; then echo "wine-env: no free display for $screen" >&2; return 1; fi
  done
  export DISPLAY=:$number BR_OWN_DISPLAY=1
  if [ -z "$shown" ]; then
    (setsid Xvfb ":$number" -screen 0 "${screen}x24" -nolisten tcp </dev/null >/dev/null 2>&1 &)
    local deadline=$((SECONDS + 30))
    until xdpyinfo >/dev/null 2>&1; do
      if [ $SECONDS -ge $deadline ]; then echo "wine-env: Xvfb did not start on :$number within 30 s" >&2; return 1; fi
      sleep 0.1
    done
  fi
}

br_wine_session() {
  local arch=$1 screen=$2
  export WINEDEBUG=${WINEDEBUG:--all}
  export LANG=${BR_LANG:-zh_CN.UTF-8} LC_ALL=${BR_LANG:-zh_CN.UTF-8}
  export WINEPREFIX="$br_root/build/wine/$arch-$screen"
  if [ "$arch" = i686 ]; then
    export WINEARCH=win32 BR_WINE=/usr/lib/wine/wine
  else
    export WINEARCH=win64 BR_WINE=/usr/lib/wine/wine64
  fi
  br_start_display "$screen" || return 1
  mkdir -p "$br_root/build/wine"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.ready" ]; then
      rm -rf "$WINEPREFIX"
      "$BR_WINE" wineboot -i </dev/null >/dev/null 2>&1
      "$BR_WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
      "$BR_WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$screen" /f >/dev/null 2>&1
      "$BR_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      # The caption buttons' symbols; 64-bit Wine does not find Debian's copy by itself.
      cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
      /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
      /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
      touch "$WINEPREFIX/.ready"
    fi
  ) 9>"$br_root/build/wine/.lock-$arch-$screen"
  # A persistent server and a booted session keep each program start quick;
  # a second server for the same prefix exits at once.
  local server=/usr/lib/wine/wineserver64
  [ -x "$server" ] || server=/usr/lib/wine/wineserver32
  (setsid "$server" -p </dev/null >/dev/null 2>&1 &)
  "$BR_WINE" wineboot </dev/null >/dev/null 2>&1 || true
}
