#!/usr/bin/env bash
# Builds the Debian package of Zorvek: scripts/package.sh [cmake options]. The build folder
# is $BUILD (default build-package, a Release build); a folder that is configured already
# keeps its build type and is only brought up to date. Prints the .deb's path last.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"

BUILD=${BUILD:-build-package}
if [ -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S . -B "$BUILD" "$@" >/dev/null
else
    cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORVEK_BUILD_TESTS=OFF "$@" >/dev/null
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
