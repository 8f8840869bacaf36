#!/usr/bin/env bash
# Builds everything the project ships, installing what is missing: the
# native game (build/release/zorvane), the Debian package, the Windows
# executable with its zip and setup program, and the browser version with
# its zip. The same commit gives the same bytes (docs/REPRODUCIBLE.md).
set -euo pipefail
source "$(dirname "$0")/common.sh"
build_native "$ROOT/build/release" -DZORVANE_TESTS=OFF
"$ROOT/tools/package.sh"
"$ROOT/tools/windows.sh"
"$ROOT/tools/web.sh"
