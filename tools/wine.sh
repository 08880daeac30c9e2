#!/usr/bin/env bash
# The one place that knows where Wine's programs are. Debian's wine64 package
# keeps them in /usr/lib/wine, which is not on PATH, and a machine may have
# some other `wine` or `wineserver` there; so every script calls them through
# this file, never by a bare name.
#
#   . tools/wine.sh                   sets SNIPKIT_WINE64 and SNIPKIT_WINESERVER
#                                     and exports WINESERVER for Wine's loader;
#                                     defines wine_check, wine64, wineserver
#                                     and wineboot (run as `wine64 wineboot`)
#   bash tools/wine.sh PROGRAM ARG... runs wine64, wineserver or wineboot
#
# SNIPKIT_WINE_DIR overrides the folder.

SNIPKIT_WINE_DIR=${SNIPKIT_WINE_DIR:-/usr/lib/wine}
SNIPKIT_WINE64="$SNIPKIT_WINE_DIR/wine64"
SNIPKIT_WINESERVER="$SNIPKIT_WINE_DIR/wineserver"
[ -x "$SNIPKIT_WINESERVER" ] || SNIPKIT_WINESERVER="$SNIPKIT_WINE_DIR/wineserver64"
# The loader starts the server itself; this keeps it from searching PATH.
export WINESERVER="$SNIPKIT_WINESERVER"

# Stops with one line when Wine is not where this file looks.
wine_check() {
    local f
    for f in "$SNIPKIT_WINE64" "$SNIPKIT_WINESERVER"; do
        if [ ! -x "$f" ]; then
            echo "missing: $f (package wine64; run 'make deps')" >&2
            return 2
        fi
    done
}

wine64() { "$SNIPKIT_WINE64" "$@"; }
wineserver() { "$SNIPKIT_WINESERVER" "$@"; }
wineboot() { "$SNIPKIT_WINE64" wineboot "$@"; }

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -u
    wine_check || exit
    case "${1-}" in
        wine64 | wineserver | wineboot) "$@" ;;
        *) echo "usage: $0 wine64|wineserver|wineboot ARG..." >&2; exit 2 ;;
    esac
fi
