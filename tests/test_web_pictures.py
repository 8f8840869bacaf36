#!/usr/bin/python3
"""The pictures the browser build unpacks, as its program hands them to
WebGL, against the shipped ones, in every language for a keyboard and for
touch: the page is loaded in headless Chromium in that language and input,
every texture the program uploads until its welcome shows is recorded, and
each must be one of the shipped pictures of that set (the signs, and the
language's pictures with words for that input), pixel for pixel, each
picture of the set uploaded once:

    python3 tests/test_web_pictures.py SITE CODE...

CODE... are the languages besides English, as the build reads them. It
prints each set that differs, and exits with status 1 then."""
import collections
import hashlib
import os
import sys

from PIL import Image

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, ROOT + "/tests")
from drivers import chromium, serve  # noqa: E402

# Each upload's size and the SHA-256 of its pixels read as RGBA, as BGRA
# (SDL swizzles in its shader) and as either with the alpha made opaque
# (a picture without transparency); the first draw marks the welcome.
RECORD = """window.uploads = [];
const digest = (bytes) => crypto.subtle.digest('SHA-256', bytes).then((sum) =>
  Array.from(new Uint8Array(sum), (byte) => byte.toString(16).padStart(2, '0')).join(''));
function readings(pixels) {
  const [bgra, opaque, bgraOpaque] = [pixels.slice(), pixels.slice(), pixels.slice()];
  for (let i = 0; i < pixels.length; i += 4) {
    [bgra[i], bgra[i + 2]] = [pixels[i + 2], pixels[i]];
    [bgraOpaque[i], bgraOpaque[i + 2]] = [pixels[i + 2], pixels[i]];
    opaque[i + 3] = bgraOpaque[i + 3] = 255;
  }
  return Promise.all([pixels, bgra, opaque, bgraOpaque].map(digest));
}
for (const gl of [WebGLRenderingContext.prototype, WebGL2RenderingContext.prototype]) {
  for (const [name, at] of [['texImage2D', 3], ['texSubImage2D', 4]]) {
    const upload = gl[name];
    gl[name] = function (...args) {
      const pixels = args[args.length - 1];
      if (ArrayBuffer.isView(pixels)) {
        const bytes = new Uint8Array(pixels.buffer, pixels.byteOffset, pixels.byteLength).slice();
        window.uploads.push(readings(bytes).then((sums) => [args[at], args[at + 1], sums]));
      }
      return upload.apply(this, args);
    };
  }
  const draw = gl.drawArrays;
  gl.drawArrays = function (...args) { window.drawn = true; return draw.apply(this, args); };
}"""
UPLOADS = """const done = arguments[0];
(function check() { window.drawn ? Promise.all(window.uploads).then(done) : setTimeout(check, 20); })();"""


def expected(paths):
    # {(width, height, SHA-256 of its RGBA pixels): path} of shipped pictures.
    pictures = {}
    for path in paths:
        picture = Image.open(path).convert("RGBA")
        pictures[(picture.width, picture.height, hashlib.sha256(picture.tobytes()).hexdigest())] = path
    return pictures


def shipped(code, variant):
    signs = [f"{ROOT}/resources/sings/{group}/{name}" for group in range(1, 7)
             for name in os.listdir(f"{ROOT}/resources/sings/{group}")]
    folder = "resources" if code == "en" else f"lang/{code}"
    words = [f"{ROOT}/{folder}/{name}.png" for name in ("namesGroup", "welcome", "felicitation")]
    if variant == "touch":
        words[1:] = [f"{ROOT}/lang/{code}/touch/{name}.png" for name in ("welcome", "felicitation")]
    return signs + words


def uploaded(driver, url, code, variant):
    # The page in CODE (as its menu keeps a choice) for VARIANT's input.
    driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": variant == "touch"})
    driver.get(url + "manifest.webmanifest")
    driver.execute_script("localStorage.setItem('zorvane-language', arguments[0])", code)
    driver.get(url)
    return driver.execute_async_script(UPLOADS)


def main():
    site, codes = sys.argv[1], ["en", *sys.argv[2:]]
    server, driver = serve(site), chromium()[1]
    driver.set_script_timeout(120)
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": RECORD})
    # No service worker: every visit fetches the build as a first one does.
    driver.execute_cdp_cmd("Network.setBlockedURLs", {"urls": ["*/sw.js"]})
    url, failures = "http://%s:%d/" % server.server_address, []
    try:
        for code in codes:
            for variant in ("keyboard", "touch"):
                pictures = expected(shipped(code, variant))
                found = collections.Counter(next((pictures.get((width, height, sum)) for sum in sums
                                                  if (width, height, sum) in pictures), f"unknown {width}x{height}")
                                            for width, height, sums in uploaded(driver, url, code, variant))
                if found != collections.Counter(pictures.values()):
                    wrong = sorted(set(found) ^ set(pictures.values())) + [p for p, n in found.items() if n > 1]
                    failures.append(f"{code} {variant}: {len(found)} pictures uploaded, not the set's "
                                    f"{len(pictures)}: {[os.path.relpath(p, ROOT) for p in wrong][:5]}")
    finally:
        driver.quit()
        server.shutdown()
    print("\n".join(failures) or f"browser pictures: {len(codes)} languages, both inputs, every picture as shipped")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
