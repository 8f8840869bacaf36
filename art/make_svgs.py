#!/usr/bin/env python3
"""Vector source of every Zorvane picture.

    make_svgs.py OUTDIR            write all SVGs under OUTDIR, the label strip and
                                   screen pictures in English and in every language
                                   of po/LINGUAS, from OUTDIR/locale/<code>/LC_MESSAGES/zorvane.mo
    make_svgs.py --sheet OUTDIR    write OUTDIR/contact-sheet.svg from the shipped PNGs
    make_svgs.py --montage OUTDIR  write OUTDIR/lang-<script>.svg from the shipped PNGs

Sign pictograms are drawn in a 100-unit box and placed into one frame per
family, so that every family shares one frame, palette and stroke weight.
Output is fully deterministic (no randomness, no timestamps).
"""
import base64
import gettext
import math
import os
import struct
import sys
from xml.sax.saxutils import escape

from PIL import ImageFont

INK = '#161616'
RED = '#c8102e'
BLUE = '#1b59ad'
WHITE = '#ffffff'
PALE = '#fff2c0'       # warning field
YELLOW = '#f5b800'     # priority road
SLATE = '#263445'
AMBER = '#f2a900'
GREEN = '#1e9a44'
FONT = 'DejaVu Sans'


def f(x):
    s = ('%.2f' % x).rstrip('0').rstrip('.')
    return '0' if s in ('-0', '') else s


def pts(points):
    return ' '.join(f'{f(x)},{f(y)}' for x, y in points)


# ---------------------------------------------------------------- primitives
def path(d, fill):
    return f'<path d="{d}" fill="{fill}"/>'


def stroke(d, w, c, cap='round', join='round'):
    return (f'<path d="{d}" fill="none" stroke="{c}" stroke-width="{f(w)}" '
            f'stroke-linecap="{cap}" stroke-linejoin="{join}"/>')


def poly(p, fill, rj=0):
    extra = (f' stroke="{fill}" stroke-width="{f(rj)}" stroke-linejoin="round"'
             if rj else '')
    return f'<polygon points="{pts(p)}" fill="{fill}"{extra}/>'


def circle(x, y, r, fill='none', sc=None, sw=0):
    s = f' stroke="{sc}" stroke-width="{f(sw)}"' if sc else ''
    return f'<circle cx="{f(x)}" cy="{f(y)}" r="{f(r)}" fill="{fill}"{s}/>'


def rect(x, y, w, h, fill, rx=0):
    r = f' rx="{f(rx)}"' if rx else ''
    return f'<rect x="{f(x)}" y="{f(y)}" width="{f(w)}" height="{f(h)}"{r} fill="{fill}"/>'


def g(content, x=0, y=0, s=1, rot=0, flip=False, cx=50):
    t = []
    if x or y:
        t.append(f'translate({f(x)},{f(y)})')
    if s != 1:
        t.append(f'scale({f(s)})')
    if rot:
        t.append(f'rotate({f(rot)})')
    if flip:
        t.append(f'translate({f(2 * cx)},0) scale(-1,1)')
    return f'<g transform="{" ".join(t)}">{content}</g>' if t else content


def text(s, x, y, size, fill, cond=1.0, weight='bold', anchor='middle', rtl=False):
    tr = f'translate({f(x)},{f(y)})' + (f' scale({f(cond)},1)' if cond != 1 else '')
    # the base direction orders a right-to-left text's runs, Latin words among them
    direction = ' direction="rtl"' if rtl else ''
    return (f'<text transform="{tr}" font-family="{FONT}" font-weight="{weight}" '
            f'font-size="{f(size)}" text-anchor="{anchor}"{direction} fill="{fill}">{escape(s)}</text>')


def ctext(s, cx, cy, size, fill, cond=0.9):
    """Digits/capitals vertically centred on cy."""
    return text(s, cx, cy + 0.365 * size, size, fill, cond)


def arrow(points, c, w, hl, hw, curve=None):
    """Polyline shaft (or explicit path `curve` ending at points[-1]) with a head
    at points[-1]; direction taken from the last two points."""
    (ax, ay), (ex, ey) = points[-2], points[-1]
    ln = math.hypot(ex - ax, ey - ay)
    dx, dy = (ex - ax) / ln, (ey - ay) / ln
    d = curve or ('M' + ' L'.join(f'{f(x)},{f(y)}' for x, y in points))
    d += f' L{f(ex + 2 * dx)},{f(ey + 2 * dy)}'
    head = poly([(ex + dx * hl, ey + dy * hl), (ex - dy * hw, ey + dx * hw),
                 (ex + dy * hw, ey - dx * hw)], c)
    return stroke(d, w, c, cap='butt', join='round') + head


def arc_arrow(cx, cy, r, a0, a1, c, w, hl, hw):
    """Counter-clockwise (as seen) arc from angle a0 to a1 (degrees, a1 < a0)."""
    def p(a):
        return cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a))
    x0, y0 = p(a0)
    x1, y1 = p(a1)
    d = f'M{f(x0)},{f(y0)} A{f(r)},{f(r)} 0 0 0 {f(x1)},{f(y1)}'
    t = math.radians(a1 - 90)
    dx, dy = math.cos(t), math.sin(t)
    xb, yb = p(a1 - 3)
    d2 = f'M{f(x0)},{f(y0)} A{f(r)},{f(r)} 0 0 0 {f(xb)},{f(yb)}'
    head = poly([(x1 + dx * hl, y1 + dy * hl), (x1 - dy * hw, y1 + dx * hw),
                 (x1 + dy * hw, y1 - dx * hw)], c)
    return stroke(d2, w, c, cap='butt') + head


class K:
    """Drawing context: ink colour, field colour (for cut-outs), stroke weight."""
    def __init__(self, c, bg, sw, bh=100):
        self.c, self.bg, self.sw, self.bh = c, bg, sw, bh


# ------------------------------------------------------------ shared figures
def car_side(k):            # 80 x 36, facing right
    return (path('M2,27 L2,18 Q2,13 7,12 L17,11 L25,3 Q27,1 31,1 L52,1 Q56,1 58,4 '
                 'L65,11 L74,13 Q78,14 78,18 L78,27 Z', k.c)
            + path('M28,5 L23,11 L38,11 L38,5 Z M42,5 L42,11 L61,11 L55,5 Z', k.bg)
            + circle(18, 28, 8, k.c, k.bg, 2.5) + circle(62, 28, 8, k.c, k.bg, 2.5))


