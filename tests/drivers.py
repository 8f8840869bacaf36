"""The players of the end-to-end test and of the browser benchmark: each
starts a build of the game and plays it as a player would, through the same
few actions (keys by name, pointer moves, button presses and releases), and
reads what the screen shows and how the run ended.
  DesktopGame   a program in a window of a virtual X display (start_display),
                played with xdotool: the native program, the Windows one
                under Wine, an installed launcher
  BrowserGame   the browser build served from this machine (serve) in
                headless Chromium (chromium), played with Selenium's actions
  TouchGame     the same page on a touch screen, played by finger alone
"""
import atexit
import gzip
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

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, ROOT + "/web")
import visit  # noqa: E402

WHITE = (255, 255, 255)
# The virtual display is larger than the window, whose place on it shows
# whether it is centred: the desktop builds' screen and pointer are read and
# moved from there.
SCREEN, LEFT, TOP = (1440, 900), 80, 90

def decode(source):
    # A picture file (or file object), flattened on white as the game draws it.
    picture = Image.open(source).convert("RGBA")
    return Image.alpha_composite(Image.new("RGBA", picture.size, WHITE), picture).convert("RGB")


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


def serve(site, compressed=False):
    # The folder on a free port of this machine, quietly, from a thread;
    # COMPRESSED, each file gzipped at level 9 as a web server would, and
    # kept by no cache, so that every visit is a first one.
    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

        def do_GET(self):
            path = self.translate_path(self.path)
            if os.path.isdir(path):
                path = os.path.join(path, "index.html")
            if not compressed or not os.path.isfile(path):
                return super().do_GET()
            data = gzip.compress(open(path, "rb").read(), 9, mtime=0)
            self.send_response(200)
            for header in (("Content-Type", self.guess_type(path)), ("Content-Encoding", "gzip"),
                           ("Content-Length", str(len(data))), ("Cache-Control", "no-store")):
                self.send_header(*header)
            self.end_headers()
            self.wfile.write(data)

    class Server(http.server.ThreadingHTTPServer):
        def handle_error(self, request, address):
            pass  # a browser that closes a connection early is no fault of the site's

    server = Server(("127.0.0.1", 0), lambda *args: Quiet(*args, directory=site))
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
            subprocess.run(["/usr/bin/python3", f"{ROOT}/web/pack.py", f"{self.site}/{name}.tar.lzma", *pairs],
                           check=True)
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
        return kept == [["zorvane-" + name], sorted(set(visit.files(self.site, self.language, self.variant)) - {"sw.js"})]

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
