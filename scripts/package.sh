#!/usr/bin/env bash
# Builds the Debian package of Zorvek: scripts/package.sh [--demo] [cmake options]. The build
# folder is $BUILD (default build-package, a Release build); a folder that is configured
# already keeps its build type and is only brought up to date. Prints the .deb's path last.
#
# A package for users names a real list host: with the bundled sample host on loopback (the
# default setting) the script refuses, unless --demo asks for a demo package, whose version
# and file name say demo.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
source scripts/list-host.sh
demo=OFF
if [ "${1:-}" = "--demo" ]; then
    demo=ON
    shift
fi
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"

BUILD=${BUILD:-build-package}
if [ -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S . -B "$BUILD" -DZORVEK_DEMO_PACKAGE=$demo "$@" >/dev/null
else
    cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORVEK_BUILD_TESTS=OFF \
        -DZORVEK_DEMO_PACKAGE=$demo "$@" >/dev/null
fi
host="$(configured_list_host "$BUILD")"
if [ "$demo" = OFF ] && is_loopback_list_host "$host"; then
    refuse_loopback_list_host "$host" scripts/package.sh
fi
cmake --build "$BUILD" --target zorvek zorvek_documents >/dev/null

out="$BUILD/package"
rm -rf "$out"
mkdir -p "$out"
(cd "$BUILD" && cpack -G DEB -B "$PWD/package" >package/cpack.log 2>&1) || {
    cat "$out/cpack.log" >&2
    echo "cpack failed" >&2
    exit 1
}
debs=("$out"/zorvek_*.deb)
[ -f "${debs[0]}" ] || { cat "$out/cpack.log" >&2; echo "cpack made no .deb" >&2; exit 1; }
realpath "${debs[0]}"
