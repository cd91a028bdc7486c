#!/bin/sh
# Runs a cross-built Windows program under Wine, for CTest and test discovery:
#   wine-run.sh WINEPREFIX PROGRAM [ARGUMENT...]
# The prefix is private to the build tree so that test runs never touch the
# user's own Wine set-up, and it is created on first use. Mono and Gecko are
# overridden away: wineboot would otherwise try to download them, which hangs
# without network and is never needed by console programs.
set -eu

if [ "$#" -lt 2 ]; then
  echo "usage: $0 WINEPREFIX PROGRAM [ARGUMENT...]" >&2
  exit 2
fi
prefix=$1
shift

wine=${NB_WINE:-}
if [ -z "$wine" ]; then
  for candidate in wine64 wine /usr/lib/wine/wine64; do
    if command -v "$candidate" >/dev/null 2>&1; then
      wine=$(command -v "$candidate")
      break
    fi
  done
fi
if [ -z "$wine" ]; then
  echo "$0: no wine64 or wine found" >&2
  exit 127
fi

WINEPREFIX=$(mkdir -p "$prefix" && cd "$prefix" && pwd)
# Wine links the user's folders into the prefix from the home folder.
if [ -z "${HOME:-}" ]; then
  HOME=$WINEPREFIX
  export HOME
fi
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree=;mshtml="
WINEARCH=win64
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES WINEARCH

# Tests run side by side; the lock keeps two of them from booting the same
# prefix at once.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      timeout "${NB_WINEBOOT_TIMEOUT:-180}" "$wine" wineboot --init >/dev/null 2>&1 || {
        echo "$0: wineboot --init failed or timed out in $WINEPREFIX" >&2
        exit 1
      }
      (cd "$(dirname "$0")" && timeout 60 "$wine" regedit /S wine-prefix.reg) || {
        echo "$0: could not apply wine-prefix.reg in $WINEPREFIX" >&2
        exit 1
      }
      # The boot's session has no display; a session started later with one
      # would keep using the boot's desktop and fail to create windows.
      wineserver=$(dirname "$wine")/wineserver
      [ -x "$wineserver" ] || wineserver=$(command -v wineserver || true)
      if [ -n "$wineserver" ]; then
        timeout 60 "$wineserver" -w || true
      fi
    fi
  ) 9>"$WINEPREFIX.lock"
fi

# Windows with a window need a display. Without one, a private Xvfb server
# is started for this run; the server number is spread by process id so that
# tests started side by side do not race for the same one.
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null 2>&1; then
  exec timeout "${NB_WINE_TIMEOUT:-600}" xvfb-run -a -n $((100 + $$ % 400)) \
    -s "-screen 0 1024x768x24" "$wine" "$@"
fi
exec timeout "${NB_WINE_TIMEOUT:-600}" "$wine" "$@"
