#!/usr/bin/env bash
# Proves that the same commit gives the same bytes: reprotest builds the
# committed tree twice with tools/release.sh, the second time in another
# folder, a year later, as another host, with another umask, time zone and
# locale and with its directories listed in another order (disorderfs), then
# compares every artifact and, where two differ, fails with diffoscope's
# report. Installs what is missing.
#
#   tools/reproduce.sh          both builds reuse the compiled dependencies
#                               under build/deps, building them first if
#                               they are not there
#   tools/reproduce.sh --deps   each build compiles its own dependencies
#                               from Debian's sources too (much slower)
set -euo pipefail
source "$(dirname "$0")/common.sh"
ensure_packages reprotest diffoscope-minimal disorderfs faketime fuse3 git \
    unzip xz-utils binutils wabt

# What reprotest compares, as shell patterns in one string.
ARTIFACTS="build/release/zorvane build/package/*.deb build/windows/Zorvane/Zorvane.exe"
ARTIFACTS+=" build/windows/Zorvane.zip build/windows/*-setup.exe build/web/* build/zorvane-web.zip"
OUT="$ROOT/build/reproduce"
rm -rf "$OUT"
mkdir -p "$OUT"

# The committed tree, without the work tree's builds or changes; its time
# is set above from the commit.
export_tree HEAD "$OUT"
if [ "${1:-}" = --deps ]; then
    # The second build runs in a user namespace of its own (for its host
    # name), where neither apt nor npm can fetch: the dependencies' sources
    # and the pinned minifiers come with the tree, and each build compiles
    # its own libraries.
    unset ZORVANE_DEPS
    DEPS="$OUT/source/build/deps"
    fetch_sources
    install_node_tools "$ROOT/web" "$DEPS/node"
else
    "$ROOT/tools/release.sh" >/dev/null
    export ZORVANE_DEPS="$DEPS"
fi

# Left as they are: the kernel's reported architecture (a 32-bit
# personality would change what CMake builds for), the number of CPUs (it
# only slows a build) and the user, which would need a second account
# with the rights to install packages.
reprotest --min-cpus="$(nproc)" --vary=-kernel,-num_cpus,-user_group \
    --store-dir="$OUT/builds" -s "$OUT/source" tools/release.sh "$ARTIFACTS"