def car_rear(k):            # 60 x 44
    return (path('M11,19 L16,5 Q17,2 21,2 L39,2 Q43,2 44,5 L49,19 Z', k.c)
            + path('M17,16 L20,7 L40,7 L43,16 Z', k.bg)
            + rect(4, 17, 52, 18, k.c, 4)
            + rect(8, 22, 9, 5, k.bg, 1.5) + rect(43, 22, 9, 5, k.bg, 1.5)
            + rect(22, 26, 16, 4, k.bg, 1)
            + rect(7, 33, 10, 10, k.c, 2) + rect(43, 33, 10, 10, k.c, 2))


def truck_side(k):          # 84 x 40, facing right
    return (rect(0, 0, 56, 29, k.c, 2)
            + path('M59,6 L72,6 Q74,6 75,8 L82,18 L82,31 L59,31 Z', k.c)
            + path('M63,10 L71,10 L77,18 L63,18 Z', k.bg)
            + rect(0, 29, 82, 4, k.c)
            + circle(13, 34, 6, k.c, k.bg, 2.2) + circle(27, 34, 6, k.c, k.bg, 2.2)
            + circle(70, 34, 6, k.c, k.bg, 2.2))


def truck_rear(k):          # 44 x 50
    return (rect(2, 0, 40, 38, k.c, 3) + rect(21, 4, 2, 30, k.bg)
            + rect(0, 37, 44, 6, k.c, 1.5)
            + rect(4, 40, 10, 9, k.c, 2) + rect(30, 40, 10, 9, k.c, 2)
            + rect(4, 38.5, 5, 3, k.bg) + rect(35, 38.5, 5, 3, k.bg))


def bus_side(k):            # 80 x 38, facing right
    win = ''.join(rect(6 + 13 * i, 6, 10, 11, k.bg, 1.5) for i in range(5))
    return (rect(0, 0, 80, 31, k.c, 5) + win
            + path('M71,6 L76,6 Q78,6 78,8 L78,19 L71,19 Z', k.bg)
            + circle(16, 31, 7, k.c, k.bg, 2.2) + circle(62, 31, 7, k.c, k.bg, 2.2))


def bicycle(k, w=None):     # 80 x 48
    w = w or k.sw
    return (circle(16, 32, 14, 'none', k.c, w) + circle(64, 32, 14, 'none', k.c, w)
            + stroke('M16,32 L30,13 L56,13 L64,32 M30,13 L40,32 L16,32 M40,32 L56,13 '
                     'M28,6 L30,13 M22,6 L34,6 M56,13 L54,5 L61,4', w, k.c))


def motorcycle(k):          # 76 x 50
    w = k.sw
    return (circle(14, 38, 11, 'none', k.c, w) + circle(62, 38, 11, 'none', k.c, w)
            + path('M16,30 Q22,22 32,22 L52,22 Q58,22 60,28 L64,36 L56,38 L50,32 L30,32 '
                   'L24,38 Z', k.c)
            + stroke('M56,24 L58,12 L64,10', w, k.c)
            + circle(38, 4, 5, k.c)
            + stroke('M38,11 L32,22 M37,13 L52,14 M32,22 L44,28 L46,36', w + 1, k.c))


def pedestrian(k, w=None):  # 40 x 84, walking right
    w = w or 9
    return (circle(23, 8, 7.5, k.c)
            + stroke('M21,21 L17,46', w + 1, k.c)
            + stroke('M20,24 L11,36 L8,45 M21,24 L30,35 L36,42', w * 0.7, k.c)
            + stroke('M17,46 L26,62 L29,78 M17,46 L11,62 L3,74', w * 0.8, k.c))


def plane(k):               # 80 x 80, pointing up
    return path('M40,2 Q45,2 45,12 L45,28 L77,46 L77,53 L45,44 L45,62 L56,71 L56,76 '
                'L40,72 L24,76 L24,71 L35,62 L35,44 L3,53 L3,46 L35,28 L35,12 Q35,2 40,2 Z',
                k.c)


def locomotive(k):          # 80 x 50, facing left
    return (rect(4, 17, 46, 18, k.c, 4) + rect(50, 7, 24, 28, k.c)
            + rect(55, 11, 12, 9, k.bg, 1.5) + rect(47, 3, 30, 5, k.c, 1.5)
            + rect(10, 5, 9, 13, k.c) + rect(7, 3, 15, 4, k.c)
            + rect(26, 11, 10, 7, k.c, 3)
            + rect(1, 34, 77, 5, k.c)
            + circle(15, 42, 7, k.c, k.bg, 2.2) + circle(32, 42, 7, k.c, k.bg, 2.2)
            + circle(62, 42, 7, k.c, k.bg, 2.2))


def roundabout(k, cx, cy, r, w, hl, hw):
    return ''.join(arc_arrow(cx, cy, r, a, a - 78, k.c, w, hl, hw)
                   for a in (-30, 90, 210))


def slash(c, r, w=8):
    o = r * 0.7071
    return stroke(f'M{f(50 - o)},{f(50 - o)} L{f(50 + o)},{f(50 + o)}', w, c, cap='butt')


def rock(x, y, r, c):
    shape = [(1, .1), (.6, .85), (-.4, 1), (-1, .3), (-.8, -.6), (.1, -1), (.8, -.7)]
    return poly([(x + r * a, y + r * b) for a, b in shape], c, rj=2)


def waves(x, y, n, w, c, a=6, h=5):
    d = f'M{f(x)},{f(y)} ' + ' '.join(f'q{f(a)},{f(-h)} {f(2 * a)},0' if i % 2 == 0
                                      else f'q{f(a)},{f(h)} {f(2 * a)},0' for i in range(n))
    return stroke(d, w, c)


# ----------------------------------------------------------- warning (black)
def w_danger(k):
    return path('M44,20 L56,20 L53.5,70 L46.5,70 Z', k.c) + circle(50, 83, 6.5, k.c)


def w_curve_r(k):
    return arrow([(42, 42), (58, 32)], k.c, 13, 17, 13, curve='M42,96 L42,62 Q42,42 58,32')


def w_curve_l(k):
    return g(w_curve_r(k), flip=True)


def w_double(k):
    return arrow([(60, 40), (60, 34)], k.c, 12, 16, 12,
                 curve='M40,96 L40,80 Q40,66 50,60 Q60,54 60,40 L60,34')


def w_bumps(k):
    return path('M4,94 L4,82 Q18,82 26,68 Q34,54 42,68 Q50,80 58,68 Q66,54 74,68 '
                'Q82,82 96,82 L96,94 Z', k.c)


