#!/usr/bin/env bash
# Builds the Windows package with tools/windows.sh and proves it: reads the
# executable's headers, imports and icon, then plays it under Wine on a
# virtual X display (i386 Mesa GL behind Wine's Direct3D), judging each step
# from screenshots. Installs whatever it needs. Ends with a line
# "windows: N passed, N failed" and a non-zero status on any failure.
set -uo pipefail
source "$(dirname "$0")/common.sh"

PACKAGE="$WINDOWS_OUT/Zorvane"
BUILT_EXE="$WINDOWS_OUT/build/zorvane.exe"
EXE="$PACKAGE/Zorvane.exe"

# --- What the proof needs ----------------------------------------------------

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    apt_updated=""
fi
ensure_packages wine wine32:i386 libgl1:i386 libglx-mesa0:i386 \
    libgl1-mesa-dri:i386 xvfb xdotool x11-utils imagemagick icoutils \
    binutils-mingw-w64-i686

"$ROOT/tools/windows.sh" || { echo "windows: 0 passed, 1 failed"; exit 1; }

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "ok   $1"; }
fail() { failed=$((failed + 1)); echo "FAIL $1: $2"; }

WORK=$(mktemp -d)
XVFB_PID=""
GAME_PID=""
cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

# --- The executable as a file ------------------------------------------------

headers=$("$WINDOWS_TARGET-objdump" -f -p "$EXE")
if grep -q '^architecture: i386,' <<<"$headers" &&
    grep -q 'file format pei-i386' <<<"$headers"; then
    if grep -qE '^Subsystem[[:space:]]+00000002' <<<"$headers"; then
        pass "PE32 for i386, Windows GUI subsystem"
    else
        fail "PE32 for i386, Windows GUI subsystem" \
            "$(grep -E '^Subsystem' <<<"$headers")"
    fi
else
    fail "PE32 for i386, Windows GUI subsystem" "$(grep -E 'format|architecture' <<<"$headers")"
fi

# The program's main becomes SDL_main, called from SDL2main's WinMain.
symbols=$("$WINDOWS_TARGET-nm" "$BUILT_EXE")
if grep -qE ' T _WinMain@16$' <<<"$symbols" && grep -qE ' T _SDL_main$' <<<"$symbols"; then
    pass "main is reached through SDL2main's WinMain"
else
    fail "main is reached through SDL2main's WinMain" "no WinMain or SDL_main in the link"
fi

# Only DLLs that every Windows has: no MinGW runtime, no SDL2.dll.
SYSTEM_DLLS=" kernel32.dll user32.dll gdi32.dll msvcrt.dll advapi32.dll shell32.dll
    ole32.dll oleaut32.dll imm32.dll version.dll winmm.dll setupapi.dll "
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort)
foreign=""
for dll in $imports; do
    [[ "$SYSTEM_DLLS" == *" $dll"[[:space:]]* ]] || foreign+=" $dll"
done
if [ -z "$imports" ]; then
    fail "imports only system DLLs" "no import table found"
elif [ -n "$foreign" ]; then
    fail "imports only system DLLs" "also imports$foreign"
else
    pass "imports only system DLLs ($(echo $imports))"
fi

# Windows, and SDL for the window, show the first icon group: it must be "A",
# holding the three sizes of art/icon/zorvane.ico in 32-bit colour.
groups=$(wrestool -l --type=14 "$EXE")
first_group=$(head -n 1 <<<"$groups" | sed -n "s/.*--name=\([^ ]*\) .*/\1/p")
if [ "$first_group" != "'A'" ]; then
    fail "icon group A with 16, 32, 48 px at 32 bpp" "first icon group is ${first_group:-missing}"
elif ! wrestool -x --type=14 --name=A -o "$WORK/A.ico" "$EXE"; then
    fail "icon group A with 16, 32, 48 px at 32 bpp" "cannot extract it"
