#!/usr/bin/python3
# End to end: a build of the game played as a player would, judged on what
# the screen shows and on how the run ends. Every build is played by the same
# scenarios; only the command that starts it differs.
#
#   e2e.py SCENARIO... [--pictures DIR] [--separator SEP] [--languages CODES] -- COMMAND...
#
# COMMAND starts the game in a window on a virtual X display (the native
# program, the Windows one under Wine, an installed launcher), or names the
# folder of the browser build (tools/web.sh), played in headless Chromium
# with the picture set packed as its archives; tests/drivers.py holds the
# players of both. Each scenario runs it in a fresh directory holding a
# picture set made here, unless --pictures names the directory whose
# resources/ the game shows (an installed set): it then runs in an empty
# directory. SEP is how the game spells paths; CODES are the languages
# besides English, as the build reads them. A desktop build's window is
# first checked as the window manager sees it. The scenarios:
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
import os
import re
import shutil
import sys
import tempfile
import time

from xml.etree import ElementTree

from PIL import Image

from drivers import ROOT, WHITE, BrowserGame, DesktopGame, TouchGame, decode, start_display

sys.path.insert(0, ROOT + "/po")
import catalogue  # noqa: E402

CELL_W, CELL_H, FELICITATION = 142, 240, (200, 160, 0)
CELLS = [(r, c) for r in range(3) for c in range(9)]
WAIT = 60  # seconds any one step may take: Wine's first start is slow


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


def welcome(game, pictures, args):
    start(game, pictures)
    deal(game, pictures)
    game.key("Escape")
    expect_end(game, 100, "")


def play(game, pictures, args):
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


def layout(game, pictures, args):
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


def page_english():
    # The page's own English for what SAYS reads: the description, Deal and
    # the keyboard hint, its key names as markup, from the page's template.
    page = ElementTree.parse(ROOT + "/web/index.html").getroot()
    hint = page.find(".//p[@id='keys']")
    return [page.find(".//meta[@name='description']").get("content"), page.find(".//button[@id='deal']").text,
            (hint.text or "") + "".join(ElementTree.tostring(kbd, encoding="unicode") for kbd in hint)]


def language(game, pictures, args):
    # The browser prefers Austrian German, which the page speaks as German;
    # the menu then chooses Arabic, which a visit keeps. The build's own
    # pictures, compared with each language's, at a grid fine enough to meet
    # its words.
    codes = sorted(["en", *args.languages.split()])
    names = [catalogue.own_name(catalogue.translation(code)) for code in codes]
    description, deal_button, hint = page_english()
    english = showing(ROOT + "/resources/welcome.png", 24)
    game.languages, game.own_pictures = "de-AT,en", True
    game.start()

    def shown(code):
        t, welcome = catalogue.translation(code), showing(f"{ROOT}/lang/{code}/welcome.png", 24)
        wait_for(game, f"the welcome in {code}", lambda s: welcome(s) and not english(s))
        says = [code, "rtl" if catalogue.right_to_left(t) else "ltr", t.gettext(description),
                t.pgettext("button", deal_button), re.sub("</?kbd>", "", t.gettext(hint)), names]
        wait_for(game, f"the page in {code}", lambda s: game.driver.execute_script(SAYS) == says)
    shown("de")
    from selenium.webdriver.support.select import Select
    Select(game.driver.find_element("id", "language")).select_by_value("ar")
    shown("ar")


def missing(game, pictures, args):
    # Signs load before the screen pictures, and the first failure ends it.
    os.remove(f"{pictures}/resources/sings/3/(2).png")
    os.remove(f"{pictures}/resources/felicitation.png")
    game.start()
    expect_end(game, 2, "IMG_Load Error: Couldn't open " +
               args.separator.join(["resources", "sings", "3", "(2).png"]))


def offline(game, pictures, args):
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
    parser.add_argument("--languages", default="", help="the languages besides English, as the build reads them")
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
                SCENARIOS[scenario](game, args.pictures or directory, args)
                print(f"e2e {scenario}: passed")
            except AssertionError as failure:
                print(f"e2e {scenario}: FAILED: {failure}")
                failed.append(scenario)
            finally:
                game.close()
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