def w_slippery(k):
    return (g(car_rear(k), 24.5, 14, 0.85)
            + stroke('M34,58 C24,66 42,74 30,86 M62,58 C52,66 70,74 58,86', 5, k.c))


def w_roadworks(k):
    return (path('M54,96 Q70,70 94,96 Z', k.c)
            + circle(38, 28, 7.5, k.c)
            + stroke('M40,39 L50,62', 10, k.c)
            + stroke('M50,62 L40,78 L38,94 M50,62 L58,78 L54,94', 7.5, k.c)
            + stroke('M41,43 L56,52 L66,60', 6.5, k.c)
            + stroke('M52,44 L76,82', 3.5, k.c)
            + poly([(71, 80), (82, 78), (86, 90), (76, 93)], k.c, rj=2))


def w_rocks(k):
    return (path('M12,96 L12,30 Q12,24 18,26 L26,30 L34,60 L46,96 Z', k.c)
            + rock(54, 50, 6, k.c) + rock(66, 66, 8, k.c) + rock(52, 78, 5, k.c)
            + rock(78, 86, 7, k.c))


def w_crossing(k):
    zebra = ''.join(poly([(20 + 17 * i, 87), (31 + 17 * i, 87), (29 + 17 * i, 94), (18 + 17 * i, 94)], k.c)
                    for i in range(4))
    return g(pedestrian(k), 31, 8, 0.92) + zebra


def w_children(k):
    return g(pedestrian(k), 20, 20, 0.86) + g(pedestrian(k), 55, 42, 0.6)


def w_deer(k):
    body = (f'<ellipse cx="42" cy="56" rx="22" ry="10.5" transform="rotate(-16 42 56)" fill="{k.c}"/>'
            + poly([(54, 52), (62, 30), (71, 30), (68, 54)], k.c)
            + path('M61,28 Q68,21 76,24 L86,31 Q87,35 83,36 L68,35 Z', k.c)
            + poly([(64, 26), (59, 18), (68, 23)], k.c))
    legs = stroke('M58,58 L72,66 L84,63 M54,61 L63,74 L74,79 M28,62 L16,70 L6,80 '
                  'M33,64 L25,78 L16,88 M24,50 L17,45', 5.5, k.c)
    antl = stroke('M68,24 L64,12 L57,7 M64,13 L66,5 M72,25 L77,13 L84,9 M77,14 L75,6', 3.2, k.c)
    return g(body + legs + antl, 4, 6, 0.94)


def w_cattle(k):
    return (rect(34, 46, 52, 26, k.c, 9)
            + path('M36,50 L22,44 Q12,44 12,52 L14,62 Q16,68 22,66 L36,62 Z', k.c)
            + stroke('M22,46 Q20,38 14,38 M26,46 Q28,38 34,38', 3.5, k.c)
            + stroke('M40,68 L40,90 M50,68 L50,90 M72,68 L72,90 M81,68 L81,90', 6, k.c, cap='butt')
            + stroke('M86,52 Q92,60 90,76', 3, k.c)
            + circle(18, 52, 1.8, k.bg))


def w_cycle(k):
    return g(bicycle(k, 5.5), 10, 46)


def w_narrow2(k):
    return stroke('M28,96 L28,68 L40,48 L40,20 M72,96 L72,68 L60,48 L60,20', 8, k.c, cap='butt')


def w_narrow_r(k):
    return stroke('M32,96 L32,20 M70,96 L70,68 L56,48 L56,20', 8, k.c, cap='butt')


def w_descent(k):
    return path('M8,50 L92,94 L8,94 Z', k.c) + ctext('10%', 66, 56, 22, k.c)


def w_ascent(k):
    return path('M92,50 L8,94 L92,94 Z', k.c) + ctext('12%', 34, 56, 22, k.c)


def w_signals(k):
    return (rect(37, 16, 26, 78, k.c, 7) + circle(50, 30, 8, RED) + circle(50, 55, 8, AMBER)
            + circle(50, 80, 8, GREEN))


def w_twoway(k):
    return (arrow([(36, 24), (36, 76)], k.c, 9, 15, 11)
            + arrow([(64, 96), (64, 42)], k.c, 9, 15, 11))


def w_wind(k):
    sock = poly([(26, 28), (84, 36), (84, 48), (26, 56)], k.c)
    bands = (poly([(40, 30), (52, 31.6), (52, 52.4), (40, 54)], k.bg)
             + poly([(64, 33.3), (72, 34.4), (72, 49.6), (64, 50.7)], k.bg))
    return stroke('M24,96 L24,22', 6, k.c) + sock + bands


def w_barrier(k):
    return (rect(10, 54, 80, 9, k.c, 2) + rect(10, 74, 80, 9, k.c, 2)
            + rect(12, 46, 9, 50, k.c, 2) + rect(79, 46, 9, 50, k.c, 2)
            + rect(45.5, 54, 9, 42, k.c))


def w_train(k):
    return (g(locomotive(k), 11, 44, 0.98)
            + circle(20, 38, 5, k.c) + circle(28, 29, 6.5, k.c) + circle(40, 24, 4.5, k.c))


def w_roundabout(k):
    return roundabout(k, 50, 62, 27, 9, 15, 13)


def w_cross(k):
    return rect(44, 18, 12, 78, k.c) + rect(12, 52, 76, 12, k.c)


def w_sideroad(k):
    return rect(38, 18, 12, 78, k.c) + rect(44, 52, 44, 12, k.c)


def w_aircraft(k):
    return g(g(plane(k), -40, -40), 52, 64, 0.78, rot=90)


def w_quay(k):
    return (rect(10, 58, 28, 38, k.c)
            + g(car_side(k), 42, 34, 0.56, rot=40)
            + waves(42, 84, 4, 4, k.c, a=5.5) + waves(40, 94, 5, 4, k.c, a=5.5))


def w_chippings(k):
    return (g(car_side(k), 36, 54, 0.72)
            + rock(26, 52, 4.5, k.c) + rock(16, 62, 4, k.c) + rock(30, 66, 3.5, k.c)
            + rock(18, 78, 4, k.c) + rock(34, 44, 3, k.c)
            + rect(6, 82, 90, 5, k.c))


