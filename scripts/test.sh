#!/usr/bin/env bash
# Checks the formatting, builds Zorvek with its tests and runs every test: the native suites
# through ctest, the Windows registry backend built with MinGW and run under Wine, and the
# whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer with a short run of
# every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

echo "=== formatting"
scripts/check-format.sh

BUILD=${BUILD:-build}
export QT_QPA_PLATFORM=offscreen
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug
cmake --build "$BUILD"
ctest --test-dir "$BUILD" --output-on-failure -j2
BUILD="$BUILD" scripts/test-package.sh

echo "=== registry backend under Wine"
ZORVEK_NATIVE_BUILD_DIR="$PWD/$BUILD" scripts/test-registry-windows.sh

echo "=== sanitizers and fuzzing"
scripts/test-sanitized.sh