else
    images=$(icotool -l "$WORK/A.ico" | sed 's/--index=[0-9]* //' | sort)
    wanted=$(for size in 16 32 48; do
        echo "--icon --width=$size --height=$size --bit-depth=32 --palette-size=0"
    done | sort)
    if [ "$images" != "$wanted" ]; then
        fail "icon group A with 16, 32, 48 px at 32 bpp" "holds: $(echo $images)"
    else
        differing=""
        for index in 1 2 3; do
            icotool -x --index=$index -o "$WORK/exe-$index.png" "$WORK/A.ico"
            icotool -x --index=$index -o "$WORK/art-$index.png" "$ROOT/art/icon/zorvane.ico"
            compare -metric AE "$WORK/exe-$index.png" "$WORK/art-$index.png" null: 2>/dev/null ||
                differing+=" $index"
        done
        if [ -n "$differing" ]; then
            fail "icon group A with 16, 32, 48 px at 32 bpp" \
                "image(s)$differing differ from art/icon/zorvane.ico"
        else
            pass "icon group A with 16, 32, 48 px at 32 bpp"
        fi
    fi
fi

# --- Screens -------------------------------------------------------------------

# Sample points inside a cell (cell-relative), around the picture's centre
# (71, 120); every sign picture covers most of them.
POINTS=(71,120 51,100 91,100 51,140 91,140 33,120 109,120 71,82 71,158)
CELL_W=142
CELL_H=240

# Colours at the given points of IMAGE, as "r g b" triples on one line.
pixels() {
    local image=$1 point format=""
    shift
    for point in "$@"; do
        format+="%[fx:int(255*p{$point}.r+0.5)] %[fx:int(255*p{$point}.g+0.5)] %[fx:int(255*p{$point}.b+0.5)] "
    done
    convert "$image" -format "$format" info:
}

# Whether two colour lists agree, each channel within a few steps (blending
# on the GPU may round differently from ImageMagick).
same_colours() {
    awk -v a="$1" -v b="$2" 'BEGIN {
        n = split(a, x, " "); m = split(b, y, " ");
        if (n != m || n == 0) exit 1;
        for (i = 1; i <= n; i++) { d = x[i] - y[i]; if (d > 6 || d < -6) exit 1 }
    }'
}

# The sample points of cell (row, column) in window coordinates.
cell_points() {
    local row=$1 column=$2 point
    for point in "${POINTS[@]}"; do
        echo "$((WIN_X + CELL_W * column + ${point%,*})),$((WIN_Y + CELL_H * row + ${point#*,}))"
    done
}

# What each sign picture looks like at the sample points when the game
# draws it centred in a cell on white: SIGN_LOOK[n], n counting the files
# in loading order.
declare -a SIGN_LOOK
sign_looks() {
    local group k file w h n=0
    for group in 1 2 3 4 5 6; do
        k=1
        while file="$PACKAGE/resources/sings/$group/($k).png"; [ -f "$file" ]; do
            read -r w h < <(identify -format '%w %h' "$file")
            convert "$file" -background white -flatten \
                -extent "${CELL_W}x${CELL_H}-$((71 - w / 2))-$((120 - h / 2))" "$WORK/cell.png"
            SIGN_LOOK[n]=$(pixels "$WORK/cell.png" "${POINTS[@]}")
            n=$((n + 1))
            k=$((k + 1))
        done
    done
}

shoot() { import -window root "$WORK/$1.png"; }

# BOARD[row * 9 + column]: the colours at each cell's sample points in
# screenshot NAME.
declare -a BOARD
read_board() {
    local shot=$1 row column
    for row in 0 1 2; do
        for column in 0 1 2 3 4 5 6 7 8; do
            BOARD[row * 9 + column]=$(pixels "$WORK/$shot.png" $(cell_points "$row" "$column"))
        done
    done
}

# Whether every cell of BOARD shows one of the sign pictures; UNKNOWN names
# the cells that do not.
board_of_signs() {
    local cell look found
    UNKNOWN=""
    for cell in $(seq 0 26); do
        found=""
        for look in "${SIGN_LOOK[@]}"; do
            same_colours "${BOARD[cell]}" "$look" && { found=yes; break; }
        done
        [ -n "$found" ] || UNKNOWN+=" r$((cell / 9))c$((cell % 9))"
    done
    [ -z "$UNKNOWN" ]
}

# Runs CHECK (a function) on fresh screenshots until it holds, for up to
# SECONDS seconds.
wait_for() {
    local seconds=$1 check=$2 end=$((SECONDS + $1))
    while :; do
        shoot now
        "$check" now && return 0
        [ $SECONDS -ge $end ] && return 1
        sleep 1
    done
}

# Waits up to the given seconds for the game to end; sets STATUS.
wait_exit() {
    local end=$((SECONDS + $1))
    while kill -0 "$GAME_PID" 2>/dev/null; do
        [ $SECONDS -ge $end ] && { STATUS=timeout; return; }
        sleep 0.5
    done
    wait "$GAME_PID"
    STATUS=$?
    GAME_PID=""
}

