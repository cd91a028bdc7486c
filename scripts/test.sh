#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the whole suite with
# GCC, then the same suites under AddressSanitizer and UndefinedBehaviorSanitizer
# with clang, together with a bounded libFuzzer run against the reader, then
# the native Windows build, cross-compiled with mingw-w64 and tested under Wine
# in a virtual X screen.
set -euo pipefail
cd "$(dirname "$0")/.."

# Beyond the Linux build's packages: the cross compiler, GoogleTest's sources
# for it, Wine and the virtual X screen its windows open on.
scripts/install-deps.sh g++-mingw-w64-x86-64-posix googletest wine64 xvfb xauth

cmake --preset ci
cmake --build --preset ci
ctest --preset ci

cmake --preset asan
cmake --build --preset asan
ctest --preset asan

# The Windows tests fetch from servers that the Linux build's programs run.
cmake --preset windows
cmake --build --preset windows
ctest --preset windows
