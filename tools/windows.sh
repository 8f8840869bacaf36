#!/usr/bin/env bash
# Builds the 32-bit Windows package on Debian, installing what is missing:
# MinGW-w64, then SDL2 and SDL2_image cross-compiled from Debian's source
# packages (kept under build/deps/i686-w64-mingw32, built once), then the
# game. Leaves build/windows/Zorvane/ (Zorvane.exe and resources/) and
# build/windows/Zorvane.zip.
set -euo pipefail
source "$(dirname "$0")/common.sh"

TARGET=i686-w64-mingw32
TOOLCHAIN="$ROOT/cmake/$TARGET.cmake"
PREFIX="$DEPS/$TARGET"
OUT="$ROOT/build/windows"

ensure_packages cmake make g++-mingw-w64-i686 binutils-mingw-w64-i686 zip
[ -d "$ROOT/resources" ] || { echo "windows: no resources/ to package" >&2; exit 1; }
[ -f "$ROOT/art/icon/zorvane.ico" ] || { echo "windows: no art/icon/zorvane.ico" >&2; exit 1; }

build_sdl2 "$PREFIX" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN"
build_sdl2_image "$PREFIX" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_PREFIX_PATH="$PREFIX"
# pkg-config, should the build fall back on it, sees only the Windows
# libraries.
export PKG_CONFIG_LIBDIR="$PREFIX/lib/pkgconfig" PKG_CONFIG_PATH=

cmake -S "$ROOT" -B "$OUT/build" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_PREFIX_PATH="$PREFIX" -DCMAKE_BUILD_TYPE=Release -DZORVANE_TESTS=OFF
cmake --build "$OUT/build" -j "$(nproc)"

# The package: the program, stripped, beside the pictures it loads from its
# working directory.
rm -rf "$OUT/Zorvane" "$OUT/Zorvane.zip"
mkdir -p "$OUT/Zorvane"
"$TARGET-strip" -o "$OUT/Zorvane/Zorvane.exe" "$OUT/build/zorvane.exe"
cp -r "$ROOT/resources" "$OUT/Zorvane/"
(cd "$OUT" && zip -q -r -X Zorvane.zip Zorvane)
echo "windows: built $OUT/Zorvane and $OUT/Zorvane.zip"
