#!/usr/bin/env bash
# Checks that every C++ source of the project is formatted by the root .clang-format;
# with --fix it formats them instead. Part of the README's test command.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(find src tests tools bench fuzz -name '*.cpp' -o -name '*.h' | sort)
if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${files[@]}"
else
    clang-format --dry-run -Werror "${files[@]}"
    echo "formatting: ${#files[@]} files as .clang-format says"
fi
