#!/usr/bin/env bash
# Long fuzzing of the play loop's mouse handling (tests/fuzzTest.cpp).
#   tools/fuzz.sh [EVENTS [FIRST_SEED]]   the seeded fuzzer in the ASan+UBSan build;
#                                         10^8 events by default
#   tools/fuzz.sh --libfuzzer [SECONDS]   the libFuzzer target, built with clang;
#                                         300 s by default, corpus in build/libfuzzer/corpus
set -euo pipefail
source "$(dirname "$0")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

if [ "${1:-}" = --libfuzzer ]; then
    ensure_packages clang libclang-rt-14-dev
    CC=clang CXX=clang++ build_native "$ROOT/build/libfuzzer" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVANE_LIBFUZZER=ON
    mkdir -p "$ROOT/build/libfuzzer/corpus"
    exec "$ROOT/build/libfuzzer/tests/fuzzPointer" -max_total_time="${2:-300}" \
        -max_len=8192 "$ROOT/build/libfuzzer/corpus"
fi

build_native "$ROOT/build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVANE_SANITIZE=ON
ZORVANE_FUZZ_EVENTS=${1:-100000000} ZORVANE_FUZZ_SEED=${2:-1} \
    exec "$ROOT/build/fuzz/tests/fuzzTest" --gtest_filter=Fuzz.*
