#!/usr/bin/env bash
# Runs end-to-end scenarios of the toolbar under Wine on a private X display.
#
#   run_e2e.sh WIN64_BUILD_DIR [--shots DIR] [--bench] NAME...
#
# NAME is a scenario group, group.scenario or a scenario name (see
# `e2e_driver.exe list`); --shots names the folder for the screenshots of the
# demo group; --bench runs the benchmark program e2e_bench.exe, which acts
# as the driver does but measures, instead of the driver. State lives in $SNIPKIT_E2E_STATE (default:
# ./e2e-state): the Wine prefix, made once and reused, and the scenarios'
# work folders. While the driver runs, a small host helper carries out the
# xdotool and screenshot requests it drops into a folder, since a Windows
# program cannot start X tools itself.
set -uo pipefail

usage() {
    echo "usage: $0 WIN64_BUILD_DIR [--shots DIR] [--bench] NAME..." >&2
    exit 2
}
[ $# -ge 2 ] || usage
win_dir=$(cd "$1" && pwd) || exit 2
shift
shots=""
program=e2e_driver
names=()
while [ $# -gt 0 ]; do
    case "$1" in
        --shots) [ $# -ge 2 ] || usage; mkdir -p "$2"; shots=$(cd "$2" && pwd); shift 2 ;;
        --bench) program=e2e_bench; shift ;;
        -*) usage ;;
        *) names+=("$1"); shift ;;
    esac
done
[ ${#names[@]} -gt 0 ] || usage

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$repo/tools/wine.sh"
wine_check || exit
e2e_bin="$win_dir/tests/e2e"
driver="$e2e_bin/$program.exe"
snipkit="$win_dir/snipkit.exe"
state=${SNIPKIT_E2E_STATE:-$PWD/e2e-state}
mkdir -p "$state"
state=$(cd "$state" && pwd)

for f in "$driver" "$e2e_bin/standin_editor.exe" "$e2e_bin/e2e_menuhook.dll"; do
    if [ ! -e "$f" ]; then
        echo "missing: $f" >&2
        exit 2
    fi
done
# Without the toolbar only the harness's own scenarios can pass.
[ -e "$snipkit" ] || echo "warning: $snipkit is missing (the toolbar is not built yet)" >&2
for tool in Xvfb xdotool flock; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 2; }
done

# One run at a time per state folder: the runs share the Wine prefix, and
# whatever an interrupted run left behind in it is ended first.
# (Children get the lock's descriptor closed, so a stray one cannot keep it.)
exec 8>"$state/run.lock"
flock -w 600 8 || { echo "another run still holds $state/run.lock" >&2; exit 1; }

export WINEPREFIX="$state/wineprefix"
export WINEDEBUG=-all
export WINEARCH=win64
# No Mono or Gecko installer prompts in a test prefix.
export WINEDLLOVERRIDES="mscoree=;mshtml="

[ -d "$WINEPREFIX" ] && wineserver -k 2>/dev/null 8>&-

run_dir=$(mktemp -d "$state/run.XXXXXX")
host_dir="$run_dir/host"
mkdir -p "$host_dir"
xvfb_pid=""
host_pid=""

cleanup() {
    [ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null
    # Only this prefix's wineserver, with every process it still serves.
    wineserver -k 2>/dev/null 8>&-
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$run_dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A free display, chosen by the server itself.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$run_dir/display" 2>"$run_dir/xvfb.log" 8>&- &
xvfb_pid=$!
for _ in $(seq 200); do
    grep -q '[0-9]' "$run_dir/display" 2>/dev/null && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
done
display=$(tr -dc '0-9' <"$run_dir/display")
if [ -z "$display" ]; then
    echo "Xvfb did not start:" >&2
    cat "$run_dir/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$display"

# The prefix is made once and reused by later runs. Windows are left
# unmanaged: with no window manager on the display, Wine would otherwise wait
# two seconds for one at every window it hides or destroys.
prefix_version=2
if [ "$(cat "$WINEPREFIX/.snipkit-e2e-ready" 2>/dev/null)" != "$prefix_version" ]; then
    echo "making the Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    {
        wineboot -i &&
            wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &&
            wineserver -w
    } >"$state/wineboot.log" 2>&1 8>&- || { cat "$state/wineboot.log" >&2; exit 1; }
    echo "$prefix_version" >"$WINEPREFIX/.snipkit-e2e-ready"
fi

# The host helper: one request per file (program on the first line, one
# argument per line); only xdotool and ImageMagick's import are run.
host_loop() {
    shopt -s nullglob
    while :; do
        for req in "$host_dir"/*.req; do
            base=${req%.req}
            mapfile -t args <"$req"
            rm -f "$req"
            rc=0
            case "${args[0]-}" in
                xdotool | import) "${args[@]}" >"$base.out" 2>&1 || rc=$? ;;
                *) echo "not allowed: ${args[0]-}" >"$base.out"; rc=126 ;;
            esac
            echo "$rc" >"$base.rc.tmp"
            mv "$base.rc.tmp" "$base.rc"
        done
        sleep 0.03
    done
}
host_loop 8>&- &
host_pid=$!

to_windows() { echo "Z:${1//\//\\}"; }

export SNIPKIT_E2E_HOST
SNIPKIT_E2E_HOST=$(to_windows "$host_dir")
mkdir -p "$state/work"
extra=()
[ -n "$shots" ] && extra+=(--shots "$(to_windows "$shots")")
start=$(date +%s)
wine64 "$driver" run \
    --snipkit "$(to_windows "$snipkit")" \
    --work "$(to_windows "$state/work")" \
    --repo "$(to_windows "$repo")" \
    "${extra[@]}" "${names[@]}" 8>&-
rc=$?
echo "e2e: ${names[*]} finished in $(($(date +%s) - start)) s with exit code $rc"
exit $rc
