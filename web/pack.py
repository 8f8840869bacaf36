#!/usr/bin/python3
"""The browser build's pictures as one compressed archive: each PNG file
rewritten with stored (uncompressed) deflate blocks, the same rows under the
same header, palette and transparency, so that it decodes to the same
pixels; the files in a tar archive in the order the program asks for them;
the archive compressed whole as one .lzma stream, whose window of megabytes
sees what the pictures share where each PNG's own 32 KiB window could not.
web/pictures.c decodes it as the program asks for each picture.
    pack.py ARCHIVE SOURCE@NAME...
NAME is the path the program asks for (resources/...). The compressor runs
with fixed settings on one thread: the same pictures give the same bytes."""
import io
import lzma
import re
import struct
import sys
import tarfile
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
# What a decoder needs of a picture: the others are left out.
KEPT = (b"IHDR", b"PLTE", b"tRNS")
# The decoder holds this much of the archive as its window: enough for a
# family of signs, which share most of their shapes, and for a language's
# pictures with words. Literals are coded by the four bits before them and
# with no regard to their position: tar's headers and PNG's chunks leave the
# pixels on no fixed alignment (bench/pictures.py).
COMPRESSION = [{"id": lzma.FILTER_LZMA1, "preset": 9 | lzma.PRESET_EXTREME, "dict_size": 2 << 20,
                "lc": 4, "lp": 0, "pb": 0}]
# initializationTexteres' order after the signs.
SCREENS = ["resources/welcome.png", "resources/namesGroup.png", "resources/felicitation.png"]


def chunks(data):
    if not data.startswith(SIGNATURE):
        raise ValueError("not a PNG file")
    at = len(SIGNATURE)
    while at < len(data):
        size, kind = struct.unpack(">I4s", data[at:at + 8])
        yield kind, data[at + 8:at + 8 + size]
        at += 12 + size


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def stored(data):
    """The PNG file with its rows, filters and all, in stored deflate blocks."""
    found = list(chunks(data))
    rows = zlib.decompress(b"".join(body for kind, body in found if kind == b"IDAT"))
    kept = b"".join(chunk(kind, body) for kind, body in found if kind in KEPT)
    return SIGNATURE + kept + chunk(b"IDAT", zlib.compress(rows, 0)) + chunk(b"IEND", b"")


def program_order(name):
    # The signs by group, then by number, as (10) comes after (9); then the
    # screens; anything else last.
    sign = re.fullmatch(r"resources/sings/(\d+)/\((\d+)\)\.png", name)
    if sign:
        return 0, int(sign[1]), int(sign[2]), name
    return 1, SCREENS.index(name) if name in SCREENS else len(SCREENS), 0, name


def archive(pictures):
    """The tar archive of {NAME: PNG data}, stored, in the program's order."""
    out = io.BytesIO()
    with tarfile.open(fileobj=out, mode="w", format=tarfile.USTAR_FORMAT) as tar:
        for name in sorted(pictures, key=program_order):
            data = stored(pictures[name])
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
