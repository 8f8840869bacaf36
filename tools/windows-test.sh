#!/usr/bin/env bash
# Builds the Windows package with tools/windows.sh and proves it: the
# executable's headers, imports, icon and version details, then under Wine
# (Mesa's i386 GL behind Wine's Direct3D) the setup program and the
# end-to-end scenarios of tests/e2e.py.
# Installs whatever it needs; any failure fails the script.
set -euo pipefail
source "$(dirname "$0")/common.sh"

ensure_packages wine wine32:i386 libgl1:i386 libglx-mesa0:i386 \
    libgl1-mesa-dri:i386 icoutils liblnk-utils binutils-mingw-w64-i686 locales \
    "${TEST_PACKAGES[@]}"
# Wine takes Windows' display language from the Unix locale it starts in.
locale -a | grep -qx de_DE.utf8 || as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8
"$ROOT/tools/windows.sh"
EXE="$WINDOWS_OUT/Zorvane/Zorvane.exe"
ICON="$ROOT/art/icon/zorvane.ico"

# check WHAT COMMAND...: runs the command; stops at the first that fails.
check() { "${@:2}" && echo "ok   $1" || { echo "FAIL $1" >&2; exit 1; }; }

headers=$("$WINDOWS_TARGET-objdump" -f -p "$EXE")
check "PE32 for i386, Windows GUI subsystem" grep -qzP \
    '(?s)file format pei-i386.*Subsystem\s+00000002' <<<"$headers"
# Only DLLs that every Windows has: no MinGW runtime, no SDL2.dll.
foreign=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' |
    grep -vxE '(kernel32|user32|gdi32|msvcrt|advapi32|shell32|ole32|oleaut32|imm32|version|winmm|setupapi)\.dll' || true)
check "imports only system DLLs" test -z "$foreign"
# Windows, and SDL for the window, show the first icon group: "A", holding
# exactly the images of the icon file (the resource pads it with zeros).
check "first icon group A is the icon file" cmp -n "$(stat -c %s "$ICON")" \
    <(wrestool -x --type=14 --name="$(wrestool -l --type=14 "$EXE" |
        sed -n "1s/.*--name='\([^']*\)'.*/\1/p")" "$EXE") "$ICON"
# Explorer's version details carry the name and the project's version.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$WINDOWS_OUT/build/CMakeCache.txt")
details="|$(wrestool -x --raw --type=16 "$EXE" | strings -el -n 3 | paste -sd '|')|"
for pair in "FileDescription|Zorvane" "ProductName|Zorvane" "FileVersion|$version" \
    "ProductVersion|$version"; do
    check "version details: $pair" grep -qF "|$pair|" <<<"$details"
done

# Wine runs the program with 32-bit code of its own, which a kernel without
# IA-32 emulation refuses to start: there the checks above are all it can do.
/lib/ld-linux.so.2 --version >/dev/null 2>&1 || { echo "SKIPPED under Wine: this kernel runs no 32-bit programs"; exit 0; }
# No Mono or Gecko to install.
export WINEPREFIX="$WINDOWS_OUT/prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot -i >/dev/null 2>&1
wineserver -w

# The setup program, silently into the fresh prefix of a German Windows; the
# game started as its Start-menu shortcut starts it, in German; then the
# quiet uninstall that "Apps & features" lists; last, the setup program on a
# Windows that speaks none of the game's languages.
KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zorvane'
LINK="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zorvane.lnk"
registry() { wine reg query "$KEY" /v "$1" | tr -d '\r' | sed -n 's/.*REG_SZ *//p'; }
link() { lnkinfo "$LINK" | sed -n "s/^\s*$1\s*: //p"; }
setup() { env -u LC_ALL -u LC_MESSAGES LANG="$1" wine "$WINDOWS_OUT/Zorvane-$version-setup.exe" /S; }
check "the setup program installs silently, on a German Windows" setup de_DE.UTF-8
target=$(link 'Local path' || true) folder=$(link 'Working directory' || true)
check "the shortcut starts the game in its folder, with its icon" [ "$target" = \
    'C:\Program Files\Zorvane\Zorvane.exe' -a "$folder" = 'C:\Program Files\Zorvane' \
    -a "$(link 'Icon location')" = "$target" ]
check "Apps & features lists it with its version" [ "$(registry DisplayVersion)" = "$version" ]
installed=$(winepath -u "$folder")
# The signs, each picture with words in German, and nothing else.
german="$WINDOWS_OUT/german"
rm -rf "$german" && mkdir "$german" && cp -r "$ROOT/resources" "$german/"
cp "$ROOT"/lang/de/*.png "$german/resources/"
check "it installs the signs and the German pictures with words" \
    diff -r "$german/resources" "$installed/resources"
check "the uninstaller is to speak German too" [ "$(registry 'Installer Language')" = 1031 ]
# Wine's processes outlive a program for a while and keep the display they
# started with (none here, then the driver's): each side waits them out.
wineserver -w
/usr/bin/python3 "$ROOT/tests/e2e.py" welcome --pictures "$german" \
    -- sh -c 'cd "$1" && exec wine "$2"' sh "$installed" "$target"
wineserver -w
xargs wine <<<"$(registry QuietUninstallString)"
wineserver -w
key=$(wine reg query "$KEY" >/dev/null 2>&1 && echo left || true)
check "the quiet uninstall leaves no folder, shortcut or registry key" \
    [ ! -e "$installed" -a ! -e "$LINK" -a -z "$key" ]
wineserver -w
check "the setup program installs silently, on an English Windows" setup C.UTF-8
check "it installs the signs and the English pictures with words" \
    diff -r "$ROOT/resources" "$installed/resources"
wineserver -w

/usr/bin/python3 "$ROOT/tests/e2e.py" welcome play missing --separator '\' -- wine "$EXE"
