# Sourced: a private, headless Wine environment for running the Windows build.
#
#   . scripts/wine-env.sh          # defines the functions below, changes nothing
#   talvor_wine_up                 # Xvfb, Japanese locale, WINEPREFIX: made once, reused
#   ...wine program.exe...
#   talvor_wine_down               # wineserver -k for our prefix, Xvfb stopped
#
# Everything lives under $TALVOR_WINE_ROOT (default build/win32-wine), so
# nothing touches ~/.wine or the user's display. Wine takes its ANSI code page
# from the Unix locale, hence the private ja_JP.UTF-8 made with localedef.

TALVOR_SOURCE_DIR=${TALVOR_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
TALVOR_WINE_ROOT=${TALVOR_WINE_ROOT:-$TALVOR_SOURCE_DIR/build/win32-wine}

talvor_wine_log() { printf 'wine-env: %s\n' "$*" >&2; }

# The locale: compiled once into a private LOCPATH, so no system locale is needed.
talvor_wine_locale() {
  export LOCPATH="$TALVOR_WINE_ROOT/locale"
  if [ ! -f "$LOCPATH/ja_JP.UTF-8/LC_CTYPE" ]; then
    mkdir -p "$LOCPATH"
    # localedef exits 1 on warnings about the locale source; the files are made all the same.
    localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8" 2>/dev/null || true
    [ -f "$LOCPATH/ja_JP.UTF-8/LC_CTYPE" ] || { talvor_wine_log "localedef ja_JP failed"; return 1; }
  fi
  export LANG=ja_JP.UTF-8
  unset LC_ALL LANGUAGE
}

# One Xvfb per environment; its display number is kept in a file.
talvor_wine_display() {
  local pidfile="$TALVOR_WINE_ROOT/xvfb.pid" dispfile="$TALVOR_WINE_ROOT/xvfb.display"
  if [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null && [ -f "$dispfile" ]; then
    export DISPLAY
    DISPLAY=$(cat "$dispfile")
    return 0
  fi
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$TALVOR_WINE_ROOT/xvfb.log" 2>&1 &
    local pid=$!
    local tries
    for tries in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
      echo "$pid" >"$pidfile"
      echo ":$n" >"$dispfile"
      export DISPLAY=":$n"
      return 0
    fi
  done
  talvor_wine_log "could not start Xvfb"
  return 1
}

# The prefix: made by wineboot once, then reused. Mono and Gecko are not
# wanted (no network here, and nothing of ours needs them).
talvor_wine_prefix() {
  export WINEPREFIX="$TALVOR_WINE_ROOT/prefix"
  export WINEDEBUG=-all
  export WINEARCH=win64
  export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="
  if [ ! -f "$TALVOR_WINE_ROOT/prefix.ready" ]; then
    talvor_wine_log "creating $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w
    # Without a window manager Wine draws the frames itself; closing windows
    # is then seconds faster.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # The program's fonts by their Japanese names, as on a Japanese Windows.
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /d IPAGothic /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d IPAPGothic /f >/dev/null 2>&1
    # A crash prints its backtrace and ends the program, with no dialog
    # waiting for a person.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
    [ -f "$WINEPREFIX/system.reg" ] || { talvor_wine_log "wineboot failed"; return 1; }
    touch "$TALVOR_WINE_ROOT/prefix.ready"
  fi
}

talvor_wine_up() {
  mkdir -p "$TALVOR_WINE_ROOT"
  talvor_wine_locale || return 1
  talvor_wine_display || return 1
  talvor_wine_prefix || return 1
  # A persistent wineserver saves its start-up for every test program. The
  # first program of a session also starts Wine's background processes,
  # which live on: started here, they hold no pipe of a caller open.
  if [ "${TALVOR_WINE_UP:-}" != "$TALVOR_WINE_ROOT" ]; then
    wineserver -p </dev/null >/dev/null 2>&1 || true
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  fi
  export TALVOR_WINE_UP="$TALVOR_WINE_ROOT"
}

talvor_wine_down() {
  if [ -d "$TALVOR_WINE_ROOT/prefix" ]; then
    WINEPREFIX="$TALVOR_WINE_ROOT/prefix" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$TALVOR_WINE_ROOT/prefix" wineserver -w >/dev/null 2>&1 || true
  fi
  local pidfile="$TALVOR_WINE_ROOT/xvfb.pid"
  if [ -f "$pidfile" ]; then
    kill "$(cat "$pidfile")" 2>/dev/null || true
    rm -f "$pidfile" "$TALVOR_WINE_ROOT/xvfb.display"
  fi
  unset TALVOR_WINE_UP
}
