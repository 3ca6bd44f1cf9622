#!/usr/bin/env bash
# Sourced by the package scripts: what a package for users must not name as its list host.

# True when the list host setting HOST[:PORT] names this machine's loopback (the sample host).
is_loopback_list_host() {
    local host="$1"
    case "$host" in
    \[*\]*) host="${host#\[}" && host="${host%%\]*}" ;; # [::1]:8780
    *:*:*) ;;                                          # a bare IPv6 address
    *) host="${host%%:*}" ;;
    esac
    host="${host,,}"
    host="${host%.}"
    case "$host" in
    localhost | *.localhost | ::1 | 0:0:0:0:0:0:0:1 | 127.*) return 0 ;;
    esac
    return 1
}

# The list host that a configured build folder ($1) was configured with.
configured_list_host() {
    sed -n 's/^ZORVEK_LIST_HOST:[A-Z]*=//p' "$1/CMakeCache.txt"
}

refuse_loopback_list_host() {
    local host="$1" script="$2"
    cat >&2 <<MESSAGE
$script: the list host is $host, the bundled sample host on this machine: every user of the
package would get five "Chyba!" messages. Give the deployment's two settings:
    $script -DZORVEK_LIST_HOST=lists.example.cz -DZORVEK_WEB_ADDRESS=www.example.cz
or ask for a demo package in so many words: $script --demo
MESSAGE
    exit 2
}
