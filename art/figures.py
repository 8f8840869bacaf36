"""Figures that several signs share: vehicles, people, a plane, a
locomotive, a roundabout, rocks and waves. Each is drawn at the size its
comment gives, in the context's ink, cut out in its field colour; a sign
scales and places it."""
from primitives import arc_arrow, circle, f, path, poly, rect, stroke


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

