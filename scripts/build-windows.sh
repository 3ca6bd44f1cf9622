#!/usr/bin/env bash
# Builds Zorvek for 64-bit Windows in Release with MinGW-w64 and the Qt for Windows that
# scripts/build-qt-windows.sh builds from Debian's source (built first when its cache is
# missing), and lays it out in a folder where it runs as it stands: zorvek.exe with the
# libraries and plugins it loads and the empty levelshots folders beside it. Prints the path
# of that zorvek.exe last.
#
# Usage: scripts/build-windows.sh [cmake options]      (e.g. -DZORVEK_LIST_HOST=lists.example.cz)
# The build folder is build-windows in the checkout, or $BUILD_WINDOWS.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath -m "${BUILD_WINDOWS:-$repo/build-windows}")"
source "$repo/scripts/windows-common.sh"

qt="$(windows_qt)"
windows_log "configuring the Windows build in $build"
windows_configure "$qt" "$@"
windows_log "building zorvek.exe"
cmake --build "$build" --target zorvek
layout="$build/dist/zorvek"
rm -rf "$layout"
# The program with its libraries, and the levelshots folder beside it (a portable copy).
for component in Unspecified portable; do
    cmake --install "$build" --prefix "$layout" --component "$component" >>"$build/install.log"
done
windows_log "laid out in $layout"
echo "$layout/zorvek.exe"
