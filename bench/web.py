#!/usr/bin/python3
# Figures for the browser build (docs/WEB.md), each against the native build
# where one applies, printed as Markdown. Needs build/web (tools/web.sh) and
# the native benchmarks (tools/bench.sh builds them into build/bench); runs
# with Debian's Python for its Selenium:
#   /usr/bin/python3 bench/web.py [RUNS]
import gzip
import os
import statistics
import subprocess
import sys
import tempfile
import time

from selenium import webdriver

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, ROOT + "/tests")
from e2e import Desktop, chromium, serve  # noqa: E402 (the same browser and server as the tests)
WEB, NATIVE = ROOT + "/build/web", ROOT + "/build/bench/bench"
RUNS, EVENTS, IDLE = int(sys.argv[1]) if len(sys.argv) > 1 else 5, 2000, 10
# The time of the first draw call, the welcome picture's (loading only
# uploads textures), and of the latest clear and how many: one a frame.
HOOKS = """const gl = WebGLRenderingContext.prototype, draw = gl.drawArrays, clear = gl.clear;
window.clears = 0;
gl.drawArrays = function (...args) {
  window.firstDraw = window.firstDraw || performance.now();
  return draw.apply(this, args);
};
gl.clear = function (...args) {
  [window.clears, window.lastClear] = [window.clears + 1, performance.now()];
  return clear.apply(this, args);
};"""
# Motion events while a picture is carried, dispatched at once; the play
# loop redraws after each, presenting every frame (SDL yields to the browser
# after each present). Done when as many more frames have been drawn.
CARRY = """const [events, done] = arguments, box = canvas.getBoundingClientRect();
const start = performance.now(), target = window.clears + events;
for (let i = 0; i < events; i++)
  canvas.dispatchEvent(new MouseEvent('mousemove', {bubbles: true, buttons: 1,
    clientX: box.left + 100 + i % 900, clientY: box.top + 150 + i % 400}));
const check = () => window.clears >= target ? done(window.lastClear - start) : setTimeout(check, 100);
check();"""


def row(figure, values, native="–"):
    low, high = min(values), max(values)
    print(f"| {figure} | {statistics.median(values):.3g} ({low:.3g}–{high:.3g}) | {native} |")


def cpu_seconds(pids):
    ticks = 0
    for pid in pids:
        with open(f"/proc/{pid}/stat") as stat:
            ticks += sum(map(int, stat.read().rsplit(")", 1)[1].split()[11:13]))
    return ticks / os.sysconf("SC_CLK_TCK")


def processes(top, kind):
    # The descendants of process `top` whose command line holds `kind`.
    found, parents = [], {top}
    for pid in sorted(int(p) for p in os.listdir("/proc") if p.isdigit()):
        try:
            ppid = int(open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()[1])
            if ppid in parents:
                parents.add(pid)
                found += [pid] if kind in open(f"/proc/{pid}/cmdline").read() else []
        except OSError:
            pass
    return found


def main():
    print("| file | bytes | gzip -9 |\n| --- | --- | --- |")
    for name in sorted(os.listdir(WEB)):
        data = open(f"{WEB}/{name}", "rb").read()
        print(f"| {name} | {len(data)} | {len(gzip.compress(data, 9))} |")
    server, (_, driver) = serve(WEB), chromium()
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": HOOKS})
    driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
    driver.set_script_timeout(600)
    browser = driver.service.process.pid
    welcome, rates, idle, ended, gpu, work = [], [], [], [], [], []
    for _ in range(RUNS):
        driver.get("http://%s:%d/" % server.server_address)
        while not driver.execute_script("return window.firstDraw"):
            time.sleep(0.01)
        welcome.append(driver.execute_script("return window.firstDraw"))
        time.sleep(2)  # the first frames composited
        renderers, gpus = processes(browser, "--type=renderer"), processes(browser, "gpu-process")
        before = cpu_seconds(renderers), cpu_seconds(gpus)
        time.sleep(IDLE)
        idle.append(1000 * (cpu_seconds(renderers) - before[0]))
        gpu.append(1000 * (cpu_seconds(gpus) - before[1]))
        actions = webdriver.ActionChains(driver).send_keys(webdriver.Keys.SPACE)
        actions.move_to_element_with_offset(driver.find_element("id", "canvas"), 71 - 640, 120 - 360)
        actions.click_and_hold().perform()
        time.sleep(0.5)
        before = cpu_seconds(renderers + gpus)
        rates.append(EVENTS / driver.execute_async_script(CARRY, EVENTS) * 1000)
        work.append(1000 * (cpu_seconds(renderers + gpus) - before) / EVENTS)
        webdriver.ActionChains(driver).release().send_keys(webdriver.Keys.ESCAPE).perform()
        time.sleep(2)
        before = cpu_seconds(renderers)
        time.sleep(IDLE)
        ended.append(1000 * (cpu_seconds(renderers) - before))
    driver.quit()
    print(f"\n{RUNS} runs in headless Chromium (software WebGL), native on Xvfb with llvmpipe.\n")
    print("| figure | browser: median (min–max) | native |\n| --- | --- | --- |")
    row("navigation → first draw of the welcome picture, nothing cached (ms)", welcome)
    row(f"play loop while carrying: motion events per second, {EVENTS} events", rates)
    row("the same: renderer and GPU process CPU per event, redraw included (ms)", work)
    row(f"renderer CPU, {IDLE} s on the welcome screen (ms)", idle, "0 (SDL_WaitEvent blocks)")
    row(f"GPU process CPU, the same {IDLE} s (ms)", gpu)
    row(f"renderer CPU, {IDLE} s on the page once the run ended (ms)", ended)
    with tempfile.TemporaryDirectory() as work:
        desktop = Desktop(work)
        print("\nNative on the same machine (zorvane_bench, game against its floor):\n")
        subprocess.run([NATIVE + "/zorvane_bench", "startup", NATIVE + "/zorvane_startup_probe",
                        NATIVE + "/zorvane_floor", str(RUNS)], cwd=ROOT, check=True)
        subprocess.run([NATIVE + "/zorvane_bench", "inprocess", str(RUNS), str(EVENTS)],
                       cwd=ROOT, check=True)
        desktop.server.terminate()


if __name__ == "__main__":
    main()
