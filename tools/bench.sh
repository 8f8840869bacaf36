#!/usr/bin/env bash
# Benchmarks: installs what they need, builds the game with the benchmarks
# into build/bench, and runs everything on a virtual X display (Xvfb, Mesa's
# GL) against the shipped pictures under resources/. Prints one Markdown
# table; every figure is a ratio against a floor measured in the same run.
#   tools/bench.sh
# Environment: RUNS (start-up and loading runs, default 10), FRAMES (redraw
# frames and events, default 2000), IDLE_RUNS (default 10), IDLE_SECONDS
# (default 10).
set -euo pipefail
source "$(dirname "$0")/common.sh"

RUNS=${RUNS:-10}
FRAMES=${FRAMES:-2000}
IDLE_RUNS=${IDLE_RUNS:-10}
IDLE_SECONDS=${IDLE_SECONDS:-10}

BENCH_PACKAGES=(xvfb xauth xdotool x11-utils libx11-dev libgl1-mesa-dri libglx-mesa0 heaptrack)
ensure_packages "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}" >&2
build_native "$ROOT/build/bench" -DZORVANE_BENCH=ON -DZORVANE_TESTS=OFF >&2
bin="$ROOT/build/bench/bench"
bench="$bin/zorvane_bench"

work=$(mktemp -d)
displayPid="" gamePid=""
cleanup() {
    [ -n "$gamePid" ] && kill "$gamePid" 2>/dev/null
    [ -n "$displayPid" ] && kill "$displayPid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
displayPid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(cat "$work/display")"
cd "$ROOT"

# A heap profile (heaptrack) of a program from its start to its first
# present, where it leaves with exit() so that everything still allocated then
# shows as "leaked": the heap live on the first screen.
heapProfile() {
    local name=$1
    shift
    ZORVANE_BENCH_NORMAL_EXIT=1 heaptrack -o "$work/$name" "$@" >/dev/null 2>&1
    heaptrack_print --disable-builtin-suppressions --disable-embedded-suppressions \
        -f "$(ls "$work/$name".* | head -n 1)" >"$work/$name.txt"
}
heapFigure() { sed -n "s/^$1: \\([^ ]*\\).*/\\1/p" "$2"; }
mb() { awk -v b="$1" 'BEGIN { printf "%.2f MiB", b / 1048576 }'; }

echo "Machine: $(nproc) cores, $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n 1)"
echo "Graphics: $("$bench" info)"
echo "Run: RUNS=$RUNS FRAMES=$FRAMES IDLE_RUNS=$IDLE_RUNS IDLE_SECONDS=$IDLE_SECONDS, $(date -u '+%Y-%m-%d %H:%M UTC')"
read -r count pixels decoded largest largestName <<<"$("$bench" pictures)"
echo "Pictures: $count files, $(du -cb resources/welcome.png resources/namesGroup.png resources/felicitation.png resources/sings/*/*.png | tail -n 1 | cut -f1) bytes of PNG, $pixels pixels, $decoded bytes decoded; largest decoded: $largestName, $largest bytes"
echo
echo "| figure | game: median (min–max) | floor: median (min–max) | ratio: of medians (min–max of pairs) | target |"
echo "| --- | --- | --- | --- | --- |"
"$bench" startup "$bin/zorvane_startup_probe" "$bin/zorvane_floor" "$RUNS"
"$bench" inprocess "$RUNS" "$FRAMES"
"$bench" idle "$ROOT/build/bench/zorvane" "$bin/zorvane_floor" "$IDLE_RUNS" "$IDLE_SECONDS"

heapProfile game "$bin/zorvane_startup_probe"
heapProfile floor "$bin/zorvane_floor" start
echo "| heap peak, process start → welcome presented (heaptrack, one run) | $(heapFigure 'peak heap memory consumption' "$work/game.txt") | $(heapFigure 'peak heap memory consumption' "$work/floor.txt") | – | – |"
echo "| heap live when the welcome is presented (heaptrack, one run) | $(heapFigure 'total memory leaked' "$work/game.txt") | $(heapFigure 'total memory leaked' "$work/floor.txt") | – | – |"
read -r before loadingPeak left oneDecode <<<"$("$bench" sdlheap)"
echo "| SDL's heap during initializationTexteres: peak beyond its level before (game) vs decoding the largest picture alone (floor) | $(mb "$loadingPeak") | $(mb "$oneDecode") | $(awk -v a="$loadingPeak" -v b="$oneDecode" 'BEGIN { printf "%.3g", a / b }') | about one picture's decode; all $count decoded pictures are $(mb "$decoded") |"
