"""The SVG vocabulary every picture is written in: colours, shapes, text,
arrows, groups, and whole documents that one picture can nest in another.
Numbers are written with at most two decimals, so that the output is the
same on every machine."""
import math
from xml.sax.saxutils import escape

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
    t = math.radians(a1 - 90)
    dx, dy = math.cos(t), math.sin(t)
    xb, yb = p(a1 - 3)
    d = f'M{f(x0)},{f(y0)} A{f(r)},{f(r)} 0 0 0 {f(xb)},{f(yb)}'
    head = poly([(x1 + dx * hl, y1 + dy * hl), (x1 - dy * hw, y1 + dx * hw),
                 (x1 + dy * hw, y1 - dx * hw)], c)
    return stroke(d, w, c, cap='butt') + head


class K:
    """Drawing context: ink colour, field colour (for cut-outs), stroke weight."""
    def __init__(self, c, bg, sw, bh=100):
        self.c, self.bg, self.sw, self.bh = c, bg, sw, bh


def svg(w, h, body, view=None):
    """A document W x H pixels; VIEW is its user box, by default the same."""
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
            f'viewBox="{view or f"0 0 {w} {h}"}">{body}</svg>\n')


def inner(svgtext):
    """Body and size of one of our own SVG strings, for nesting."""
    head, rest = svgtext.split('>', 1)
    w = float(head.split('width="')[1].split('"')[0])
    h = float(head.split('height="')[1].split('"')[0])
    return rest.rsplit('</svg>', 1)[0], w, h


def placed(svgtext, cx, cy, height, uid):
    """One of our own SVG strings, HEIGHT high and centred on (cx, cy). A picture
    may hold one sign several times: its clip path is renamed apart by UID."""
    body, w, h = inner(svgtext.replace('id="c"', f'id="c{uid}"').replace('url(#c)', f'url(#c{uid})'))
    s = height / h
    return g(body, cx - w * s / 2, cy - h * s / 2, s)

