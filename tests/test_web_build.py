#!/usr/bin/python3
"""The browser build as tools/web.sh leaves it, beside the SDL source it
was built from:

- web/gl.c answers every OpenGL ES function name that SDL 2.26 asks for
  (its renderer's table, SDL_video.c's and SDL_egl.c's own look-ups), and
  only those;
- the program was linked with it: Emscripten's table of every WebGL
  function's name is not in zorvane.wasm;
- neither file is larger than its budget, which holds while SDL is built
  lean, linked with LTO and the script minified (a cache built with other
  settings, or a setting lost, goes far past it);
- a first visit, in every language and for either input, transfers no more
  than its budget: every file a fresh browser asks for, the service
  worker's install included, each at gzip -9, as the benchmark counts it.

    python3 tests/test_web_build.py CODE...

CODE... are the languages besides English, as the build reads them.

It prints each rule that fails, and exits with status 1 then."""
import glob
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, ROOT + "/tests")
sys.path.insert(0, ROOT + "/web")
from visit import first_visit  # noqa: E402

DEPS = os.environ.get("ZORVANE_DEPS", ROOT + "/build/deps")
BUDGET = {"zorvane.wasm": 170_000, "zorvane.js": 62_000}
FIRST_VISIT = 360_000
failures = []


def check(ok, rule):
    if not ok:
        failures.append(rule)


def asked_by_sdl():
    # The names SDL passes to SDL_GL_GetProcAddress on the browser's paths.
    sdl = glob.glob(DEPS + "/src/libsdl2-[0-9]*/src")
    if not sdl:
        sys.exit(f"no SDL source under {DEPS}/src: tools/web.sh unpacks it")
    table = open(sdl[0] + "/render/opengles2/SDL_gles2funcs.h").read()
    names = set(re.findall(r"^SDL_PROC\([^,]*,\s*(\w+)", table, re.M))
    for source in ("video/SDL_video.c", "video/SDL_egl.c"):
        names |= set(re.findall(r'GetProcAddress\("(gl\w+)"\)', open(f"{sdl[0]}/{source}").read()))
    return names


answered = set(re.findall(r"^\s*FUNCTION\((\w+)\)", open(ROOT + "/web/gl.c").read(), re.M))
asked = asked_by_sdl()
# glGetStringi is asked for on OpenGL 3 and later only: WebGL 1 reports 2.0,
# and Emscripten's own table has no such function either.
asked.discard("glGetStringi")
check(len(asked) > 50, f"SDL's source names only {len(asked)} GL functions: the pattern no longer finds them")
check(not asked - answered, f"web/gl.c lacks {sorted(asked - answered)}, which SDL asks for")
check(not answered - asked, f"web/gl.c answers {sorted(answered - asked)}, which SDL never asks for")

site = ROOT + "/build/web"
wasm = open(site + "/zorvane.wasm", "rb").read()
check(b"glDrawElements" not in wasm, "zorvane.wasm holds Emscripten's table of GL names: "
      "it was linked without web/gl.c's eglGetProcAddress")
for name, budget in BUDGET.items():
    size = os.path.getsize(f"{site}/{name}")
    check(size <= budget, f"{name} is {size} bytes, over its budget of {budget}")

for code in ["en", *sys.argv[1:]]:
    for variant in ("keyboard", "touch"):
        size = sum(packed for _, _, packed in first_visit(site, code, variant))
        check(size <= FIRST_VISIT, f"a first visit in {code} for {variant} is {size} bytes at gzip -9, "
              f"over its budget of {FIRST_VISIT}")

for failure in failures:
    print("FAIL:", failure)
print(f"web build: {len(failures)} failed")
sys.exit(1 if failures else 0)