def w_snow(k):
    out = ''
    for i in range(6):
        a = math.radians(i * 60 - 90)
        c, s = math.cos(a), math.sin(a)
        x1, y1 = 50 + 30 * c, 62 + 30 * s
        bx, by = 50 + 18 * c, 62 + 18 * s
        d = f'M50,62 L{f(x1)},{f(y1)}'
        for side in (-1, 1):
            b = a + side * math.radians(45)
            d += f' M{f(bx)},{f(by)} L{f(bx + 10 * math.cos(b))},{f(by + 10 * math.sin(b))}'
        out += stroke(d, 5, k.c)
    return out


def w_tram(k):
    win = ''.join(rect(13 + 15 * i, 50, 10, 12, k.bg, 1.5) for i in range(5))
    return (stroke('M28,30 L76,30', 3, k.c) + stroke('M42,46 L52,38 L44,30 M52,38 L58,30', 3, k.c)
            + rect(8, 46, 84, 34, k.c, 6) + win
            + rect(8, 82, 84, 4, k.c) + circle(26, 88, 5, k.c) + circle(74, 88, 5, k.c))


WARNING = [w_danger, w_curve_r, w_curve_l, w_double, w_bumps, w_slippery, w_roadworks,
           w_rocks, w_crossing, w_children, w_deer, w_cattle, w_cycle, w_narrow2,
           w_narrow_r, w_descent, w_ascent, w_signals, w_twoway, w_wind, w_barrier,
           w_train, w_roundabout, w_cross, w_sideroad, w_aircraft, w_quay, w_chippings,
           w_snow, w_tram]


# ------------------------------------------------------- prohibitory (black)
def p_speed(n):
    return lambda k: ctext(n, 50, 50, 50 if len(n) == 2 else 44, k.c, 0.88)


PROHIBITORY = [
    lambda k: g(bicycle(k), 10, 28),
    p_speed('30'), p_speed('50'), p_speed('70'),
    lambda k: g(car_rear(K(RED, WHITE, k.sw)), 6, 34, 0.72) + g(car_rear(k), 51, 34, 0.72),
    lambda k: (arrow([(36, 48), (36, 62)], k.c, 9, 14, 12,
                     curve='M62,80 L62,46 Q62,28 49,28 Q36,28 36,46 L36,62')
               + slash(RED, 47)),
    lambda k: ctext('7,5t', 50, 50, 36, k.c, 0.88),
    lambda k: g(truck_side(k), 8, 30),
    lambda k: g(pedestrian(k), 30, 8),
    lambda k: (arrow([(44, 40), (30, 40)], k.c, 10, 16, 13,
                     curve='M58,88 L58,52 Q58,40 46,40 L30,40') + slash(RED, 47)),
    lambda k: g(arrow([(44, 40), (30, 40)], k.c, 10, 16, 13,
                      curve='M58,88 L58,52 Q58,40 46,40 L30,40'), flip=True) + slash(RED, 47),
    lambda k: g(motorcycle(k), 12, 26),
    lambda k: (poly([(36, 8), (64, 8), (50, 20)], k.c) + poly([(36, 92), (64, 92), (50, 80)], k.c)
               + ctext('3.5m', 50, 50, 26, k.c, 0.85)),
    lambda k: (poly([(4, 40), (4, 60), (14, 50)], k.c) + poly([(96, 40), (96, 60), (86, 50)], k.c)
               + ctext('2.2m', 50, 50, 26, k.c, 0.8)),
    lambda k: g(car_side(k), 10, 32),
    lambda k: g(truck_rear(K(RED, WHITE, k.sw)), 8, 24, 0.98) + g(car_rear(k), 52, 34, 0.72),
    lambda k: (path('M10,45 Q10,42 13,42 L20,44 L42,46 Q62,46 78,28 Q82,26 84,30 L84,70 Q82,74 78,72 '
                    'Q62,54 42,54 L20,56 L13,58 Q10,58 10,55 Z', k.c) + rect(26, 38, 5, 24, k.c, 2)
               + slash(RED, 47)),
]


# ---------------------------------------------------------- mandatory (white)
def m_turn(k):
    return arrow([(56, 40), (64, 40)], k.c, 14, 21, 18, curve='M40,90 L40,56 Q40,40 56,40 L64,40')


def m_ahead_right(k):
    return (arrow([(40, 92), (40, 36)], k.c, 13, 21, 17)
            + arrow([(56, 52), (64, 52)], k.c, 13, 19, 16, curve='M40,70 Q40,52 56,52 L64,52'))


def m_keep_right(k):
    return arrow([(30, 30), (58, 58)], k.c, 14, 23, 19)


def m_segregated(k):
    return (rect(48, 12, 4, 76, k.c)
            + g(pedestrian(k), 12, 14, 0.86) + g(bicycle(k, 6), 54, 38, 0.5))


def m_shared(k):
    return (rect(14, 48, 72, 4, k.c)
            + g(pedestrian(k), 38, 6, 0.5) + g(bicycle(k, 6), 24, 57, 0.65))


def m_left_right(k):
    return (stroke('M50,92 L50,43', 13, k.c, cap='butt')
            + arrow([(50, 50), (30, 50)], k.c, 13, 19, 16)
            + arrow([(50, 50), (70, 50)], k.c, 13, 19, 16))


def m_either(k):
    return (stroke('M50,10 L50,38', 13, k.c, cap='butt')
            + arrow([(50, 36), (28, 60)], k.c, 11, 18, 15)
            + arrow([(50, 36), (72, 60)], k.c, 11, 18, 15))


MANDATORY = [
    lambda k: arrow([(50, 90), (50, 36)], k.c, 14, 24, 20),
    m_turn,
    lambda k: g(m_turn(k), flip=True),
    m_ahead_right,
    lambda k: g(m_ahead_right(k), flip=True),
    m_keep_right,
    lambda k: g(m_keep_right(k), flip=True),
    lambda k: roundabout(k, 50, 50, 28, 10, 16, 14),
    lambda k: g(bicycle(k), 10, 28),
    lambda k: g(pedestrian(k), 30, 8),
    lambda k: ctext('30', 50, 46, 48, k.c) + rect(26, 76, 48, 5, k.c),
    m_either,
    m_segregated,
    m_shared,
    m_left_right,
]


# --------------------------------------------------------- information (white)
def i_motorway(k):
    return (poly([(8, 94), (34, 94), (46, 46), (40, 46)], k.c)
            + poly([(92, 94), (66, 94), (54, 46), (60, 46)], k.c)
            + rect(6, 30, 88, 9, k.c) + rect(12, 39, 6, 10, k.c) + rect(82, 39, 6, 10, k.c))


