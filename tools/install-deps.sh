#!/usr/bin/env bash
# Installs what the builds and tests need and is missing, then checks that
# every program they call actually runs, so a missing piece is named here
# rather than by a test failing minutes later. Never wine32: the 64-bit Wine
# loader is all this machine can run.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$repo/tools/wine.sh"

# One row per need: the package that provides it, what it is, and a command
# that succeeds only when it works.
checks=(
    "cmake|cmake|cmake --version"
    "g++|the native C++ compiler|g++ --version"
    "make|make|make --version"
    "g++-mingw-w64-i686|the i686 MinGW-w64 compiler|i686-w64-mingw32-g++ --version"
    "g++-mingw-w64-x86-64|the x86-64 MinGW-w64 compiler|x86_64-w64-mingw32-g++ --version"
    "wine64|wine64 ($SNIPKIT_WINE64)|\"\$SNIPKIT_WINE64\" --version"
    "wine64|wineserver ($SNIPKIT_WINESERVER)|test -x \"\$SNIPKIT_WINESERVER\""
    "xvfb|Xvfb|Xvfb -help"
    "xdotool|xdotool|xdotool --version"
    "imagemagick|ImageMagick's import|import -version"
    "clang|clang++|clang++ --version"
    "libclang-rt-dev|clang's fuzzer and sanitizer runtimes|fuzzer_links"
    "libgtest-dev|GoogleTest|test -f /usr/include/gtest/gtest.h"
    "libgmock-dev|GoogleMock|test -f /usr/include/gmock/gmock.h"
    "libbenchmark-dev|Google Benchmark|test -f /usr/include/benchmark/benchmark.h"
)

# libFuzzer with AddressSanitizer: the runtimes come in a package clang only
# recommends. A real link, since the files alone do not prove it works.
fuzzer_links() {
    local dir rc=0
    dir=$(mktemp -d)
    printf '%s\n' '#include <cstddef>' '#include <cstdint>' \
        'extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }' >"$dir/f.cpp"
    clang++ -fsanitize=fuzzer,address "$dir/f.cpp" -o "$dir/f" || rc=$?
    rm -rf "$dir"
    return "$rc"
}

passes() { eval "$1" >/dev/null 2>&1; }

missing=()
for row in "${checks[@]}"; do
    IFS='|' read -r package _ command <<<"$row"
    passes "$command" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
    mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

for row in "${checks[@]}"; do
    IFS='|' read -r package what command <<<"$row"
    if ! passes "$command"; then
        echo "install-deps: $what does not run (package $package); install it and try again" >&2
        exit 1
    fi
done
