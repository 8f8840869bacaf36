#!/usr/bin/python3
# A phone on a slow link, in headless Chromium: DevTools' network emulation
# (562.5 ms latency, 1.47 Mbit/s down, 675 kbit/s up), the CPU slowed 4
# times, no cache and no service worker. Each build in turn is visited
# VISITS times, the builds alternating, each visit in a fresh browser; a
# visit's time runs from navigation to the first WebGL draw (the welcome
# picture's, as bench/web.py detects it). Also measured in each visit: when
# zorvane.wasm had arrived, and how long after that its compilation and
# instantiation took (Emscripten instantiates the .wasm as it streams in, so
# this is what is left once the last byte is there); then, with the CPU
# slowed the same, WebAssembly.compile of the whole .wasm alone, the median
# of 5.
#   /usr/bin/python3 bench/web_phone.py [VISITS] BUILD_DIR [BUILD_DIR...]
import os
import statistics
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, ROOT + "/tests")
from drivers import chromium, serve  # noqa: E402

TIMING = """for (const gl of [WebGLRenderingContext.prototype, WebGL2RenderingContext.prototype]) {
  const draw = gl.drawArrays;
  gl.drawArrays = function (...args) { window.firstDraw = window.firstDraw || performance.now();
    return draw.apply(this, args); };
}
for (const name of ['instantiateStreaming', 'instantiate']) {
  const instantiate = WebAssembly[name];
  WebAssembly[name] = function (...args) {
    return instantiate.apply(this, args).then((result) => {
      window.instantiated = window.instantiated || performance.now();
      return result; });
  };
}"""
WELCOME = """(function check(done) {
  if (!window.firstDraw) return setTimeout(check, 10, done);
  const wasm = performance.getEntriesByType('resource').find((entry) => entry.name.endsWith('/zorvane.wasm'));
  done([window.firstDraw, wasm.responseEnd, window.instantiated]);
})(arguments[0])"""
COMPILE = """const done = arguments[0];
fetch('zorvane.wasm').then((response) => response.arrayBuffer()).then(async (bytes) => {
  const times = [];
  for (let i = 0; i < 5; i++) {
    const start = performance.now();
    await WebAssembly.compile(bytes);
    times.push(performance.now() - start);
  }
  done(times);
});"""


def main():
    visits = int(sys.argv[1]) if sys.argv[1].isdigit() else 5
    builds = [path for path in sys.argv[1:] if not path.isdigit()]
    servers = [serve(build) for build in builds]

    def slow_phone():
        # Each visit in a browser of its own, with a fresh profile: nothing
        # cached, nothing kept from the visit before.
        driver = chromium()[1]
        driver.set_script_timeout(300)
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": TIMING})
        driver.execute_cdp_cmd("Network.enable", {})
        driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
        driver.execute_cdp_cmd("Network.setBlockedURLs", {"urls": ["*/sw.js"]})
        driver.execute_cdp_cmd("Network.emulateNetworkConditions", {
            "offline": False, "latency": 562.5,
            "downloadThroughput": 1.47e6 / 8, "uploadThroughput": 675e3 / 8})
        driver.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": 4})
        return driver

    results = [[] for _ in builds]
    for _ in range(visits):
        for server, found in zip(servers, results):
            driver = slow_phone()
            driver.get("http://%s:%d/" % server.server_address)
            found.append(driver.execute_async_script(WELCOME))
            driver.quit()
    compiles = []
    for server in servers:
        driver = slow_phone()
        driver.get("http://%s:%d/manifest.webmanifest" % server.server_address)
        compiles.append(driver.execute_async_script(COMPILE))
        driver.quit()
    print("| build | welcome (ms), median | each visit | .wasm arrived | compile and instantiate after it "
          "| WebAssembly.compile alone |\n| --- | --- | --- | --- | --- | --- |")
    for build, found, compiled in zip(builds, results, compiles):
        welcome, arrived, ready = zip(*found)
        print(f"| {build} | {statistics.median(welcome):.0f} | {', '.join('%.0f' % t for t in welcome)} "
              f"| {statistics.median(arrived):.0f} | {statistics.median(r - a for r, a in zip(ready, arrived)):.0f} "
              f"| {statistics.median(compiled):.0f} |")


if __name__ == "__main__":
    main()