INFORMATION = [   # (frame size key, pictogram)
    ('sq', lambda k: ctext('P', 50, 50, 84, k.c, 1.0)),
    ('tall', lambda k: arrow([(50, 150), (50, 54)], k.c, 20, 34, 28)),
    ('sq', lambda k: (poly([(50, 6), (94, 88), (6, 88)], k.c, rj=6)
                      + g(pedestrian(K(INK, WHITE, 6)), 39, 34, 0.5)
                      + ''.join(rect(24 + 12 * i, 78, 7, 6, INK) for i in range(5)))),
    ('sq', lambda k: rect(40, 34, 20, 60, k.c) + rect(16, 12, 68, 22, RED)
     + path('M16,12 h68 v22 h-68 Z M19,15 v16 h62 v-16 Z', k.c)),
    ('sq', i_motorway),
    ('sq', lambda k: i_motorway(k) + stroke('M12,88 L88,12', 8, RED, cap='butt')),
    ('sq', lambda k: g(car_side(k), 10, 32)),
    ('sq', lambda k: g(bus_side(k), 10, 20) + ctext('BUS', 50, 80, 24, k.c)),
    ('sq', lambda k: (path('M6,92 L6,50 Q6,10 50,10 Q94,10 94,50 L94,92 Z', k.c)
                      + path('M24,92 L24,58 Q24,30 50,30 Q76,30 76,58 L76,92 Z', k.bg)
                      + stroke('M37,92 L46,62 M63,92 L54,62', 3, k.c, cap='butt'))),
    ('sq', lambda k: ctext('60', 50, 44, 58, k.c) + ctext('km/h', 50, 82, 16, k.c, 1.0)),
    ('sq', lambda k: (arrow([(64, 92), (64, 30)], k.c, 12, 20, 16)
                      + stroke('M34,94 L34,72 Q34,58 58,46', 12, k.c, cap='butt'))),
    ('sq', lambda k: ctext('P', 28, 44, 70, k.c, 1.0) + g(bicycle(k, 7), 48, 60, 0.64)),
    ('sq', lambda k: (path('M8,28 h84 v44 h-84 Z M14,34 v32 h72 v-32 Z', k.c)
                      + ctext('TAXI', 50, 50, 26, k.c, 0.92))),
    ('wide', lambda k: (stroke('M33,4 L33,12 M33,24 L33,32 M33,44 L33,52 M33,64 L33,68 '
                               'M67,4 L67,12 M67,24 L67,32 M67,44 L67,52 M67,64 L67,68', 2.5, k.c, cap='butt')
                        + arrow([(16, 30), (8, 30)], k.c, 6, 9, 7, curve='M18,64 L18,38 Q18,30 10,30 L8,30')
                        + arrow([(50, 64), (50, 20)], k.c, 6, 10, 8)
                        + arrow([(84, 64), (84, 20)], k.c, 6, 10, 8)
                        + arrow([(84, 40), (92, 34)], k.c, 6, 9, 7, curve='M84,50 Q84,40 92,34'))),
]


# ------------------------------------------------------ service (black on white)
def s_toilets(k):
    man = circle(28, 18, 7, k.c) + rect(19, 28, 18, 30, k.c, 4) + rect(20, 56, 7, 30, k.c, 2) + rect(29, 56, 7, 30, k.c, 2)
    woman = (circle(72, 18, 7, k.c) + path('M65,28 L79,28 L90,66 L54,66 Z', k.c)
             + rect(64, 64, 6, 22, k.c, 2) + rect(74, 64, 6, 22, k.c, 2))
    return man + woman + rect(48.5, 10, 3, 80, k.c)


def s_wrench(k):
    w = (circle(50, 20, 15, k.c) + rect(44, 2, 12, 18, k.bg) + rect(43.5, 24, 13, 50, k.c, 3)
         + circle(50, 82, 14, k.c) + circle(50, 82, 6, k.bg))
    return f'<g transform="rotate(45 50 50)">{w}</g>'


SERVICE = [
    lambda k: ctext('H', 50, 50, 80, k.c, 1.0),
    lambda k: rect(38, 12, 24, 76, RED) + rect(12, 38, 76, 24, RED),
    lambda k: (rect(16, 14, 42, 74, k.c, 5) + rect(23, 22, 28, 20, k.bg, 2) + rect(10, 86, 54, 8, k.c, 2)
               + stroke('M58,36 L70,36 Q78,36 78,44 L78,72 Q78,80 84,80 L86,80 L86,30 L80,24', 5, k.c)),
    lambda k: (path('M12,36 Q12,20 30,20 L70,20 Q88,20 88,36 L88,44 L70,44 L70,34 L30,34 L30,44 L12,44 Z', k.c)
               + path('M30,48 L70,48 L88,86 L12,86 Z', k.c) + circle(50, 67, 11, k.bg) + circle(50, 67, 4, k.c)),
    lambda k: (path('M26,12 L26,36 Q26,44 33,46 L33,86 Q33,90 37,90 Q41,90 41,86 L41,46 Q48,44 48,36 '
                    'L48,12 L44,12 L44,34 L39,34 L39,12 L35,12 L35,34 L30,34 L30,12 Z', k.c)
               + path('M60,12 Q74,18 74,48 L70,52 L70,86 Q70,90 66,90 Q62,90 62,86 Z', k.c)),
    lambda k: (path('M16,42 L70,42 L66,78 Q64,86 56,86 L30,86 Q22,86 20,78 Z', k.c)
               + stroke('M68,50 Q84,50 82,62 Q80,72 66,72', 6, k.c) + rect(10, 89, 68, 5, k.c, 2)
               + stroke('M34,34 Q28,26 34,20 Q40,14 34,6 M52,34 Q46,26 52,20 Q58,14 52,6', 4, k.c)),
    lambda k: (rect(8, 30, 8, 58, k.c, 2) + rect(8, 62, 84, 12, k.c, 2) + rect(84, 56, 8, 32, k.c, 2)
               + circle(28, 50, 8, k.c) + path('M38,46 L84,46 Q90,46 90,52 L90,60 L38,60 Z', k.c)),
    lambda k: (path('M50,14 L92,86 L8,86 Z', k.c, ) + path('M50,44 L65,86 L35,86 Z', k.bg)
               + stroke('M50,14 L44,6 M50,14 L56,6', 4, k.c) + rect(4, 86, 92, 5, k.c)),
    s_wrench,
    lambda k: circle(50, 18, 10, k.c) + path('M36,36 L58,36 L58,80 L66,80 L66,90 L34,90 L34,80 L42,80 L42,46 L36,46 Z', k.c),
    s_toilets,
    lambda k: (rect(8, 28, 70, 44, k.c, 10) + rect(16, 36, 20, 14, k.bg, 2) + rect(44, 36, 24, 14, k.bg, 2)
               + circle(40, 76, 9, k.c, k.bg, 3) + stroke('M78,64 L94,64', 5, k.c) + rect(4, 84, 92, 4, k.c)),
    lambda k: (rect(12, 36, 76, 9, k.c, 2) + rect(6, 60, 88, 7, k.c, 2)
               + stroke('M30,45 L18,88 M70,45 L82,88 M30,45 L42,88 M70,45 L58,88', 6, k.c, cap='butt')),
    lambda k: (rect(32, 40, 36, 32, k.c, 6) + rect(38, 20, 7, 20, k.c, 2) + rect(55, 20, 7, 20, k.c, 2)
               + poly([(53, 44), (42, 58), (50, 58), (46, 68), (58, 53), (50, 53)], k.bg)
               + stroke('M50,72 L50,80 Q50,90 62,90 L90,90', 6, k.c)),
    lambda k: g(g(plane(k), -40, -40), 50, 50, 1.05, rot=45),
    lambda k: g(locomotive(k), 10, 26) + rect(4, 80, 92, 4, k.c) + stroke('M12,84 L12,92 M30,84 L30,92 M48,84 L48,92 M66,84 L66,92 M84,84 L84,92', 4, k.c, cap='butt'),
    lambda k: (circle(44, 12, 8, k.c) + stroke('M44,28 L44,54 L68,54 L78,84 L86,82 M44,38 L62,40', 9, k.c)
               + stroke('M30,52 A22,22 0 1 0 66,72', 6, k.c, cap='butt')),
    lambda k: (path('M6,60 L94,60 L82,80 L18,80 Z', k.c) + rect(24, 44, 48, 16, k.c, 2)
               + rect(32, 32, 24, 12, k.c, 2) + rect(60, 22, 9, 22, k.c)
               + ''.join(rect(28 + 10 * i, 48, 6, 6, k.bg, 1) for i in range(4))
               + waves(4, 90, 8, 4, k.c)),
    lambda k: (''.join(stroke(f'M{f(50 - r * .707)},{f(82 - r * .707)} A{r},{r} 0 0 1 {f(50 + r * .707)},{f(82 - r * .707)}', 9, k.c)
                       for r in (22, 42, 62)) + circle(50, 82, 8, k.c)),
]


