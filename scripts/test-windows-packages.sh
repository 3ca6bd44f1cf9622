#!/usr/bin/env bash
# The Windows packages' test (part of the README's test command, after scripts/test-windows.sh,
# in its build folder): the package command refuses the sample host without --demo and makes
# the demo zip and installer with it; the zip holds exactly what zorvek.exe loads, the licence
# texts and the levelshots folders; unpacked into a fresh Wine prefix, and installed there
# silently (under Program Files, and where /D= says), the program starts offscreen against the sample host and shows the map picture of a
# server whose reply filled its row (the probe of tests/package, loaded as a Qt plugin); the
# silent uninstall leaves no file, folder, shortcut or registry key of the program.
# Runs in a network namespace of its own where it can, so the sample host's port is its own.
# Prints "N passed, N failed" last.
#
# ZORVEK_NATIVE_BUILD_DIR: the native build whose sample host serves (default build).
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath -m "${BUILD_WINDOWS:-$repo/build-windows}")"
native="$(realpath -m "${ZORVEK_NATIVE_BUILD_DIR:-$repo/build}")"
source "$repo/scripts/windows-common.sh"

if [ "${1:-}" != "--inside" ]; then
    if unshare --net true 2>/dev/null; then
        exec unshare --net "$0" --inside --own-network
    fi
    echo "no network namespace of the test's own here: the sample host listens on the machine's loopback"
    exec "$0" --inside
fi
[ "${2:-}" = "--own-network" ] && ip link set lo up

qt="$(windows_qt)"
source "$repo/scripts/packages.sh"
"$repo/scripts/ensure-packages.sh" "${WINDOWS_PACKAGE_PACKAGES[@]}" binutils-mingw-w64-x86-64 >&2
scratch="$(mktemp -d "${TMPDIR:-/tmp}/zorvek-windows-packages.XXXXXX")"
host_pid=
cleanup() {
    [ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null
    windows_stop_prefix
    rm -rf "$scratch"
}
trap cleanup EXIT
passed=0
failed=0
check() {
    local what="$1"
    shift
    if "$@"; then
        passed=$((passed + 1))
        echo "ok: $what"
    else
        failed=$((failed + 1))
        echo "FAILED: $what"
    fi
}

# --- The package command -------------------------------------------------------------------
refused() {
    ! BUILD_WINDOWS="$build" "$repo/scripts/package-windows.sh" >"$scratch/refused.log" 2>&1 &&
        grep -q "the bundled sample host" "$scratch/refused.log"
}
check "the package command refuses the sample host without --demo" refused
BUILD_WINDOWS="$build" "$repo/scripts/package-windows.sh" --demo >"$scratch/packages.txt" 2>"$scratch/package.log" ||
    { cat "$scratch/package.log" >&2; echo "0 passed, 1 failed"; exit 1; }
setup="$(tail -2 "$scratch/packages.txt" | head -1)"
zip="$(tail -1 "$scratch/packages.txt")"
named_demo() { case "$(basename "$setup") $(basename "$zip")" in *demo*setup.exe\ *demo*win64.zip) ;; *) return 1 ;; esac; }
check "the demo packages say demo: $(basename "$setup"), $(basename "$zip")" named_demo
ls -l "$setup" "$zip"

windows_log "a fresh Wine prefix"
windows_prefix "$scratch/prefix" "$qt"
system32="$WINEPREFIX/drive_c/windows/system32"

# --- The zip's files: exactly what the program loads ------------------------------------------
mkdir -p "$scratch/zip"
unzip -q "$zip" -d "$scratch/zip"
top="$(find "$scratch/zip" -mindepth 1 -maxdepth 1 -type d)"
imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
# What the program and the plugins it loads import, followed through the libraries beside it;
# an import that is not beside it must be a system library (or one of Windows' API sets).
zip_holds_what_the_program_loads() {
    local -A needed=()
    local queue=("$top/zorvek.exe" "$top/platforms/qwindows.dll" "$top/styles/qwindowsvistastyle.dll"
        "$top/imageformats/qjpeg.dll")
    local file dll found ok=0
    while [ ${#queue[@]} -gt 0 ]; do
        file="${queue[0]}"
        queue=("${queue[@]:1}")
        [ -f "$file" ] || { echo "missing: ${file#"$top"/}"; ok=1; continue; }
        needed["${file#"$top"/}"]=1
        for dll in $(imports "$file"); do
            found="$(find "$top" -maxdepth 1 -iname "$dll" | head -1)"
            if [ -n "$found" ]; then
                [ -n "${needed[${found#"$top"/}]:-}" ] || queue+=("$found")
            elif [[ ! "${dll,,}" =~ ^(api|ext)-ms- ]] && [ -z "$(find "$system32" -maxdepth 1 -iname "$dll" | head -1)" ]; then
                echo "neither beside the program nor a system library: $dll (of ${file#"$top"/})"
                ok=1
            fi
        done
    done
    while read -r file; do
        case "$file" in
        licenses/COPYING.txt | licenses/THIRD-PARTY.txt | licenses/Qt-LGPL-3.0.txt | licenses/Qt-copyright.txt) ;;
        *) [ -n "${needed[$file]:-}" ] || { echo "not loaded by the program: $file"; ok=1; } ;;
        esac
    done < <(cd "$top" && find . -type f | sed 's|^\./||' | sort)
    for game in codwaw cod4 cod1-coduo cod2; do
        [ -d "$top/levelshots/$game" ] && [ -z "$(ls -A "$top/levelshots/$game")" ] ||
            { echo "levelshots/$game is no empty folder"; ok=1; }
    done
    [ "$(cd "$top" && find . -type d | wc -l)" -eq 10 ] || { echo "other folders: $(cd "$top" && find . -type d)"; ok=1; }
    return $ok
}
check "the zip holds zorvek.exe, what it loads, the licences and the levelshots folders" zip_holds_what_the_program_loads
(cd "$top" && find . -type f -printf '%s %P\n' | sort -k2)

