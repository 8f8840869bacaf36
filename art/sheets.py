"""Sheets for reviewing the shipped pictures at a glance: the contact sheet
of all sign pictures by family, and per script each language's label strip
beside its welcome picture. They embed the rendered PNGs themselves, so
they show what the game ships."""
import base64
import os
import struct

from primitives import SLATE, WHITE, f, rect, svg, text
from signs import COUNTS
from words import NAMES, STRIP_WIDEST


def embedded(png, x, y, scale=1, centred=False):
    """An image element holding the PNG file at (x, y), its top left corner or
    its centre."""
    data = open(png, 'rb').read()
    w, h = struct.unpack('>II', data[16:24])
    if centred:
        x, y = x - w * scale / 2, y - h * scale / 2
    uri = 'data:image/png;base64,' + base64.b64encode(data).decode()
    return (f'<image x="{f(x)}" y="{f(y)}" width="{f(w * scale)}" height="{f(h * scale)}" '
            f'href="{uri}"/>')


def contact_svg(root):
    cols, cw, ch, head = 10, 132, 158, 42
    W = cols * cw + 20
    y = 10
    body = ''
    for fam in range(1, 7):
        body += text(f'{fam}. {NAMES[fam - 1]} ({COUNTS[fam]})', 14, y + 28, 22, SLATE, anchor='start')
        y += head
        for i in range(COUNTS[fam]):
            cx = 10 + (i % cols) * cw + cw / 2
            cy = y + (i // cols) * ch + 75
            body += embedded(os.path.join(root, 'resources', 'sings', str(fam), f'({i + 1}).png'),
                             cx, cy, centred=True)
            body += text(f'({i + 1})', cx, cy + 80, 11, '#6a7685', weight='normal')
        y += ((COUNTS[fam] + cols - 1) // cols) * ch + 6
    return svg(W, y + 6, rect(0, 0, W, y + 6, WHITE) + body)


def montage_svg(root, codes):
    """Each language's label strip beside its welcome picture at half size."""
    rows, y, right = '', 10, 70 + STRIP_WIDEST + 20
    W = right + 760 // 2 + 10
    for code in codes:
        folder = 'resources' if code == 'en' else f'lang/{code}'
        rows += text(code, 24, y + 30, 20, SLATE, anchor='start')
        for name, x, scale in (('namesGroup', 70, 1), ('welcome', right, 0.5)):
            rows += embedded(os.path.join(root, folder, name + '.png'), x, y, scale)
        y += 230
    return svg(W, y, rect(0, 0, W, y, WHITE) + rows)
