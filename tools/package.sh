#!/usr/bin/env bash
# Builds the Debian package build/package/zorvane_<version>_amd64.deb,
# installing what is missing: the game built with Debian's own compiler and
# linker flags (hardening included), laid out by the CMake install rules and
# packed by CPack, which asks dpkg-shlibdeps for the run-time dependencies.
set -euo pipefail
source "$(dirname "$0")/common.sh"
OUT="$ROOT/build/package"

ensure_packages dpkg-dev file
cd "$ROOT"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
build_native "$OUT/build" -DZORVANE_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"

rm -rf "$OUT"/*.deb "$OUT/_CPack_Packages"
# CPack gives the package's own members the modes the umask leaves.
umask 022
cpack --config "$OUT/build/CPackConfig.cmake" -B "$OUT"
rm -rf "$OUT/_CPack_Packages"
echo "package: built $(ls "$OUT"/zorvane_*.deb)"
