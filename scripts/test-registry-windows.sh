#!/usr/bin/env bash
# Builds the registry tests for Windows with MinGW and runs them under Wine in a fresh prefix:
# first every case on advapi32 itself, then the native tests read the files that Wine wrote
# into that prefix with the Wine prefix reader and compare them with what advapi32 returned.
#
# Usage: scripts/test-registry-windows.sh [build-folder]     (default: build-mingw in the repository)
# Needs (Debian): wine wine64 g++-mingw-w64-x86-64-posix googletest libgtest-dev cmake ninja-build g++
# ZORVEK_NATIVE_BUILD_DIR may name a configured native build whose registry_tests target is used
# instead of a registry-only native build of its own.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath -m "${1:-$repo/build-mingw}")"
jobs="${ZORVEK_JOBS:-2}"
started=$SECONDS

wine_cmd="$(command -v wine || true)"
[ -n "$wine_cmd" ] || wine_cmd=/usr/lib/wine/wine64
wineserver_cmd="$(command -v wineserver || true)"
[ -n "$wineserver_cmd" ] || wineserver_cmd=/usr/lib/wine/wineserver
for tool in "$wine_cmd" "$wineserver_cmd" x86_64-w64-mingw32-g++-posix cmake ninja; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 2; }
done
[ -f /usr/src/googletest/CMakeLists.txt ] || { echo "missing: /usr/src/googletest (Debian googletest)" >&2; exit 2; }

log() { printf '== %s (%ds)\n' "$*" "$((SECONDS - started))"; }
mkdir -p "$build"

# GoogleTest built with the cross compiler, once per build folder.
gtest_install="$build/googletest-install"
if [ ! -f "$gtest_install/lib/cmake/GTest/GTestConfig.cmake" ]; then
    log "building GoogleTest with MinGW"
    cmake -S /usr/src/googletest -B "$build/googletest" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$gtest_install" >"$build/googletest.log"
    cmake --build "$build/googletest" -j"$jobs" >>"$build/googletest.log"
    cmake --install "$build/googletest" >>"$build/googletest.log"
fi

log "building the Windows registry tests"
cmake -S "$repo" -B "$build/windows" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Debug -DZORVEK_REGISTRY_ONLY=ON -DZORVEK_BUILD_TESTS=ON \
    -DGTest_DIR="$gtest_install/lib/cmake/GTest" >/dev/null
cmake --build "$build/windows" --target registry_tests -j"$jobs"
windows_tests="$build/windows/tests/registry/registry_tests.exe"

log "building the native registry tests"
if [ -n "${ZORVEK_NATIVE_BUILD_DIR:-}" ]; then
    native_build="$ZORVEK_NATIVE_BUILD_DIR"
else
    native_build="$build/native"
    cmake -S "$repo" -B "$native_build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZORVEK_REGISTRY_ONLY=ON \
        -DZORVEK_BUILD_TESTS=ON >/dev/null
fi
cmake --build "$native_build" --target registry_tests -j"$jobs"
native_tests="$native_build/tests/registry/registry_tests"

prefix="$(mktemp -d "${TMPDIR:-/tmp}/zorvek-wine.XXXXXX")"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The expansion cases use this variable; Wine hands the Unix environment to Windows programs.
export ZORVEK_TEST_DIR='C:\zorvek-test'
cleanup() {
    "$wineserver_cmd" -k >/dev/null 2>&1 || true
    rm -rf "$prefix"
}
trap cleanup EXIT

log "creating a fresh Wine prefix in $prefix"
"$wine_cmd" wineboot --init >/dev/null 2>&1
"$wineserver_cmd" -w

passed=0
failed=0
# Adds up one GoogleTest run's summary; a run without one (a crash) counts as one failure.
count() {
    local output="$1" status="$2" p f
    p="$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$output" | tail -1)"
    f="$(sed -n 's/^ *\([0-9]*\) FAILED TESTS\{0,1\}$/\1/p' "$output" | tail -1)"
    passed=$((passed + ${p:-0}))
    if [ -n "$f" ]; then
        failed=$((failed + f))
    elif [ "$status" -ne 0 ] || [ -z "$p" ]; then
        failed=$((failed + 1))
    fi
}
run() {
    local name="$1" status=0
    shift
    log "$name"
    "$@" >"$build/$name.log" 2>&1 || status=$?
    grep -E '^\[  (FAILED|SKIPPED) |Failure$|^\[==========\]|^\[  PASSED  \]' "$build/$name.log" || true
    count "$build/$name.log" "$status"
}

# 1. Every case on advapi32 under Wine; the cases leave their keys in the prefix.
run windows-cases "$wine_cmd" "$windows_tests" --gtest_brief=1 --gtest_filter='-AdvapiDump.*'
# 2. What advapi32 returns for everything the cases wrote, into a file inside the prefix.
ZORVEK_REGISTRY_DUMP='C:\zorvek-registry-dump.txt' \
    run windows-dump "$wine_cmd" "$windows_tests" --gtest_brief=1 --gtest_filter='AdvapiDump.*'
# Wine writes its registry files when its server ends.
"$wineserver_cmd" -w
# 3. The native tests again, now also on that prefix, and the comparison with the dump.
ZORVEK_WINE_PREFIX="$prefix" ZORVEK_REGISTRY_DUMP="$prefix/drive_c/zorvek-registry-dump.txt" \
    run native-on-wine-prefix "$native_tests" --gtest_brief=1

log "done"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
