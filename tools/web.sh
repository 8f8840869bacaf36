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
# All three are compiled to LLVM bitcode (-flto) and optimised together when
# the program is linked: the linker drops what nothing calls across the
# libraries' borders and inlines through them.
# Arguments: further compiler flags.
for_size() {
    FOR_SIZE=("-DCMAKE_C_FLAGS_RELEASE=-Oz -DNDEBUG -flto${*:+ $*}" "-DCMAKE_CXX_FLAGS_RELEASE=-Oz -DNDEBUG -flto${*:+ $*}")
}

# SDL without the subsystems the game does not use: a quicker build and a
# smaller download. Further, each dropping code that the game never runs in
# the browser (docs/WEB.md says how that is known):
#   SDL_LEAN_AND_MEAN   no specialised blitters, RLE, YUV or software
#                       renderer; a picture without alpha is converted for
#                       its texture by SDL's general blitter
#   no offscreen or dummy video driver: only SDL_VIDEODRIVER picks them
#   SDL's own sscanf and strtod in place of the C library's, whose
#                       floating-point scanner brings 128-bit arithmetic
#                       with it; SDL scans only integers on the game's paths
for_size -DSDL_LEAN_AND_MEAN=1
build_sdl2 "$PREFIX" "${FOR_SIZE[@]}" -DSDL_AUDIO=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF \
    -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF -DSDL_LOCALE=OFF \
    -DSDL_MISC=OFF -DSDL_FILESYSTEM=OFF -DSDL_OFFSCREEN=OFF -DSDL_DUMMYVIDEO=OFF \
    -DHAVE_SSCANF=OFF -DHAVE_VSSCANF=OFF -DHAVE_STRTOD=OFF -DHAVE_ATOF=OFF
# SDL2_image for its header and CMake package: web/pictures.c decodes the
# pictures in its place, so none of its code is linked.
for_size
build_sdl2_image "$PREFIX" "${FOR_SIZE[@]}" -DCMAKE_FIND_ROOT_PATH="$PREFIX"
build_liblzma_decoder "$PREFIX" --host=wasm32-unknown-emscripten "CFLAGS=-Oz -DNDEBUG"

# The minifiers that the program's link runs on its script.
install_node_tools "$ROOT/web" "$DEPS/node"

"${CMAKE_CONFIGURE[@]}" -S "$ROOT" -B "$BUILD" -DCMAKE_FIND_ROOT_PATH="$PREFIX" \
    -DCMAKE_BUILD_TYPE=Release "${FOR_SIZE[@]}" -DZORVANE_TESTS=OFF \
    -DZORVANE_NODE_TOOLS="$NODE_MODULES"
cmake --build "$BUILD" -j "$(nproc)" --target all "$@"

rm -rf "$WEB_OUT" "$ROOT/build/zorvane-web.zip"
cmake --install "$BUILD" --prefix "$WEB_OUT" >/dev/null
reproducible_zip "$ROOT/build/zorvane-web.zip" "$ROOT/build" web
echo "web: built $WEB_OUT and $ROOT/build/zorvane-web.zip"
