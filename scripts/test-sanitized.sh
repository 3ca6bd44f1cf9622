#!/usr/bin/env bash
# The whole test suite built and run a second time under AddressSanitizer and
# UndefinedBehaviorSanitizer (nothing recovers: the first finding fails its test), then a
# short run of every fuzz target on its seed corpus. Part of the README's test command.
# BUILD_ASAN and BUILD_FUZZ pick the build folders, FUZZ_SECONDS the time per fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD_ASAN=${BUILD_ASAN:-build-asan}
export BUILD_FUZZ=${BUILD_FUZZ:-build-fuzz}
FUZZ_SECONDS=${FUZZ_SECONDS:-20}
export FUZZ_JOBS=${FUZZ_JOBS:-2}

source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

began=$(date +%s)
phase() { echo "=== $1 ($(($(date +%s) - began)) s)"; }

# For every sanitized process, the test listing that the build runs included. Leaks are
# reported, except those inside the system's libraries that our code never frees (Qt's
# and fontconfig's caches); see the suppressions file.
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen

phase "sanitized build in $BUILD_ASAN"
cmake -S . -B "$BUILD_ASAN" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZORVEK_SANITIZE=ON > "$BUILD_ASAN.configure.log" 2>&1 ||
    { cat "$BUILD_ASAN.configure.log"; exit 1; }
cmake --build "$BUILD_ASAN"

# Every object of the project has to carry the sanitizers: a target that does not link
# zorvek_flags would run its tests without them.
unsanitized=$(grep '"command"' "$BUILD_ASAN/compile_commands.json" | grep -v -- '-fsanitize=address,undefined' || true)
if [ -n "$unsanitized" ]; then
    echo "Compiled without the sanitizers:"
    echo "$unsanitized" | sed -n 's/.* -o \([^ ]*\) .*/  \1/p'
    exit 1
fi

# The fuzz runs go ahead after a failed test, so that one run reports both.
phase "test suite under the sanitizers"
tests=0
ctest --test-dir "$BUILD_ASAN" --output-on-failure -j2 || tests=$?

phase "fuzz targets, $FUZZ_SECONDS s each"
fuzz=0
scripts/fuzz-long.sh "$FUZZ_SECONDS" || fuzz=$?

phase "done"
if [ "$tests" -ne 0 ] || [ "$fuzz" -ne 0 ]; then
    echo "Failed: $([ "$tests" -ne 0 ] && echo "sanitized tests ")$([ "$fuzz" -ne 0 ] && echo "fuzz targets")"
    exit 1
fi
