#!/usr/bin/env bash
# Builds Zorvek with its tests and runs every test: the native suites through ctest,
# then the Windows registry backend built with MinGW and run under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

BUILD=${BUILD:-build}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug
cmake --build "$BUILD"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$BUILD" --output-on-failure -j2

if [ -x scripts/test-registry-windows.sh ]; then
    scripts/test-registry-windows.sh
fi
