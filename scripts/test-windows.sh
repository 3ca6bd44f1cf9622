#!/usr/bin/env bash
# Builds Zorvek and its tests for Windows (scripts/build-windows.sh's build folder, with the
# tests) and runs every test executable under Wine, offscreen, in a fresh Wine prefix of its
# own set to Windows 10. The registry tests run three times as before: every case on
# advapi32, then a dump of what advapi32 returns for what they wrote, then the native tests
# read the files that Wine wrote into the prefix and compare them with the dump.
# Prints "N passed, N failed" last.
#
# Usage: scripts/test-windows.sh     ($BUILD_WINDOWS: the build folder, default build-windows)
# ZORVEK_NATIVE_BUILD_DIR may name a configured native build whose registry_tests is used for
# the comparison instead of a registry-only native build of its own.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath -m "${BUILD_WINDOWS:-$repo/build-windows}")"
source "$repo/scripts/windows-common.sh"
started=$SECONDS

qt="$(windows_qt)"
gtest="$(windows_gtest)"
windows_log "configuring the Windows build with its tests in $build"
windows_configure "$qt" -DZORVEK_BUILD_TESTS=ON -DGTest_DIR="$gtest"
windows_log "building"
cmake --build "$build"

windows_log "building the native registry tests"
if [ -n "${ZORVEK_NATIVE_BUILD_DIR:-}" ]; then
    native_build="$ZORVEK_NATIVE_BUILD_DIR"
else
    native_build="$build/native-registry"
    cmake -S "$repo" -B "$native_build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZORVEK_REGISTRY_ONLY=ON \
        -DZORVEK_BUILD_TESTS=ON >/dev/null
fi
cmake --build "$native_build" --target registry_tests
native_tests="$native_build/tests/registry/registry_tests"

scratch="$(mktemp -d "${TMPDIR:-/tmp}/zorvek-windows-tests.XXXXXX")"
cleanup() {
    windows_stop_prefix
    rm -rf "$scratch"
}
trap cleanup EXIT
windows_log "starting a Wine prefix set to Windows 10 in $scratch/prefix"
windows_prefix "$scratch/prefix" "$qt"
# The expansion cases of the registry tests use this variable.
export ZORVEK_TEST_DIR='C:\zorvek-test'

# Web addresses that the program opens go through the shell to Wine's winebrowser, which runs
# the browsers its registry names: here a script that records the address it was given, so no
# test opens a real browser and the link test reads what arrived.
browser="$scratch/record-browser"
export ZORVEK_TEST_BROWSER_RECORD_UNIX="$scratch/browser-record.txt"
cat >"$browser" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$@" >"$ZORVEK_TEST_BROWSER_RECORD_UNIX.part" && mv "$ZORVEK_TEST_BROWSER_RECORD_UNIX.part" "$ZORVEK_TEST_BROWSER_RECORD_UNIX"
SCRIPT
chmod +x "$browser"
"$wine_cmd" reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /t REG_SZ /d "$browser" /f >/dev/null 2>&1
"$wine_cmd" reg add 'HKCU\Software\Wine\WineBrowser' /v Mailers /t REG_SZ /d "$browser" /f >/dev/null 2>&1
ZORVEK_TEST_BROWSER_RECORD="$(windows_path "$ZORVEK_TEST_BROWSER_RECORD_UNIX")"
export ZORVEK_TEST_BROWSER_RECORD

passed=0
failed=0
skipped=0
# Adds up one GoogleTest run's summary: of the cases it ran, those neither passed nor skipped
# failed. A run without a summary (a crash) counts as one failure.
count() {
    local output="$1" status="$2" r p s
    r="$(sed -n 's/^\[==========\] \([0-9]*\) tests\{0,1\} from .* ran\..*/\1/p' "$output" | tail -1)"
    p="$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$output" | tail -1)"
    s="$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) test.*/\1/p' "$output" | tail -1)"
    passed=$((passed + ${p:-0}))
    skipped=$((skipped + ${s:-0}))
    if [ -n "$r" ]; then
        failed=$((failed + r - ${p:-0} - ${s:-0}))
    fi
    if [ "$status" -ne 0 ] && { [ -z "$r" ] || [ "$r" -eq "${p:-0}" ]; }; then
        failed=$((failed + 1))
    fi
}
run() {
    local name="$1" status=0
    shift
    windows_log "$name"
    "$@" >"$build/$name.log" 2>&1 || status=$?
    grep -E '^\[  (FAILED|SKIPPED) |Failure$|^\[==========\]|^\[  PASSED  \]' "$build/$name.log" || true
    count "$build/$name.log" "$status"
}

for area in common serverlist query widgets search launch app hardening samplehost; do
    run "$area" "$wine_cmd" "$build/tests/$area/${area}_tests.exe" --gtest_brief=1
done

# The registry: every case on advapi32 (they leave their keys in the prefix), then what
# advapi32 returns for all they wrote, into a file inside the prefix.
registry_tests="$build/tests/registry/registry_tests.exe"
run registry-advapi32 "$wine_cmd" "$registry_tests" --gtest_brief=1 --gtest_filter='-AdvapiDump.*'
ZORVEK_REGISTRY_DUMP='C:\zorvek-registry-dump.txt' \
    run registry-dump "$wine_cmd" "$registry_tests" --gtest_brief=1 --gtest_filter='AdvapiDump.*'
# Wine writes its registry files when its server ends.
windows_stop_prefix
ZORVEK_WINE_PREFIX="$WINEPREFIX" ZORVEK_REGISTRY_DUMP="$WINEPREFIX/drive_c/zorvek-registry-dump.txt" \
    run registry-native-on-wine-prefix "$native_tests" --gtest_brief=1

windows_log "done in $((SECONDS - started)) s"
echo "windows: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
