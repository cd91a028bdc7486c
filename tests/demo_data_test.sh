#!/bin/sh
# The demo data must stay readable by the browser: every catalogue well formed,
# the configuration giving configured mode, and the primary's BB5.xml short
# enough that the browser turns to the mirror for it.
#
#   sh tests/demo_data_test.sh NOKIA-CATALOGUE DEMO-FOLDER
set -u
tool=$1
demo=$2
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

checked=0
for catalogue in "$demo"/mirror/tools/*.xml "$demo"/primary/tools/DCT4.xml \
  "$demo"/primary/tools/PHOENIX.xml "$demo"/primary/tools/CS.xml \
  "$demo"/primary/catalogues/s40-language.xml; do
  if [ ! -f "$catalogue" ]; then
    fail "$catalogue is missing"
    continue
  fi
  checked=$((checked + 1))
  result=$("$tool" check "$catalogue")
  case $result in
    "ok: 0 models") fail "$catalogue has no models" ;;
    ok:*) echo "$catalogue: $result" ;;
    *) fail "$catalogue: $result" ;;
  esac
done
[ "$checked" -ge 5 ] || fail "only $checked catalogues found under $demo"

# The 4 built-in catalogues of the mirror are the ones built-in mode falls back to.
for name in BB5 PHOENIX DCT4 CS; do
  [ -f "$demo/mirror/tools/$name.xml" ] || fail "mirror has no /tools/$name.xml"
done

short=$demo/primary/tools/BB5.xml
if [ -f "$short" ]; then
  size=$(wc -c <"$short")
  [ "$size" -lt 10 ] || fail "$short is $size bytes; it must stay under 10 to make the mirror answer"
else
  fail "$short is missing"
fi

for config in "$demo"/primary/tools/config.ini "$demo"/mirror/tools/config.ini; do
  if ! sources=$("$tool" sources "$config"); then
    fail "$config: sources failed"
    continue
  fi
  first=$(printf '%s\n' "$sources" | head -n 1)
  categories=$(printf '%s\n' "$sources" | sed 1d | grep -c .)
  if [ "$first" != "mode 1" ]; then
    fail "$config gives '$first', not configured mode"
  elif [ "$categories" -lt 4 ]; then
    fail "$config names $categories categories, fewer than 4"
  else
    echo "$config: mode 1, $categories categories"
  fi
  # Every configured address is one of the two demo servers.
  if printf '%s\n' "$sources" | sed 1d | cut -f3 | tr ',' '\n' | grep . |
    grep -v -e '^http://127\.0\.0\.1:18936/' -e '^http://127\.0\.0\.1:18937/'; then
    fail "$config names an address outside the demo servers"
  fi
done

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "demo data is readable"