# ---------------------------------------------------------------- frames
def tri_points(cx, cy, rho, up=True):
    s = 1 if up else -1
    return [(cx, cy - s * 2 * rho), (cx + math.sqrt(3) * rho, cy + s * rho),
            (cx - math.sqrt(3) * rho, cy + s * rho)]


def svg(w, h, body, extra=''):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
            f'viewBox="0 0 {w} {h}"{extra}>{body}</svg>\n')


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


PY = K(INK, YELLOW, 6)
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


def N_(s):
    """Marks a text for translation (xgettext); it is translated where drawn."""
    return s


COUNTS = {1: 30, 2: 9, 3: 17, 4: 15, 5: 14, 6: 19}
# Translators: a family of road signs, as the label over its row names it; use
# the term of your country's road code, not a word-for-word rendering.
NAMES = [N_('Warning signs'), N_('Priority signs'), N_('Prohibitory signs'),
         N_('Mandatory signs'), N_('Information signs'), N_('Service signs')]
SAMPLES = [(1, 1), (2, 3), (3, 2), (4, 1), (5, 1), (6, 10)]   # one sign per family
RTL_LANGUAGES = {'ar'}
SCRIPTS = {'ru': 'cyrillic', 'uk': 'cyrillic', 'ar': 'arabic'}   # any other: latin


class Lang:
    """One language: its translations, read from the .mo file msgfmt made, and
    its writing direction. English is the texts as written here."""
    def __init__(self, code, localedir=None):
        self.code = code
        self.rtl = code in RTL_LANGUAGES
        self.tr = (gettext.translation('zorvane', localedir, [code]) if localedir
                   else gettext.NullTranslations())


def languages(root, localedir):
    with open(os.path.join(root, 'po', 'LINGUAS'), encoding='utf-8') as fh:
        codes = [c for ln in fh for c in ln.split('#')[0].split()]
    return [Lang(c, localedir) for c in codes]


# ------------------------------------------------------------ fitting text
# Text is measured with the font librsvg draws it with (HarfBuzz shapes it in
# both, so Arabic is measured joined), at a large size and scaled: the
# pictures are rendered unhinted.
FONT_FILES = {'bold': '/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf',
              'normal': '/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf'}
_fonts = {}


def measure(s, size, weight, rtl=False):
    if weight not in _fonts:
        _fonts[weight] = ImageFont.truetype(FONT_FILES[weight], 100, layout_engine=ImageFont.Layout.RAQM)
    return _fonts[weight].getlength(s, direction='rtl' if rtl else 'ltr') * size / 100


def fit(s, size, least, width, weight, rtl=False):
    """The largest size, from `size` down in half pixels, at which s is at most
    `width` wide; a text that would need less than `least` stops the build."""
    wide = measure(s, size, weight, rtl)
    if wide > width:
        size = math.floor(2 * size * width / wide) / 2
    if size < least:
        raise SystemExit(f'"{s}" is {wide:.0f} px wide: it needs less than {least} px to fit {width} px')
    return size


def wrap(s, size, width, weight, rtl):
    """Greedy line breaking at spaces; a translation's own line breaks stay."""
    lines = []
    for given in s.split('\n'):
        line = ''
        for word in given.split(' '):
            longer = f'{line} {word}' if line else word
            if line and measure(longer, size, weight, rtl) > width:
                lines.append(line)
                line = word
            else:
                line = longer
        lines.append(line)
    return lines


def paragraph(s, cx, top, size, pitch, lines, least, width, fill, rtl):
    """Centred lines in a box of `lines` lines of `pitch`, the first ascender at
    `top`: as the text grows, it is wrapped and set smaller, in proportion."""
    at = size
    while True:
        got = wrap(s, at, width, 'normal', rtl)
        step = pitch * at / size
        if len(got) * step <= lines * pitch and all(measure(ln, at, 'normal', rtl) <= width for ln in got):
            break
        at -= 0.5
        if at < least:
            raise SystemExit(f'"{s}" does not fit {lines} lines of {width} px at {least} px')
    first = top + at + (lines * pitch - len(got) * step) / 2
    return ''.join(text(ln, cx, first + step * i, at, fill, weight='normal', rtl=rtl)
                   for i, ln in enumerate(got))


