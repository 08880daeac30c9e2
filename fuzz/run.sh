#!/usr/bin/env bash
# make fuzz: runs every libFuzzer target of BUILD_DIR for SECONDS each, from
# its committed seeds plus what earlier runs found (BUILD_DIR/corpus/<target>).
# A finding is saved as BUILD_DIR/<target>-crash-*; the run then fails.
set -uo pipefail
build=${1:?usage: fuzz/run.sh BUILD_DIR [SECONDS]}
seconds=${2:-60}
seeds=$(cd "$(dirname "$0")" && pwd)/corpus
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=()
for binary in "$build"/*_fuzz; do
    target=$(basename "$binary" _fuzz)
    work="$build/corpus/$target"
    log="$build/$target.log"
    mkdir -p "$work"
    printf '%-20s %s s ... ' "$target" "$seconds"
    if "$binary" -max_total_time="$seconds" -timeout=20 -print_final_stats=1 \
        -artifact_prefix="$build/$target-" "$work" "$seeds/$target" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "ok, ${runs:-?} inputs, corpus $(ls "$work" | wc -l) files"
    else
        echo "FAILED (log: $log)"
        tail -n 40 "$log"
        failed+=("$target")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz findings in: ${failed[*]}"
    exit 1
fi
echo "no findings"
