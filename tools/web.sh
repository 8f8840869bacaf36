#!/usr/bin/env bash
# Builds the browser version on Debian, installing what is missing:
# Emscripten, then SDL2, SDL2_image and liblzma's decoder compiled to
# WebAssembly from Debian's source packages (kept under
# build/deps/emscripten, built once), then the game, its page and its
# strings in every language (gettext's tools read po/), and its pictures as
# compressed archives. Leaves build/web/
# (serve it with: python3 -m http.server -d build/web) and
# build/zorvane-web.zip. Further targets of the game's build to make may be
# named (tools/web-test.sh names zorvane_checked).
set -euo pipefail
source "$(dirname "$0")/common.sh"

PREFIX="$DEPS/emscripten"
BUILD="$ROOT/build/web-build"

ensure_packages emscripten cmake make zip gettext python3-pil
# Emscripten's JavaScript tools need Debian's Node.js modules (node-acorn),
# which a Node.js installed from elsewhere does not look for by itself; its
# Python scripts run on Debian's Python.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}" EMSDK_PYTHON=/usr/bin/python3
CMAKE_CONFIGURE=(emcmake cmake)
AUTOTOOLS_CONFIGURE=(emconfigure)
# Everything is compiled, and the program linked, for size: the download is
# what a player waits for, and drawing a frame needs little of the CPU.
FOR_SIZE=("-DCMAKE_C_FLAGS_RELEASE=-Oz -DNDEBUG" "-DCMAKE_CXX_FLAGS_RELEASE=-Oz -DNDEBUG")

# SDL without the subsystems the game does not use: a quicker build and a
# smaller download.
build_sdl2 "$PREFIX" "${FOR_SIZE[@]}" -DSDL_AUDIO=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF \
    -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF -DSDL_LOCALE=OFF \
    -DSDL_MISC=OFF -DSDL_FILESYSTEM=OFF
build_sdl2_image "$PREFIX" "${FOR_SIZE[@]}" -DCMAKE_FIND_ROOT_PATH="$PREFIX"
build_liblzma_decoder "$PREFIX" --host=wasm32-unknown-emscripten "CFLAGS=-Oz -DNDEBUG"

"${CMAKE_CONFIGURE[@]}" -S "$ROOT" -B "$BUILD" -DCMAKE_FIND_ROOT_PATH="$PREFIX" \
    -DCMAKE_BUILD_TYPE=Release "${FOR_SIZE[@]}" -DZORVANE_TESTS=OFF
cmake --build "$BUILD" -j "$(nproc)" --target all "$@"

rm -rf "$WEB_OUT" "$ROOT/build/zorvane-web.zip"
cmake --install "$BUILD" --prefix "$WEB_OUT" >/dev/null
reproducible_zip "$ROOT/build/zorvane-web.zip" "$ROOT/build" web
echo "web: built $WEB_OUT and $ROOT/build/zorvane-web.zip"