def line(s, cx, y, size, least, width, fill, rtl, weight='normal'):
    return text(s, cx, y, fit(s, size, least, width, weight, rtl), fill, weight=weight, rtl=rtl)


def inner(svgtext):
    """Body and size of one of our own SVG strings, for nesting."""
    head, rest = svgtext.split('>', 1)
    w = float(head.split('width="')[1].split('"')[0])
    h = float(head.split('height="')[1].split('"')[0])
    return rest.rsplit('</svg>', 1)[0], w, h


def placed(svgtext, cx, cy, height, uid):
    body, w, h = inner(svgtext.replace('id="c"', f'id="c{uid}"').replace('url(#c)', f'url(#c{uid})'))
    s = height / h
    return g(body, cx - w * s / 2, cy - h * s / 2, s)


# ------------------------------------------------------------- label strip
# The program draws the strip at its own width, centred over the row: a
# longer name widens it, up to four cells; past that the names are set smaller.
STRIP_WIDTH, STRIP_WIDEST = 320, 568
LABEL_SIZE, LABEL_LEAST = 17, 13
SAMPLE_ROOM = 40      # at each end: the sample sign, and a gap before the name


def names_svg(signs, lang):
    _ = lang.tr.gettext
    names = [_(name) for name in NAMES]
    widest = max(measure(n, LABEL_SIZE, 'bold', lang.rtl) for n in names)
    W = min(STRIP_WIDEST, max(STRIP_WIDTH, 2 * math.ceil(widest / 2) + 2 * SAMPLE_ROOM))
    size = min(fit(n, LABEL_SIZE, LABEL_LEAST, W - 2 * SAMPLE_ROOM, 'bold', lang.rtl) for n in names)
    body = ''
    for gi, name in enumerate(names):
        y = 30 * gi
        body += rect(0, y, W, 30, SLATE) + rect(0, y + 29, W, 1, '#16202c') + rect(0, y, W, 1, '#3c4d62')
        fam, idx = SAMPLES[gi]
        body += placed(signs[(fam, idx)], 18, y + 15, 22, f'n{gi}a')
        body += placed(signs[(fam, idx)], W - 18, y + 15, 22, f'n{gi}b')
        body += text(name, W / 2, y + 21 - (LABEL_SIZE - size) * 0.36, size, WHITE, rtl=lang.rtl)
    return svg(W, 180, body)


# ----------------------------------------------------------- screen pictures
def card(w, h):
    return (rect(1, 1, w - 2, h - 2, '#f4f7fb', 22)
            + f'<rect x="1.5" y="1.5" width="{w - 3}" height="{h - 3}" rx="21" fill="none" '
              f'stroke="#b8c4d3" stroke-width="3"/>')


def sign_row(signs, cx, cy, height, gap, uidp, pick=SAMPLES):
    n = len(pick)
    out = ''
    for i, key in enumerate(pick):
        x = cx + (i - (n - 1) / 2) * gap
        out += placed(signs[key], x, cy, height, f'{uidp}{i}')
    return out


PILL_PAD = 22     # from each round end to the text
PILL_ONE_LINE_LEAST, PILL_TWO_LINES, PILL_LEAST = 20, 22, 17


def halves(s, size, rtl):
    """s broken at the space that makes its longer half shortest; one word stays whole."""
    words = s.split(' ')
    cuts = [(' '.join(words[:i]), ' '.join(words[i:])) for i in range(1, len(words))] or [(s,)]
    return min(cuts, key=lambda c: max(measure(part, size, 'bold', rtl) for part in c))


def pill(cx, cy, w, h, label, size, widest, rtl):
    """A button-like bar that grows with its label up to `widest`; past that
    the label is set smaller, then on two lines in a taller bar."""
    room = widest - 2 * PILL_PAD
    if measure(label, PILL_ONE_LINE_LEAST, 'bold', rtl) <= room:
        lines = [label]
        size = fit(label, size, PILL_ONE_LINE_LEAST, room, 'bold', rtl)
    else:
        size = min(size, PILL_TWO_LINES)
        lines = halves(label, size, rtl)
        size = min(fit(part, size, PILL_LEAST, room, 'bold', rtl) for part in lines)
    pitch = 1.2 * size
    w = max(w, math.ceil(max(measure(ln, size, 'bold', rtl) for ln in lines)) + 2 * PILL_PAD)
    tall = h + pitch * (len(lines) - 1)
    first = cy + 0.36 * size - pitch * (len(lines) - 1) / 2
    return (rect(cx - w / 2, cy - tall / 2, w, tall, BLUE, h / 2)
            + ''.join(text(ln, cx, first + pitch * i, size, WHITE, rtl=rtl) for i, ln in enumerate(lines)))


def buttons(lang):
    """The browser page's buttons, as the touch pictures name them."""
    C_ = lang.tr.pgettext
    return {'deal': C_('button', 'Deal'), 'end': C_('button', 'End')}


def welcome_svg(signs, lang, touch=False):
    _ = lang.tr.gettext
    W, H, room = 760, 440, 680
    b = card(W, H)
    b += text('Zorvane', W / 2, 92, 68, SLATE)
    b += sign_row(signs, W / 2, 146, 50, 70, 'w', pick=[(1, 11), (2, 3), (3, 2), (4, 8), (5, 1), (6, 3)])
    # Translators: the goal, under the game's name. Break lines where they read
    # well; the picture wraps a line that is too long and sets the text smaller.
    rules = _('Drag a sign onto another sign to swap them.\n'
              'Sort every row so that it holds only signs\n'
              'of the family named on its label.')
    b += paragraph(rules, W / 2, 192, 23, 32, 3, 16, room, '#2b3846', lang.rtl)
    if touch:
        # Translators: {deal} is the button beside the board, as translated for it.
        start = _('Tap the board or press {deal} to start').format(**buttons(lang))
        # Translators: {end} is the button beside the board, as translated for it.
        leave = _('Press {end} to quit').format(**buttons(lang))
    else:
        start, leave = _('Press Space to start'), _('Esc quits')
    b += pill(W / 2, 340, 340, 54, start, 25, room, lang.rtl)
    b += line(leave, W / 2, 406, 18, 14, room, '#5b6878', lang.rtl)
    return svg(W, H, b)


