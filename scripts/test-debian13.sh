#!/usr/bin/env bash
# Builds and tests Zorvek on Debian 13 "trixie" (Qt 6.8, GCC 14) in a root of its own: made
# with debootstrap from the archive that the machine's own apt sources name, into a cache
# folder outside the checkout (${XDG_CACHE_HOME:-~/.cache}/zorvek/debian13-<key>), and reused
# while the list of packages it is made with stays the same. Inside it, with the checkout
# mounted, the README's native test step runs unchanged (scripts/test-native.sh: the project's
# own install step, the build, every native test and the package test), which makes the .deb
# for Debian 13. Then the .deb made here on Debian 12 (scripts/package.sh --demo) is installed
# into a copy of the root with apt and started there against the sample host.
# The first run installs the packages into the root with apt (the project's install step).
#
# Usage: scripts/test-debian13.sh     (as root: debootstrap, chroot and mounts need it)
# BUILD_DEBIAN13: the build folder inside the checkout (default build-debian13).
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
source scripts/packages.sh
source scripts/apt-sources.sh
scripts/ensure-packages.sh debootstrap "${PACKAGE_PACKAGES[@]}" "${BUILD_PACKAGES[@]}"
started=$SECONDS
log() { printf '== %s (%ds)\n' "$*" "$((SECONDS - started))" >&2; }
[ "$(id -u)" -eq 0 ] || { echo "test-debian13: needs root (debootstrap, chroot)" >&2; exit 2; }

release=trixie
archive="$(machine_archive)"
[ -n "$archive" ] || { echo "test-debian13: no archive in the machine's apt sources" >&2; exit 1; }
# The root is made bare; the project's own install step (scripts/ensure-packages.sh, which
# scripts/test-native.sh runs first) installs the packages with apt inside it, and they stay
# there. debootstrap's own resolver can't install them: it knows no virtual packages.
packages=("${BUILD_PACKAGES[@]}" "${NATIVE_TEST_PACKAGES[@]}")
key="$(printf '%s\n' "$release" "${packages[@]}" | sort | sha256sum | cut -c1-12)"
cache="${XDG_CACHE_HOME:-$HOME/.cache}/zorvek"
root="$cache/debian13-$key"
build="${BUILD_DEBIAN13:-build-debian13}"

if [ ! -f "$root/.zorvek-root-complete" ]; then
    log "making a Debian 13 root in $root from $archive"
    rm -rf "$cache"/debian13-*
    mkdir -p "$root"
    debootstrap --variant=minbase "$release" "$root" "$archive" >"$cache/debootstrap.log" 2>&1 ||
        { tail -30 "$cache/debootstrap.log" >&2; exit 1; }
    touch "$root/.zorvek-root-complete"
fi

# Runs a command in the root, in mount and PID namespaces of its own: /proc, /dev and the
# checkout (at the same path) are mounted there and go with the namespace.
in_root() {
    local target="$1"
    shift
    unshare --mount --pid --fork --propagation private bash -c '
        set -e
        root=$1 repo=$2
        shift 2
        mount -t proc proc "$root/proc"
        mount --rbind /dev "$root/dev"
        mkdir -p "$root$repo"
        mount --bind "$repo" "$root$repo"
        cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
        exec chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"
    ' bash "$target" "$repo" "$@"
}

log "the native suite and the package test on Debian 13 ($build)"
in_root "$root" bash -c "cd '$repo' && BUILD='$build' scripts/test-native.sh"
deb13=("$repo/$build"/package/zorvek_*~deb13*.deb)
[ -f "${deb13[0]}" ] || { echo "test-debian13: no .deb for Debian 13 in $build/package" >&2; exit 1; }
log "made ${deb13[0]}"

# The package made on Debian 12 installs on Debian 13 (the t64 libraries provide the old
# names) and starts there: in a copy of the root, thrown away afterwards.
deb12=("$repo"/build/package/zorvek_*~deb12*.deb)
if [ -f "${deb12[0]}" ]; then
    log "installing ${deb12[0]} on Debian 13"
    scratch="$(mktemp -d "$cache/debian13-install.XXXXXX")"
    trap 'rm -rf "$scratch"' EXIT
    cp -a "$root" "$scratch/root"
    in_root "$scratch/root" bash -c "cd '$repo' && apt-get install -y --no-install-recommends '${deb12[0]}' >/dev/null &&
        BUILD='$build' scripts/test-package.sh --run-program / /tmp" | tee "$scratch/probe.log"
    # The program showed the info window and, for the server it selected, the map picture of
    # the reply that filled its row.
    grep -qxF "probe: dialog: Zorvek - info" "$scratch/probe.log" || { echo "test-debian13: no info window" >&2; exit 1; }
    grep -q "^probe: levelshot: .*/codwaw/[^/]*\.jpg$" "$scratch/probe.log" ||
        { echo "test-debian13: no row filled from a server's reply" >&2; exit 1; }
else
    echo "test-debian13: no Debian 12 package in build/package (scripts/test.sh makes it): its install is not tried" >&2
    exit 1
fi
log "Debian 13 passed"
