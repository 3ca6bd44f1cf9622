#!/usr/bin/env bash
# Makes the Windows packages of Zorvek with CPack: a portable zip (zorvek-<version>-win64.zip,
# the levelshots folder beside the program) and a 64-bit NSIS installer
# (zorvek-<version>-win64-setup.exe). Builds what scripts/build-windows.sh builds, in its own
# build folder ($BUILD_WINDOWS, default build-windows-package). Prints the installer's path,
# then the zip's, last.
#
# Usage: scripts/package-windows.sh [--demo] -DZORVEK_LIST_HOST=HOST -DZORVEK_WEB_ADDRESS=ADDRESS
# A package for users names a real list host: with the bundled sample host on loopback (the
# default setting) the script refuses, unless --demo asks for a demo package, whose file
# names say demo.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath -m "${BUILD_WINDOWS:-$repo/build-windows-package}")"
source "$repo/scripts/windows-common.sh"
source "$repo/scripts/list-host.sh"
demo=OFF
if [ "${1:-}" = "--demo" ]; then
    demo=ON
    shift
fi

qt="$(windows_qt)"
source "$repo/scripts/packages.sh"
"$repo/scripts/ensure-packages.sh" "${WINDOWS_PACKAGE_PACKAGES[@]}" >&2
windows_log "configuring the Windows build in $build"
windows_configure "$qt" -DZORVEK_DEMO_PACKAGE=$demo "$@"
host="$(configured_list_host "$build")"
if [ "$demo" = OFF ] && is_loopback_list_host "$host"; then
    refuse_loopback_list_host "$host" scripts/package-windows.sh
fi
windows_log "building zorvek.exe"
cmake --build "$build" --target zorvek >&2

out="$build/package"
rm -rf "$out"
mkdir -p "$out"
(cd "$build" && cpack -B "$out" >"$out/cpack.log" 2>&1) || {
    cat "$out/cpack.log" >&2
    echo "cpack failed" >&2
    exit 1
}
setup=("$out"/zorvek-*-win64-setup.exe)
zip=("$out"/zorvek-*-win64.zip)
[ -f "${setup[0]}" ] && [ -f "${zip[0]}" ] || { cat "$out/cpack.log" >&2; echo "cpack made no installer or zip" >&2; exit 1; }
realpath "${setup[0]}"
realpath "${zip[0]}"
