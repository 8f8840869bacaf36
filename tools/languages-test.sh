#!/usr/bin/env bash
# Proves that po/LINGUAS is read once, as gettext reads it, and that every
# part of the project gets the same languages: the committed tree, copied,
# is given a LINGUAS with comment lines and several codes to a line, one
# language left out and the rest in another order; then the Debian package,
# the setup program, the browser version and the picture test are built
# from it, and each must offer exactly those languages. Installs what is
# missing; reuses the compiled dependencies of build/deps.
set -euo pipefail
source "$(dirname "$0")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" git

OUT="$ROOT/build/languages-test"
rm -rf "$OUT"
mkdir -p "$OUT"
export_tree HEAD "$OUT"
TREE="$OUT/source"
cat >"$TREE/po/LINGUAS" <<'EOF'
# Written in Cyrillic and Arabic letters
uk ru	ar
# In Latin letters, several to a line
tr pt pl es
 fr de
EOF
expected="ar de es fr pl pt ru tr uk"
export ZORVANE_DEPS="$DEPS"

# check WHAT FOUND: the codes found, in any order, must be those expected.
check() {
    local found
    found=$(tr -s ' \n' '\n\n' <<<"$2" | sed '/^$/d' | LC_ALL=C sort -u | paste -sd ' ')
    if [ "$found" = "$expected" ]; then
        echo "ok   $1: $found"
    else
        echo "FAIL $1: $found, not $expected" >&2
        exit 1
    fi
}

"$TREE/tools/package.sh" >"$OUT/package.log"
deb=$(ls "$TREE"/build/package/zorvane_*.deb)
check "the package's pictures" "$(dpkg-deb -c "$deb" | sed -n 's#.*/games/zorvane/lang/\([^/]*\)/$#\1#p')"
check "the package's menu entry" "$(dpkg-deb --fsys-tarfile "$deb" |
    tar -xO ./usr/share/applications/org.zorvane.Zorvane.desktop | sed -n 's/^Comment\[\(.*\)\]=.*/\1/p')"

"$TREE/tools/windows.sh" >"$OUT/windows.log"
setup="$TREE/build/windows/build/setup.nsi"
[ "$(grep -c '^!insertmacro MUI_LANGUAGE ' "$setup")" -eq "$(($(wc -w <<<"$expected") + 1))" ] ||
    { echo "FAIL the setup program does not speak English and exactly those languages" >&2; exit 1; }
check "the setup program's pictures" "$(ls "$TREE/build/windows/build/setup/lang")"

"$TREE/tools/web.sh" >"$OUT/web.log"
check "the page's menu" "$(sed -n 's/.*<option value="\([^"]*\)".*/\1/p' "$TREE/build/web/index.html" | grep -vx en)"
check "the page's pictures" "$(ls "$TREE/build/web" | sed -n 's/^words-\(.*\)-touch\.tar\.lzma$/\1/p' | grep -vx en)"

cmake -S "$TREE" -B "$OUT/tests" >"$OUT/tests.log"
picture_test=$(cd "$OUT/tests" && ctest -R pictures.languages -V)
check "the picture test" "$(sed -n 's/.*pictures: [0-9]* languages (\(.*\)), every rule holds.*/\1/p' <<<"$picture_test" |
    tr ' ' '\n' | grep -vx en)"
