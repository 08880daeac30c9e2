#!/usr/bin/env bash
# `make run`: shows the toolbar beside a stand-in for the IDE's code editor.
#
#   tools/run.sh WIN64_BUILD_DIR DEMO_DIR
#
# With $DISPLAY set, both programs open on that display, the editor holding
# the sample unit; the script returns once the toolbar is closed. Without a
# display, a scripted demo plays on a private one (a few lines upper-cased
# through the toolbar's menu with the mouse and the keys, then Undo) and its
# screenshots are saved in DEMO_DIR.
set -uo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 WIN64_BUILD_DIR DEMO_DIR" >&2
    exit 2
fi
win_dir=$(cd "$1" && pwd) || exit 2
mkdir -p "$2"
demo_dir=$(cd "$2" && pwd)
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$repo/tools/wine.sh"
wine_check || exit
editor="$win_dir/tests/e2e/standin_editor.exe"
snipkit="$win_dir/snipkit.exe"
sample="$repo/tests/e2e/sample/Unit1.pas"

for f in "$snipkit" "$editor" "$sample"; do
    if [ ! -e "$f" ]; then
        echo "missing: $f" >&2
        exit 2
    fi
done

if [ -z "${DISPLAY:-}" ]; then
    command -v import >/dev/null || { echo "missing tool: import (ImageMagick)" >&2; exit 2; }
    rm -f "$demo_dir"/*.png
    SNIPKIT_E2E_STATE="$demo_dir/.state" bash "$repo/tests/e2e/run_e2e.sh" "$win_dir" --shots "$demo_dir" demo
    exit $?
fi

# On the user's display: a prefix of our own, so the session leaves the
# user's Wine setup alone and can be ended as a whole.
export WINEPREFIX="${SNIPKIT_WINEPREFIX:-$demo_dir/.wineprefix}"
export WINEDEBUG=-all
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree=;mshtml="
if [ ! -f "$WINEPREFIX/.snipkit-ready" ]; then
    echo "making the Wine prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 && wineserver -w && touch "$WINEPREFIX/.snipkit-ready"
fi
trap 'wineserver -k 2>/dev/null' EXIT

to_windows() { echo "Z:${1//\//\\}"; }

wine64 "$editor" --pos 300,40,700,600 "$(to_windows "$sample")" &
# The header comment files are looked up in the current directory.
(cd "$repo" && exec "$SNIPKIT_WINE64" "$snipkit") &
toolbar_pid=$!
echo "Select lines in Unit1.pas and pick a command from the toolbar; close the toolbar to end."
wait "$toolbar_pid"
