#!/usr/bin/python3
# The browser build's figures for tools/bench.sh's report: every file a first
# visit transfers, on a keyboard in LANGUAGE (English unless named), raw and
# at gzip's level 9; the time from navigation to the
# welcome picture, nothing cached (the median of VISITS); the CPU that
# Chromium's renderer and GPU processes, and the page's own script, take idle
# on the welcome picture and on the board. Serves build/web to headless
# Chromium (software WebGL) with the end-to-end players' serve() and
# chromium(); Debian's Python has their Selenium:
#   /usr/bin/python3 bench/web.py [VISITS [LANGUAGE]]
import gzip
import os
import re
import statistics
import sys
import time

import psutil

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, ROOT + "/tests")
from drivers import chromium, serve  # noqa: E402
VISITS, IDLE = int(sys.argv[1]) if len(sys.argv) > 1 else 15, 10
LANGUAGE = sys.argv[2] if len(sys.argv) > 2 else "en"
# When the first draw came, the welcome picture's (loading only uploads
# textures), and how many draws there were.
DRAWS = """for (const gl of [WebGLRenderingContext.prototype, WebGL2RenderingContext.prototype]) {
  const draw = gl.drawArrays;
  gl.drawArrays = function (...args) {
    [window.firstDraw, window.draws] = [window.firstDraw || performance.now(), (window.draws || 0) + 1];
    return draw.apply(this, args); };
}"""
WELCOME = "(function check(done) { window.firstDraw ? done(window.firstDraw) : setTimeout(check, 10, done); })(arguments[0])"


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


# Every visit a first one: everything from the server, no HTTP cache, and no
# service worker, whose caching after the welcome would overlap the next.
server, loads, driver = serve(ROOT + "/build/web"), [], chromium()[1]
driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": DRAWS})
driver.execute_cdp_cmd("Network.enable", {})
driver.execute_cdp_cmd("Performance.enable", {})
driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
driver.execute_cdp_cmd("Network.setBlockedURLs", {"urls": ["*/sw.js"]})
for visit in range(VISITS):
    driver.get("http://%s:%d/" % server.server_address)
    loads.append(driver.execute_async_script(WELCOME))
# A first visit's service worker fetches every file of the build but the
# other languages' and input's.
files = sorted(name for name in os.listdir(ROOT + "/build/web") if not re.match("(words|strings)-", name)
               or name.startswith((f"words-{LANGUAGE}-keyboard.", f"strings-{LANGUAGE}.")))
welcome, draws = idle_cpu(driver), driver.execute_script("return window.draws")
driver.find_element("id", "canvas").send_keys(" ")
board = idle_cpu(driver) if driver.execute_script("return window.draws") > draws else "(no board)"
driver.quit()
sizes = [(len(data), len(gzip.compress(data, 9))) for data in
         (open(f"{ROOT}/build/web/{name}", "rb").read() for name in files)]
print("| file | bytes | gzip -9 |\n| --- | --- | --- |")
for name, (raw, packed) in zip(files + ["total"], sizes + [tuple(map(sum, zip(*sizes)))]):
    print(f"| {name} | {raw} | {packed} |")
print(f"\nNavigation to the welcome picture, nothing cached: median {statistics.median(loads):.0f} ms of "
      f"{VISITS} visits ({', '.join('%.0f' % t for t in loads)}).\n\nCPU in {IDLE} s idle (median of 3), renderer "
      f"and GPU process: {welcome} ms on the welcome picture, {board} ms on the board.")
