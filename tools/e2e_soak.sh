#!/usr/bin/env bash
# Runs the whole end-to-end suite ROUNDS times, each round with a new Wine
# prefix as on a fresh machine; every second round with every core kept busy.
# Prints a table of group by round and, below it, the first failure line of
# each failed run. Exits non-zero when any group failed in any round.
#
#   e2e_soak.sh WIN64_BUILD_DIR ROUNDS STATE_DIR
set -uo pipefail

[ $# -eq 3 ] || { echo "usage: $0 WIN64_BUILD_DIR ROUNDS STATE_DIR" >&2; exit 2; }
win_dir=$1
rounds=$2
state_root=$3
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
[[ "$rounds" =~ ^[1-9][0-9]*$ ]] || { echo "ROUNDS must be a positive number" >&2; exit 2; }

# The groups as CTest registers them: every group of the scenario sources
# but the demo.
mapfile -t groups < <(sed -n 's/^E2E_SCENARIO("\([a-z0-9_]*\)".*/\1/p' "$repo"/tests/e2e/driver/*.cpp |
    awk '!seen[$0]++ && $0 != "demo"')
[ ${#groups[@]} -gt 0 ] || { echo "no scenario groups found" >&2; exit 2; }

mkdir -p "$state_root"
state_root=$(cd "$state_root" && pwd)
busy_pids=()
stop_load() {
    for pid in "${busy_pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${busy_pids[@]}"; do wait "$pid" 2>/dev/null; done
    busy_pids=()
}
trap stop_load EXIT
trap 'exit 130' INT TERM

declare -A result
failures=()
start=$(date +%s)
for ((r = 1; r <= rounds; r++)); do
    loaded=$((r % 2 == 0))
    state="$state_root/round-$r"
    rm -rf "$state"
    mkdir -p "$state"
    if [ "$loaded" = 1 ]; then
        for _ in $(seq "$(nproc)"); do
            yes >/dev/null &
            busy_pids+=($!)
        done
    fi
    echo "round $r of $rounds ($([ "$loaded" = 1 ] && echo "every core busy" || echo idle)), new prefix in $state"
    for g in "${groups[@]}"; do
        log="$state/$g.log"
        t0=$(date +%s)
        SNIPKIT_E2E_STATE="$state" bash "$repo/tests/e2e/run_e2e.sh" "$win_dir" "$g" >"$log" 2>&1
        rc=$?
        secs=$(($(date +%s) - t0))
        if [ $rc -eq 0 ]; then
            result[$g,$r]="ok"
        else
            result[$g,$r]="FAILED"
            first=$(grep -m1 -E 'FAILED:|STOPPED:|ERROR:' "$log" || tail -n1 "$log")
            scenario=$(grep -B200 -m1 -E 'FAILED:|STOPPED:|ERROR:' "$log" | grep -E '^\[ RUN  \]' | tail -n1 |
                sed 's/^\[ RUN  \] //')
            failures+=("round $r, $g${scenario:+ ($scenario)}: $(echo "$first" | sed 's/^ *//')  [$log]")
        fi
        printf '  %-12s %-6s %4d s\n' "$g" "${result[$g,$r]}" "$secs"
    done
    stop_load
done

echo
printf '%-12s' "group"
for ((r = 1; r <= rounds; r++)); do
    printf ' %-8s' "$r:$([ $((r % 2)) = 0 ] && echo load || echo idle)"
done
echo
for g in "${groups[@]}"; do
    printf '%-12s' "$g"
    for ((r = 1; r <= rounds; r++)); do printf ' %-8s' "${result[$g,$r]}"; done
    echo
done
echo
if [ ${#failures[@]} -gt 0 ]; then
    echo "first failure line of each failed run:"
    printf '  %s\n' "${failures[@]}"
fi
echo "e2e-soak: $rounds round(s), ${#failures[@]} failed run(s), $(($(date +%s) - start)) s"
[ ${#failures[@]} -eq 0 ]
