"""The pictograms of five sign families, each drawn in a 100-unit box in
the ink of a drawing context K, for its family's frame to place: warning,
prohibitory, mandatory, information and service signs, in the order of
their pictures' numbers. The priority signs are whole signs, drawn with
their frames."""
import math

from figures import (bicycle, bus_side, car_rear, car_side, locomotive, motorcycle, pedestrian,
                     plane, rock, roundabout, slash, truck_rear, truck_side, waves)
from primitives import (AMBER, GREEN, INK, RED, WHITE, K, arrow, circle, ctext, f, g, path, poly,
                        rect, stroke)

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