# --- The program unpacked and installed, against the sample host -------------------------------
mkdir -p "$scratch/pictures"
"$native/tools/sample-host/sample-host" --port 8780 --levelshots "$scratch/pictures" >"$scratch/host.log" 2>&1 &
host_pid=$!
for _ in $(seq 1 100); do
    grep -q "sample host ready" "$scratch/host.log" && break
    sleep 0.1
done
# Offscreen: the packages carry the windows platform only, the offscreen one comes from Qt's folder.
export WINEQT_PLUGIN_PATH="$(windows_path "$build/tests/package/plugins")" WINEQT_QPA_GENERIC_PLUGINS=zorvekprobe
export WINEQT_QPA_PLATFORM_PLUGIN_PATH="$(windows_path "$qt/plugins/platforms")"
# Starts one zorvek.exe with the probe, with the sample host's map pictures in its levelshots
# folder ($2); true when it showed the picture of the map of a server whose reply filled its row.
runs_against_the_sample_host() {
    local exe="$1" levelshots="$2" log="$scratch/probe-$(basename "$(dirname "$1")").log"
    cp -r "$scratch/pictures/." "$levelshots/"
    ZORVEK_PROBE_PICTURES="$(windows_path "$levelshots/codwaw")" ZORVEK_PROBE_POSTER='C:\none' \
        timeout 90 "$wine_cmd" "$exe" >"$log" 2>&1 || true
    cat "$log"
    grep -q "^probe: levelshot: .*codwaw.*\.jpg" "$log"
}
mkdir -p "$WINEPREFIX/drive_c/portable"
cp -r "$top" "$WINEPREFIX/drive_c/portable/"
check "the unpacked zorvek.exe fills a row from a server's reply" \
    runs_against_the_sample_host "$WINEPREFIX/drive_c/portable/$(basename "$top")/zorvek.exe" \
    "$WINEPREFIX/drive_c/portable/$(basename "$top")/levelshots"

installed="$WINEPREFIX/drive_c/Program Files/Zorvek"
"$wine_cmd" "$setup" /S
installed_as_documented() {
    local ok=0
    [ -f "$installed/zorvek.exe" ] && [ -f "$installed/Uninstall.exe" ] && [ -f "$installed/licenses/THIRD-PARTY.txt" ] || ok=1
    for game in codwaw cod4 cod1-coduo cod2; do
        [ -d "$installed/share/zorvek/levelshots/$game" ] || ok=1
    done
    [ ! -e "$installed/levelshots" ] || { echo "a levelshots folder beside the installed program"; ok=1; }
    [ -n "$(find "$WINEPREFIX/drive_c" -path '*Start Menu*' -iname 'Zorvek.lnk')" ] || { echo "no Start-menu entry"; ok=1; }
    "$wine_cmd" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zorvek' >"$scratch/uninstall.txt" 2>&1 || ok=1
    for value in "DisplayName    REG_SZ    Zorvek" "DisplayVersion    REG_SZ    1.1.9" "Publisher    REG_SZ    Halmund" \
        'DisplayIcon    REG_SZ    C:\Program Files\Zorvek\zorvek.exe'; do
        grep -qF "$value" "$scratch/uninstall.txt" || { echo "uninstall entry without $value"; ok=1; }
    done
    return $ok
}
check "the installer puts the program under Program Files with its Start-menu and uninstall entries" installed_as_documented
check "the installed zorvek.exe fills a row from a server's reply" \
    runs_against_the_sample_host "$installed/zorvek.exe" "$installed/share/zorvek/levelshots"

# The uninstaller runs on as a copy of itself: waits (20 s at most) until it took the folder $1.
uninstall() {
    "$wine_cmd" "$1/Uninstall.exe" /S
    for _ in $(seq 1 100); do
        [ -e "$1" ] || return 0
        sleep 0.2
    done
}
uninstall "$installed"
uninstalled_without_a_trace() {
    local ok=0
    [ ! -e "$installed" ] || { echo "left: $(find "$installed")"; ok=1; }
    [ -z "$(find "$WINEPREFIX/drive_c" -iname '*zorvek*' -not -path '*/portable*')" ] ||
        { echo "left: $(find "$WINEPREFIX/drive_c" -iname '*zorvek*' -not -path '*/portable*')"; ok=1; }
    for key in 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zorvek' 'HKLM\Software\Zorvek' 'HKCU\Software\Zorvek'; do
        ! "$wine_cmd" reg query "$key" >/dev/null 2>&1 || { echo "left: $key"; ok=1; }
    done
    return $ok
}
check "the silent uninstall leaves no file, folder, shortcut or registry key of the program" uninstalled_without_a_trace

# /D= chooses the folder. (It is the rest of the command line, unquoted: wine quotes an
# argument with blanks, so the folder here has none.)
chosen="$WINEPREFIX/drive_c/Hry/Zorvek"
"$wine_cmd" "$setup" /S '/D=C:\Hry\Zorvek'
installed_where_chosen() { [ -f "$chosen/zorvek.exe" ] && [ -d "$chosen/share/zorvek/levelshots/cod4" ] && [ ! -e "$installed" ]; }
check "/D= installs into the folder it names" installed_where_chosen
uninstall "$chosen"
check "the silent uninstall removes that folder" test ! -e "$chosen"

echo "windows packages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
