#!/usr/bin/python3
# End to end: a build of the game played as a player would, judged on what
# the screen shows and on how the run ends. Every build is played by the same
# scenarios; only the command that starts it differs.
#
#   e2e.py SCENARIO... [--pictures DIR] [--separator SEP] -- COMMAND...
#
# COMMAND starts the game in a window on a virtual X display (the native
# program, the Windows one under Wine, an installed launcher), or names the
# folder of the browser build (tools/web.sh), played in headless Chromium
# with the picture set packed as its archives. Each scenario runs it in a fresh
# directory holding a picture set made here, unless --pictures names the
# directory whose resources/ the game shows (an installed set): it then runs
# in an empty directory. SEP is how the game spells paths. A desktop build's
# window is first checked as the window manager sees it. The scenarios:
#   welcome  the welcome picture until Space, the board's labels, Escape: 100
#   play     another key leaves the welcome up (on a keyboard); Space deals
#            the pictures into place, under their labels; a carried picture
#            keeps its grip, lies over all and empties its cell; the drop
#            exchanges it with the target's; drags sort the board; the
#            congratulation shows until a key: 0
#   touch    (browser only) play by finger alone on a touch screen, with
#            the touch variant's welcome: a tap on the board for Space and
#            for the congratulation's key
#   layout   the page at phone, tablet and desktop sizes: board and controls
#            in view, nothing to scroll, no text cut, the board the largest
#            16:9 beside or under the controls, on whole pixels; gestures
#            on the page are the game's
#   missing  a picture file missing: 2, naming it
#   language (browser only) the page in the browser's language, its strings
#            and that language's welcome, then in the one its menu chooses
#   offline  (browser only) installable; after one visit, a reload with the
#            network cut plays, where a language not kept needs the network; a build served while a game is in progress
#            takes over once the run has ended, "Play again" starts it; one
#            served before a visit replaces the old build on its welcome;
#            each time the cache holds exactly the served build's files.
#            Played by finger too: the page's Deal for Space, its End for
#            Escape, and a tap on "Play again"
# The made set colours each sign by its group and number, each label band by
# its group, and each screen picture with a colour of its own.
import argparse
import atexit
import gettext
import http.server
import io
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time

from PIL import Image

CELL_W, CELL_H, WHITE, FELICITATION = 142, 240, (255, 255, 255), (200, 160, 0)
CELLS = [(r, c) for r in range(3) for c in range(9)]
# The virtual display is larger than the window, whose place on it shows
# whether it is centred: the desktop builds' screen and pointer are read and
# moved from there.
SCREEN, LEFT, TOP = (1440, 900), 80, 90
WAIT = 60  # seconds any one step may take: Wine's first start is slow
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def sign_colour(group, k):
    return (30 + 35 * group, 7 * k, 200)


def make_picture_set(top):
    # Signs 160 high reach their row's label band, 13..42 pixels below its top.
    for group, count in enumerate([30, 9, 17, 15, 14, 19]):
        os.makedirs(f"{top}/resources/sings/{group + 1}")
        for k in range(1, count + 1):
            Image.new("RGB", (100, 160), sign_colour(group, k)).save(
                f"{top}/resources/sings/{group + 1}/({k}).png")
    Image.new("RGB", (600, 300), (20, 120, 40)).save(f"{top}/resources/welcome.png")
    os.makedirs(f"{top}/touch")
    Image.new("RGB", (600, 300), (120, 20, 90)).save(f"{top}/touch/welcome.png")
    Image.new("RGB", (600, 300), FELICITATION).save(f"{top}/resources/felicitation.png")
    bands = Image.new("RGB", (1, 6))
    bands.putdata([(40 * g, 60, 90) for g in range(6)])
    bands.resize((300, 180), Image.NEAREST).save(f"{top}/resources/namesGroup.png")


def decode(source):
    # A picture file (or file object), flattened on white as the game draws it.
    picture = Image.open(source).convert("RGBA")
    return Image.alpha_composite(Image.new("RGBA", picture.size, WHITE), picture).convert("RGB")


