#!/usr/bin/env bash
# Builds Qt for 64-bit Windows with MinGW-w64 from Debian's own source packages of the host
# Qt's exact version, and installs it into a cache folder outside the checkout:
#   ${XDG_CACHE_HOME:-$HOME/.cache}/zorvek/qt-<version>-mingw64
# The host Qt (Debian's qt6-base-dev) gives the tools (moc, rcc, uic) of the cross build.
# Only what Zorvek and its tests use is built: Core, Gui, Widgets, Network, Test, the windows
# and offscreen platforms, the JPEG image plugin and the windowsvista style: the modules of
# qtbase. (The tests' HTTP server and the sample host's serve on QTcpServer, so no other
# Qt module is needed.)
#
# A stamp in the install folder records the version and the options; with the stamp in place
# the script does nothing. Prints the install folder last.
#
# The source packages come through apt with a configuration of its own in a scratch folder:
# a deb-src entry with the address and suites of the machine's own apt sources, its own lists
# and cache. The machine's apt configuration is left as it is.
#
# Needs (Debian): qt6-base-dev g++-mingw-w64-x86-64-posix
# cmake ninja-build dpkg-dev
set -euo pipefail

jobs="${ZORVEK_JOBS:-$(nproc)}"
cache_root="${XDG_CACHE_HOME:-$HOME/.cache}/zorvek"
started=$SECONDS
log() { printf '== %s (%ds)\n' "$*" "$((SECONDS - started))" >&2; }
die() { echo "build-qt-windows: $*" >&2; exit 1; }

# The host Qt's Debian version, e.g. 6.4.2+dfsg-10, and its upstream part, e.g. 6.4.2.
host_version="$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null)" ||
    die "the host Qt (qt6-base-dev) is not installed"
upstream="${host_version#*:}"
upstream="${upstream%%[+~-]*}"
modules=(qt6-base)
host_packages=(qt6-base-dev)

# Debian's +dfsg source leaves out the tablet headers of the windows platform, hence no tablet
# events. (Direct2D stays on: without it 6.4's windows platform plugin does not link.)
features=(-no-opengl -no-dbus -no-feature-sql -no-feature-printsupport -no-feature-concurrent
    -no-feature-xml -no-feature-tabletevent -no-feature-vulkan -no-feature-gif -no-feature-ico
    -schannel -no-openssl)
thirdparty=(-qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-harfbuzz -qt-freetype)
compiler="$(x86_64-w64-mingw32-g++-posix -dumpfullversion 2>/dev/null)" ||
    die "the MinGW-w64 compiler (g++-mingw-w64-x86-64-posix) is not installed"

prefix="$cache_root/qt-$upstream-mingw64"
stamp="$prefix/zorvek-qt.stamp"
stamp_text="$(printf 'qt %s\nsources %s\nmodules %s\ncompiler x86_64-w64-mingw32-g++-posix %s\noptions %s\n' \
    "$host_version" "${modules[*]}" "Core Gui Widgets Network Test" "$compiler" \
    "-release -shared ${features[*]} ${thirdparty[*]}")"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$stamp_text" ]; then
    echo "$prefix"
    exit 0
fi

# The build folder of an interrupted build with the same options is taken up where it stopped.
work="$cache_root/qt-$upstream-mingw64-build"
resume=false
if [ -f "$work/options" ] && [ "$(cat "$work/options")" = "$stamp_text" ] && [ -f "$work/qtbase/build.ninja" ]; then
    resume=true
else
    rm -rf "$work"
fi
rm -rf "$prefix"
mkdir -p "$work" "$prefix"

