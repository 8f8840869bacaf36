#!/usr/bin/python3
"""The browser build's pictures as one compressed archive: each picture's
pixels as SDL_image's PNG decoder gives them (8 bits a channel, RGB, or RGBA
where it has any transparency; Pillow decodes them here), uncompressed,
after its width, height and bytes a pixel as 32-bit little-endian numbers;
the pictures in a tar archive, named by the paths the program asks for, in
the order it asks for them; the archive compressed whole as one .lzma
stream, whose window of megabytes sees what the pictures share, where each
PNG's own 32 KiB window could not. web/pictures.c decodes it as the program
asks for each picture.
    pack.py ARCHIVE SOURCE@PATH...
The compressor runs with fixed settings on one thread: the same pictures
give the same bytes."""
import io
import lzma
import re
import struct
import sys
import tarfile

from PIL import Image

# The decoder holds this much of the archive as its window: enough for a
# family of signs, which share most of their shapes, and for a language's
# pictures with words (bench/pictures.py).
COMPRESSION = [{"id": lzma.FILTER_LZMA1, "preset": 9 | lzma.PRESET_EXTREME, "dict_size": 2 << 20}]
# initializationTexteres' order after the signs.
SCREENS = ["resources/welcome.png", "resources/namesGroup.png", "resources/felicitation.png"]


def pixels(data):
    """The picture's shape and pixels, as web/pictures.c reads them."""
    picture = Image.open(io.BytesIO(data))
    picture = picture.convert("RGBA" if "A" in picture.mode or "transparency" in picture.info else "RGB")
    return struct.pack("<3I", picture.width, picture.height, len(picture.mode)) + picture.tobytes()


def program_order(name):
    # The signs by group, then by number, as (10) comes after (9); then the
    # screens; anything else last.
    sign = re.fullmatch(r"resources/sings/(\d+)/\((\d+)\)\.png", name)
    if sign:
        return 0, int(sign[1]), int(sign[2]), name
    return 1, SCREENS.index(name) if name in SCREENS else len(SCREENS), 0, name


def archive(pictures):
    """The tar archive of {PATH: PNG data}, as pixels, in the program's order."""
    out = io.BytesIO()
    with tarfile.open(fileobj=out, mode="w", format=tarfile.USTAR_FORMAT) as tar:
        for name in sorted(pictures, key=program_order):
            data = pixels(pictures[name])
            entry = tarfile.TarInfo(name)
            entry.size, entry.mode = len(data), 0o644
            tar.addfile(entry, io.BytesIO(data))
    return out.getvalue()


def main():
    target, pairs = sys.argv[1], [pair.split("@", 1) for pair in sys.argv[2:]]
    pictures = {name: open(source, "rb").read() for source, name in pairs}
    with open(target, "wb") as out:
        out.write(lzma.compress(archive(pictures), lzma.FORMAT_ALONE, filters=COMPRESSION))


if __name__ == "__main__":
    main()
