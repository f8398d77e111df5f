#!/bin/sh
# Builds the fuzz targets with clang into build/fuzz and runs each for a
# bounded time on a scratch copy of its seed corpus, so that the committed
# seeds never grow; fails when a target finds a crash.
# Usage: tests/fuzz/run_fuzzers.sh [seconds per target, default 20]
set -eu
cd "$(dirname "$0")/../.."
seconds="${1:-20}"
build=build/fuzz

cmake -S . -B "$build" -DORBDRIFT_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"

export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp"
status=0
for target in command_line window_messages x11_events settings_file; do
    corpus="$build/corpus/$target"
    log="$build/$target.log"
    rm -rf "$corpus"
    mkdir -p "$corpus" "$build/artifacts"
    cp tests/fuzz/corpus/"$target"/* "$corpus"/
    # The X target starts a private Xvfb of its own.
    if "$build/tests/fuzz/${target}_fuzzer" -max_total_time="$seconds" -timeout=5 \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" "$corpus" \
        >"$log" 2>&1; then
        runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
        echo "fuzz $target: $runs executions in $seconds s, no crash"
    else
        echo "fuzz $target: FAILED (log $log, input in $build/artifacts/)"
        grep -E 'ERROR|SUMMARY|unexpected|#[0-9]+ 0x' "$log" | head -n 30
        status=1
    fi
done
exit "$status"
