#!/usr/bin/python3
# Browser builds loaded as on a phone, side by side: Lighthouse's mobile
# profile as DevTools applies it (each request 562.5 ms late, 1.47 Mbit/s
# down, 675 kbit/s up, the CPU 4 times slower), every file served with
# gzip -9 as a server would, nothing cached, no service worker, the builds
# visited in turn. For each: the time from navigation to the first
# WebGL draw, the welcome picture's (median of VISITS); the long tasks
# (50 ms or more) from the program's start to that draw; and the peak of
# the page's JavaScript heap and of the program's memory while it loads.
#   /usr/bin/python3 bench/phone.py VISITS SITE...
import gzip
import http.server
import os
import statistics
import sys
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, ROOT + "/tests")
from drivers import chromium  # noqa: E402

# The first draw, as bench/web.py takes it; when the program was
# instantiated; the long tasks; the program's memory, by its global.
WATCH = """for (const gl of [WebGLRenderingContext.prototype, WebGL2RenderingContext.prototype]) {
  const draw = gl.drawArrays;
  gl.drawArrays = function (...args) { window.firstDraw = window.firstDraw || performance.now();
    return draw.apply(this, args); };
}
const instantiate = WebAssembly.instantiateStreaming;
WebAssembly.instantiateStreaming = (...args) => instantiate(...args).then((made) => {
  window.started = performance.now();
  window.program = Object.values(made.instance.exports).find((value) => value instanceof WebAssembly.Memory);
  return made;
});
window.longTasks = [];
new PerformanceObserver((list) => window.longTasks.push(...list.getEntries().map(
  (task) => [task.startTime, task.duration]))).observe({type: 'longtask', buffered: true});"""
STATE = "return [window.firstDraw, window.started, window.longTasks, window.program ? window.program.buffer.byteLength : 0]"


def serve(site):
    # The folder, each file gzipped at level 9 once, from a thread.
    packed = {}

    class Gzipped(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

        def do_GET(self):
            path = self.translate_path(self.path)
            if os.path.isdir(path):
                path += "/index.html"
            if not os.path.isfile(path):
                return self.send_error(404)
            if path not in packed:
                packed[path] = gzip.compress(open(path, "rb").read(), 9, mtime=0)
            self.send_response(200)
            self.send_header("Content-Type", self.guess_type(path))
            self.send_header("Content-Encoding", "gzip")
            self.send_header("Content-Length", str(len(packed[path])))
            # Every visit a first one, whatever DevTools' cache setting keeps.
            self.send_header("Cache-Control", "no-store")
            self.end_headers()
            self.wfile.write(packed[path])

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), lambda *a: Gzipped(*a, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


# The phone's network and CPU, set again for every visit: a page of another
# site may be given a renderer process of its own, which starts without them.
PHONE = [("Network.enable", {}), ("Network.setCacheDisabled", {"cacheDisabled": True}),
         ("Network.setBlockedURLs", {"urls": ["*/sw.js"]}),
         ("Network.emulateNetworkConditions", {"offline": False, "latency": 562.5,
                                               "downloadThroughput": 1.47e6 / 8, "uploadThroughput": 675e3 / 8}),
         ("Emulation.setCPUThrottlingRate", {"rate": 4})]


def visit(driver, server):
    # One visit to the welcome; the heap sampled every 100 ms on the way.
    driver.get("about:blank")
    for command, argument in PHONE:
        driver.execute_cdp_cmd(command, argument)
    driver.execute_cdp_cmd("HeapProfiler.collectGarbage", {})
    # A worker that a visit before registered would answer from its cache.
    origin = "http://%s:%d" % server.server_address
    driver.execute_cdp_cmd("Storage.clearDataForOrigin", {"origin": origin, "storageTypes": "all"})
    driver.get(origin + "/")
    heap = 0
    while True:
        state = driver.execute_script(STATE)
        used = driver.execute_cdp_cmd("Runtime.getHeapUsage", {})
        heap = max(heap, used["usedSize"] + state[3])
        if state[0]:
            break
        time.sleep(0.1)
    draw, started, tasks = state[:3]
    program = [round(d) for start, d in tasks if started and started <= start + d and start <= draw]
    transferred = driver.execute_script(
        "return performance.getEntriesByType('resource').reduce((sum, entry) => sum + entry.transferSize, 0)")
    return draw, program, heap, transferred


def main():
    visits, sites = int(sys.argv[1]), sys.argv[2:]
    servers, results = [serve(site) for site in sites], {site: [] for site in sites}
    driver = chromium()[1]
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": WATCH})
    for _ in range(visits):
        for site, server in zip(sites, servers):
            results[site].append(visit(driver, server))
    driver.quit()
    print("| build | welcome, median ms (each) | long tasks of the program, ms (each visit) "
          "| peak heap + program memory, MB | bytes over the network |")
    print("| --- | --- | --- | --- | --- |")
    for site, runs in results.items():
        draws = [round(run[0]) for run in runs]
        print(f"| {site} | {statistics.median(draws)} ({', '.join(map(str, draws))}) | "
              f"{'; '.join(', '.join(map(str, run[1])) or '-' for run in runs)} | "
              f"{max(run[2] for run in runs) / 1e6:.1f} | {max(run[3] for run in runs)} |")


if __name__ == "__main__":
    main()