# --- Wine on a virtual display -----------------------------------------------

# A display number no other X server holds; should another server take it
# first, ours exits and the next number is tried.
start_xvfb() {
    local n
    for n in $(seq 90 150); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x720x24 -nolisten tcp 2>"$WORK/xvfb.log" &
        XVFB_PID=$!
        for _ in $(seq 50); do
            kill -0 "$XVFB_PID" 2>/dev/null || break
            if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
                export DISPLAY=":$n"
                return 0
            fi
            sleep 0.2
        done
        kill "$XVFB_PID" 2>/dev/null
        XVFB_PID=""
    done
    return 1
}
start_xvfb || { echo "FAIL no X display could be started"; echo "windows: $passed passed, $((failed + 1)) failed"; exit 1; }
export WINEPREFIX="$WORK/prefix" WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
start=$SECONDS
wineboot -i >"$WORK/wineboot.log" 2>&1
wineserver -w
echo "     (Wine prefix made in $((SECONDS - start)) s)"

sign_looks
cp -r "$PACKAGE" "$WORK/game"
cd "$WORK/game"
wine Zorvane.exe >"$WORK/stdout" 2>"$WORK/stderr" &
GAME_PID=$!

WIN_X=0 WIN_Y=0
window=""
for _ in $(seq 120); do
    window=$(xdotool search --onlyvisible --name '^Zorvane$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.5
done
geometry=""
[ -n "$window" ] && geometry=$(xdotool getwindowgeometry --shell "$window")
eval "$(grep -E '^(X|Y|WIDTH|HEIGHT)=[0-9]+$' <<<"$geometry")"
WIN_X=${X:-0} WIN_Y=${Y:-0}

# Welcome: the welcome picture, centred, pixel for pixel.
read -r ww wh < <(identify -format '%w %h' "$PACKAGE/resources/welcome.png")
convert "$PACKAGE/resources/welcome.png" -background white -flatten "$WORK/welcome.png"
welcome_shown() {
    convert "$WORK/$1.png" -crop "${ww}x${wh}+$((WIN_X + 640 - ww / 2))+$((WIN_Y + 360 - wh / 2))" \
        +repage "$WORK/seen.png" &&
        compare -metric AE -fuzz 3% "$WORK/seen.png" "$WORK/welcome.png" null: 2>/dev/null &&
        same_colours "$(pixels "$WORK/$1.png" "$((WIN_X + 2)),$((WIN_Y + 2))" \
            "$((WIN_X + 1277)),$((WIN_Y + 717))")" "255 255 255 255 255 255"
}
if [ -z "$window" ]; then
    fail "welcome picture in a 1280x720 window" "no window named Zorvane (stdout: $(cat "$WORK/stdout"))"
elif [ "${WIDTH:-}x${HEIGHT:-}" != 1280x720 ]; then
    fail "welcome picture in a 1280x720 window" "window is ${WIDTH:-?}x${HEIGHT:-?}"
elif wait_for 60 welcome_shown; then
    pass "welcome picture in a 1280x720 window"
else
    cp "$WORK/now.png" "$WINDOWS_OUT/welcome-failed.png"
    fail "welcome picture in a 1280x720 window" "not on screen (build/windows/welcome-failed.png)"
fi

# The window's icon: SDL gives its window the program's first icon group,
# and Wine passes it to X as _NET_WM_ICON. Its 32x32 image must be the one
# in art/icon/zorvane.ico, pixel for pixel (ARGB).
window_icon_32() {
    xprop -id "$window" -notype 32c _NET_WM_ICON | sed 's/^[^=]*=//' | tr ',' '\n' |
        awk '{ v[NR] = $1 } END {
            for (i = 1; i + 1 <= NR; i += 2 + v[i] * v[i + 1])
                if (v[i] == 32 && v[i + 1] == 32)
                    for (j = i + 2; j < i + 2 + 1024; j++) print v[j]
        }'
}
if [ -z "$window" ]; then
    fail "the window has the embedded icon" "no window"
