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
    fi
  ) 9>"$WINEPREFIX.lock"
fi

exec timeout "${NB_WINE_TIMEOUT:-600}" "$wine" "$@"
