#!/usr/bin/python3
"""The shipped pictures of English and of every other language the game
speaks: each is there at its size, the label strip holds its six bands in
family order, and no text reaches past its band or box: the margins around
them hold only their background. Run with Debian's Python and Pillow, given
the languages as the build reads them (the suite hands them over):

    python3 tests/test_pictures.py ROOT $(cmake -P cmake/Languages.cmake)

It prints each language and rule that fails, and exits with status 1 then."""
import os
import sys

from PIL import Image

ROOT, LANGUAGES = sys.argv[1], sys.argv[2:]
SLATE, CARD, BLUE = (0x26, 0x34, 0x45), (0xf4, 0xf7, 0xfb), (0x1b, 0x59, 0xad)
SIZES = {'welcome': (760, 440), 'felicitation': (640, 360)}
STRIP_WIDTHS = range(320, 4 * 142 + 1)        # at most four board cells
# Rows between a screen picture's parts (title, signs, rules, start, quit):
# no text may reach into them.
GAPS = {'welcome': [(8, 38), (175, 189), (289, 295), (382, 387), (413, 432)],
        'felicitation': [(8, 28), (107, 119), (151, 176), (228, 243), (328, 352)]}
PILL_ROW = {'welcome': 340, 'felicitation': 286}
SAMPLE, GUARD = 36, (32, 38)   # the sample sign at each end; columns clear of it and the name
failures = []


def check(ok, code, rule):
    if not ok:
        failures.append(f'{code}: {rule}')
    return ok


def clear(px, xs, ys, colour):
    return all(px[x, y] == colour for y in ys for x in xs)


def same(a, b, box_a, box_b):
    pa, pb = a.crop(box_a).getdata(), b.crop(box_b).getdata()
    return all(max(abs(p - q) for p, q in zip(u, v)) <= 8 for u, v in zip(pa, pb))


def check_strip(code, strip, english):
    W, px = strip.width, strip.load()
    if not check(strip.height == 180 and W in STRIP_WIDTHS, code, f'label strip is {W} x {strip.height}'):
        return
    for band in range(6):
        y = 30 * band
        at = f'label band {band + 1}'
        check(same(strip, english, (0, y, SAMPLE, y + 30), (0, y, SAMPLE, y + 30))
              and same(strip, english, (W - SAMPLE, y, W, y + 30), (320 - SAMPLE, y, 320, y + 30)),
              code, f'{at}: not the English band of that family (sample signs, edges)')
        check(clear(px, range(W), [*range(y + 1, y + 4), y + 27, y + 28], SLATE),
              code, f'{at}: text reaches its top or bottom edge')
        check(clear(px, [*range(*GUARD), *range(W - GUARD[1], W - GUARD[0])], range(y + 1, y + 29), SLATE),
              code, f'{at}: text reaches the sample signs')


def check_pill(code, name, im):
    px, cy = im.load(), PILL_ROW[name]
    blue = [x for x in range(im.width) if px[x, cy] == BLUE]
    if not check(blue, code, f'{name}: no button bar'):
        return
    left, right = blue[0], blue[-1]
    column = [y for y in range(im.height) if px[left + 27, y] == BLUE]
    top, bottom = column[0], column[-1]
    check(clear(px, range(left + 27, right - 27), [*range(top + 3, top + 9), *range(bottom - 8, bottom - 2)], BLUE)
          and clear(px, [*range(left + 3, left + 18), *range(right - 17, right - 2)], range(cy - 8, cy + 9), BLUE),
          code, f'{name}: text reaches the edge of its button bar')


def check_screen(code, name, im):
    W, H = SIZES[name.split('/')[-1]]
    if not check(im.size == (W, H), code, f'{name} is {im.width} x {im.height}, not {W} x {H}'):
        return
    px, kind = im.load(), name.split('/')[-1]
    check(clear(px, [*range(5, 30), *range(W - 30, W - 5)], range(25, H - 25), CARD),
          code, f'{name}: text reaches the side margins')
    for top, bottom in GAPS[kind]:
        check(clear(px, range(30, W - 30), range(top, bottom + 1), CARD),
              code, f'{name}: text reaches into rows {top}-{bottom}, between its parts')
    check_pill(code, kind, im)


def files(code):
    keyboard = os.path.join(ROOT, 'resources' if code == 'en' else f'lang/{code}')
    touch = os.path.join(ROOT, 'lang', code, 'touch')
    return {'namesGroup': f'{keyboard}/namesGroup.png', 'welcome': f'{keyboard}/welcome.png',
            'felicitation': f'{keyboard}/felicitation.png',
            'touch/welcome': f'{touch}/welcome.png', 'touch/felicitation': f'{touch}/felicitation.png'}


def main():
    codes = ['en', *LANGUAGES]
    english = Image.open(files('en')['namesGroup']).convert('RGB')
    for code in codes:
        for name, path in files(code).items():
            if not check(os.path.isfile(path), code, f'{path} is missing'):
                continue
            im = Image.open(path).convert('RGB')
            check_strip(code, im, english) if name == 'namesGroup' else check_screen(code, name, im)
    print('\n'.join(failures) or f'pictures: {len(codes)} languages ({" ".join(codes)}), every rule holds')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
