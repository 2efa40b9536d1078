# Sourced by the scripts that run Windows programs under Wine: a private prefix made once per
# folder, no dialogs, Wine's helpers started before the first program so that they never hold a
# test's pipes open, and crashes reported instead of waiting on a dialog. Needs a display
# (DISPLAY set, e.g. inside xvfb-run).
#   WINE_PREFIX_DIR  where the prefix lives (default: a folder in the temporary folder)
wine_setup() {
  local prefix=${WINE_PREFIX_DIR:-${TMPDIR:-/tmp}/karvenel-wine-$(id -u)}
  export WINEPREFIX=$prefix
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEDEBUG=${WINEDEBUG:--all,+msgbox}
  local wine=wine
  command -v wine >/dev/null || wine=wine64
  export WINE=$wine
  mkdir -p "$WINEPREFIX"
  # Tests run in parallel: one of them makes the prefix, the others wait for it.
  exec {lock}>"$WINEPREFIX.lock"
  flock "$lock"
  # Wine's server and desktop stay bound to the display they started on: a server left from an
  # earlier display (another xvfb-run) shows nothing on this one, so it is replaced. A token on
  # the display's root window tells whether this display is the server's.
  local property token fresh=0
  property=KARVENEL_WINE_$(printf '%s' "$WINEPREFIX" | cksum | cut -d' ' -f1)
  token=$(xprop -root "$property" 2>/dev/null | sed -n 's/.* = "\(.*\)"$/\1/p')
  if [ -z "$token" ] || [ "$token" != "$(cat "$WINEPREFIX.display" 2>/dev/null)" ]; then
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
    fresh=1
  fi
  # The server and the helpers that wineboot starts (services, devices, the desktop) must not
  # inherit this script's output, or whoever reads it (ctest) waits for them forever.
  wineserver -p </dev/null >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/.karvenel-ready" ]; then
    echo "wine: making the prefix $WINEPREFIX (15-20 s, once)" >&2
    $WINE wineboot -i </dev/null >/dev/null 2>&1
    $WINE reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      </dev/null >/dev/null 2>&1
    touch "$WINEPREFIX/.karvenel-ready"
  elif [ $fresh = 1 ]; then
    $WINE wineboot </dev/null >/dev/null 2>&1
  fi
  # Set once Wine's desktop holds the display: an X server with no client left resets and drops
  # the token, which is right, since Wine's desktop has then left it too.
  if [ $fresh = 1 ]; then
    token="$$-$(date +%s%N)"
    xprop -root -f "$property" 8s -set "$property" "$token"
    echo "$token" >"$WINEPREFIX.display"
  fi
  flock -u "$lock"
  exec {lock}>&-
}
