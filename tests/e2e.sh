#!/usr/bin/env bash
# End to end: the built game in a real window on a virtual X display (Mesa's
# GL gives it an accelerated renderer), played with xdotool as a player would
# and checked on screenshots.
#   e2e.sh CASE GAME MAKE_PICTURE_SET SEND_CLOSE
# The generated set colours every sign by its group (red = 30 + 35 × group,
# blue 200), every label band by its group (red = 40 × group, then 60 90),
# and the welcome and congratulation pictures in colours of their own.
set -euo pipefail
case=$1 game=$2 makeSet=$3 sendClose=$4
WELCOME="20 120 40" FELICITATION="200 160 0" WHITE="255 255 255"

# Leak checking stays with the in-process tests: this process also holds
# what X11, D-Bus and the GL driver allocate, none of it the game's.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
work=$(mktemp -d)
gamePid="" displayPid=""
trap 'kill $gamePid $displayPid 2>/dev/null; rm -rf "$work"' EXIT

fail() {
    echo "FAIL ($case): $*" >&2
    exit 1
}

# Two servers starting at once can take the same display number, and the
# loser dies soon after announcing it: a server counts once it still runs.
for _ in 1 2 3 4 5; do
    Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    displayPid=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break || sleep 0.1; done
    sleep 0.3
    kill -0 "$displayPid" 2>/dev/null && break
done
export DISPLAY=":$(cat "$work/display")"
"$makeSet" "$work/set"

startGame() {
    (cd "$work/set" && exec "$game" >"$work/stdout") &
    gamePid=$!
}

# Waits for the game to end and checks its status and standard output.
expectExit() {
    local status=0
    wait "$gamePid" || status=$?
    gamePid=""
    [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"
    [ "$(cat "$work/stdout")" = "$2" ] || fail "output '$(cat "$work/stdout")', expected '$2'"
}

# "R G B" of a window pixel in the last screenshot.
pixel() { od -An -tu1 -j $((($2 * 1280 + $1) * 3)) -N3 "$work/shot.rgb" | xargs; }
isPixel() { [ "$(pixel "$1" "$2")" = "$3" ]; }

# Takes screenshots until the command holds on one, for up to 20 s.
waitFor() {
    for _ in $(seq 200); do
        kill -0 "$gamePid" 2>/dev/null || fail "the game ended while waiting for: $*"
        import -window root -depth 8 "rgb:$work/shot.rgb"
        "$@" && return
        sleep 0.1
    done
    fail "still not true after 20 s: $*"
}

# A cell's centre, and the group of a row's label and of a cell's picture.
cellX() { echo $((71 + 142 * $1)); }
cellY() { echo $((120 + 240 * $1)); }
labelPixel() { pixel 640 $((28 + 240 * $1)); }
labelGroup() { echo $(($(labelPixel "$1" | cut -d' ' -f1) / 40)); }
cellGroup() { echo $((($(pixel "$(cellX "$2")" "$(cellY "$1")" | cut -d' ' -f1) - 30) / 35)); }

labelsShown() {
    for r in 0 1 2; do [ "$(labelPixel $r | cut -d' ' -f2-)" = "60 90" ] || return 1; done
}

# Clicks and keys other than Space leave the welcome screen up; Space deals.
toPlayScreen() {
    startGame
    waitFor isPixel 640 360 "$WELCOME"
    xdotool mousemove 640 360 click 1 key a key Return
    sleep 0.5
    waitFor isPixel 640 360 "$WELCOME"
    xdotool key space
    waitFor labelsShown
}

# The drop sorted the board, or the picture lies in its new cell (x1 y1)
# and its old one (x2 y2) is no longer empty.
dropped() {
    isPixel 640 360 "$FELICITATION" || { isPixel "$1" "$2" "$3" && ! isPixel "$4" "$5" "$WHITE"; }
}

case $case in
welcome)
    toPlayScreen
    for r in 0 1 2; do
        [ "$(pixel 639 "$(cellY $r)" | cut -d' ' -f3)" = 200 ] || fail "no picture in row $r"
    done
    xdotool key Escape
    expectExit 100 ""
    ;;
drag)
    toPlayScreen
    from=$(pixel 71 120) to=$(pixel 213 360)
    xdotool mousemove 80 130 mousedown 3 mousemove 300 400
    waitFor isPixel 291 390 "$from" # the grip point stays under the pointer
    isPixel 71 120 "$WHITE" || fail "the source cell is not empty while carrying"
    xdotool mousemove 222 370 mouseup 3
    waitFor isPixel 71 120 "$to"
    waitFor isPixel 213 360 "$from"
    "$sendClose" "$(xdotool search --name '^Zorvane$' | head -n 1)"
    expectExit 100 ""
    ;;
win)
    toPlayScreen
    for r in 0 1 2; do
        group=$(labelGroup $r)
        for c in $(seq 0 8); do
            [ "$(cellGroup $r $c)" = "$group" ] && continue
            found=""
            for cell in $(seq $((9 * r + 9)) 26); do
                [ "$(cellGroup $((cell / 9)) $((cell % 9)))" = "$group" ] && found=$cell && break
            done
            [ -n "$found" ] || fail "no picture of group $group left for row $r"
            x=$(cellX $((found % 9))) y=$(cellY $((found / 9)))
            moved=$(pixel "$x" "$y")
            xdotool mousemove "$x" "$y" mousedown 1 mousemove "$(cellX $c)" $(($(cellY $r) + 20)) mouseup 1
            waitFor dropped "$(cellX $c)" "$(cellY $r)" "$moved" "$x" "$y"
            isPixel 640 360 "$FELICITATION" && break 2
        done
    done
    waitFor isPixel 640 360 "$FELICITATION"
    # The release that sorted the board did not end the game; motion does not.
    xdotool mousemove 10 10 mousemove 700 500
    sleep 0.5
    kill -0 "$gamePid" || fail "the game ended before a key was pressed"
    xdotool key x
    expectExit 0 ""
    ;;
missing)
    # A picture missing, cut short, or a directory: 2 and SDL's reason.
    picture="$work/set/resources/sings/3/(2).png"
    head -c 60 "$picture" >"$work/cut.png"
    for damage in "missing:Couldn't open resources/sings/3/(2).png" "cut:Corrupt PNG" \
        "directory:Unsupported image format"; do
        rm -rf "$picture"
        case ${damage%%:*} in
        cut) cp "$work/cut.png" "$picture" ;;
        directory) mkdir "$picture" ;;
        esac
        startGame
        expectExit 2 "IMG_Load Error: ${damage#*:}"
    done
    ;;
# Set-up failures: 1 and SDL's reason. Without any display SDL would fall
# back to its offscreen driver, where the game would wait unseen forever.
no-renderer)
    export SDL_VIDEODRIVER=dummy # which has no accelerated renderer
    startGame
    expectExit 1 "SDL_CreateRenderer Error: Couldn't find matching render driver"
    ;;
no-display)
    unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
    startGame
    expectExit 1 "SDL_Init Error: No available video device"
    ;;
no-driver)
    export SDL_VIDEODRIVER=nosuchdriver
    startGame
    expectExit 1 "SDL_Init Error: nosuchdriver not available"
    ;;
*)
    fail "no such case"
    ;;
esac
echo "e2e $case: passed"
