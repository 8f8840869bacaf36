#!/usr/bin/python3
"""The browser build's figures for tools/bench.sh's report, each beside
those of BEFORE, the browser build of an earlier commit, measured in the
same run:

- what a first visit transfers, counted as a fresh browser asks for it
  (every file of the site but the other languages' and the other input's,
  the service worker's install included), each file at gzip -9: file by
  file in English on a keyboard, and the total in every language for
  either input;
- on a phone: Lighthouse's mobile profile applied for real through
  DevTools (each request 562.5 ms late, 1.47 Mbit/s down, 675 kbit/s up,
  the CPU four times slower), every file served gzipped, nothing cached,
  no service worker, the two builds visited in turn, after one visit of
  each to warm the browser: the time from navigation to the program's first
  draw, its welcome (the median of VISITS); the long tasks (50 ms or more)
  from the program's instantiation to then, the WebGL context's creation
  timed apart; the peak of the page's JavaScript heap with its buffers,
  the program's memory among them;
- Lighthouse's mobile preset, its throttling simulated (the median of RUNS
  runs of each, in turn), where LIGHTHOUSE names its command: the
  performance score, the total blocking time and the long tasks it counts;
- the CPU Chromium's renderer and GPU processes, and the page's own script,
  take idle on the welcome picture and on the board, for SITE alone.

    /usr/bin/python3 bench/web.py [--visits N] [--lighthouse COMMAND [--runs RUNS]] SITE BEFORE CODE...

CODE... are the languages besides English, as the build reads them."""
import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

import psutil

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, ROOT + "/tests")
from drivers import chromium, serve  # noqa: E402
sys.path.insert(0, ROOT + "/web")
from visit import first_visit  # noqa: E402

IDLE = int(os.environ.get("IDLE", 10))  # seconds of each idle reading
# The program's first draw, its welcome; when it was instantiated and its
# memory; the long tasks; the time spent creating a WebGL context.
WATCH = """for (const gl of [WebGLRenderingContext.prototype, WebGL2RenderingContext.prototype]) {
  const draw = gl.drawArrays;
  gl.drawArrays = function (...args) {
    [window.firstDraw, window.draws] = [window.firstDraw || performance.now(), (window.draws || 0) + 1];
    return draw.apply(this, args); };
}
for (const name of ['instantiateStreaming', 'instantiate']) {
  const instantiate = WebAssembly[name];
  WebAssembly[name] = (...args) => instantiate(...args).then((made) => {
    window.started = window.started || performance.now();
    window.program = Object.values(made.instance.exports).find((value) => value instanceof WebAssembly.Memory);
    return made; });
}
const getContext = HTMLCanvasElement.prototype.getContext;
HTMLCanvasElement.prototype.getContext = function (...args) {
  const start = performance.now(), made = getContext.apply(this, args);
  window.contextMs = (window.contextMs || 0) + performance.now() - start;
  return made; };
window.longTasks = [];
new PerformanceObserver((list) => window.longTasks.push(...list.getEntries().map(
  (task) => [task.startTime, task.duration]))).observe({type: 'longtask', buffered: true});"""
STATE = "return [window.firstDraw, window.started, window.longTasks, window.contextMs || 0]"
PHONE = [("Network.enable", {}), ("Network.setCacheDisabled", {"cacheDisabled": True}),
         ("Network.setBlockedURLs", {"urls": ["*/sw.js"]}),
         ("Network.emulateNetworkConditions", {"offline": False, "latency": 562.5,
                                               "downloadThroughput": 1.47e6 / 8, "uploadThroughput": 675e3 / 8}),
         ("Emulation.setCPUThrottlingRate", {"rate": 4})]
MEMORY = "return window.program ? window.program.buffer.byteLength : 0"


