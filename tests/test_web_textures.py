#!/usr/bin/python3
# Whether two browser builds draw the same: each build's page is loaded in
# headless Chromium (software WebGL) with its own pictures, in English on a
# keyboard; every texture upload the program makes until its welcome picture
# shows is recorded (size, format and a SHA-256 of the pixels), and the
# welcome screen is captured. Prints both builds' lists side by side where
# they differ, and exits 1 if anything differs. Used when the program's build
# changes (SDL's blitters, the picture decoder) to show that the GL receives
# the same pixels:
#   /usr/bin/python3 tests/test_web_textures.py BUILD_DIR OTHER_BUILD_DIR
import base64
import hashlib
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, ROOT + "/tests")
from drivers import chromium, serve  # noqa: E402

# Each upload's arguments and a copy of its pixels; the first draw marks the
# welcome picture (loading only uploads).
RECORD = """window.uploads = [];
for (const gl of [WebGLRenderingContext.prototype, WebGL2RenderingContext.prototype]) {
  for (const name of ['texImage2D', 'texSubImage2D']) {
    const upload = gl[name];
    gl[name] = function (...args) {
      const pixels = args[args.length - 1];
      const copy = ArrayBuffer.isView(pixels)
        ? new Uint8Array(pixels.buffer, pixels.byteOffset, pixels.byteLength).slice() : null;
      window.uploads.push([name, args.slice(0, -1).map(String).join(' '), copy]);
      return upload.apply(this, args);
    };
  }
  const draw = gl.drawArrays;
  gl.drawArrays = function (...args) { window.firstDraw = window.firstDraw || performance.now();
    return draw.apply(this, args); };
}"""
WELCOME = "(function check(done) { window.firstDraw ? done() : setTimeout(check, 10, done); })(arguments[0])"
# Each copy's SHA-256, taken in the page.
DIGESTS = """const done = arguments[0];
Promise.all(window.uploads.map(async ([name, args, pixels]) => [name, args, pixels
  ? Array.from(new Uint8Array(await crypto.subtle.digest('SHA-256', pixels)),
      (byte) => byte.toString(16).padStart(2, '0')).join('') : '-'])).then(done);"""


def record(build):
    server, driver = serve(build), chromium()[1]
    try:
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": RECORD})
        driver.execute_cdp_cmd("Network.setBlockedURLs", {"urls": ["*/sw.js"]})
        driver.get("http://%s:%d/" % server.server_address)
        driver.set_script_timeout(120)
        driver.execute_async_script(WELCOME)
        uploads = [tuple(upload) for upload in driver.execute_async_script(DIGESTS)]
        screen = driver.execute_cdp_cmd("Page.captureScreenshot", {"clip": {
            "x": 0, "y": 0, "width": 1280, "height": 720, "scale": 1}})["data"]
        return uploads, hashlib.sha256(base64.b64decode(screen)).hexdigest()
    finally:
        driver.quit()
        server.shutdown()


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__ or "usage: test_web_textures.py BUILD_DIR OTHER_BUILD_DIR")
    (first, first_screen), (second, second_screen) = record(sys.argv[1]), record(sys.argv[2])
    same = first == second and first_screen == second_screen
    for i in range(max(len(first), len(second))):
        a = first[i] if i < len(first) else None
        b = second[i] if i < len(second) else None
        if a != b:
            print(f"upload {i}: {a} | {b}")
    print(f"{len(first)} and {len(second)} uploads; welcome screen {first_screen[:16]} and {second_screen[:16]}: "
          + ("the same" if same else "DIFFERENT"))
    sys.exit(0 if same else 1)


if __name__ == "__main__":
    main()
