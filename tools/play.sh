#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it.
set -euo pipefail
source "$(dirname "$0")/common.sh"
build_native "$ROOT/build/release" -DZORVANE_TESTS=OFF
cd "$ROOT"
exec "$ROOT/build/release/zorvane"