def bytes_table(site, before, codes):
    print("| file | bytes | gzip -9 |\n| --- | --- | --- |")
    for name, raw, packed in first_visit(site, "en", "keyboard"):
        print(f"| {name} | {raw} | {packed} |")
    for label, folder in (("this build", site), ("before", before)):
        totals = {(code, variant): sum(packed for _, _, packed in first_visit(folder, code, variant))
                  for code in ["en", *codes] for variant in ("keyboard", "touch")}
        least, most = min(totals, key=totals.get), max(totals, key=totals.get)
        print(f"\nA first visit, {label}: {totals['en', 'keyboard']} bytes at gzip -9 in English on a keyboard; "
              f"{totals[least]} ({' '.join(least)}) to {totals[most]} ({' '.join(most)}) in every language.")


def phone_visit(driver, server):
    # One first visit on the phone; the heap sampled on the way.
    driver.get("about:blank")
    for command, argument in PHONE:  # a renderer of its own starts without them
        driver.execute_cdp_cmd(command, argument)
    origin = "http://%s:%d" % server.server_address
    driver.execute_cdp_cmd("Storage.clearDataForOrigin", {"origin": origin, "storageTypes": "all"})
    driver.execute_cdp_cmd("HeapProfiler.collectGarbage", {})
    driver.get(origin + "/")
    peak = 0
    while True:
        draw, started, tasks, context = driver.execute_script(STATE)
        used = driver.execute_cdp_cmd("Runtime.getHeapUsage", {})
        peak = max(peak, used["usedSize"] + used["backingStorageSize"])
        if draw:
            break
        time.sleep(0.05)
    program = [round(length) for start, length in tasks if started <= start <= draw]
    return draw, program, context, peak, driver.execute_script(MEMORY)


def in_turn(sites, rounds, measure):
    # Each site served gzipped, measure(server) run on each in turn, ROUNDS
    # times: {site: [what each run found]}.
    servers, results = [serve(site, compressed=True) for site in sites], {site: [] for site in sites}
    for _ in range(rounds):
        for site, server in zip(sites, servers):
            results[site].append(measure(server))
    for server in servers:
        server.shutdown()
    return results


def phone(sites, visits):
    driver = chromium()[1]
    driver.set_script_timeout(300)
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": WATCH})
    # The first round only warms the browser.
    visited = in_turn(sites, visits + 1, lambda server: phone_visit(driver, server))
    results = {site: found[1:] for site, found in visited.items()}
    driver.quit()
    print("\n| build | welcome, median ms (each visit) | long tasks of the program, ms (each visit) "
          "| WebGL context's creation, median ms | peak JavaScript heap and buffers + the program's memory, MB |")
    print("| --- | --- | --- | --- | --- |")
    medians = []
    for label, runs in zip(("this build", "before"), results.values()):
        draws, tasks, contexts, peaks, memory = zip(*runs)
        medians.append(statistics.median(draws))
        print(f"| {label} | {medians[-1]:.0f} ({', '.join('%.0f' % d for d in draws)}) | "
              f"{'; '.join(', '.join(map(str, t)) or '-' for t in tasks)} | {statistics.median(contexts):.0f} | "
              f"{max(peaks) / 2**20:.1f} + {max(memory) / 2**20:.1f} = {(max(peaks) + max(memory)) / 2**20:.1f} |")
    print(f"\nOn the phone the welcome comes at {medians[0] / medians[1]:.2f} of the time before.")


def lighthouse_run(command, url, report):
    flags = ("--headless=new --no-sandbox --use-angle=swiftshader --enable-unsafe-swiftshader --no-first-run "
             "--disable-background-networking --disable-component-update --disable-sync")
    subprocess.run([*command.split(), url, "--quiet", "--only-categories=performance", "--output=json",
                    f"--output-path={report}", f"--chrome-flags={flags}"],
                   check=True, env=dict(os.environ, CHROME_PATH="/usr/bin/chromium"))
    found = json.load(open(report))
    audits = found["audits"]
    tasks = [(item["url"].rsplit("/", 1)[-1] or "the page", round(item["duration"]))
             for item in audits["long-tasks"]["details"]["items"]]
    return (audits["total-blocking-time"]["numericValue"], found["categories"]["performance"]["score"] * 100,
            *(audits[name]["numericValue"] for name in ("first-contentful-paint", "largest-contentful-paint",
                                                        "speed-index")), tasks)


