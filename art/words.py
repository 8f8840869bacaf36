"""The pictures that carry words, in any language: the label strip that
names the six families, and the welcome and congratulation pictures, for
keyboard and mouse and for touch. Texts are measured with the font they are
drawn in, and a long translation makes room: the strip widens, a paragraph
wraps, a button bar grows or takes two lines, and all of them set the text
smaller down to a least size, past which the build stops, naming the text."""
import math
import os
import sys

from PIL import ImageFont

from primitives import BLUE, GREEN, SLATE, WHITE, placed, rect, svg, text

# A language's catalogue, and how it is written, come from po/.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), 'po'))
import catalogue  # noqa: E402


def N_(s):
    """Marks a text for translation (xgettext); it is translated where drawn."""
    return s


# Translators: a family of road signs, as the label over its row names it; use
# the term of your country's road code, not a word-for-word rendering.
NAMES = [N_('Warning signs'), N_('Priority signs'), N_('Prohibitory signs'),
         N_('Mandatory signs'), N_('Information signs'), N_('Service signs')]
SAMPLES = [(1, 1), (2, 3), (3, 2), (4, 1), (5, 1), (6, 10)]   # one sign per family


class Lang:
    """One language: its translations, and its direction and script as its
    own name shows them. English is the texts as written here."""
    def __init__(self, code):
        self.code = code
        self.tr = catalogue.translation(code)
        self.rtl = catalogue.right_to_left(self.tr)
        self.script = catalogue.script(self.tr)


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


def screen_svgs(signs, lang):
    """{file name under lang/<code>/: svg text} of one language; English's
    keyboard pictures are the ones in resources/."""
    out = {'touch/welcome': welcome_svg(signs, lang, touch=True),
           'touch/felicitation': felicitation_svg(signs, lang, touch=True)}
    if lang.code != 'en':
        out.update({'namesGroup': names_svg(signs, lang), 'welcome': welcome_svg(signs, lang),
                    'felicitation': felicitation_svg(signs, lang)})
    return out