def near(a, b):
    # Colours agree within what GL's blending and scaling may round.
    return all(abs(p - q) <= 6 for p, q in zip(a, b))


def centre(r, c):
    return 71 + CELL_W * c, 120 + CELL_H * r


def shows(screen, picture, left, top, n=6):
    # A grid of n × n points across the picture agrees with the screen.
    grid = [(picture.width * i // n, picture.height * j // n) for i in range(n) for j in range(n)]
    return all(near(screen[left + x, top + y], picture.getpixel((x, y))) for x, y in grid)


def group_at(screen, r, c):
    # The group of the made set's sign drawn in a cell, or None.
    colour = screen[centre(r, c)]
    group = round((colour[0] - 30) / 35)
    return group if near(colour, sign_colour(group, round(colour[1] / 7))) else None


def start_display(work):
    # A virtual X display whose screen lies in a file, so that reading it
    # needs no connection to the display; no pointer is drawn into it. Two
    # servers starting at once can take the same display number; the loser
    # dies soon after announcing it: a server counts once it still runs.
    for _ in range(5):
        read, write = os.pipe()
        server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "%dx%dx24" % SCREEN,
                                   "-nolisten", "tcp", "-nocursor", "-fbdir", work],
                                  pass_fds=[write], stderr=open(work + "/Xvfb.log", "a"))
        os.close(write)
        # Xvfb writes the number and its newline apart, and dies if the pipe
        # closes between the two.
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip()
        time.sleep(0.3)
        if number and server.poll() is None:
            os.environ["DISPLAY"] = ":" + number
            atexit.register(server.terminate)
            return work + "/Xvfb_screen0"
    sys.exit("no virtual display would start: " + open(work + "/Xvfb.log").read())