else
    icotool -x --index=2 -o "$WORK/art-32.png" "$ROOT/art/icon/zorvane.ico"
    convert "$WORK/art-32.png" -depth 8 rgba:- | od -An -v -tu1 -w4 |
        awk '{ printf "%.0f\n", $4 * 16777216 + $1 * 65536 + $2 * 256 + $3 }' >"$WORK/art-32.argb"
    window_icon_32 >"$WORK/window-32.argb"
    if [ -s "$WORK/window-32.argb" ] && cmp -s "$WORK/art-32.argb" "$WORK/window-32.argb"; then
        pass "the window has the embedded icon"
    else
        fail "the window has the embedded icon" \
            "_NET_WM_ICON has no 32x32 image equal to art/icon/zorvane.ico's"
    fi
fi

# Space: the board, every cell showing a sign picture.
board_shown() { read_board "$1" && board_of_signs; }
xdotool key space
if wait_for 30 board_shown; then
    pass "Space shows the board of sign pictures"
    cp "$WORK/now.png" "$WORK/before.png"
    declare -a BEFORE=("${BOARD[@]}")
else
    cp "$WORK/now.png" "$WINDOWS_OUT/board-failed.png"
    fail "Space shows the board of sign pictures" "unknown cells:$UNKNOWN (build/windows/board-failed.png)"
    declare -a BEFORE=()
fi

# Drag: a picture from the top row onto a different-looking one in the
# bottom row; the two change places and nothing else changes.
from="" to=""
for a in $(seq 0 8); do
    for b in $(seq 18 26); do
        [ ${#BEFORE[@]} -eq 27 ] && ! same_colours "${BEFORE[a]}" "${BEFORE[b]}" &&
            { from=$a to=$b; break 2; }
    done
done
exchanged() {
    read_board "$1"
    local cell
    same_colours "${BOARD[from]}" "${BEFORE[to]}" || return 1
    same_colours "${BOARD[to]}" "${BEFORE[from]}" || return 1
    for cell in $(seq 0 26); do
        [ "$cell" = "$from" ] || [ "$cell" = "$to" ] ||
            same_colours "${BOARD[cell]}" "${BEFORE[cell]}" || return 1
    done
}
if [ -z "$from" ]; then
    fail "a drag exchanges two pictures" "no board to drag on"
else
    fx=$((WIN_X + 71 + CELL_W * (from % 9))) fy=$((WIN_Y + 120 + CELL_H * (from / 9)))
    tx=$((WIN_X + 71 + CELL_W * (to % 9))) ty=$((WIN_Y + 120 + CELL_H * (to / 9)))
    xdotool mousemove "$fx" "$fy"
    sleep 0.3
    xdotool mousedown 1
    sleep 0.3
    xdotool mousemove $(((fx + tx) / 2)) $(((fy + ty) / 2))
    sleep 0.3
    xdotool mousemove "$tx" "$ty"
    sleep 0.3
    xdotool mouseup 1
    sleep 0.3
    xdotool mousemove $((WIN_X + 1279)) $((WIN_Y + 719))
    if wait_for 20 exchanged; then
        pass "a drag exchanges two pictures (r$((from / 9))c$((from % 9)) with r$((to / 9))c$((to % 9)))"
    else
        cp "$WORK/now.png" "$WINDOWS_OUT/drag-failed.png"
        fail "a drag exchanges two pictures" "r$((from / 9))c$((from % 9)) to r$((to / 9))c$((to % 9)) (build/windows/drag-failed.png)"
    fi
fi

# Escape: the run ends with status 100 and prints nothing.
xdotool key Escape
wait_exit 60
if [ "$STATUS" = 100 ] && [ ! -s "$WORK/stdout" ]; then
    pass "Escape exits with status 100"
else
    fail "Escape exits with status 100" "status $STATUS, stdout '$(cat "$WORK/stdout")'"
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
    GAME_PID=""
fi

# A missing picture: status 2 and SDL_image's message, with the Windows path.
rm "$WORK/game/resources/sings/3/(5).png"
wine Zorvane.exe >"$WORK/stdout" 2>"$WORK/stderr" &
GAME_PID=$!
wait_exit 120
expected='IMG_Load Error: Couldn'\''t open resources\sings\3\(5).png'
if [ "$STATUS" = 2 ] && [ "$(cat "$WORK/stdout")" = "$expected" ]; then
    pass "a missing picture exits with status 2 and IMG_Load Error"
else
    fail "a missing picture exits with status 2 and IMG_Load Error" \
        "status $STATUS, stdout '$(cat "$WORK/stdout")'"
fi

echo "windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
