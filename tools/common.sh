# Shared by the scripts in this folder: installing Debian packages, and for
# the Windows and browser builds fetching Debian's sources of SDL2 and
# SDL2_image and cross-compiling them into a cache under build/deps. Source
# this file; do not run it.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The cross-compiled dependencies. tools/reproduce.sh points its two builds
# at one cache, so that it compiles them once.
DEPS=${ZORVANE_DEPS:-$ROOT/build/deps}
export DEBIAN_FRONTEND=noninteractive

# Every time a build writes into a package, an archive or an executable is
# the time of the last commit, so that the same commit gives the same bytes.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$ROOT" log -1 --format=%ct 2>/dev/null) || unset SOURCE_DATE_EPOCH
fi
[ -z "${SOURCE_DATE_EPOCH:-}" ] || export SOURCE_DATE_EPOCH

# The languages of po/LINGUAS besides English, separated by spaces, as the
# build reads them (cmake/Languages.cmake).
languages() {
    cmake -P "$ROOT/cmake/Languages.cmake"
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Another package manager (unattended-upgrades, a second install) may hold
# apt's locks for minutes: dpkg's lock is waited for; apt-get update does not
# wait for the lists lock, so it is tried again while that lock is held.
APT_WAIT=(-o DPkg::Lock::Timeout=900)

apt_updated=""
apt_update_once() {
    [ -n "$apt_updated" ] && return
    local tries=90 out
    until out=$(as_root apt-get update -q "${APT_WAIT[@]}" 2>&1); do
        if [[ $out != *"Could not get lock"* ]] || ((--tries == 0)); then
            echo "$out" >&2
            return 1
        fi
        sleep 10
    done
    apt_updated=yes
}

# Installs the packages that are not installed yet, enabling the foreign
# architecture of any named as PACKAGE:ARCH. A package installed for two
# architectures reports two statuses, one a line.
ensure_packages() {
    local missing=() pkg status arch
    for pkg in "$@"; do
        status=$(dpkg-query -W -f='${Status}\n' "$pkg" 2>/dev/null || true)
        [[ $status == *"install ok installed"* ]] || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return
    for arch in $(printf '%s\n' "${missing[@]}" | sed -n 's/.*://p' | sort -u); do
        if ! { dpkg --print-architecture; dpkg --print-foreign-architectures; } | grep -qx "$arch"; then
            as_root dpkg --add-architecture "$arch"
            apt_updated=""
        fi
    done
    apt_update_once
    as_root apt-get install -y -q --no-install-recommends "${APT_WAIT[@]}" "${missing[@]}"
}

# apt-get source, for the cross builds' SDL: apt runs on a state of its own
# under build/apt, with deb-src entries made from the machine's Debian
# sources (one-line or deb822), and needs no root. The machine's own apt
# configuration is read, never written.
PRIVATE_APT="$ROOT/build/apt"
private_apt() {
    apt-get -q -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$PRIVATE_APT/sources" \
        -o Dir::Etc::PreferencesParts="$PRIVATE_APT/preferences" -o Dir::State::Lists="$PRIVATE_APT/lists" \
        -o Dir::Cache="$PRIVATE_APT/cache" -o APT::Sandbox::User="$(id -un)" "$@"
}

private_apt_updated=""
private_apt_update_once() {
    [ -n "$private_apt_updated" ] && return
    local f
    rm -rf "$PRIVATE_APT"
    mkdir -p "$PRIVATE_APT"/{sources,preferences,lists/partial,cache/archives/partial}
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        if [ -f "$f" ]; then sed -n 's/^\s*deb\(-src\)\?\s/deb-src /p' "$f"; fi
    done | LC_ALL=C sort -u >"$PRIVATE_APT/sources/debian.list"
    for f in /etc/apt/sources.list.d/*.sources; do
        if [ -f "$f" ]; then sed 's/^Types:.*/Types: deb-src/' "$f" >"$PRIVATE_APT/sources/$(basename "$f")"; fi
    done
    private_apt update >/dev/null
    private_apt_updated=yes
}

# Debian's source packages that the cross builds compile, each a name and
# the version it must have: the same SDL2 and SDL2_image as the native
# game's Debian packages, and xz-utils for liblzma.
SDL2_SOURCE=(libsdl2 2.26.5)
SDL2_IMAGE_SOURCE=(libsdl2-image 2.6.3)
LIBLZMA_SOURCE=(xz-utils 5.4.1)

# Unpacks all three, for a build that cannot fetch them itself.
fetch_sources() {
    debian_source "${SDL2_SOURCE[@]}"
    debian_source "${SDL2_IMAGE_SOURCE[@]}"
    debian_source "${LIBLZMA_SOURCE[@]}"
}

# Unpacks Debian's source package NAME (version prefix VERSION) under
# build/deps/src and sets SOURCE_DIR to its directory.
debian_source() {
    local name=$1 version=$2
    SOURCE_DIR=$(unpacked_source "$name" "$version")
    if [ -z "$SOURCE_DIR" ]; then
        ensure_packages dpkg-dev
        private_apt_update_once
        mkdir -p "$DEPS/src"
        (cd "$DEPS/src" && private_apt source "$name")
        SOURCE_DIR=$(unpacked_source "$name" "$version")
        [ -n "$SOURCE_DIR" ] || { echo "no $name $version source in Debian's archive" >&2; return 1; }
    fi
}

unpacked_source() {
    local dir
    for dir in "$DEPS/src/$1-$2"*/; do
        if [ -d "$dir" ]; then
            echo "${dir%/}"
            break
        fi
    done
}

# The committed tree of REV, without the work tree's builds or changes, as
# DIR/source.
export_tree() {
    git -C "$ROOT" archive --format=tar --prefix=source/ "$1" | tar -C "$2" -xf -
}

# The command that configures a CMake build: plain cmake, or for the browser
# cmake run through emcmake, which adds Emscripten's toolchain.
CMAKE_CONFIGURE=(cmake)

# Builds a dependency from SOURCE into PREFIX with BUILD, a function given
# the source, the prefix and the other arguments, once for a given set of
# arguments; a later call with the same arguments finds the stamp and
# returns at once.
build_once() {
    local build=$1 source=$2 prefix=$3 stamp
    shift 3
    stamp="$prefix/.built-$(basename "$source")-$(echo "$*" | md5sum | cut -c1-12)"
    [ -f "$stamp" ] && return
    "$build" "$source" "$prefix" "$@"
    touch "$stamp"
}

# Builds a CMake project into PREFIX once for a given set of arguments. The
# cache's own folder is mapped to a fixed name in whatever the compiler
# records of a path (__FILE__ in SDL's messages among them), so that the
# libraries do not depend on where the cache lies.
cmake_dependency() {
    build_once cmake_build "$1" "$2" "-DCMAKE_C_FLAGS=-ffile-prefix-map=$DEPS=/deps" "${@:3}"
}

cmake_build() {
    local source=$1 prefix=$2 build="$2/build-$(basename "$1")"
    shift 2
    "${CMAKE_CONFIGURE[@]}" -S "$source" -B "$build" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DBUILD_SHARED_LIBS=OFF "$@"
    cmake --build "$build" -j "$(nproc)"
    cmake --install "$build" >/dev/null
}

# The command that runs an Autotools configure script: the script itself, or
# for the browser through emconfigure, which points it at Emscripten.
AUTOTOOLS_CONFIGURE=()

# Builds an Autotools project into PREFIX once for a given set of arguments
# (configure's options and variables), as cmake_dependency does a CMake one:
# out of its tree, static only, the cache's folder mapped to a fixed name.
autotools_dependency() {
    build_once autotools_build "$1" "$2" "CPPFLAGS=-ffile-prefix-map=$DEPS=/deps" "${@:3}"
}

autotools_build() {
    local source=$1 prefix=$2 build="$2/build-$(basename "$1")"
    shift 2
    rm -rf "$build"
    mkdir -p "$build"
    (
        cd "$build"
        "${AUTOTOOLS_CONFIGURE[@]}" "$source/configure" --prefix="$prefix" \
            --disable-shared --enable-static "$@"
        make -j "$(nproc)"
        make install >/dev/null
    )
}

# liblzma from Debian's xz-utils, with the .lzma format's decoder only: no
# encoder, no other filter, no threads, its CRC tables computed when used
# rather than stored, and none of the package's programs. Extra arguments go
# to configure.
build_liblzma_decoder() {
    local prefix=$1
    shift
    debian_source "${LIBLZMA_SOURCE[@]}"
    autotools_dependency "$SOURCE_DIR" "$prefix" --disable-encoders \
        --enable-decoders=lzma1 --disable-lzip-decoder --enable-checks=crc32 --disable-threads \
        --enable-small --disable-xz --disable-xzdec --disable-lzmadec \
        --disable-lzmainfo --disable-lzma-links --disable-scripts \
        --disable-doc --disable-nls --disable-rpath "$@"
}

# Installs the npm packages that FROM/package-lock.json pins, with their
# hashes, under INTO by npm ci, once for each version of that file (Node.js
# from elsewhere may bring its own npm). Sets NODE_MODULES to where they are.
install_node_tools() {
    local from=$1 into=$2
    NODE_MODULES="$into/install/node_modules"
    cmp -s "$from/package-lock.json" "$into/package-lock.json" && return
    command -v npm >/dev/null || ensure_packages npm
    rm -rf "$into"
    mkdir -p "$into/install"
    cp "$from/package.json" "$from/package-lock.json" "$into/install"
    (cd "$into/install" && npm ci --no-audit --no-fund --ignore-scripts)
    cp "$from/package-lock.json" "$into"
}

# SDL2_image with its built-in PNG decoder only: no libpng, no other format.
# "Vendored" builds nothing here; it keeps the installed CMake package from
# asking for a libpng that the built-in decoder does not use. Extra arguments
# (a toolchain file, where SDL2 is) go to CMake.
build_sdl2_image() {
    local prefix=$1 format
    shift
    debian_source "${SDL2_IMAGE_SOURCE[@]}"
    local formats=()
    for format in AVIF BMP GIF JPG JXL LBM PCX PNM QOI SVG TGA TIF WEBP XCF XPM XV; do
        formats+=("-DSDL2IMAGE_$format=OFF")
    done
    cmake_dependency "$SOURCE_DIR" "$prefix" -DSDL2IMAGE_PNG=ON \
        -DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_VENDORED=ON \
        -DSDL2IMAGE_DEPS_SHARED=OFF -DSDL2IMAGE_SAMPLES=OFF \
        "${formats[@]}" "$@"
}

# SDL2 itself, static only, with the SDL2main entry glue where the platform
# has one. Extra arguments (a toolchain file) go to CMake.
build_sdl2() {
    local prefix=$1
    shift
    debian_source "${SDL2_SOURCE[@]}"
    cmake_dependency "$SOURCE_DIR" "$prefix" -DSDL_SHARED=OFF -DSDL_STATIC=ON \
        -DSDL_TEST=OFF "$@"
}

# The native build: Debian's SDL2 and SDL2_image; gettext merges the
# translations into the menu entry and the AppStream data, the latter
# through its own rules for AppStream's format (appstream, whose package
# also installs an apt hook, is the test suite's validator only).
BUILD_PACKAGES=(build-essential cmake pkg-config libsdl2-dev libsdl2-image-dev gettext)

build_native() {
    local dir=$1
    shift
    ensure_packages "${BUILD_PACKAGES[@]}"
    cmake -S "$ROOT" -B "$dir" "$@"
    cmake --build "$dir" -j "$(nproc)"
}

# What the test suite needs beyond the build: GoogleTest; for the end-to-end
# driver Python with Pillow for pictures, a virtual X display with Mesa's GL,
# input injection and xprop for the window's properties; the validators of
# the Debian package's files.
TEST_PACKAGES=(googletest libgtest-dev python3 python3-pil xvfb xdotool x11-utils
    libgl1-mesa-dri libglx-mesa0 cppcheck clang-tidy desktop-file-utils
    appstream man-db)

# The Windows build: its cross target and where its package is made.
WINDOWS_TARGET=i686-w64-mingw32
WINDOWS_OUT="$ROOT/build/windows"

# The browser build (tools/web.sh): what it leaves to serve.
WEB_OUT="$ROOT/build/web"

# Gives everything under DIR, DIR included, the commit's time.
stamp_times() {
    find "$1" -exec touch -h -d "@${SOURCE_DATE_EPOCH:-0}" {} +
}

# Zips the folder NAME in DIR into the archive OUT the same way every time:
# its entries in sorted order, each with the commit's time (zip stores local
# time, hence UTC) and the modes a package installs, whatever the umask, and
# no extra fields with owners or further times.
reproducible_zip() {
    local out=$1 dir=$2 name=$3
    (
        cd "$dir"
        chmod -R u=rwX,go=rX "$name"
        stamp_times "$name"
        rm -f "$out"
        find "$name" | LC_ALL=C sort | TZ=UTC zip -q -X -@ "$out"
    )
}
