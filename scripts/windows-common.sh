#!/usr/bin/env bash
# Sourced by the Windows scripts: the Qt for Windows, the MinGW build of GoogleTest, the
# configured Windows build, and a Wine prefix of the run's own with Qt's variables.
# Expects $repo (the checkout) and $build (the Windows build folder).

windows_log() { printf '== %s (%ds)\n' "$*" "$SECONDS" >&2; }

# Installs what a Windows build needs and prints the folder of the Qt for Windows (built
# once into the cache).
windows_qt() {
    source "$repo/scripts/packages.sh"
    "$repo/scripts/ensure-packages.sh" "${BUILD_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}" >&2
    "$repo/scripts/build-qt-windows.sh" | tail -1
}

# GoogleTest built with the cross compiler, once per build folder; prints its CMake folder.
windows_gtest() {
    local install="$build/googletest-install"
    mkdir -p "$build"
    if [ ! -f "$install/lib/cmake/GTest/GTestConfig.cmake" ]; then
        windows_log "building GoogleTest with MinGW"
        cmake -S /usr/src/googletest -B "$build/googletest" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
            -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$install" >"$build/googletest.log"
        cmake --build "$build/googletest" >>"$build/googletest.log"
        cmake --install "$build/googletest" >>"$build/googletest.log"
    fi
    echo "$install/lib/cmake/GTest"
}

# Configures the Windows build folder with the Qt of $1 and any further options. A new folder
# builds no tests unless the options ask for them; one configured already keeps its choice.
windows_configure() {
    local qt="$1" fresh=()
    shift
    [ -f "$build/CMakeCache.txt" ] || fresh=(-DZORVEK_BUILD_TESTS=OFF)
    mkdir -p "$build"
    cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
        -DZORVEK_QT_WINDOWS="$qt" -DCMAKE_BUILD_TYPE=Release "${fresh[@]}" "$@" >"$build/configure.log" ||
        { cat "$build/configure.log" >&2; return 1; }
}

# A Unix path as Wine's Z: drive has it.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# A fresh Wine prefix in $1, said to be Windows 10, with a persistent wineserver started
# before anything runs in it (otherwise every process waits on Wine's background services).
# Qt's libraries and the MinGW runtime are found on Wine's PATH; Qt's variables reach a
# Windows program only as WINEQT_...; the offscreen platform gets a folder of fonts.
windows_prefix() {
    local prefix="$1" qt="$2" dirs=() dll
    mkdir -p "$prefix"
    export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    wine_cmd="$(command -v wine || echo /usr/lib/wine/wine64)"
    wineserver_cmd="$(command -v wineserver || echo /usr/lib/wine/wineserver)"
    "$wineserver_cmd" -p
    "$wine_cmd" wineboot --init >/dev/null 2>&1
    "$wine_cmd" winecfg /v win10 >/dev/null 2>&1
    dirs+=("$(windows_path "$qt/bin")")
    for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
        dll="$(x86_64-w64-mingw32-g++-posix -print-file-name="$dll")"
        dirs+=("$(windows_path "$(dirname "$(realpath "$dll")")")")
    done
    WINEPATH="$(IFS=';'; echo "${dirs[*]}")"
    export WINEPATH
    # The offscreen platform reads the fonts of one folder: Wine's Tahoma (the program's second
    # font) and DejaVu, all of them scalable, as a Windows system's fonts are. (Wine's own
    # folder also holds bitmap fonts of fixed sizes, which a test of a growing font would meet.)
    local fonts="$prefix-fonts"
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/tahoma*.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans*.ttf "$fonts/"
    export WINEQT_QPA_PLATFORM=offscreen WINEQT_QPA_FONTDIR="$(windows_path "$fonts")"
}

windows_stop_prefix() {
    "${wineserver_cmd:-wineserver}" -k >/dev/null 2>&1 || true
    "${wineserver_cmd:-wineserver}" -w >/dev/null 2>&1 || true
}
