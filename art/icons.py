"""The game's icon: a white Z on the blue of the information signs, drawn
in a 48-unit box for every size the platforms ask for."""
from primitives import BLUE, WHITE, g, path, rect, svg

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
    return svg(px, px, body, view='0 0 48 48')
