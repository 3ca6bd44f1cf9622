#!/usr/bin/env bash
# Sourced by the scripts that fetch from Debian's archive (Qt's source for the Windows build,
# the Debian 13 root): the archive's address and suites as the machine's own apt sources name
# them, so that the scripts work with whatever archive or mirror the machine uses and name none.

codename="${codename:-$(. /etc/os-release && echo "${VERSION_CODENAME:-}")}"

# Prints "URI SUITE COMPONENTS... | KEYRING" for every binary entry of the machine's own apt
# sources (one-line and deb822 files) whose suite belongs to this release ($codename).
machine_sources() {
    local files=()
    [ -f /etc/apt/sources.list ] && files+=(/etc/apt/sources.list)
    for f in /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] && files+=("$f")
    done
    for f in "${files[@]}"; do
        case "$f" in
        *.sources)
            awk -v rel="$codename" '
                function flush() {
                    if (types ~ /(^| )deb( |$)/ && enabled != "no")
                        for (i = 1; i <= ns; i++)
                            if (s[i] == rel || index(s[i], rel "-") == 1 || index(s[i], rel "/") == 1)
                                for (j = 1; j <= nu; j++) print u[j], s[i], comps, "|", key
                    types = ""; comps = ""; key = ""; enabled = ""; nu = 0; ns = 0
                }
                /^[ \t]*#/ { next }
                /^[ \t]*$/ { flush(); next }
                {
                    field = tolower($1); sub(/:$/, "", field); $1 = ""; sub(/^ +/, "")
                    if (field == "types") types = $0
                    else if (field == "uris") nu = split($0, u, " ")
                    else if (field == "suites") ns = split($0, s, " ")
                    else if (field == "components") comps = $0
                    else if (field == "signed-by") key = $0
                    else if (field == "enabled") enabled = tolower($0)
                }
                END { flush() }' "$f"
            ;;
        *)
            awk -v rel="$codename" '
                $1 == "deb" {
                    key = ""; i = 2
                    if ($2 ~ /^\[/) {
                        for (; i <= NF; i++) {
                            if ($i ~ /^\[?signed-by=/) { key = $i; sub(/^\[?signed-by=/, "", key); sub(/\]$/, "", key) }
                            if ($i ~ /\]$/) { i++; break }
                        }
                    }
                    uri = $i; suite = $(i + 1); comps = ""
                    for (j = i + 2; j <= NF; j++) comps = comps (comps == "" ? "" : " ") $j
                    if (suite == rel || index(suite, rel "-") == 1 || index(suite, rel "/") == 1)
                        print uri, suite, comps, "|", key
                }' "$f"
            ;;
        esac
    done
}


# The address of the archive of the release itself (the entry whose suite is the release's
# code name, not its -updates or -security).
machine_archive() {
    machine_sources | awk -v rel="$codename" '$2 == rel { print $1; exit }'
}
