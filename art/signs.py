"""Every sign picture: each family's frame around its pictograms, and the
priority signs, which are frames with their own insides. The frame gives a
family its shape, palette and stroke weight, so a sign's family shows at a
glance."""
import math

from figures import roundabout
from pictograms import INFORMATION, MANDATORY, PROHIBITORY, SERVICE, WARNING
from primitives import BLUE, INK, PALE, RED, WHITE, YELLOW, K, arrow, circle, ctext, g, poly, pts, rect, stroke, svg

# The number of pictures in each family's folder, resources/sings/<family>.
COUNTS = {1: 30, 2: 9, 3: 17, 4: 15, 5: 14, 6: 19}


def tri_points(cx, cy, rho, up=True):
    s = 1 if up else -1
    return [(cx, cy - s * 2 * rho), (cx + math.sqrt(3) * rho, cy + s * rho),
            (cx - math.sqrt(3) * rho, cy + s * rho)]


def frame_warning(pic):
    # outer red triangle (stroke-rounded), pale field, pictogram
    cy = 104 - 32.67
    body = poly(tri_points(62, cy, 32.67), RED, rj=10)
    body += poly(tri_points(62, cy, 25.2), PALE, rj=3)
    body += g(pic(K(INK, PALE, 6)), 30, 33, 0.645)
    return svg(124, 110, body)


def frame_giveway(pic=None):
    cy = 6 + 32.67
    body = poly(tri_points(62, cy, 32.67, up=False), RED, rj=10)
    body += poly(tri_points(62, cy, 21.5, up=False), WHITE, rj=3)
    if pic:
        body += g(pic, 34, 17, 0.56)
    return svg(124, 110, body)


def frame_diamond(inner):
    d = [(62, 3), (121, 62), (62, 121), (3, 62)]
    body = poly(d, '#3a3a3a', rj=5) + poly([(62, 6), (118, 62), (62, 118), (6, 62)], WHITE, rj=3)
    body += poly([(62, 22), (102, 62), (62, 102), (22, 62)], YELLOW, rj=3)
    return svg(124, 124, body + inner)


def frame_octagon(inner):
    def octa(r):
        return [(60 + r * math.cos(math.radians(22.5 + 45 * i)),
                 60 + r * math.sin(math.radians(22.5 + 45 * i))) for i in range(8)]
    body = poly(octa(63), '#9a0b22', rj=2) + poly(octa(61), WHITE, rj=2) + poly(octa(57), RED, rj=2)
    return svg(120, 120, body + inner)


PRIORITY = [
    lambda: frame_diamond(''),
    lambda: frame_diamond(
        f'<clipPath id="c"><polygon points="{pts([(62, 22), (102, 62), (62, 102), (22, 62)])}"/></clipPath>'
        + '<g clip-path="url(#c)">'
        + ''.join(stroke(f'M{40 + 8 * i},108 L{102 + 8 * i},46', 2.2, '#555555', cap='butt') for i in range(-6, 1))
        + '</g>' + stroke('M36,88 L88,36', 9, INK, cap='butt')),
    lambda: frame_octagon(ctext('STOP', 60, 60, 34, WHITE, 0.92)),
    lambda: frame_giveway(),
    lambda: frame_diamond(arrow([(50, 92), (50, 46)], INK, 9, 15, 11)
                          + arrow([(74, 38), (74, 70)], RED, 5.5, 10, 7.5)),
    lambda: frame_giveway(arrow([(42, 6), (42, 50)], INK, 12, 20, 16)
                          + arrow([(66, 70), (66, 34)], RED, 7, 13, 10)),
    lambda: frame_diamond(rect(56, 34, 12, 56, INK) + rect(38, 59, 48, 6, INK)),
    lambda: frame_octagon(ctext('STOP', 60, 52, 30, WHITE, 0.92) + ctext('ALL WAY', 60, 83, 13, WHITE, 0.95)),
    lambda: frame_giveway(roundabout(K(INK, WHITE, 6), 50, 40, 26, 9, 15, 13)),
]


def frame_prohib(pic):
    body = circle(60, 60, 59, RED) + circle(60, 60, 47, WHITE)
    body += g(pic(K(INK, WHITE, 6)), 22, 22, 0.76)
    return svg(120, 120, body)


def frame_mandatory(pic):
    body = circle(60, 60, 59, BLUE) + circle(60, 60, 55.5, 'none', WHITE, 1.6)
    body += g(pic(K(WHITE, BLUE, 6)), 20, 20, 0.8)
    return svg(120, 120, body)


INFO_SIZES = {'sq': (116, 116), 'tall': (92, 136), 'wide': (136, 96)}


def frame_info(size, pic):
    w, h = INFO_SIZES[size]
    m = 14
    s = (w - 2 * m) / 100 if size != 'sq' else 0.84
    if size == 'sq':
        ox = oy = (116 - 84) / 2
        bh = 100
    else:
        ox, oy = m, m
        bh = (h - 2 * m) / s
    body = rect(0.5, 0.5, w - 1, h - 1, BLUE, 10)
    body += f'<rect x="4" y="4" width="{w - 8}" height="{h - 8}" rx="7" fill="none" stroke="{WHITE}" stroke-width="1.6"/>'
    body += g(pic(K(WHITE, BLUE, 6, bh)), ox, oy, s)
    return svg(w, h, body)


def frame_service(pic):
    body = rect(0.5, 0.5, 99, 127, BLUE, 9)
    body += f'<rect x="4" y="4" width="92" height="120" rx="6" fill="none" stroke="{WHITE}" stroke-width="1.6"/>'
    body += rect(11, 11, 78, 78, WHITE, 4)
    body += g(pic(K(INK, WHITE, 6)), 16, 16, 0.68)
    return svg(100, 128, body)


def sign_svgs():
    """{(family 1..6, index 1..n): svg text}"""
    out = {}
    for i, pic in enumerate(WARNING, 1):
        out[(1, i)] = frame_warning(pic)
    for i, make in enumerate(PRIORITY, 1):
        out[(2, i)] = make()
    for i, pic in enumerate(PROHIBITORY, 1):
        out[(3, i)] = frame_prohib(pic)
    for i, pic in enumerate(MANDATORY, 1):
        out[(4, i)] = frame_mandatory(pic)
    for i, (size, pic) in enumerate(INFORMATION, 1):
        out[(5, i)] = frame_info(size, pic)
    for i, pic in enumerate(SERVICE, 1):
        out[(6, i)] = frame_service(pic)
    return out

