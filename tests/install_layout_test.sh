#!/bin/sh
# Installs a build into a throw-away prefix and checks every file a package
# needs is there, so a rule dropped from an install() call is noticed here
# rather than by a packager.
#   install_layout_test.sh CMAKE BUILD_DIR PROGRAM...
set -eu

if [ "$#" -lt 3 ]; then
  echo "usage: install_layout_test.sh CMAKE BUILD_DIR PROGRAM..." >&2
  exit 2
fi
cmake=$1
build_dir=$2
shift 2

stage=$(mktemp -d "${TMPDIR:-/tmp}/nb-install.XXXXXX")
trap 'rm -rf "$stage"' EXIT
trap 'exit 1' INT TERM

# An inherited DESTDIR would send the files somewhere outside the stage.
DESTDIR='' "$cmake" --install "$build_dir" --prefix "$stage" >/dev/null

failures=0
fail() {
  echo "missing or wrong: $1" >&2
  failures=$((failures + 1))
}

for program in "$@"; do
  if [ ! -f "$stage/bin/$program" ] || [ ! -x "$stage/bin/$program" ]; then
    fail "bin/$program (an executable file)"
  fi
done
if [ -e "$stage/bin/nokia-browser-demo" ]; then
  fail "bin/nokia-browser-demo (the demo build is not to be installed)"
fi

desktop="$stage/share/applications/nokia-browser.desktop"
if [ ! -s "$desktop" ] || ! grep -qx 'Exec=nokia-browser' "$desktop"; then
  fail "share/applications/nokia-browser.desktop"
fi

for size in 32 48 64 128 256; do
  icon="share/icons/hicolor/${size}x${size}/apps/nokia-browser.png"
  # Bytes 2 to 4 of the PNG signature, so an empty or foreign file fails.
  if [ ! -s "$stage/$icon" ] || [ "$(head -c 4 "$stage/$icon" | tail -c 3)" != "PNG" ]; then
    fail "$icon"
  fi
done
svg="share/icons/hicolor/scalable/apps/nokia-browser.svg"
if [ ! -s "$stage/$svg" ] || ! grep -q '<svg' "$stage/$svg"; then
  fail "$svg"
fi

if [ "$failures" -ne 0 ]; then
  echo "installed files:" >&2
  (cd "$stage" && find . -type f | sort) >&2
  exit 1
fi
echo "install layout ok"
