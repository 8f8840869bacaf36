#!/usr/bin/env bash
# Remakes the template po/zorvane.pot from the files of po/POTFILES and
# merges it into every translation: the build's zorvane-update-po target
# (cmake/Translations.cmake), which knows the languages and the version.
# Installs what the build needs. Run from anywhere.
set -euo pipefail
source "$(dirname "$0")/../tools/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}"
cmake -S "$ROOT" -B "$ROOT/build/po" -DZORVANE_TESTS=OFF >/dev/null
cmake --build "$ROOT/build/po" --target zorvane-update-po
