#!/usr/bin/env bash
# Checks the formatting, builds Zorvek with its tests and runs every test: the native suites
# through ctest and the package test; the program and its tests built for Windows with MinGW
# (against a Qt built once from Debian's source into the cache) and run under Wine, with its
# zip and installer; and the whole native suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer with a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}" \
    "${WINDOWS_PACKAGE_PACKAGES[@]}"

began=$SECONDS
stage() { echo "=== $1 (at $((SECONDS - began)) s)"; }

stage "formatting"
scripts/check-format.sh

BUILD=${BUILD:-build}
stage "native build, tests and package"
BUILD="$BUILD" scripts/test-native.sh

stage "Windows: the program and its tests under Wine"
ZORVEK_NATIVE_BUILD_DIR="$PWD/$BUILD" scripts/test-windows.sh
stage "Windows: the zip and the installer under Wine"
ZORVEK_NATIVE_BUILD_DIR="$PWD/$BUILD" scripts/test-windows-packages.sh

stage "sanitizers and fuzzing"
scripts/test-sanitized.sh
stage "all tests passed"
