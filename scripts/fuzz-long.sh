#!/usr/bin/env bash
# Runs every fuzz target (or the ones named) for a while on its seed corpus and prints
# the executions per target and any crash. Usage:
#   scripts/fuzz-long.sh [seconds per target, default 300] [target ...]
# FUZZ_JOBS=2 runs two targets at a time; BUILD_FUZZ picks the build folder.
# Exits non-zero when a target crashed, failed one of its properties or did not run.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

SECONDS_PER_TARGET=${1:-300}
shift || true
BUILD_FUZZ=${BUILD_FUZZ:-build-fuzz}
FUZZ_JOBS=${FUZZ_JOBS:-1}

if [ $# -gt 0 ]; then
    TARGETS=("$@")
else
    TARGETS=()
    for dir in fuzz/corpus/*/; do TARGETS+=("$(basename "$dir")"); done
fi

CC=clang CXX=clang++ cmake -S . -B "$BUILD_FUZZ" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DZORVEK_FUZZ=ON > "$BUILD_FUZZ.configure.log" 2>&1 ||
    { cat "$BUILD_FUZZ.configure.log"; exit 1; }
# A target whose parser is not in this tree is not built; it is skipped with a note.
available=$(cmake --build "$BUILD_FUZZ" --target help | sed -n 's/^\(fuzz_[a-z_]*\):.*/\1/p')
built=()
for name in "${TARGETS[@]}"; do
    if grep -qx "fuzz_$name" <<<"$available"; then built+=("$name"); else echo "skipped: fuzz_$name is not in this build"; fi
done
TARGETS=("${built[@]}")
cmake --build "$BUILD_FUZZ" -j2 --target "${TARGETS[@]/#/fuzz_}"

# New inputs go to a work corpus in the build folder; the seeds in fuzz/corpus stay as
# they are, and every seed (regression cases included) runs first on each start.
WORK=$ROOT/$BUILD_FUZZ/fuzz-work
mkdir -p "$WORK"

run_target() {
    local name=$1
    local dir=$WORK/$name
    mkdir -p "$dir/corpus" "$dir/artifacts"
    rm -f "$dir/artifacts"/*
    local status=0
    (cd "$dir" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$ROOT/$BUILD_FUZZ/fuzz/fuzz_$name" -max_total_time="$SECONDS_PER_TARGET" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$dir/artifacts/" \
        corpus "$ROOT/fuzz/corpus/$name") > "$dir/log" 2>&1 || status=$?
    echo "$status" > "$dir/status"
}

pids=()
for name in "${TARGETS[@]}"; do
    run_target "$name" &
    pids+=($!)
    if [ ${#pids[@]} -ge "$FUZZ_JOBS" ]; then
        wait "${pids[0]}"
        pids=("${pids[@]:1}")
    fi
done
wait

failed=0
printf '%-16s %14s %10s  %s\n' target executions exec/s result
for name in "${TARGETS[@]}"; do
    dir=$WORK/$name
    status=$(cat "$dir/status")
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$dir/log" | tail -1)
    artifacts=$(ls "$dir/artifacts" 2>/dev/null | head -3 | tr '\n' ' ')
    if [ "$status" -eq 0 ] && [ -n "$runs" ] && [ -z "$artifacts" ]; then
        result=ok
    else
        result="FAILED (exit $status) ${artifacts:+crash input: $dir/artifacts/$artifacts}"
        failed=1
    fi
    printf '%-16s %14s %10s  %s\n' "$name" "${runs:-?}" "${speed:-?}" "$result"
done
if [ "$failed" -ne 0 ]; then
    for name in "${TARGETS[@]}"; do
        dir=$WORK/$name
        if [ "$(cat "$dir/status")" -ne 0 ]; then
            echo "--- $name: end of $dir/log"
            grep -A30 -m1 -E 'ERROR|property failed|runtime error' "$dir/log" || tail -30 "$dir/log"
        fi
    done
    exit 1
fi
