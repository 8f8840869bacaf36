#!/usr/bin/python3
"""The browser build's picture archives (web/pack.py), read as web/pictures.c
reads them: entries in the order the program asks for its pictures, each
the pixels SDL_image's PNG decoder would give, and the same bytes from the
same pictures. Run with Debian's Python and Pillow:

    python3 tests/test_pack.py"""
import io
import lzma
import os
import struct
import subprocess
import sys
import tarfile
import tempfile
import unittest

from PIL import Image

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PALETTE = [(10, 20, 30), (200, 100, 50), (0, 255, 0)]


def pack(directory, pictures):
    # web/pack.py run on {path the program asks for: picture}, the pictures
    # saved as PNG files under DIRECTORY, handed over in the order given.
    pairs = []
    for number, (path, picture) in enumerate(pictures.items()):
        source = f"{directory}/{number}.png"
        picture.save(source)
        pairs.append(f"{source}@{path}")
    target = f"{directory}/archive.tar.lzma"
    subprocess.run([sys.executable, f"{ROOT}/web/pack.py", target, *pairs], check=True)
    return open(target, "rb").read()


def entries(archive):
    # Each entry's path, shape and pixels, in the archive's order.
    with tarfile.open(fileobj=io.BytesIO(lzma.decompress(archive, lzma.FORMAT_ALONE))) as tar:
        for entry in tar:
            data = tar.extractfile(entry).read()
            yield entry.name, struct.unpack("<3I", data[:12]), data[12:]


def palette_picture(transparency):
    picture = Image.new("P", (3, 2))
    picture.putpalette([value for colour in PALETTE for value in colour])
    picture.putdata([0, 1, 2, 2, 1, 0])
    if transparency:
        picture.info["transparency"] = bytes([255, 128, 0])
    return picture


class Order(unittest.TestCase):
    # initializationTexteres asks for the signs group by group, (1).png up,
    # then the welcome, the label strip and the congratulation; a picture
    # that comes before the program asks for it waits decoded in memory.
    def test_signs_by_number_then_the_screens(self):
        names = [f"resources/sings/{g}/({k}).png" for g in (2, 1) for k in (11, 2, 10, 1, 9)]
        screens = ["resources/felicitation.png", "resources/namesGroup.png", "resources/welcome.png"]
        with tempfile.TemporaryDirectory() as work:
            archive = pack(work, {name: Image.new("RGB", (1, 1)) for name in screens + names})
        expected = [f"resources/sings/{g}/({k}).png" for g in (1, 2) for k in (1, 2, 9, 10, 11)]
        self.assertEqual([name for name, _, _ in entries(archive)], expected + screens[::-1])


class Pixels(unittest.TestCase):
    # SDL_image's decoder gives RGBA where a picture has any transparency,
    # its palette's alpha included, and RGB otherwise.
    def unpacked(self, picture):
        with tempfile.TemporaryDirectory() as work:
            [(_, shape, pixels)] = entries(pack(work, {"resources/welcome.png": picture}))
        return shape, pixels

    def test_palette_with_transparency_is_rgba(self):
        alpha = {0: 255, 1: 128, 2: 0}
        expected = b"".join(bytes(PALETTE[i] + (alpha[i],)) for i in [0, 1, 2, 2, 1, 0])
        self.assertEqual(self.unpacked(palette_picture(True)), ((3, 2, 4), expected))

    def test_palette_without_transparency_is_rgb(self):
        expected = b"".join(bytes(PALETTE[i]) for i in [0, 1, 2, 2, 1, 0])
        self.assertEqual(self.unpacked(palette_picture(False)), ((3, 2, 3), expected))


class Archive(unittest.TestCase):
    def test_same_pictures_same_bytes(self):
        pictures = {"resources/welcome.png": palette_picture(True), "resources/sings/1/(1).png": Image.new("RGB", (4, 4))}
        with tempfile.TemporaryDirectory() as first, tempfile.TemporaryDirectory() as second:
            self.assertEqual(pack(first, pictures), pack(second, pictures))

    def test_window_is_two_mebibytes(self):
        # The .lzma header names the window the browser's decoder allocates.
        with tempfile.TemporaryDirectory() as work:
            archive = pack(work, {"resources/welcome.png": Image.new("RGB", (1, 1))})
        self.assertEqual(struct.unpack("<I", archive[1:5])[0], 2 << 20)


if __name__ == "__main__":
    unittest.main()
