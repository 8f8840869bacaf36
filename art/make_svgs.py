#!/usr/bin/env python3
"""Writes the SVG of every Zorvane picture, for art/build.sh to render.

    make_svgs.py OUTDIR CODE...            the signs, the icon, and the label strip and
                                           screen pictures in English and in each
                                           language CODE, under OUTDIR
    make_svgs.py --sheet OUTDIR            OUTDIR/contact-sheet.svg from the shipped PNGs
    make_svgs.py --montage OUTDIR CODE...  OUTDIR/lang-<script>.svg, one for each script
                                           of English and the CODEs, from the shipped PNGs

The drawing is in the files beside this one: primitives.py, figures.py,
pictograms.py, signs.py, words.py, icons.py and sheets.py. Output is fully
deterministic (no randomness, no timestamps).
"""
import os
import sys

from icons import ICON_SIZES, WEB_ICON_SIZES, icon_svg, maskable_icon_svg
from sheets import contact_svg, montage_svg
from signs import COUNTS, sign_svgs
from words import Lang, felicitation_svg, names_svg, screen_svgs, welcome_svg

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def write(p, s):
    os.makedirs(os.path.dirname(p), exist_ok=True)
    with open(p, 'w', encoding='utf-8') as fh:
        fh.write(s)


def write_signs(out):
    signs = sign_svgs()
    assert {fam: sum(1 for k in signs if k[0] == fam) for fam in COUNTS} == COUNTS
    for (fam, i), s in signs.items():
        write(os.path.join(out, 'sings', str(fam), f'({i}).svg'), s)
    return signs


def write_screens(out, signs, langs):
    write(os.path.join(out, 'namesGroup.svg'), names_svg(signs, langs[0]))
    write(os.path.join(out, 'welcome.svg'), welcome_svg(signs, langs[0]))
    write(os.path.join(out, 'felicitation.svg'), felicitation_svg(signs, langs[0]))
    for lang in langs:
        for name, s in screen_svgs(signs, lang).items():
            write(os.path.join(out, 'lang', lang.code, name + '.svg'), s)


def write_icons(out):
    for px in ICON_SIZES + WEB_ICON_SIZES:
        write(os.path.join(out, 'icon', f'icon-{px}.svg'), icon_svg(px))
    write(os.path.join(out, 'icon', 'icon-maskable-512.svg'), maskable_icon_svg(512))
    # The scalable icon is the large design at its natural size.
    write(os.path.join(out, 'icon', 'zorvane.svg'), icon_svg(48))


def write_montages(out, langs):
    for script in dict.fromkeys(lang.script for lang in langs):
        codes = [lang.code for lang in langs if lang.script == script]
        write(os.path.join(out, f'lang-{script}.svg'), montage_svg(ROOT, codes))


def main(argv):
    if argv[1] == '--sheet':
        write(os.path.join(argv[2], 'contact-sheet.svg'), contact_svg(ROOT))
        return
    montage = argv[1] == '--montage'
    out, codes = (argv[2], argv[3:]) if montage else (argv[1], argv[2:])
    langs = [Lang(code) for code in ['en'] + codes]
    if montage:
        write_montages(out, langs)
        return
    signs = write_signs(out)
    write_screens(out, signs, langs)
    write_icons(out)


if __name__ == '__main__':
    main(sys.argv)
