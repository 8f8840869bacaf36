#!/usr/bin/env python3
"""End to end: one build of the game played as a player would, judged on
what the screen shows and on how the run ends. Every build is played by the
same scenarios; only the command that starts it differs.

  e2e.py SCENARIO [--pictures DIR] [--separator SEP] -- COMMAND...

COMMAND starts the game in a window on a virtual X display of its own (the
native program, the Windows one under Wine, an installed launcher). It runs
in a fresh directory holding a picture set made here, unless --pictures names
the directory whose resources/ the game shows (an installed set); it then
runs in an empty directory. SEP is how the game spells paths ("/" or "\\").

Scenarios:
  welcome  the welcome picture until Space, the dealt board, Escape ends with 100
  play     clicks and other keys leave the welcome; a carried picture keeps
           its grip and empties its cell; a drop exchanges; Escape ends with 100
  win      sort the board by drags; the congratulation waits for a key; 0
  missing  a picture file missing ends with 2 and names it
The made set colours each sign by its group and number, each label band by
its group, and each screen picture with a colour of its own.
"""
import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib

WIDTH, HEIGHT, CELL_W, CELL_H, COLUMNS, ROWS = 1280, 720, 142, 240, 9, 3
COUNTS = [30, 9, 17, 15, 14, 19]
WHITE, LABEL_W = (255, 255, 255), 300
WAIT = 60  # seconds any one step may take: Wine's first start is slow


class Failure(Exception):
    pass


# --- The picture set ---------------------------------------------------------

def sign_colour(group, k):
    return (30 + 35 * group, 7 * k, 200)


def label_colour(group):
    return (40 * group, 60, 90)


def write_png(path, width, bands):
    """An opaque picture of horizontal bands, given as (height, colour)."""
    rows = b"".join((b"\0" + bytes(colour) * width) * height for height, colour in bands)
    height = sum(h for h, _ in bands)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data)))

    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" +
                  chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
                  chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def make_picture_set(top):
    for group, count in enumerate(COUNTS):
        for k in range(1, count + 1):
            write_png(f"{top}/resources/sings/{group + 1}/({k}).png", 100,
                      [(100, sign_colour(group, k))])
    write_png(f"{top}/resources/welcome.png", 600, [(300, (20, 120, 40))])
    write_png(f"{top}/resources/felicitation.png", 600, [(300, (200, 160, 0))])
    write_png(f"{top}/resources/namesGroup.png", LABEL_W,
              [(30, label_colour(g)) for g in range(6)])


# --- What the screen shows ---------------------------------------------------

class Picture:
    """Pixels as rows of packed bytes: `step` bytes a pixel, red first or,
    with bgr, blue first."""

    def __init__(self, data, width, height, offset=0, stride=None, step=3, bgr=False):
        self.data, self.width, self.height, self.offset = data, width, height, offset
        self.stride, self.step, self.bgr = stride or width * step, step, bgr

    def __call__(self, x, y):
        at = self.offset + y * self.stride + x * self.step
        pixel = tuple(self.data[at:at + 3])
        return pixel[::-1] if self.bgr else pixel


def decode(path_or_bytes):
    """Any picture ImageMagick reads, flattened on white as the game draws it."""
    source = path_or_bytes if isinstance(path_or_bytes, str) else "-"
    size = subprocess.run(["convert", source, "-format", "%w %h", "info:"], check=True,
                          capture_output=True, input=None if source != "-" else path_or_bytes)
    width, height = map(int, size.stdout.split())
    rgb = subprocess.run(["convert", source, "-background", "white", "-flatten", "-depth", "8",
                          "rgb:-"], check=True, capture_output=True,
                         input=None if source != "-" else path_or_bytes).stdout
    return Picture(rgb, width, height)


def near(a, b, tolerance=6):
    """Colours agree within what GL's blending and scaling may round."""
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


def cell_centre(r, c):
    return 71 + CELL_W * c, 120 + CELL_H * r


