#!/usr/bin/env bash
# `make dist`: packs the Windows release from the i686 build.
#
#   tools/dist.sh WIN32_BUILD_DIR OUT_DIR
#
# Writes OUT_DIR/snipkit-<version>-win32.zip holding one folder
# snipkit-<version>/ with snipkit.exe (stripped), its help page snipkit.htm (which the
# Help command opens from beside the program), the sample header comment
# files UnitHead.txt and ProcHead.txt, and readme.txt. The zip is made with
# CMake, so no zip program is needed.
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 WIN32_BUILD_DIR OUT_DIR" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cmake=${CMAKE:-cmake}

exe="$build/snipkit.exe"
header="$build/generated/version.h"
for f in "$exe" "$header" "$repo/src/about/snipkit.htm" "$repo/UnitHead.txt" "$repo/ProcHead.txt"; do
    [ -f "$f" ] || { echo "missing: $f" >&2; exit 1; }
done

# The release is the 32-bit program: a PE file whose machine is i386 (0x14c).
pe_offset=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe_offset + 4)) -N2 "$exe" | tr -d ' ')
if [ "$(head -c2 "$exe")" != "MZ" ] || [ "$machine" != "014c" ]; then
    echo "$exe is not a 32-bit Windows program (machine $machine)" >&2
    exit 1
fi
# Large-address aware (0x20 in the file header's characteristics): on 64-bit
# Windows a large selection may then use 4 GB of address space, not 2.
characteristics=$(od -An -tu2 -j$((pe_offset + 22)) -N2 "$exe" | tr -d ' ')
if [ $((characteristics & 0x20)) -eq 0 ]; then
    echo "$exe is not large-address aware" >&2
    exit 1
fi

version=$(sed -n 's/^#define SNIPKIT_VERSION_STRING "\(.*\)"$/\1/p' "$header")
suffix=$(sed -n 's/^#define SNIPKIT_VERSION_SUFFIX "\(.*\)"$/\1/p' "$header")
[ -n "$version" ] || { echo "no version in $header" >&2; exit 1; }
name="snipkit-$version"
zip="$out/$name-win32.zip"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"
# Without its symbols the program is less than half the size.
${STRIP:-i686-w64-mingw32-strip} -o "$stage/$name/snipkit.exe" "$exe"
cp "$repo/src/about/snipkit.htm" "$repo/UnitHead.txt" "$repo/ProcHead.txt" "$stage/$name/"
# The zip and readme.txt are named from the build's version header; the
# program's manifest, made from the same version, must say so too (a stale
# program would not).
major=$(sed -n 's/^#define SNIPKIT_VERSION_MAJOR \([0-9]*\)$/\1/p' "$header")
minor=$(sed -n 's/^#define SNIPKIT_VERSION_MINOR \([0-9]*\)$/\1/p' "$header")
if ! LC_ALL=C grep -q -a -F "version=\"$major.$minor.0.0\"" "$stage/$name/snipkit.exe"; then
    echo "$exe is not version $version: its manifest does not say version=\"$major.$minor.0.0\"" >&2
    exit 1
fi

# Line breaks as Notepad on any Windows shows them.
sed 's/$/\r/' >"$stage/$name/readme.txt" <<EOF
Delphi Snipkit $version${suffix:+ $suffix}

A small floating toolbar for the code editor of the Delphi IDE. Select
Object Pascal text in the editor, pick a command from one of the toolbar's
menus, and Snipkit copies the selection out of the editor, rewrites it and
pastes the result back over it.

Installing
----------
Unpack the folder $name anywhere you may write to, for example to
C:\\Tools. Snipkit needs Windows 7 or later and nothing else: no installer,
no registry entries, no settings. It keeps your stashed snippets in a folder
"stash" that it makes beside snipkit.exe; copy that folder to back them up.
To remove Snipkit, delete its folder (after copying the stash, if you want
to keep it).

Start Snipkit with the same rights as the IDE (both as administrator, or
neither), and start one toolbar only. Snipkit works with the IDE's editor
windows ("TEditWindow"); see the help page for what its messages mean.

Files
-----
snipkit.exe    the toolbar (32-bit; runs on 32- and 64-bit Windows)
snipkit.htm    the help page: every command with an example
UnitHead.txt   sample unit header comment, for "insert UNIT comment"
ProcHead.txt   sample routine header comment, for "insert PROC comment"

Using
-----
1. Start snipkit.exe. The toolbar opens at the left of the screen and stays
   on top of other windows.
2. Click into the IDE's code editor. Once a second the toolbar notes the
   window you work in.
3. Select some code and pick a command from one of the toolbar's buttons:
   General options, Insert new blocks of code, Format text, Stash clip,
   Retrieve code, and Help! (About and the help page).
4. The editor's own undo, or Undo in the General options menu, makes the
   editor take back its last edit, for example the last paste.
5. Snipkit leaves each result on the clipboard, in place of whatever you
   had copied before.

The header comment commands insert UnitHead.txt and ProcHead.txt from the
folder Snipkit was started in. Edit the samples to your liking; when you
start Snipkit from a shortcut, set the shortcut's "Start in" folder to the
folder that holds them.
EOF

rm -f "$zip"
(cd "$stage" && "$cmake" -E tar cf "$zip" --format=zip "$name")

# What a user unpacks: exactly these files, the program intact.
expected=$(printf '%s\n' "$name/" "$name/ProcHead.txt" "$name/UnitHead.txt" "$name/readme.txt" \
    "$name/snipkit.exe" "$name/snipkit.htm")
listed=$(cd "$stage" && "$cmake" -E tar tf "$zip" | sort)
if [ "$listed" != "$expected" ]; then
    echo "unexpected contents of $zip:" >&2
    echo "$listed" >&2
    exit 1
fi
check=$(mktemp -d)
trap 'rm -rf "$stage" "$check"' EXIT
(cd "$check" && "$cmake" -E tar xf "$zip")
for f in snipkit.exe snipkit.htm UnitHead.txt ProcHead.txt readme.txt; do
    cmp -s "$stage/$name/$f" "$check/$name/$f" || { echo "$f in $zip differs from what was packed" >&2; exit 1; }
done

echo "$zip"