class DesktopGame:
    # The game in a window of the virtual display, played with xdotool.
    def __init__(self, command, directory, framebuffer):
        self.command, self.directory, self.framebuffer = command, directory, framebuffer
        self.process = None

    def start(self):
        # Xvfb now and then refuses a client that connects at the same moment
        # as another. Nothing here connects to the display until the game's
        # window shows, but Wine's own processes connect beside the game: a
        # run that ends at once with SDL's "no video device" is started again.
        blank = self.window()
        for _ in range(3):
            self.out = tempfile.TemporaryFile()
            self.process = subprocess.Popen(self.command, cwd=self.directory, stdout=self.out,
                                            stderr=subprocess.DEVNULL)
            while self.process.poll() is None and self.window() == blank:
                time.sleep(0.05)
            if not (self.ended() or (0, ""))[1].startswith("SDL_Init Error"):
                return

    def window(self):
        # The window's place on the screen. The file is an XWD dump: a header
        # of 32-bit words (its own size first, the row stride at 12, the
        # number of colours at 19), the colours, 12 bytes each, then 32-bit
        # pixels, blue first.
        with open(self.framebuffer, "rb") as f:
            header = struct.unpack(">25I", f.read(100))
            f.seek(header[0] + 12 * header[19] + TOP * header[12] + 4 * LEFT)
            return Image.frombuffer("RGB", (1280, 720), f.read(720 * header[12]), "raw", "BGRX",
                                    header[12], 1)

    def screen(self):
        return self.window().load()

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], check=True)

    def check_window(self):
        # What the window manager is told about the one named window shown:
        # its title, its place (centred) and size, fixed. Natively its class
        # is the program's name and it has no icon (the menu entry's is used);
        # Wine names the class after the executable and gives it the
        # executable's icon.
        name = "zorvane.exe" if "wine" in " ".join(self.command) else "zorvane"
        expected = [f"X={LEFT}\nY={TOP}\nWIDTH=1280\nHEIGHT=720\n", 'WM_NAME(STRING) = "Zorvane"',
                    "minimum size: 1280 by 720", "maximum size: 1280 by 720",
                    f'WM_CLASS(STRING) = "{name}", "{name}"',
                    "_NET_WM_ICON:  not found." if name == "zorvane" else "_NET_WM_ICON(CARDINAL)"]
        told = subprocess.run(["xdotool", "search", "--onlyvisible", "--maxdepth", "1", "--name", ".",
                               "getwindowgeometry", "--shell", "%@"], capture_output=True, text=True).stdout
        told += subprocess.run(["xprop", "-id", told.split("\n")[0][7:], "WM_NAME", "WM_CLASS",
                                "WM_NORMAL_HINTS", "_NET_WM_ICON"], capture_output=True, text=True).stdout
        missing = [fact for fact in expected if fact not in told]
        assert told.count("WINDOW=") == 1 and not missing, f"not one named window, or it lacks {missing}: {told}"

    # What a player does: keys by their X name, pointer moves, buttons.
    def key(self, name): self.xdotool("key", name)
    def move(self, x, y): self.xdotool("mousemove", LEFT + x, TOP + y)
    def press(self, button): self.xdotool("mousedown", button)
    def release(self, button): self.xdotool("mouseup", button)

    def ended(self):
        # None while the game runs, then its status and standard output.
        if self.process.poll() is not None:
            self.out.seek(0)
            return self.process.returncode, self.out.read().decode(errors="replace")

    def close(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def serve(site):
    # The folder on a free port of this machine, quietly, from a thread.
    handler = type("Quiet", (http.server.SimpleHTTPRequestHandler,), {"log_message": lambda *args: None})
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), lambda *args: handler(*args, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def chromium(languages="en-US"):
    # Debian's Chromium, headless with software WebGL, with its Selenium
    # module, speaking LANGUAGES. Root runs it only without its sandbox; with
    # no network, its background services would only fill the log with
    # refusals.
    from selenium import webdriver
    options = webdriver.ChromeOptions()
    for flag in ("headless no-sandbox use-angle=swiftshader enable-unsafe-swiftshader "
                 "disable-sync disable-background-networking disable-component-update "
                 "no-first-run window-size=1280,1000").split():
        options.add_argument("--" + flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    options.add_experimental_option("prefs", {"intl.accept_languages": languages})
    return webdriver, webdriver.Chrome(options=options, service=webdriver.chrome.service.Service("/usr/bin/chromedriver"))


class BrowserGame:
    # The browser build served from this machine, with the scenario's
    # pictures as its data, in headless Chromium with software WebGL, in a
    # window as wide as the canvas, which the page then shows at its own size
    # in the top left corner: board and page coordinates are the same. The
    # run has ended when the page says how.
    language, variant, languages, own_pictures = "en", "keyboard", "en-US", False

    def __init__(self, build, directory):
        self.build, self.directory, self.driver = build, directory, None

    def start(self):
        if self.driver:  # a later game in the same page: its end's "Play again"
            return self.tap("again")
        self.site = shutil.copytree(self.build, self.directory + "/site")
        if not self.own_pictures:
            self.pack(self.directory)
        self.server, (self.webdriver, self.driver) = serve(self.site), chromium(self.languages)
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": isinstance(self, TouchGame)})
        self.driver.get("http://%s:%d/" % self.server.server_address)

    def pack(self, pictures):
        # The pictures as the archives of the signs and of English's words
        # for either input, and the service worker that keeps the site,
        # rewritten as the build writes them (web/pack.py, cmake/
        # WebCache.cmake). The touch variant has a welcome of its own.
        top = pictures + "/resources"
        signs = [f"{top}/sings/{group}/{name}@resources/sings/{group}/{name}"
                 for group in os.listdir(top + "/sings") for name in os.listdir(f"{top}/sings/{group}")]
        words = {name: f"{top}/{name}" for name in os.listdir(top) if name.endswith(".png")}
        touch = words | {"welcome.png": pictures + "/touch/welcome.png"}
        archives = {"signs": signs} | {f"words-en-{variant}": [f"{path}@resources/{name}" for name, path in files.items()]
                                       for variant, files in [("keyboard", words), ("touch", touch)]}
        for name, pairs in archives.items():
            subprocess.run(["/usr/bin/python3", f"{ROOT}/web/pack.py", f"{self.site}/{name}.tar.lzma", *pairs], check=True)
        subprocess.run(["cmake", "-DSITE=" + self.site, f"-DWORKER={ROOT}/web/sw.js", "-P",
                        f"{ROOT}/cmake/WebCache.cmake"], check=True)

    def cached(self):
        # Whether the origin keeps one cache, named after the build on the
        # server and holding every file of it but the other languages' and
        # input's.
        kept = self.driver.execute_script(
            "return caches.keys().then(names => caches.open(names[0]).then(cache => cache.keys())"
            ".then(kept => [names, kept.map(request => request.url.split('/').pop()).sort()]))")
        name = re.search(r"BUILD = '(\w+)'", open(self.site + "/sw.js").read())[1]
        used = [f"words-{self.language}-{self.variant}.", f"strings-{self.language}."]
        files = [f for f in os.listdir(self.site) if not re.match("(words|strings)-", f)
                 or any(f.startswith(prefix) for prefix in used)]
        return kept == [["zorvane-" + name], sorted(set(files) - {"sw.js"})]

    def screen(self):
        return decode(io.BytesIO(self.driver.get_screenshot_as_png())).crop((0, 0, 1280, 720)).load()

    def act(self, device, action, *args):
        chain = self.webdriver.ActionChains(self.driver, duration=0)
        getattr(getattr(chain.w3c_actions, device), action)(*args)
        chain.perform()

    # What a player does, as Selenium's actions.
    def key(self, name):
        self.act("key_action", "send_keys", getattr(self.webdriver.Keys, name.upper(), name))
    def move(self, x, y): self.act("pointer_action", "move_to_location", x, y)
    def press(self, button): self.act("pointer_action", "pointer_down", button - 1)
    def release(self, button): self.act("pointer_action", "pointer_up", button - 1)

    def ended(self):
        # None while the page shows the game, then the status it shows and
        # what the program printed; no request may have left its origin.
        end = self.driver.execute_script(
            "const away = performance.getEntriesByType('resource').map(entry => entry.name)"
            ".filter(url => !url.startsWith(location.origin + '/'));"
            "return end.hidden ? null : away.length ? ['requests left the origin', away.join()]"
            " : [end.dataset.status, end.querySelector('pre').textContent]")
        return end and (int(end[0]) if end[0].isdigit() else end[0], end[1])

    def close(self):
        if self.driver:
            self.driver.quit()
            self.server.shutdown()


class TouchGame(BrowserGame):
    # The page on a touch screen played by finger alone, through Chromium's
    # own touch input, with the touch variant's pictures: Escape is its End,
    # any other key a tap on the board, which deals too; "Deal" its Deal.
    down, variant = False, "touch"  # a finger moves only while it touches

    def touch(self, kind, x=0, y=0):
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {
            "type": "touch" + kind, "touchPoints": [{"x": x, "y": y}] * (kind != "End")})
    def tap(self, name):
        box = self.driver.find_element("id", name).rect
        self.touch("Start", box["x"] + box["width"] / 2, box["y"] + box["height"] / 2), self.touch("End")
    def key(self, name): self.tap({"Deal": "deal", "Escape": "quit"}.get(name, "canvas"))
    def move(self, x, y):
        self.at = x, y
        if self.down: self.touch("Move", x, y)
    def press(self, button): self.down = self.touch("Start", *self.at) or True
    def release(self, button): self.down = self.touch("End")


def wait_for(game, what, test, running=True):
    deadline = time.monotonic() + WAIT
    while not test(game.screen()):
        if running and game.ended() or time.monotonic() > deadline:
            raise AssertionError(f"{what} not shown; the game ended with {game.ended()}")
        time.sleep(0.05)


def expect_end(game, status, output):
    wait_for(game, "the end", lambda s: game.ended(), False)
    assert game.ended() == (status, output), f"ended with {game.ended()}, not {(status, output)}"


def showing(path, n=6):
    picture = decode(path)
    return lambda s: shows(s, picture, 640 - picture.width // 2, 360 - picture.height // 2, n)


def start(game, pictures):
    game.start()
    if isinstance(game, DesktopGame):
        game.check_window()
    shown = showing(f"{pictures}/{'touch' if isinstance(game, TouchGame) else 'resources'}/welcome.png")
    wait_for(game, "the welcome picture", shown)
    return shown


def deal(game, pictures, key="space"):
    # Each row shows a band of the label strip in its place, a different one
    # a row. The bands share their field and differ in words and emblems,
    # so the grid is fine enough to meet a band's words in any language.
    strip = decode(f"{pictures}/resources/namesGroup.png")
    bands = [strip.crop((0, 30 * g, strip.width, 30 * g + 30)) for g in range(strip.height // 30)]
    def labels(s):
        shown = [[g for g, band in enumerate(bands)
                  if shows(s, band, 640 - strip.width // 2, 13 + CELL_H * r, 12)] for r in range(3)]
        return all(len(g) == 1 for g in shown) and len({g[0] for g in shown}) == 3
    game.key(key)
    wait_for(game, "the board's labels", labels)


def welcome(game, pictures, separator):
    start(game, pictures)
    deal(game, pictures)
    game.key("Escape")
    expect_end(game, 100, "")


def play(game, pictures, separator):
    shown = start(game, pictures)
    if not isinstance(game, TouchGame):  # where a tap deals
        game.key("Return")
        time.sleep(0.5)  # time for the game to act on input that changes nothing
        wait_for(game, "the welcome picture after another key", shown)
    deal(game, pictures)
    # Pictures lie centred in their cells, each row's label over them.
    before = game.screen()
    carried, target, label = before[71, 120], before[213, 360], before[639, 253]
    edges = {(21, 40): carried, (120, 199): carried, (20, 120): WHITE, (71, 200): WHITE,
             (639, 42): before[490, 13], (639, 43): before[639, 120], (489, 13): WHITE}
    assert all(near(before[p], colour) for p, colour in edges.items()), "pictures or labels out of place"
    # Gripped 9 right of and 10 below its centre and carried over the label
    # and the picture of (1, 4), with the right button.
    game.move(80, 130)
    game.press(3)
    game.move(649, 290)
    wait_for(game, "the carried picture over all, its grip kept, its cell empty", lambda s: all(
        near(s[x, y], carried) for x, y in [(590, 200), (689, 359), (640, 260), (640, 300)])
        and near(s[589, 260], label) and near(s[71, 120], WHITE))
    game.move(222, 370)
    game.release(3)
    wait_for(game, "the exchange", lambda s: near(s[71, 120], target) and near(s[213, 360], carried)
             and all(near(s[centre(*cell)], before[centre(*cell)])
                     for cell in CELLS if cell not in [(0, 0), (1, 1)]))
    # Then every row sorted by drags, one cell after another.
    won = lambda s: near(s[640, 360], FELICITATION)
    for i, cell in enumerate(CELLS):
        s = game.screen()
        label = round(s[640, 28 + CELL_H * cell[0]][0] / 40)
        if won(s) or group_at(s, *cell) == label:
            continue
        source = next(c for c in CELLS[i + 1:] if group_at(s, *c) == label)
        moved = s[centre(*source)]
        game.move(*centre(*source))
        game.press(1)
        game.move(*centre(*cell))
        # As a player does, let go once the picture shows where it is going.
        wait_for(game, f"{source} carried over {cell}", lambda s: near(s[centre(*cell)], moved))
        game.release(1)
        wait_for(game, f"a drop on {cell}", lambda s: won(s) or near(s[centre(*cell)], moved)
                 and not near(s[centre(*source)], WHITE))
    wait_for(game, "the congratulation picture", won)
    game.key("x")
    expect_end(game, 0, "")


# The faults of the page's layout: the board is as wide as the viewport, less
# the controls beside it, and 16/9 of the height, less the controls under it,
# allow, up to its own 1280; no text is cut; the body takes the gestures.
LAYOUT = """const [w, h, root, body] = [innerWidth, innerHeight, document.documentElement, getComputedStyle(document.body)];
const [k, c] = [canvas, controls].map(e => e.getBoundingClientRect()), beside = c.left >= k.right;
const fit = Math.min(1280, w - beside * c.width, (h - !beside * c.height) * 16 / 9), cut = [...document.querySelectorAll(
  'body *')].filter(e => e.scrollWidth > e.clientWidth || e.scrollHeight > e.clientHeight).map(e => e.id || e.tagName);
return Object.entries({scrolls: root.scrollWidth > w || root.scrollHeight > h, ['cut: ' + cut]: cut.length,
  'out of view': [k, c].some(r => r.left < 0 || r.top < 0 || r.right > w || r.bottom > h), 'no Deal': arguments[0] && !deal?.offsetWidth,
  [`board ${k.width} × ${k.height} at ${k.x}, ${k.y}; ${fit} fits`]: Math.abs(k.width - fit) > 1 || k.x % 1 || k.y % 1
    || Math.abs(k.height * 16 / 9 - k.width) > 1, 'gestures scroll': body.touchAction + body.userSelect != 'nonenone',
}).filter(([, fault]) => fault).map(([what]) => what);"""


def layout(game, pictures, separator):
    game.start()
    for width, height in [(390, 844), (844, 390), (768, 1024), (1024, 768), (1366, 768), (1920, 1080)]:
        mobile = width < 1366  # a phone or a tablet, with a touch screen
        game.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": 1 + mobile, "mobile": mobile})
        game.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": mobile})
        game.driver.refresh()
        faults = game.driver.execute_script(LAYOUT, mobile) + [
            entry["message"] for entry in game.driver.get_log("browser") if "Policy" in entry["message"]]
        assert not faults, f"at {width} × {height}: {faults}"


# What the page says: its language and direction, description, Deal, hint and
# menu, each language in the menu by its own name.
SAYS = """return [document.documentElement.lang, document.documentElement.dir,
  document.querySelector('meta[name=description]').content, deal.textContent, keys.textContent,
  [...document.getElementById('language').options].map(option => option.text)]"""


def translation(code):
    if code == "en":
        return gettext.NullTranslations()
    compiled = subprocess.run(["msgfmt", "-o", "-", f"{ROOT}/po/{code}.po"], capture_output=True, check=True)
    return gettext.GNUTranslations(io.BytesIO(compiled.stdout))


def language(game, pictures, separator):
    # The browser prefers Austrian German, which the page speaks as German;
    # the menu then chooses Arabic, which a visit keeps. The build's own
    # pictures, compared with each language's, at a grid fine enough to meet
    # its words.
    sys.path.insert(0, ROOT + "/po")
    from page_strings import PAGE
    codes = sorted(["en", *open(ROOT + "/po/LINGUAS").read().split()])
    names = [translation(code).pgettext("language name", "English") for code in codes]
    english = showing(ROOT + "/resources/welcome.png", 24)
    game.languages, game.own_pictures = "de-AT,en", True
    game.start()

    def shown(code):
        t, welcome = translation(code), showing(f"{ROOT}/lang/{code}/welcome.png", 24)
        wait_for(game, f"the welcome in {code}", lambda s: welcome(s) and not english(s))
        says = [code, "rtl" if code == "ar" else "ltr", t.gettext(PAGE[0]), t.pgettext("button", "Deal"),
                re.sub("</?kbd>", "", t.gettext(next(text for text in PAGE if "<kbd>" in text))), names]
        wait_for(game, f"the page in {code}", lambda s: game.driver.execute_script(SAYS) == says)
    shown("de")
    from selenium.webdriver.support.select import Select
    Select(game.driver.find_element("id", "language")).select_by_value("ar")
    shown("ar")


def missing(game, pictures, separator):
    # Signs load before the screen pictures, and the first failure ends it.
    os.remove(f"{pictures}/resources/sings/3/(2).png")
    os.remove(f"{pictures}/resources/felicitation.png")
    game.start()
    expect_end(game, 2, "IMG_Load Error: Couldn't open " +
               separator.join(["resources", "sings", "3", "(2).png"]))


def offline(game, pictures, separator):
    first = start(game, pictures)
    errors = game.driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"]
    assert not errors, f"not installable: {errors}"
    wait_for(game, "the build in the cache after the first visit", lambda s: game.cached())
    # The emulation cuts the page's requests to the end, not its worker's:
    # those find no file on the server, nor in the browser's HTTP cache,
    # until the next builds are served, which reach the page through it.
    game.driver.execute_cdp_cmd("Network.clearBrowserCache", {})
    os.rename(game.site, game.site + "-away")
    game.driver.execute_cdp_cmd("Network.emulateNetworkConditions", {
        "offline": True, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})
    game.driver.refresh()
    wait_for(game, "the welcome picture offline", first)
    menu = "const menu = document.getElementById('language');"
    game.driver.execute_script(menu + "menu.value = 'de'; menu.dispatchEvent(new Event('change'))")
    wait_for(game, "the network asked for, the language kept", lambda s: game.driver.execute_script(
        menu + "return menu.value == 'en' && !document.getElementById('offline-language').hidden"))
    deal(game, pictures, "Deal")
    os.rename(game.site + "-away", game.site)
    # The next build's welcome is the congratulation picture.
    shutil.copytree(pictures + "/resources", pictures + "/next/resources")
    os.makedirs(pictures + "/next/touch")
    for variant in ("resources", "touch"):
        shutil.copy(pictures + "/resources/felicitation.png", f"{pictures}/next/{variant}/welcome.png")
    game.pack(pictures + "/next")
    worker = "return navigator.serviceWorker.getRegistration().then(found => found."
    game.driver.execute_script(worker + "update())")
    wait_for(game, "the next build waiting through the game", lambda s: game.driver.execute_script(
        worker + "waiting !== null)"))
    game.key("Escape")
    expect_end(game, 100, "")
    wait_for(game, "the next build alone in the cache at the end", lambda s: game.cached(), False)
    game.start()
    wait_for(game, "the next build's welcome", lambda s: near(s[640, 360], FELICITATION))
    game.pack(pictures)
    game.driver.get(game.driver.current_url)
    wait_for(game, "the build after's welcome", lambda s: first(s) and game.cached())


SCENARIOS = {f.__name__: f for f in [welcome, play, layout, language, missing, offline]} | {"touch": play}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("scenarios", nargs="+", choices=SCENARIOS)
    parser.add_argument("--pictures")
    parser.add_argument("--separator", default="/")
    split = sys.argv.index("--")
    args, command = parser.parse_args(sys.argv[1:split]), sys.argv[split + 1:]
    with tempfile.TemporaryDirectory(prefix="zorvane-e2e-") as work:
        framebuffer, failed = None, []
        for scenario in args.scenarios:
            directory = tempfile.mkdtemp(dir=work)
            if not args.pictures:
                make_picture_set(directory)
            if os.path.isdir(command[0]):  # the browser build's folder; two scenarios by finger
                game = (TouchGame if scenario in ("touch", "offline") else BrowserGame)(command[0], directory)
            else:
                framebuffer = framebuffer or start_display(work)
                game = DesktopGame(command, directory, framebuffer)
            try:
                SCENARIOS[scenario](game, args.pictures or directory, args.separator)
                print(f"e2e {scenario}: passed")
            except AssertionError as failure:
                print(f"e2e {scenario}: FAILED: {failure}")
                failed.append(scenario)
            finally:
                game.close()
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
