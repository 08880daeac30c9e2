#!/usr/bin/env bash
# The editing cycle end to end, under Wine on a private X display:
#
#   bash bench/e2e_cycle.sh [BUILD_ROOT]        (default: build)
#
# Builds BUILD_ROOT/win64 (the toolbar, the stand-in editor, the benchmark
# program and the bare window it compares start-up against) and BUILD_ROOT/win32 (the
# i686 MinSizeRel snipkit.exe whose size is reported), runs the "bench"
# group of e2e_bench.exe (bench/e2e_cycle.cpp) and prints one table:
#   - UPPER CASE and comment // on a 1 MB and a 10 MB selection, from the
#     command to the editor holding the result, against the floor: the same
#     copy, clipboard and paste done by the benchmark program with no rewrite;
#   - UPPER CASE on a 20-line selection, from the pick in an open menu (the
#     toolbar's and the keyboard key's) to the editor's paste done, and the
#     command alone without a menu, against the same floor on those lines;
#   - the toolbar's start to a visible window against a bare Win32 window;
#   - the size of the i686 snipkit.exe.
# SNIPKIT_BENCH_RUNS sets the number of timed runs per measure. A benchmark,
# not a test: it fails only when a step cannot be carried out, never on a
# figure. The times include the editor's own work, which under Wine is most
# of a cycle; its notes break each cycle down into copy, rewrite and paste.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$repo/tools/wine.sh"
root=${1:-$repo/build}
mkdir -p "$root"
root=$(cd "$root" && pwd)
jobs=${JOBS:-$(nproc)}
log="$root/e2e-bench-build.log"
: >"$log"

build() {  # DIR TOOLCHAIN BUILD_TYPE TARGET...
    local dir=$1 toolchain=$2 type=$3
    shift 3
    if ! { cmake -S "$repo" -B "$dir" -DCMAKE_BUILD_TYPE="$type" \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/$toolchain" &&
        cmake --build "$dir" -j "$jobs" --target "$@"; } >>"$log" 2>&1; then
        tail -n 30 "$log" >&2
        echo "build of $dir failed; the whole log is $log" >&2
        exit 1
    fi
}

echo "building the Windows programs (log: $log)"
# The benchmark program depends on the stand-in editor, the menu hook and the bare window.
build "$root/win64" toolchain-mingw-x86_64.cmake Release snipkit e2e_bench
build "$root/win32" toolchain-mingw-i686.cmake MinSizeRel snipkit

out="$root/e2e-bench.log"
SNIPKIT_E2E_STATE="$root/e2e-bench" bash "$repo/tests/e2e/run_e2e.sh" "$root/win64" --bench bench | tee "$out"

size=$(stat -c %s "$root/win32/snipkit.exe")
kb=$(( (size + 1023) / 1024 ))
verdict="(missed)"
[ "$kb" -lt 500 ] && verdict="(met)"
echo
echo "Editing cycle and start-up under $(wine64 --version 2>/dev/null || echo Wine), $(nproc) CPU(s): medians"
echo
echo "| Measure | Snipkit | Floor / yardstick | Ratio | Target |"
echo "|---|---|---|---|---|"
sed -n 's/^ *row: //p' "$out"
echo "| i686 snipkit.exe size (MinSizeRel) | $kb KB | | | < 500 KB $verdict |"