# The cross toolchain of the Qt build, kept in the cache: Qt's own toolchain file chains to it.
toolchain="$cache_root/qt-$upstream-mingw64-toolchain.cmake"
cat >"$toolchain" <<'EOF'
# MinGW-w64 (Debian's posix-thread GCC) for 64-bit Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
find_program(CMAKE_C_COMPILER NAMES x86_64-w64-mingw32-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES x86_64-w64-mingw32-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES x86_64-w64-mingw32-windres REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF

source_dir() { find "$work/src" -maxdepth 1 -mindepth 1 -type d -name "$1-*" | head -1; }
if ! $resume; then
    # --- An apt configuration of our own with deb-src entries for the machine's archive --------
    source "$(dirname "${BASH_SOURCE[0]}")/apt-sources.sh"
    [ -n "$codename" ] || die "cannot tell the release's code name from /etc/os-release"

    apt_dir="$work/apt"
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d"
    : >"$apt_dir/sources.list"
    while read -r line; do
        entry="${line%%|*}"
        key="$(echo "${line#*|}" | xargs)"
        if [ -n "$key" ]; then
            echo "deb-src [signed-by=$key] $entry" >>"$apt_dir/sources.list"
        else
            echo "deb-src $entry" >>"$apt_dir/sources.list"
        fi
    done < <(machine_sources | sort -u)
    [ -s "$apt_dir/sources.list" ] || die "no apt source of the release '$codename' in the machine's apt sources"

    apt_options=(-o "Dir::Etc::sourcelist=$apt_dir/sources.list" -o "Dir::Etc::sourceparts=$apt_dir/sources.list.d"
        -o "Dir::State::lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o "Dir::State::status=/var/lib/dpkg/status"
        -o "APT::Sandbox::User=root" -o "Debug::NoLocking=1")
    log "source lists of the machine's archive ($(wc -l <"$apt_dir/sources.list") entries)"
    apt-get "${apt_options[@]}" update >"$work/apt-update.log" 2>&1 || { cat "$work/apt-update.log" >&2; die "apt-get update failed"; }

    # Each module's source of exactly the host module's version.
    mkdir -p "$work/src"
    for i in "${!modules[@]}"; do
        source_package="${modules[$i]}"
        version="$(dpkg-query -W -f='${Version}' "${host_packages[$i]}" 2>/dev/null)" ||
            die "${host_packages[$i]} is not installed: the host's $source_package is needed as the build's tools"
        module_upstream="${version#*:}"
        module_upstream="${module_upstream%%[+~-]*}"
        if [ "$module_upstream" != "$upstream" ]; then
            die "${host_packages[$i]} $version is not of the host Qt's version $host_version"
        fi
        log "source of $source_package $version"
        (cd "$work/src" && apt-get "${apt_options[@]}" source "$source_package=$version" >"$work/source-$source_package.log" 2>&1) || {
            tail -5 "$work/source-$source_package.log" >&2
            die "the archive has no source $source_package of version $version (the host Qt's)"
        }
    done

    qtbase_src="$(source_dir qt6-base)"
    [ -f "$qtbase_src/configure" ] || die "no qtbase source tree in $work/src"
    source_upstream="$(sed -n 's/^set(QT_REPO_MODULE_VERSION "\(.*\)")/\1/p' "$qtbase_src/.cmake.conf")"
    [ "$source_upstream" = "$upstream" ] || die "the source is Qt $source_upstream, the host Qt is $upstream"

    log "configuring qtbase $upstream for Windows"
    mkdir -p "$work/qtbase"
    (cd "$work/qtbase" && "$qtbase_src/configure" -prefix "$prefix" -release -shared -xplatform win32-g++ \
        -qt-host-path /usr -nomake examples -nomake tests "${thirdparty[@]}" "${features[@]}" \
        -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake) >"$work/qtbase-configure.log" 2>&1 || {
        tail -30 "$work/qtbase-configure.log" >&2
        die "qtbase's configure failed (log: $work/qtbase-configure.log)"
    }
    echo "$stamp_text" >"$work/options"
else
    log "taking up the build in $work"
fi
qtbase_src="$(source_dir qt6-base)"
log "building qtbase (${jobs} jobs; about 25 minutes on two cores)"
cmake --build "$work/qtbase" --parallel "$jobs" >>"$work/qtbase-build.log" 2>&1 || {
    tail -30 "$work/qtbase-build.log" >&2
    die "qtbase's build failed (log: $work/qtbase-build.log); run again to take it up"
}
cmake --install "$work/qtbase" >"$work/qtbase-install.log" 2>&1

# What the build was made from, for the licence notes of the Windows packages.
for module in "${modules[@]}"; do
    src="$(source_dir "$module")"
    echo "$module $(cd "$src" && dpkg-parsechangelog -S Version)"
    cp "$src/debian/copyright" "$prefix/$module.copyright"
done >"$prefix/zorvek-qt-sources.txt"
cp "$qtbase_src/LICENSES/LGPL-3.0-only.txt" "$prefix/LGPL-3.0-only.txt" 2>/dev/null ||
    cp "$qtbase_src/LICENSE.LGPL3" "$prefix/LGPL-3.0-only.txt" 2>/dev/null || true
cp "$qtbase_src/LICENSES/GPL-3.0-only.txt" "$prefix/GPL-3.0-only.txt" 2>/dev/null || true

rm -rf "$work"
echo "$stamp_text" >"$stamp"
log "Qt $upstream for Windows installed"
echo "$prefix"
