#!/usr/bin/env bash
# A long session through the real play loop (tests/sessionTest.cpp): memory
# read after a tenth of the events and at the end, leaks checked at exit.
#   tools/soak.sh [EVENTS]              LeakSanitizer (ASan build), 10^5 events by default
#   tools/soak.sh --valgrind [EVENTS]   valgrind memcheck on the shipped build, 10^4 by default
set -euo pipefail
source "$(dirname "$0")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
filter=--gtest_filter=Session.LongSession*

if [ "${1:-}" = --valgrind ]; then
    ensure_packages valgrind
    build_native "$ROOT/build/soak"
    ZORVANE_SOAK_EVENTS=${2:-10000} exec valgrind --leak-check=full --show-leak-kinds=definite \
        --errors-for-leak-kinds=definite --error-exitcode=99 \
        "$ROOT/build/soak/tests/sessionTest" "$filter"
fi

build_native "$ROOT/build/soak-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVANE_SANITIZE=ON
ZORVANE_SOAK_EVENTS=${1:-100000} exec "$ROOT/build/soak-asan/tests/sessionTest" "$filter"
