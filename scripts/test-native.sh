#!/usr/bin/env bash
# The native part of the README's test command: builds Zorvek with its tests in $BUILD
# (default build), runs every test executable through ctest, and runs the package test
# (scripts/test-package.sh). Also what the Debian 13 run does inside its root.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${NATIVE_TEST_PACKAGES[@]}"

BUILD=${BUILD:-build}
export QT_QPA_PLATFORM=offscreen
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug
cmake --build "$BUILD"
ctest --test-dir "$BUILD" --output-on-failure -j2
BUILD="$BUILD" scripts/test-package.sh
