#!/usr/bin/python3
# What the browser's pictures cost to download, packed as the browser build
# could pack them: every PNG rewritten with stored deflate blocks, keeping
# its colour type, palette and transparency, its rows filtered again a given
# way, its pixels checked against the shipped file with Pillow, in the order
# the program loads them, then compressed whole; and as web/pack.py packs
# them, the pixels alone. Prints Markdown tables: the row filters under one
# codec, then the codecs and their settings under the chosen filter, for the
# signs and English's pictures with words, then every set.
#   /usr/bin/python3 bench/pictures.py [--filter FILTER] $(languages)
# (the languages besides English, as tools/common.sh's languages reads them).
import argparse
import glob
import gzip
import io
import lzma
import os
import struct
import subprocess
import sys
import zlib

from PIL import Image

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, ROOT + "/web")
import pack  # noqa: E402

MIB = 1 << 20
SIGNATURE = b"\x89PNG\r\n\x1a\n"
KEPT = (b"IHDR", b"PLTE", b"tRNS")  # what a decoder needs of a PNG file


def picture_sets(codes):
    # As the browser build packs them, each in the program's order: the
    # signs, and the pictures with words of English and each of CODES for
    # either input.
    signs = [os.path.relpath(path, ROOT) for path in glob.glob(ROOT + "/resources/sings/*/*.png")]
    sets = {"signs": sorted(signs, key=pack.program_order)}
    for code in ["en", *codes]:
        keyboard = "resources" if code == "en" else f"lang/{code}"
        sets[f"words-{code}-keyboard"] = [f"{keyboard}/{p}" for p in ("welcome.png", "namesGroup.png", "felicitation.png")]
        sets[f"words-{code}-touch"] = [f"lang/{code}/touch/welcome.png", f"{keyboard}/namesGroup.png",
                                       f"lang/{code}/touch/felicitation.png"]
    return sets


def chunks(data):
    at = len(SIGNATURE)
    while at < len(data):
        size, kind = struct.unpack(">I4s", data[at:at + 8])
        yield kind, data[at + 8:at + 8 + size]
        at += 12 + size


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def filtered(row, above, kind, step):
    # The row under PNG's filter KIND: each byte less what the filter
    # predicts from the byte to its left (a), above (b) and above-left (c).
    a = lambda i: row[i - step] if i >= step else 0
    c = lambda i: above[i - step] if i >= step else 0
    predict = (lambda i: 0, a, lambda i: above[i], lambda i: (a(i) + above[i]) // 2,
               lambda i: paeth(a(i), above[i], c(i)))[kind]
    return bytes([kind]) + bytes((row[i] - predict(i)) & 255 for i in range(len(row)))


def stored(data, choose):
    # The file with stored deflate blocks, row y filtered as choose(rows, y,
    # bytes a pixel, the file's own filters) says.
    found = list(chunks(data))
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", found[0][1])
    assert depth == 8 and not interlace, "8-bit rows, not interlaced"
    step = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    raw = zlib.decompress(b"".join(body for kind, body in found if kind == b"IDAT"))
    kinds = raw[::width * step + 1]
    pixels = Image.open(io.BytesIO(data)).tobytes()  # 8-bit rows, unfiltered
    rows = [pixels[y * width * step:(y + 1) * width * step] for y in range(height)]
    lines = [filtered(row, rows[y - 1] if y else bytes(len(row)), choose(rows, y, step, kinds), step)
             for y, row in enumerate(rows)]
    kept = b"".join(chunk(kind, body) for kind, body in found if kind in KEPT)
    return SIGNATURE + kept + chunk(b"IDAT", zlib.compress(b"".join(lines), 0)) + chunk(b"IEND", b"")


def min_abs_sum(rows, y, step, kinds):
    # libpng's choice: the filter whose bytes, taken as signed, sum least.
    above = rows[y - 1] if y else bytes(len(rows[y]))
    cost = lambda kind: sum(min(b, 256 - b) for b in filtered(rows[y], above, kind, step)[1:])
    return min(range(5), key=cost)


FILTERS = {"original": lambda rows, y, step, kinds: kinds[y], "none": lambda *_: 0, "sub": lambda *_: 1,
           "up": lambda *_: 2, "paeth": lambda *_: 4, "min-abs-sum": min_abs_sum}


def lzma2(data, preset=9 | lzma.PRESET_EXTREME, dict_size=8 * MIB, delta=0, **options):
    filters = ([{"id": lzma.FILTER_DELTA, "dist": delta}] if delta else []) + [
        {"id": lzma.FILTER_LZMA2, "preset": preset, "dict_size": dict_size, **options}]
    return len(lzma.compress(data, lzma.FORMAT_RAW, filters=filters))