def lighthouse(command, sites, runs):
    with tempfile.TemporaryDirectory() as work:
        results = in_turn(sites, runs, lambda server: lighthouse_run(
            command, "http://%s:%d/" % server.server_address, f"{work}/report.json"))
    print(f"\n| build (Lighthouse, median of {runs}) | performance score | total blocking time, ms | first "
          "contentful paint, ms | largest contentful paint, ms | speed index, ms | long tasks of the median "
          "run, simulated ms |\n| --- | --- | --- | --- | --- | --- | --- |")
    blocking = []
    for label, found in zip(("this build", "before"), results.values()):
        median = sorted(found)[len(found) // 2]
        blocking.append(median[0])
        print(f"| {label} | {median[1]:.0f} | {median[0]:.0f} ({', '.join('%.0f' % run[0] for run in found)}) | "
              + " | ".join("%.0f" % value for value in median[2:5])
              + f" | {', '.join(f'{name} {length}' for name, length in median[5])} |")
    print(f"\nLighthouse's total blocking time is {blocking[0] / blocking[1]:.2f} of the one before.")


def idle_cpu(driver):
    # CPU ms of the renderers, of the GPU process and of the page's own
    # script in IDLE seconds, once the last frames are drawn: the median of
    # three readings, as Chromium's own upkeep takes 100-200 ms now and then,
    # on a blank page too.
    time.sleep(2)
    tree = psutil.Process(driver.service.process.pid).children(recursive=True)
    kinds = [[p for p in tree if kind in p.cmdline()] for kind in ("--type=renderer", "--type=gpu-process")]
    used = lambda: [sum(sum(p.cpu_times()[:2]) for p in processes) for processes in kinds] + [next(
        m["value"] for m in driver.execute_cdp_cmd("Performance.getMetrics", {})["metrics"] if m["name"] == "ScriptDuration")]
    readings = []
    for _ in range(3):
        before = used()
        time.sleep(IDLE)
        readings.append([1000 * (b - a) for a, b in zip(before, used())])
    return "%.0f and %.0f (its script %.0f)" % tuple(map(statistics.median, zip(*readings)))


def idle(site):
    server, driver = serve(site), chromium()[1]
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": WATCH})
    driver.execute_cdp_cmd("Performance.enable", {})
    # No service worker, whose install would be busy in the first seconds.
    driver.execute_cdp_cmd("Network.enable", {})
    driver.execute_cdp_cmd("Network.setBlockedURLs", {"urls": ["*/sw.js"]})
    driver.get("http://%s:%d/" % server.server_address)
    while not driver.execute_script("return window.firstDraw"):
        time.sleep(0.05)
    welcome, draws = idle_cpu(driver), driver.execute_script("return window.draws")
    driver.find_element("id", "canvas").send_keys(" ")
    board = idle_cpu(driver) if driver.execute_script("return window.draws") > draws else "(no board)"
    driver.quit()
    server.shutdown()
    print(f"\nCPU in {IDLE} s idle (median of 3), renderer and GPU process: {welcome} ms on the welcome picture, "
          f"{board} ms on the board.")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--visits", type=int, default=7)
    parser.add_argument("--lighthouse")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("site")
    parser.add_argument("before")
    parser.add_argument("codes", nargs="*")
    args = parser.parse_args()
    bytes_table(args.site, args.before, args.codes)
    phone([args.site, args.before], args.visits)
    if args.lighthouse:
        lighthouse(args.lighthouse, [args.site, args.before], args.runs)
    idle(args.site)


if __name__ == "__main__":
    main()