def felicitation_svg(signs, lang, touch=False):
    _ = lang.tr.gettext
    W, H, room = 640, 360, 560
    b = card(W, H)
    b += line(_('Well done!'), W / 2, 92, 60, 36, room, GREEN, lang.rtl, 'bold')
    b += line(_('Every row is sorted.'), W / 2, 142, 26, 18, room, SLATE, lang.rtl)
    b += sign_row(signs, W / 2, 202, 46, 64, 'f', pick=[(1, 13), (2, 1), (3, 3), (4, 9), (5, 10), (6, 8)])
    leave = _('Tap to finish') if touch else _('Press any key or click to exit')
    b += pill(W / 2, 286, 420, 52, leave, 23, room, lang.rtl)
    return svg(W, H, b)


# ------------------------------------------------------------------- icon
ICON_SIZES = (16, 32, 48, 64, 128, 256)   # the Windows icon takes the first three
WEB_ICON_SIZES = (192, 512)                 # the browser version's manifest
ICON_Z = 'M13,11 L36,11 L36,17 L21,32 L36,32 L36,38 L12,38 L12,32 L27,17 L13,17 Z'


def icon_svg(px):
    body = rect(1, 1, 46, 46, BLUE, 9)
    if px >= 32:
        body += '<rect x="4" y="4" width="40" height="40" rx="6.5" fill="none" stroke="#ffffff" stroke-width="1.5"/>'
    body += path(ICON_Z, WHITE)
    return svg_icon(px, body)


def maskable_icon_svg(px):
    # A launcher crops this one to its own shape, keeping at least the
    # centred circle of 80 % of the width: the field fills the square and the
    # Z lies well inside that circle.
    return svg_icon(px, rect(0, 0, 48, 48, BLUE) + g(path(ICON_Z, WHITE), 4.8, 4.9, 0.8))


def svg_icon(px, body):
    return f'<svg xmlns="http://www.w3.org/2000/svg" width="{px}" height="{px}" viewBox="0 0 48 48">{body}</svg>\n'


# ------------------------------------------------------------ contact sheet
def png_size(data):
    return struct.unpack('>II', data[16:24])


def contact_svg(root):
    cols, cw, ch, head = 10, 132, 158, 42
    W = cols * cw + 20
    y = 10
    body = ''
    for fam in range(1, 7):
        body += text(f'{fam}. {NAMES[fam - 1]} ({COUNTS[fam]})', 14, y + 28, 22, SLATE, anchor='start')
        y += head
        for i in range(COUNTS[fam]):
            p = os.path.join(root, 'resources', 'sings', str(fam), f'({i + 1}).png')
            data = open(p, 'rb').read()
            w, h = png_size(data)
            cx = 10 + (i % cols) * cw + cw / 2
            cy = y + (i // cols) * ch + 75
            uri = 'data:image/png;base64,' + base64.b64encode(data).decode()
            body += (f'<image x="{f(cx - w / 2)}" y="{f(cy - h / 2)}" width="{w}" height="{h}" '
                     f'href="{uri}"/>')
            body += text(f'({i + 1})', cx, cy + 80, 11, '#6a7685', weight='normal')
        y += ((COUNTS[fam] + cols - 1) // cols) * ch + 6
    return svg(W, y + 6, rect(0, 0, W, y + 6, WHITE) + body)


def write(p, s):
    os.makedirs(os.path.dirname(p), exist_ok=True)
    with open(p, 'w', encoding='utf-8') as fh:
        fh.write(s)


def screen_svgs(signs, lang):
    """{file name under lang/<code>/: svg text} of one language; English's
    keyboard pictures are the ones in resources/."""
    out = {'touch/welcome': welcome_svg(signs, lang, touch=True),
           'touch/felicitation': felicitation_svg(signs, lang, touch=True)}
    if lang.code != 'en':
        out.update({'namesGroup': names_svg(signs, lang), 'welcome': welcome_svg(signs, lang),
                    'felicitation': felicitation_svg(signs, lang)})
    return out


def montage_svg(root, codes):
    """Each language's label strip beside its welcome picture at half size."""
    rows, y, right = '', 10, 70 + STRIP_WIDEST + 20
    W = right + 760 // 2 + 10
    for code in codes:
        folder = 'resources' if code == 'en' else f'lang/{code}'
        rows += text(code, 24, y + 30, 20, SLATE, anchor='start')
        for name, x, scale in (('namesGroup', 70, 1), ('welcome', right, 0.5)):
            data = open(os.path.join(root, folder, name + '.png'), 'rb').read()
            w, h = png_size(data)
            uri = 'data:image/png;base64,' + base64.b64encode(data).decode()
            rows += (f'<image x="{x}" y="{y}" width="{f(w * scale)}" height="{f(h * scale)}" '
                     f'href="{uri}"/>')
        y += 230
    return svg(W, y, rect(0, 0, W, y, WHITE) + rows)


def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    if argv[1] == '--sheet':
        write(os.path.join(argv[2], 'contact-sheet.svg'), contact_svg(argv[3] if len(argv) > 3 else '.'))
        return
    montage = argv[1] == '--montage'
    out = argv[2] if montage else argv[1]
    langs = [Lang('en')] + languages(root, os.path.join(out, 'locale'))
    if montage:
        for script in ('latin', 'cyrillic', 'arabic'):
            codes = [la.code for la in langs if SCRIPTS.get(la.code, 'latin') == script]
            write(os.path.join(out, f'lang-{script}.svg'), montage_svg(root, codes))
        return
    signs = sign_svgs()
    assert {fam: sum(1 for k in signs if k[0] == fam) for fam in COUNTS} == COUNTS
    for (fam, i), s in signs.items():
        write(os.path.join(out, 'sings', str(fam), f'({i}).svg'), s)
    write(os.path.join(out, 'namesGroup.svg'), names_svg(signs, langs[0]))
    write(os.path.join(out, 'welcome.svg'), welcome_svg(signs, langs[0]))
    write(os.path.join(out, 'felicitation.svg'), felicitation_svg(signs, langs[0]))
    for lang in langs:
        for name, s in screen_svgs(signs, lang).items():
            write(os.path.join(out, 'lang', lang.code, name + '.svg'), s)
    for px in ICON_SIZES + WEB_ICON_SIZES:
        write(os.path.join(out, 'icon', f'icon-{px}.svg'), icon_svg(px))
    write(os.path.join(out, 'icon', 'icon-maskable-512.svg'), maskable_icon_svg(512))
    # The scalable icon is the large design at its natural size.
    write(os.path.join(out, 'icon', 'zorvane.svg'), icon_svg(48))


if __name__ == '__main__':
    main(sys.argv)
