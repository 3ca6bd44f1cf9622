#!/usr/bin/env bash
# The package test of the README's test command: makes the .deb from the native build
# ($BUILD, default build; its programs and the probe are built already), unpacks it into a
# scratch root, runs lintian and the desktop-entry and AppStream validators, and starts the
# unpacked program offscreen against the sample host, in a network namespace of its own,
# with a probe that clicks a server and reports which map picture the program shows.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}

# Inside the private network namespace: the sample host on the build's default list host
# (127.0.0.1:8780) and the unpacked program against it, with a home and runtime folder of
# the test's own.
if [ "${1:-}" = "--run-program" ]; then
    root=$2
    scratch=$3
    [ "${4:-}" = "--own-network" ] && ip link set lo up
    pictures="$root/usr/share/zorvek/levelshots"
    "$BUILD/tools/sample-host/sample-host" --levelshots "$pictures" >"$scratch/host.log" 2>&1 &
    host_pid=$!
    trap 'kill "$host_pid" 2>/dev/null || true' EXIT
    for _ in $(seq 1 100); do
        grep -q "sample host ready" "$scratch/host.log" && break
        kill -0 "$host_pid" 2>/dev/null || break
        sleep 0.1
    done
    grep -q "sample host ready" "$scratch/host.log" || { cat "$scratch/host.log"; exit 1; }
    mkdir -p "$scratch/home" "$scratch/runtime"
    chmod 700 "$scratch/runtime"
    env -i PATH=/usr/bin:/bin HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/runtime" \
        QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH="$(cd "$BUILD" && pwd)/tests/package/plugins" \
        QT_QPA_GENERIC_PLUGINS=zorvekprobe ZORVEK_PROBE_PICTURES="$pictures/codwaw" \
        ZORVEK_PROBE_POSTER="$pictures/infoposter.jpg" \
        timeout 60 "$root/usr/bin/zorvek"
    exit
fi

fail() {
    echo "package test: $*" >&2
    exit 1
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# A package for users names a real list host: the build's list host is the sample host on
# loopback, which the package command refuses unless a demo package is asked for.
if BUILD="$BUILD" scripts/package.sh >"$scratch/refused.log" 2>&1; then
    fail "a package for the sample host was made without --demo"
fi
grep -q "the bundled sample host" "$scratch/refused.log" || fail "the refusal does not say why: $(cat "$scratch/refused.log")"
deb=$(BUILD="$BUILD" scripts/package.sh --demo | tail -n 1)
echo "package: $deb"
case "$(basename "$deb")" in
*demo*) ;;
*) fail "the demo package's file name does not say demo: $deb" ;;
esac
root="$scratch/root"
dpkg-deb -x "$deb" "$root"

desktop=("$root"/usr/share/applications/*.desktop)
[ ${#desktop[@]} -eq 1 ] && [ -f "${desktop[0]}" ] || fail "not one desktop entry: ${desktop[*]}"
id=$(basename "${desktop[0]}" .desktop)
metainfo="$root/usr/share/metainfo/$id.metainfo.xml"
for file in usr/bin/zorvek usr/share/man/man1/zorvek.1.gz "usr/share/metainfo/$id.metainfo.xml" \
    "usr/share/icons/hicolor/scalable/apps/$id.svg" usr/share/doc/zorvek/copyright; do
    [ -f "$root/$file" ] || fail "missing $file"
done
for size in 16 32 48 64 128 256; do
    png="$root/usr/share/icons/hicolor/${size}x$size/apps/$id.png"
    file "$png" | grep -q "PNG image data, $size x $size," || fail "no $size-pixel icon: $(file "$png")"
done
for game in codwaw cod4 cod1-coduo cod2; do
    folder="$root/usr/share/zorvek/levelshots/$game"
    [ -d "$folder" ] && [ -z "$(ls -A "$folder")" ] || fail "levelshots/$game is no empty folder"
done
grep -qx "Icon=$id" "${desktop[0]}" || fail "the desktop entry names another icon"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the AppStream data launches another desktop entry"

echo "=== desktop-file-validate"
desktop-file-validate "${desktop[0]}"
echo "=== appstreamcli validate"
appstreamcli validate --no-net "$metainfo"
# A web address without a scheme, as a deployment may write it: the caption shows it as
# given, the AppStream data has it as a URL.
echo "=== appstreamcli validate, web address without a scheme"
cmake -S . -B "$scratch/www" -G Ninja -DZORVEK_BUILD_TESTS=OFF -DZORVEK_WEB_ADDRESS=www.example.org \
    -DZORVEK_LIST_HOST=lists.example.org >/dev/null
grep -q '<url type="homepage">http://www.example.org</url>' "$scratch/www/data/$id.metainfo.xml" ||
    fail "the AppStream data of www.example.org names no http:// URL"
appstreamcli validate --no-net "$scratch/www/data/$id.metainfo.xml"
echo "=== lintian"
# As root lintian says so on stderr; what it finds goes to stdout.
lintian --fail-on error,warning --display-info "$deb" 2> >(grep -v "running with root privileges" >&2)

echo "=== the unpacked program against the sample host"
if unshare --net true 2>/dev/null; then
    run=(unshare --net "$0" --run-program "$root" "$scratch" --own-network)
else
    echo "no network namespace of the test's own here: the sample host listens on the machine's loopback"
    run=("$0" --run-program "$root" "$scratch")
fi
"${run[@]}" | tee "$scratch/probe.log" || fail "the program failed"
probe() { grep -qxF "probe: $1" "$scratch/probe.log" || fail "the program did not report \"$1\""; }
probe "dialog: Zorvek - info"
probe "poster file: present"
# The picture came from the installed folder: nothing beside the program, no user folder.
grep -qx "probe: levelshot: $root/usr/share/zorvek/levelshots/codwaw/[^/]*\.jpg" "$scratch/probe.log" ||
    fail "the program showed no map picture from share/zorvek/levelshots"
probe "desktop file name: $id"
probe "application name: $(sed -n 's/^StartupWMClass=//p' "${desktop[0]}")"
probe "icon sizes: 16 32 48 64 128 256"
[ "$(grep -c '^probe: dialog:' "$scratch/probe.log")" -eq 1 ] || fail "a message box showed"
[ ! -e "$root/usr/share/zorvek/levelshots/infoposter.jpg" ] || fail "the poster file outlived the program"
[ -z "$(ls -A "$scratch/runtime")" ] || fail "the program left files in its runtime folder"
echo "package test passed"
