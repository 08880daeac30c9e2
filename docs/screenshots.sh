#!/usr/bin/env bash
# Makes the README's pictures in docs/ from the scripted demo (the "demo"
# scenarios that `make run` plays without a display), once at the usual
# 96 dpi and once with Wine set to 144 dpi.
#
#   docs/screenshots.sh WIN64_BUILD_DIR [STATE_DIR]
#
# STATE_DIR (default build/docs-shots) keeps the two Wine prefixes.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 WIN64_BUILD_DIR [STATE_DIR]" >&2
    exit 2
fi
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
win_dir=$(cd "$1" && pwd)
mkdir -p "${2:-$repo/build/docs-shots}"
state=$(cd "${2:-$repo/build/docs-shots}" && pwd)
docs="$repo/docs"
. "$repo/tools/wine.sh"
wine_check || exit
command -v convert >/dev/null || { echo "missing tool: convert (ImageMagick)" >&2; exit 2; }

# The part of the 1280x1024 screen where the demo puts the toolbar, the
# editor and the dialogs.
crop=1000x620+16+30

shots() {  # DPI: the demo's screenshots of a Wine prefix set to that DPI
    local dpi=$1 dir="$state/$1"
    mkdir -p "$dir"
    # The runner makes the prefix at its first run; a short scenario does that.
    SNIPKIT_E2E_STATE="$dir" bash "$repo/tests/e2e/run_e2e.sh" "$win_dir" about.layout >/dev/null
    (
        export WINEPREFIX="$dir/wineprefix" WINEDEBUG=-all
        for key in 'HKCU\Control Panel\Desktop' \
            'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
            wine64 reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
        done
        wineserver -w
    )
    rm -rf "$dir/shots"
    SNIPKIT_E2E_STATE="$dir" bash "$repo/tests/e2e/run_e2e.sh" "$win_dir" --shots "$dir/shots" demo >/dev/null
}

shots 96
shots 144
# The keyboard key's menu, from the scenario that picks UPPER CASE with it.
SNIPKIT_E2E_STATE="$state/96" bash "$repo/tests/e2e/run_e2e.sh" "$win_dir" --shots "$state/96/shots" \
    keyboard.upper_case >/dev/null
convert "$state/96/shots/01-selected.png" -crop "$crop" +repage "$docs/toolbar.png"
convert "$state/96/shots/02-case-menu.png" -crop "$crop" +repage "$docs/menu.png"
convert "$state/96/shots/06-about-box.png" -crop "$crop" +repage "$docs/about-96dpi.png"
convert "$state/144/shots/06-about-box.png" -crop "$crop" +repage "$docs/about-144dpi.png"
convert "$state/144/shots/02-case-menu.png" -crop "$crop" +repage "$docs/menu-144dpi.png"
convert "$state/96/shots/07-key-menu.png" -crop "$crop" +repage "$docs/key-menu.png"
ls -l "$docs"/*.png
