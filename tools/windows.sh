#!/usr/bin/env bash
# Builds the 32-bit Windows package on Debian, installing what is missing:
# MinGW-w64, then SDL2 and SDL2_image cross-compiled from Debian's source
# packages (kept under build/deps/i686-w64-mingw32, built once), then the
# game. Leaves build/windows/Zorvane/ (Zorvane.exe and resources/, in
# English), build/windows/Zorvane.zip and the setup program
# build/windows/Zorvane-<version>-setup.exe, which speaks every language of
# po/LINGUAS and installs the game in the one chosen.
set -euo pipefail
source "$(dirname "$0")/common.sh"

TOOLCHAIN="$ROOT/cmake/$WINDOWS_TARGET.cmake"
PREFIX="$DEPS/$WINDOWS_TARGET"

ensure_packages cmake make g++-mingw-w64-i686 binutils-mingw-w64-i686 zip nsis
[ -d "$ROOT/resources" ] || { echo "windows: no resources/ to package" >&2; exit 1; }
[ -f "$ROOT/art/icon/zorvane.ico" ] || { echo "windows: no art/icon/zorvane.ico" >&2; exit 1; }

build_sdl2 "$PREFIX" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN"
build_sdl2_image "$PREFIX" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_PREFIX_PATH="$PREFIX"
# pkg-config, should the build fall back on it, sees only the Windows
# libraries.
export PKG_CONFIG_LIBDIR="$PREFIX/lib/pkgconfig" PKG_CONFIG_PATH=

cmake -S "$ROOT" -B "$WINDOWS_OUT/build" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_PREFIX_PATH="$PREFIX" -DCMAKE_BUILD_TYPE=Release -DZORVANE_TESTS=OFF
cmake --build "$WINDOWS_OUT/build" -j "$(nproc)"

# The package: the program, stripped, beside the pictures it loads from its
# working directory.
rm -rf "$WINDOWS_OUT/Zorvane" "$WINDOWS_OUT/Zorvane.zip"
mkdir -p "$WINDOWS_OUT/Zorvane"
"$WINDOWS_TARGET-strip" -o "$WINDOWS_OUT/Zorvane/Zorvane.exe" "$WINDOWS_OUT/build/zorvane.exe"
cp -r "$ROOT/resources" "$WINDOWS_OUT/Zorvane/"
reproducible_zip "$WINDOWS_OUT/Zorvane.zip" "$WINDOWS_OUT" Zorvane

# The setup program installs the same folder, with the times set above, the
# pictures with words in the language the player picks taken from the copies
# CMake made of each language's, which get the same time. Whatever the
# language, the same files are installed: its uninstaller removes the
# pictures one by one, then each folder if it is empty, deepest first
# (reverse order puts a folder after what it holds).
rm -f "$WINDOWS_OUT"/Zorvane-*-setup.exe
stamp_times "$WINDOWS_OUT/build/setup"
(
    cd "$WINDOWS_OUT/Zorvane"
    find resources -type f | LC_ALL=C sort | sed 's/.*/Delete "$INSTDIR\\&"/'
    find resources -type d | LC_ALL=C sort -r | sed 's/.*/RMDir "$INSTDIR\\&"/'
) | tr / '\\' >"$WINDOWS_OUT/build/resources.nsh"
makensis -V2 -DPACKAGE="$WINDOWS_OUT/Zorvane" -DRESOURCES="$WINDOWS_OUT/build/resources.nsh" \
    "$WINDOWS_OUT/build/setup.nsi"
echo "windows: built $WINDOWS_OUT/Zorvane, $WINDOWS_OUT/Zorvane.zip and" \
    "$(ls "$WINDOWS_OUT"/Zorvane-*-setup.exe)"
