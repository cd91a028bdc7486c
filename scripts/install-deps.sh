#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and any further
# packages named as arguments, asking apt only when something is missing (so a
# machine that has everything stays offline).
#
#   scripts/install-deps.sh [PACKAGE...]
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config   # the build
  libcurl4-openssl-dev               # HTTP
  qt6-base-dev                       # the window
  fonts-wqy-microhei fonts-liberation  # Chinese characters; Latin ones as wide as the original's
  libgtest-dev libcpp-httplib-dev    # the tests and their loopback servers
  clang libclang-rt-14-dev           # the sanitizer build and libFuzzer
  python3 xdg-utils                  # the demo servers; opening links in the web browser
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
