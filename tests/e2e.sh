#!/usr/bin/env bash
# End to end: the built game in a real window on a virtual X display (Mesa's
# GL gives it an accelerated renderer), driven with xdotool as a player would
# and checked on screenshots.
#   e2e.sh CASE GAME MAKE_PICTURE_SET SEND_CLOSE
# The generated picture set colours every sign by its group
# (red = 30 + 35 × group), every label band by its group (red = 40 × group),
# and the welcome and congratulation pictures in colours of their own.
set -euo pipefail
case=$1 game=$2 makeSet=$3 sendClose=$4

# In a sanitizer build, leak checking stays with the in-process tests: here
# the process also holds what X11, D-Bus and the GL driver allocate, some of
# it in modules already unloaded at exit, and none of it the game's.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"

WELCOME="20 120 40"
FELICITATION="200 160 0"
WHITE="255 255 255"

work=$(mktemp -d)
gamePid="" displayPid=""
cleanup() {
    [ -n "$gamePid" ] && kill "$gamePid" 2>/dev/null
    [ -n "$displayPid" ] && kill "$displayPid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL ($case): $*" >&2
    exit 1
}

startDisplay() {
    Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    displayPid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(cat "$work/display")"
}

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

shoot() {
    import -window root -depth 8 "rgb:$work/shot.rgb"
}

# "R G B" of a window pixel in the last screenshot.
pixel() {
    od -An -tu1 -j $((($2 * 1280 + $1) * 3)) -N3 "$work/shot.rgb" | xargs
}

# Takes screenshots until the command succeeds on one, for up to 20 s.
waitFor() {
    for _ in $(seq 200); do
        kill -0 "$gamePid" 2>/dev/null || fail "the game ended while waiting for: $*"
        shoot
        "$@" && return
        sleep 0.1
    done
    fail "still not true after 20 s: $*"
}

isPixel() {
    [ "$(pixel "$1" "$2")" = "$3" ]
}

waitForPixel() {
    waitFor isPixel "$@"
}

labelsShown() {
    local r
    for r in 0 1 2; do
        [ "$(pixel 640 $((28 + 240 * r)) | cut -d' ' -f2-)" = "60 90" ] || return 1
    done
}

cellX() { echo $((71 + 142 * $1)); }
cellY() { echo $((120 + 240 * $1)); }

# The group of the picture in cell (row, column) and of a row's label.
cellGroup() {
    local red
    red=$(pixel "$(cellX "$2")" "$(cellY "$1")" | cut -d' ' -f1)
    echo $(((red - 30) / 35))
}
labelGroup() {
    local red
    red=$(pixel 640 $((28 + 240 * $1)) | cut -d' ' -f1)
    echo $((red / 40))
}

drag() {
    xdotool mousemove "$(cellX "$2")" "$(cellY "$1")" mousedown 1 \
        mousemove $(($(cellX "$4") - 30)) $(($(cellY "$3") + 20)) \
        mousemove "$(cellX "$4")" "$(cellY "$3")" mouseup 1
}

# The picture arrived in its new cell, or the drop sorted the board.
dropped() {
    isPixel "$1" "$2" "$3" || isPixel 640 360 "$FELICITATION"
}

toPlayScreen() {
    startGame
    waitForPixel 640 360 "$WELCOME"
    xdotool key space
    waitFor labelsShown
}

startDisplay
"$makeSet" "$work/set"

case $case in
welcome)
    startGame
    waitForPixel 640 360 "$WELCOME"
    xdotool mousemove 640 360 click 1 key a key Return
    sleep 1
    shoot
    [ "$(pixel 640 360)" = "$WELCOME" ] || fail "the welcome screen did not stay"
    [ "$(pixel 71 120)" = "$WHITE" ] || fail "the board showed before Space"
    xdotool key space
    waitFor labelsShown
    for r in 0 1 2; do
        for c in 0 4 8; do
            [ "$(pixel "$(cellX $c)" "$(cellY $r)" | cut -d' ' -f3)" = 200 ] ||
                fail "no picture in cell $r,$c"
        done
    done
    xdotool key Escape
    expectExit 100 ""
    ;;
drag)
    toPlayScreen
    from=$(pixel 71 120)
    to=$(pixel 213 360)
    xdotool mousemove 80 130 mousedown 3 mousemove 300 400
    waitForPixel 291 390 "$from" # the grip point stays under the pointer
    [ "$(pixel 71 120)" = "$WHITE" ] || fail "the source cell is not empty while carrying"
    xdotool mousemove 222 370 mouseup 3
    waitForPixel 71 120 "$to"
    waitForPixel 213 360 "$from"
    "$sendClose" "$(xdotool search --name '^Zorvane$' | head -n 1)"
    expectExit 100 ""
    ;;
win)
    toPlayScreen
    for r in 0 1 2; do category[r]=$(labelGroup $r); done
    for r in 0 1 2; do
        for c in $(seq 0 8); do
            [ "$(cellGroup $r $c)" = "${category[r]}" ] && continue
            found=""
            for r2 in $(seq $((r + 1)) 2); do
                for c2 in $(seq 0 8); do
                    if [ -z "$found" ] && [ "$(cellGroup $r2 $c2)" = "${category[r]}" ]; then
                        found="$r2 $c2"
                    fi
                done
            done
            [ -n "$found" ] || fail "no picture of group ${category[r]} left for row $r"
            moved=$(pixel "$(cellX "${found#* }")" "$(cellY "${found% *}")")
            drag $r $c $found
            waitFor dropped "$(cellX $c)" "$(cellY $r)" "$moved"
            isPixel 640 360 "$FELICITATION" && break 2
        done
    done
    waitForPixel 640 360 "$FELICITATION"
    # The release that sorted the board did not end the game; motion does not.
    xdotool mousemove 10 10 mousemove 700 500
    sleep 0.5
    kill -0 "$gamePid" || fail "the game ended before a key was pressed"
    xdotool key x
    expectExit 0 ""
    ;;
missing)
    rm "$work/set/resources/sings/3/(2).png"
    startGame
    expectExit 2 "IMG_Load Error: Couldn't open resources/sings/3/(2).png"
    ;;
no-renderer)
    export SDL_VIDEODRIVER=dummy
    startGame
    expectExit 1 "SDL_CreateRenderer Error: Couldn't find matching render driver"
    ;;
*)
    fail "no such case"
    ;;
esac
echo "e2e $case: passed"