def alone(data, dict_size):
    options = {"id": lzma.FILTER_LZMA1, "preset": 9 | lzma.PRESET_EXTREME, "dict_size": dict_size}
    return len(lzma.compress(data, lzma.FORMAT_ALONE, filters=[options]))


def zstd(data, level, window):
    return len(subprocess.run(["zstd", "-q", "-c", "--single-thread", "--ultra", f"-{level}", f"--zstd=wlog={window}"],
                              input=data, capture_output=True, check=True).stdout)


CODECS = {
    "gzip -9 (as served today, concatenated)": lambda d: len(gzip.compress(d, 9, mtime=0)),
    "xz -9": lambda d: len(lzma.compress(d, lzma.FORMAT_XZ, preset=9)),
    "xz -9e": lambda d: len(lzma.compress(d, lzma.FORMAT_XZ, preset=9 | lzma.PRESET_EXTREME)),
    "raw LZMA2 -9 8 MiB": lambda d: lzma2(d, 9),
    **{f"raw LZMA2 -9e {m} MiB": (lambda m: lambda d: lzma2(d, dict_size=m * MIB))(m) for m in (1, 2, 4, 8)},
    **{f".lzma (LZMA1) -9e {m} MiB": (lambda m: lambda d: alone(d, m * MIB))(m) for m in (1, 2, 4, 8)},
    **{f"raw LZMA2 -9e 8 MiB lc={lc} lp={lp} pb={pb}": (lambda o: lambda d: lzma2(d, **o))(
        dict(lc=lc, lp=lp, pb=pb)) for lc, lp, pb in [(0, 0, 2), (1, 0, 2), (4, 0, 2), (0, 2, 2), (2, 2, 2), (0, 0, 0)]},
    **{f"raw LZMA2 -9e 8 MiB delta {d}": (lambda d: lambda data: lzma2(data, delta=d))(d) for d in (1, 3, 4)},
    **{f"zstd -{lv} wlog {w}": (lambda lv, w: lambda d: zstd(d, lv, w))(lv, w) for lv in (19, 22) for w in (20, 23)},
    **{f"zstd -{lv} wlog 21": (lambda lv: lambda d: zstd(d, lv, 21))(lv) for lv in (20, 21)},
}


def archive(paths, choose):
    # The stored pictures one after another, each checked against its PNG.
    out = b""
    for path in paths:
        data = open(f"{ROOT}/{path}", "rb").read()
        again = stored(data, choose)
        if Image.open(io.BytesIO(again)).tobytes() != Image.open(io.BytesIO(data)).tobytes():
            sys.exit(f"{path}: pixels differ once stored")
        out += again
    return out


def table(title, columns, rows):
    print(f"\n### {title}\n\n| | {' | '.join(columns)} |\n|{' --- |' * (len(columns) + 1)}")
    for name, cells in rows:
        print(f"| {name} | {' | '.join(f'{c:,}' for c in cells)} |")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--filter", choices=FILTERS, default="none")
    parser.add_argument("codes", nargs="*")
    args = parser.parse_args()
    chosen, sets = args.filter, picture_sets(args.codes)
    signs, english = sets["signs"], sets["words-en-keyboard"]
    table("Row filters, raw LZMA2 -9e 8 MiB", ["signs", "English keyboard words"],
          [(name, [lzma2(archive(files, f)) for files in (signs, english)]) for name, f in FILTERS.items()])
    packed = {name: archive(files, FILTERS[chosen]) for name, files in sets.items()}
    table(f"Codecs, filter {chosen}", ["signs", "English keyboard words"],
          [("stored, uncompressed", [len(packed["signs"]), len(packed["words-en-keyboard"])])] +
          [(name, [codec(packed[s]) for s in ("signs", "words-en-keyboard")]) for name, codec in CODECS.items()])
    read = lambda files: b"".join(open(f"{ROOT}/{path}", "rb").read() for path in files)
    built = lambda files: lzma.compress(pack.archive({path: open(f"{ROOT}/{path}", "rb").read() for path in files}),
                                        lzma.FORMAT_ALONE, filters=pack.COMPRESSION)
    table(f"Each set: today's PNGs, stored PNGs with filter {chosen}, web/pack.py's archive of pixels",
          ["PNG files", "PNGs, gzip -9", "stored, xz -9e", "stored, zstd -22 wlog 23", "web/pack.py's .tar.lzma"],
          [(name, [len(read(sets[name])), len(gzip.compress(read(sets[name]), 9, mtime=0)), CODECS["xz -9e"](data),
                   zstd(data, 22, 23), len(built(sets[name]))]) for name, data in packed.items()])

if __name__ == "__main__":
    main()
