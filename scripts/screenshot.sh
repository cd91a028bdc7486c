#!/usr/bin/env bash
# Writes docs/screenshot.png: nokia-browser-demo on the demo catalogues, in a
# virtual X screen, with a model and a version chosen when xdotool can click.
#
#   scripts/screenshot.sh [OUTPUT.png]
set -euo pipefail
self=$(realpath "$0")
cd "$(dirname "$0")/.."

preset=ci
program=build/$preset/shell/nokia-browser-demo
screen=640x420x24

# Runs inside xvfb-run: start the program, wait for its first catalogue, choose
# a model and a version, grab the screen and cut the window out of it.
if [ "${1:-}" = --inside-xvfb ]; then
  output=$2 log_dir=$3 work=$4
  "$program" &
  program_pid=$!
  trap 'kill "$program_pid" 2>/dev/null || true' EXIT

  # The first category of the demo configuration comes from the mirror.
  for _ in $(seq 1 150); do
    grep -q 'GET /tools/BB5.xml' "$log_dir/mirror.log" && break
    sleep 0.1
  done
  sleep 1.5  # the list is filled after the answer; give Qt time to paint

  # Without a window manager the window is undecorated: its client area is all
  # there is. xwininfo prints "WxH+X+Y  +X+Y"; the last pair is absolute.
  geometry=$(xwininfo -root -tree | awk '/ 436x306\+/ { print $(NF-1), $NF; exit }')
  read -r size position <<<"$geometry" || true
  left=${position#+}
  left=${left%%+*}
  top=${position##*+}

  if command -v xdotool >/dev/null; then
    click() {
      xdotool mousemove "$((left + $1))" "$((top + $2))" click 1
      sleep 1
    }
    click 60 118  # the fifth model, which has three versions
    click 230 55  # its newest version
    click 370 55  # the first link, which only selects
    xdotool mousemove "$((left + 430))" "$((top + 20))"
    sleep 0.5
  fi

  xwd -root -silent >"$work/screen.xwd"
  xwdtopnm "$work/screen.xwd" 2>/dev/null >"$work/screen.pnm"
  if [ -n "$size" ]; then
    pnmcut -left "$left" -top "$top" -width 436 -height 306 "$work/screen.pnm" >"$work/window.pnm"
  else
    echo "warning: window not found; keeping the whole screen" >&2
    cp "$work/screen.pnm" "$work/window.pnm"
  fi
  pnmtopng -compression 9 "$work/window.pnm" >"$output"
  exit 0
fi

output=$(realpath -m "${1:-docs/screenshot.png}")

# Only this script needs a virtual screen and the image tools.
scripts/install-deps.sh xvfb xauth x11-apps x11-utils netpbm xdotool

[ -f "build/$preset/build.ninja" ] || cmake --preset "$preset"
cmake --build --preset "$preset" --target nokia-browser-demo

source demo/servers.sh
work=$(mktemp -d)
log_dir=$work/logs
trap 'stop_demo_servers; rm -rf "$work"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
start_demo_servers "$log_dir"

# A throwaway cache folder keeps the downloaded configuration out of the user's.
XDG_CACHE_HOME=$work/cache xvfb-run -a -s "-screen 0 $screen" \
  "$self" --inside-xvfb "$output" "$log_dir" "$work"
echo "Wrote $output"