def shows(screen, picture, x, y, points=7):
    """The picture is drawn with its top left corner at (x, y): a grid of
    sample points across it agrees."""
    return all(near(screen(x + picture.width * i // points, y + picture.height * j // points),
                    picture(picture.width * i // points, picture.height * j // points))
               for i in range(points) for j in range(points))


def labels_shown(screen, strip):
    """Each row shows one band of the label strip, in its place, a different
    band a row."""
    bands = []
    for r in range(ROWS):
        top, left = 13 + CELL_H * r, 640 - strip.width // 2
        found = [g for g in range(strip.height // 30)
                 if shows(screen, Picture(strip.data, strip.width, 30, g * 30 * strip.stride,
                                          strip.stride), left, top, 5)]
        if len(found) != 1:
            return False
        bands += found
    return len(set(bands)) == ROWS


def group_at(screen, x, y):
    """The group of the made set's sign drawn at (x, y), or None."""
    red, green, blue = screen(x, y)
    group = round((red - 30) / 35)
    return group if 0 <= group < 6 and near(screen(x, y), sign_colour(group, round(green / 7))) \
        and blue > 150 else None


# --- Playing on a virtual X display ------------------------------------------

class Desktop:
    """A virtual X display whose screen lies in a file: reading it needs no
    connection to the display."""

    def __init__(self, work):
        self.fbdir = tempfile.mkdtemp(dir=work)
        # No pointer is drawn into the screen. Two servers starting at once can take the same display number; the
        # loser dies soon after announcing it, so a server counts once it
        # still runs.
        for _ in range(5):
            read, write = os.pipe()
            self.server = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write), "-screen", "0", f"{WIDTH}x{HEIGHT}x24",
                 "-nolisten", "tcp", "-nocursor", "-fbdir", self.fbdir], pass_fds=[write],
                stderr=subprocess.DEVNULL)
            os.close(write)
            # Xvfb writes the number and its newline apart, and dies if the
            # pipe closes between the two.
            with os.fdopen(read) as pipe:
                number = pipe.readline().strip()
            time.sleep(0.3)
            if number and self.server.poll() is None:
                os.environ["DISPLAY"] = ":" + number
                return
        raise Failure("no virtual display would start")

    def screen(self):
        with open(self.fbdir + "/Xvfb_screen0", "rb") as f:
            data = f.read()
        header = struct.unpack(">25I", data[:100])
        return Picture(data, WIDTH, HEIGHT, header[0] + 12 * header[19], header[12], 4,
                       bgr=header[7] == 0)

    def close(self):
        self.server.kill()


class DesktopGame:
    def __init__(self, command, directory, work):
        self.command, self.directory, self.work = command, directory, work
        self.desktop = Desktop(work)
        self.blank = self.desktop.screen()
        self.process, self.origin = None, (0, 0)

    def start(self):
        # Xvfb now and then refuses a client that connects at the same moment
        # as another. Nothing here connects to the display until the game's
        # window shows, but Wine's own processes connect beside the game's:
        # a run that ends at once with SDL's "no video device" answer is
        # started again.
        for attempt in range(3):
            self.launch()
            while self.process.poll() is None and self.screen_is_blank():
                time.sleep(0.05)
            status, output = self.process.poll(), self.output()
            if status != 1 or not output.startswith("SDL_Init Error"):
                break
        if self.process.poll() is None:
            self.origin = self.window_origin()

    def launch(self):
        self.out = open(f"{self.work}/stdout", "wb+")
        self.process = subprocess.Popen(self.command, cwd=self.directory, stdout=self.out,
                                        stderr=open(f"{self.work}/stderr", "wb"))

    def screen_is_blank(self):
        return self.desktop.screen().data == self.blank.data

    def window_origin(self):
        """Where the game's window lies; a windowing system may offset it."""
        for _ in range(WAIT * 10):
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Zorvane$",
                                    "getwindowgeometry", "--shell"], capture_output=True,
                                   text=True).stdout
            fields = dict(line.split("=") for line in found.split() if "=" in line)
            if "X" in fields:
                return int(fields["X"]), int(fields["Y"])
            time.sleep(0.1)
        raise Failure("no window named Zorvane")

    def screen(self):
        whole, (dx, dy) = self.desktop.screen(), self.origin
        return lambda x, y: whole(x + dx, y + dy)

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], check=True)

    def key(self, name):
        self.xdotool("key", name)

    def move(self, x, y):
        self.xdotool("mousemove", x + self.origin[0], y + self.origin[1])

    def press(self, button):
        self.xdotool("mousedown", button)

    def release(self, button):
        self.xdotool("mouseup", button)

    def output(self):
        self.out.seek(0)
        return self.out.read().decode(errors="replace")

    def ended(self):
        """None while the game runs; then its status and standard output."""
        status = self.process.poll() if self.process else None
        return None if status is None else (status, self.output())

    def close(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
        self.desktop.close()


# --- Scenarios ---------------------------------------------------------------

def wait_for(game, what, test):
    deadline = time.monotonic() + WAIT
    while time.monotonic() < deadline:
        if test(game.screen()):
            return
        if game.ended():
            raise Failure(f"the game ended (status, output: {game.ended()}) before {what}")
        time.sleep(0.05)
    raise Failure(f"not within {WAIT} s: {what}")


def expect_end(game, status, output):
    deadline = time.monotonic() + WAIT
    while game.ended() is None and time.monotonic() < deadline:
        time.sleep(0.05)
    if game.ended() != (status, output):
        raise Failure(f"ended with {game.ended()}, expected {(status, output)}")


def settle(game):
    """Time for the game to act on input that should change nothing."""
    time.sleep(0.5)


def welcome_shown(pictures):
    welcome = decode(f"{pictures}/resources/welcome.png")
    return lambda screen: shows(screen, welcome, 640 - welcome.width // 2,
                                360 - welcome.height // 2)


def board_shown(screen):
    return all(group_at(screen, *cell_centre(r, c)) is not None
               for r in range(ROWS) for c in range(COLUMNS))


def to_board(game, pictures):
    game.start()
    wait_for(game, "the welcome picture", welcome_shown(pictures))
    strip = decode(f"{pictures}/resources/namesGroup.png")
    game.key("space")
    wait_for(game, "the board's labels", lambda screen: labels_shown(screen, strip))


def drag(game, start, end, button=1):
    game.move(*start)
    game.press(button)
    game.move(*end)
    game.release(button)


def welcome(game, pictures, separator):
    to_board(game, pictures)
    game.key("Escape")
    expect_end(game, 100, "")


def play(game, pictures, separator):
    game.start()
    shown = welcome_shown(pictures)
    wait_for(game, "the welcome picture", shown)
    game.move(640, 360)
    game.press(1)
    game.release(1)
    game.key("a")
    game.key("Return")
    settle(game)
    wait_for(game, "the welcome picture after a click and other keys", shown)
    game.key("space")
    wait_for(game, "a dealt board", board_shown)
    before = game.screen()
    carried, target = before(71, 120), before(213, 360)
    # Gripped 9 right of and 10 below its centre, with the right button.
    game.move(80, 130)
    game.press(3)
    game.move(300, 400)
    wait_for(game, "the carried picture, its grip kept, its cell empty", lambda s: (
        near(s(291, 390), carried) and near(s(241, 340), carried) and
        not near(s(240, 340), carried) and near(s(71, 120), WHITE)))
    game.move(222, 370)
    game.release(3)
    wait_for(game, "the two pictures exchanged", lambda s: (
        near(s(71, 120), target) and near(s(213, 360), carried) and
        all(near(s(*cell_centre(r, c)), before(*cell_centre(r, c)))
            for r in range(ROWS) for c in range(COLUMNS) if (r, c) not in [(0, 0), (1, 1)])))
    game.key("Escape")
    expect_end(game, 100, "")


def win(game, pictures, separator):
    to_board(game, pictures)
    felicitation = lambda s: near(s(640, 360), (200, 160, 0))
    cells = [(r, c) for r in range(ROWS) for c in range(COLUMNS)]
    for i, (r, c) in enumerate(cells):
        screen = game.screen()
        if felicitation(screen):
            break
        label = round(screen(640, 28 + CELL_H * r)[0] / 40)
        if group_at(screen, *cell_centre(r, c)) == label:
            continue
        source = next(cell for cell in cells[i + 1:]
                      if group_at(screen, *cell_centre(*cell)) == label)
        moved = screen(*cell_centre(*source))
        drag(game, cell_centre(*source), cell_centre(r, c))
        wait_for(game, f"a drop into row {r}, column {c}", lambda s: felicitation(s) or (
            near(s(*cell_centre(r, c)), moved) and not near(s(*cell_centre(*source)), WHITE)))
    wait_for(game, "the congratulation picture", felicitation)
    # The release that sorted the board did not end the game; motion does not.
    game.move(10, 10)
    game.move(700, 500)
    settle(game)
    if game.ended():
        raise Failure(f"the congratulation ended without a key: {game.ended()}")
    game.key("x")
    expect_end(game, 0, "")


def missing(game, pictures, separator):
    os.remove(f"{pictures}/resources/sings/3/(2).png")
    game.start()
    path = separator.join(["resources", "sings", "3", "(2).png"])
    expect_end(game, 2, f"IMG_Load Error: Couldn't open {path}")


SCENARIOS = {f.__name__: f for f in [welcome, play, win, missing]}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("scenario", choices=SCENARIOS)
    parser.add_argument("--pictures")
    parser.add_argument("--separator", default="/")
    parser.add_argument("command", nargs="+")
    args = parser.parse_args()
    work = tempfile.mkdtemp(prefix="zorvane-e2e-")
    game = None
    try:
        directory = f"{work}/game"
        os.mkdir(directory)
        if not args.pictures:
            make_picture_set(directory)
        game = DesktopGame(args.command, directory, work)
        SCENARIOS[args.scenario](game, args.pictures or directory, args.separator)
        print(f"e2e {args.scenario}: passed")
    except Failure as failure:
        sys.exit(f"e2e {args.scenario}: FAILED: {failure}")
    finally:
        if game:
            game.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
