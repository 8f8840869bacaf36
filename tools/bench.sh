#!/usr/bin/env bash
# Benchmarks, each figure against its floors or the build before: installs
# what they need, builds the game with them (build/bench), the browser build
# (tools/web.sh) and the browser build of the commit BEFORE, runs everything
# on one virtual X display (Xvfb, Mesa's GL) and prints one Markdown report
# (docs/PERFORMANCE.md).
#   tools/bench.sh
# Environment: RUNS (hyperfine's runs, default 20), REPETITIONS (Google
# Benchmark's, default 10), IDLE (seconds of each idle reading, default 10),
# VISITS (the browser builds' visits on a phone, default 7), BEFORE (the
# commit whose browser build the browser's figures are compared with; by
# default the last before the pictures came to the browser as archives).
set -euo pipefail
source "$(dirname "$0")/common.sh"
RUNS=${RUNS:-20} REPETITIONS=${REPETITIONS:-10} IDLE=${IDLE:-10} VISITS=${VISITS:-7}
BEFORE=${BEFORE:-0da2f1f}
bin="$ROOT/build/bench/bench" work="$ROOT/build/bench" before="$ROOT/build/bench/before"

# The browser build of the commit BEFORE, with that commit's own scripts,
# once, its dependencies compiled apart from this build's, from the sources
# under build/deps.
build_before() {
    [ -f "$before/$BEFORE.built" ] && return
    rm -rf "$before"
    mkdir -p "$before"
    export_tree "$BEFORE" "$before"
    mkdir -p "$before/source/build/deps"
    cp -a "$DEPS/src" "$before/source/build/deps/"
    (cd "$before/source" && env -u ZORVANE_DEPS tools/web.sh)
    touch "$before/$BEFORE.built"
}

# Built and installed first (mesa-utils brings Mesa's GL), then run again on a
# display of its own: a number at random, well away from the low ones that
# tests take first.
if [ -z "${ZORVANE_BENCH_DISPLAY:-}" ]; then
    ensure_packages "${BUILD_PACKAGES[@]}" hyperfine libbenchmark-dev libx11-dev time sysstat \
        xvfb xauth xdotool mesa-utils chromium chromium-driver python3-selenium python3-psutil python3-pil \
        wabt git >&2
    build_native "$ROOT/build/bench" -DZORVANE_BENCH=ON -DZORVANE_TESTS=OFF >&2
    "$ROOT/tools/web.sh" zorvane_names >&2
    build_before >&2
    install_node_tools "$ROOT/bench" "$work/node" >&2
    ZORVANE_BENCH_DISPLAY=1 exec xvfb-run -n $((200 + RANDOM % 800)) -s "-screen 0 1280x720x24 -nolisten tcp" "$0"
fi
cd "$ROOT"

# Lines "figure<tab>kind<tab>value" to each figure's game over its two floors.
ratios() {
    awk -F '\t' 'BEGIN { print "" } { v[$1, $2] = $3 } $2 == "game" { f[++n] = $1 } END { for (i = 1; i <= n; i++) {
        g = v[f[i], "game"]; s = v[f[i], "sameWorkFloor"]; b = v[f[i], "bareFloor"]
        printf "- %s: game %.6g, same-work floor %.6g (game / floor %.3f), bare floor %.6g (%.3f)\n", f[i], g, s, g / s, b, g / b } }'
}
# Peak RSS (GNU time's %M, KiB) from exec to the first picture.
peak() { /usr/bin/time -f "peak RSS to the welcome picture (KiB)"$'\t'"$1"$'\t'%M "${@:2}" 2>&1; }
# %CPU of process PID over IDLE seconds, once 3 s have let it finish its work.
idleCpu() { sleep 3 && pidstat -h -p "$1" "$IDLE" 1 | awk 'END { print $8 }'; }

echo -e "# Zorvane's benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC')\n"
echo "$(nproc) cores ($(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n 1)), $(free -h | awk '/^Mem/ { print $2 }') of memory, $(. /etc/os-release && echo "$PRETTY_NAME"), load average $(cut -d ' ' -f 1-3 /proc/loadavg) at the start. Xvfb 1280×720×24 with $(glxinfo -B | sed -n 's/^OpenGL renderer string: //p'); SDL $(pkg-config --modversion sdl2); $(hyperfine --version); Google Benchmark $(dpkg-query -W -f '${Version}' libbenchmark-dev); $(chromium --version 2>/dev/null)."

echo -e "\n## Start-up to the welcome picture (hyperfine)\n"
hyperfine -N --warmup 3 --runs "$RUNS" --export-markdown "$work/startup.md" --export-csv "$work/startup.csv" \
    -n game "$bin/zorvane_probe" -n sameWorkFloor "$bin/zorvane_floor same" -n bareFloor "$bin/zorvane_floor" >&2
cat "$work/startup.md"
awk -F, -v OFS='\t' 'NR > 1 { print "start-up, wall-clock median (ms)", $1, $4 * 1000
    print "start-up, user + system CPU mean (ms)", $1, ($5 + $6) * 1000 }' "$work/startup.csv" | ratios

echo -e "\n## In the game's process (Google Benchmark, GL renderer on the X display)\n\n\`\`\`"
# glibc keeps freed memory rather than handing large blocks back to the
# kernel: otherwise whether a repetition's decoded pictures fault in fresh
# pages varies from one to the next, and loading's spread is 30-50 %.
GLIBC_TUNABLES=glibc.malloc.mmap_threshold=268435456:glibc.malloc.trim_threshold=268435456 "$bin/zorvane_bench" --benchmark_repetitions="$REPETITIONS" --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_time_unit=us --benchmark_min_time=0.2 \
    --benchmark_out="$work/inprocess.csv" --benchmark_out_format=csv 2>&1
echo '```'
sed -n 's/^"\([a-zA-Z]*\)_\([a-zA-Z]*\)\/real_time_median",[^,]*,\([^,]*\),.*/\1, real-time median (µs)\t\2\t\3/p' \
    "$work/inprocess.csv" | ratios

echo -e "\n## Peak memory (GNU time) and idle CPU (pidstat)"
{ peak game "$bin/zorvane_probe"; peak sameWorkFloor "$bin/zorvane_floor" same
    peak bareFloor "$bin/zorvane_floor"; } | ratios
build/bench/zorvane &
welcome=$(idleCpu $!)
xdotool key space
echo "- the game's CPU over $IDLE s idle: $welcome % on the welcome picture, $(idleCpu $!) % on the board"
kill $!

echo -e "\n## The browser build against $BEFORE's (bench/web.py, headless Chromium, software WebGL)\n"
install_node_tools "$ROOT/bench" "$work/node"
IDLE=$IDLE /usr/bin/python3 -B bench/web.py --visits "$VISITS" \
    --lighthouse "node $NODE_MODULES/lighthouse/cli/index.js" build/web "$before/source/build/web" $(languages)
echo -e "\n### zorvane.wasm (bench/wasm_sizes.py, wabt's wasm-objdump)\n"
/usr/bin/python3 -B bench/wasm_sizes.py build/web-build/names/zorvane.wasm
echo -e "\nzorvane.js: $(stat -c %s build/web/zorvane.js) bytes, $(gzip -9n <build/web/zorvane.js | wc -c) at gzip -9."
