#!/usr/bin/env bash
# Installs what is missing, builds the game and its tests, and runs the whole
# suite twice: built with AddressSanitizer and UndefinedBehaviorSanitizer,
# then as shipped, its sources checked by clang-tidy and cppcheck as they
# compile. The last lines are CTest's summary of the shipped build.
set -euo pipefail
source "$(dirname "$0")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

build_native "$ROOT/build/sanitize" -DCMAKE_BUILD_TYPE=Debug -DZORVANE_SANITIZE=ON
(cd "$ROOT/build/sanitize" && ctest --output-on-failure -j "$(nproc)")

build_native "$ROOT/build/tests" -DZORVANE_STATIC_CHECKS=ON
cd "$ROOT/build/tests"
ctest --output-on-failure -j "$(nproc)"
