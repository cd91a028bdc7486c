#!/usr/bin/env bash
# Builds nokia-browser-demo and runs it against the bundled demo catalogues:
# demo/primary on 127.0.0.1:18936 and demo/mirror on 127.0.0.1:18937, the two
# servers the demo program has compiled in. The servers stop when the window
# closes, also after Ctrl+C.
#
#   scripts/run-demo.sh             # the servers' configuration names the categories
#   scripts/run-demo.sh --builtin   # no configuration: the four built-in categories
#   scripts/run-demo.sh --windows   # nokia-browser-demo.exe, the Win32 program, under Wine
set -euo pipefail
self=$(realpath "$0")
cd "$(dirname "$0")/.."

server_options=()
windows=false
for argument in "$@"; do
  case $argument in
    --builtin) server_options=(--no-config) ;;
    --windows) windows=true ;;
    -h | --help)
      sed -n '2,9s/^# \{0,1\}//p' "$self"
      exit 0
      ;;
    *)
      echo "usage: scripts/run-demo.sh [--builtin] [--windows]" >&2
      exit 2
      ;;
  esac
done

if [ "$windows" = true ]; then
  scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine64
  preset=windows
  [ -f "build/$preset/build.ninja" ] || cmake --preset "$preset"
  cmake --build --preset "$preset" --target nokia-browser-demo
  program=(cmake/wine-run.sh "build/$preset/wine-prefix-demo" "build/$preset/shell/win32/nokia-browser-demo.exe")
else
  scripts/install-deps.sh
  preset=ci
  # Configure once; later builds re-run CMake by themselves when a list file changes.
  [ -f "build/$preset/build.ninja" ] || cmake --preset "$preset"
  cmake --build --preset "$preset" --target nokia-browser-demo
  program=("build/$preset/shell/nokia-browser-demo")
fi

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "error: no display (neither DISPLAY nor WAYLAND_DISPLAY is set);" \
    "run it from a desktop session, or try scripts/screenshot.sh" >&2
  exit 1
fi

source demo/servers.sh
trap stop_demo_servers EXIT
# Ctrl+C reaches the program and this script alike; leave through the EXIT trap.
trap 'exit 130' INT
trap 'exit 143' TERM
start_demo_servers "build/$preset/demo-logs" ${server_options[@]+"${server_options[@]}"}

status=0
"${program[@]}" || status=$?
exit "$status"
