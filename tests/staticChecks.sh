#!/usr/bin/env bash
# Static checks of the game's sources: cppcheck, then clang-tidy with the
# project's .clang-tidy. Any finding fails. A finding that is wrong is
# suppressed where it occurs, with the reason beside it.
#   staticChecks.sh SOURCE_DIR [INCLUDE_DIR...]   (the include directories of SDL2 and SDL2_image)
set -euo pipefail
root=$1
shift
includes=(-I "$root/src")
for dir in "$@"; do includes+=(-I "$dir"); done
cd "$root"

cppcheck --quiet --error-exitcode=1 --enable=warning,style,performance,portability \
    --std=c++17 --language=c++ --inline-suppr --suppress=missingIncludeSystem \
    -I src src/

findings=$(clang-tidy --quiet src/*.cpp -- -std=c++17 "${includes[@]}" 2>&1 |
    grep -v 'warnings\? generated\.$' || true)
if [ -n "$findings" ]; then
    echo "$findings"
    exit 1
fi
echo "static checks: no findings"
