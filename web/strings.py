"""The page in every language, made at build time from po/: for each
language its page strings, strings-<code>.json (a gettext catalogue: the
English text, after its context and a \\x04 where it has one, to the
translation), and the page, whose language menu lists each by its own name:
    strings.py TEMPLATE OUTDIR PODIR CODE...
English is the page's own text: its catalogue is empty."""
import gettext
import html
import io
import json
import subprocess
import sys
import unicodedata

template, out, po, codes = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]


def catalogue(code):
    # The translations of the page's own strings, compiled by gettext.
    if code == "en":
        return {}
    page = subprocess.run(["msggrep", "--location=po/page_strings.py", f"{po}/{code}.po"],
                          capture_output=True, check=True).stdout
    compiled = subprocess.run(["msgfmt", "-o", "-", "-"], input=page, capture_output=True, check=True).stdout
    return {k: v for k, v in gettext.GNUTranslations(io.BytesIO(compiled))._catalog.items() if k}


options = []
for code in sorted(["en", *codes]):
    strings = catalogue(code)
    with open(f"{out}/strings-{code}.json", "w", encoding="utf-8") as f:
        json.dump(strings, f, ensure_ascii=False, sort_keys=True, separators=(",", ":"))
    name = strings.get("language name\x04English", "English")
    # A language written from right to left names itself in such a script.
    rtl = ' dir="rtl"' if unicodedata.bidirectional(name[0]) in ("R", "AL") else ""
    options.append(f'<option value="{code}" lang="{code.replace("_", "-")}"{rtl}>{html.escape(name)}</option>')
with open(template, encoding="utf-8") as f:
    page = f.read().replace("@LANGUAGES@", "\n    ".join(options))
with open(f"{out}/index.html", "w", encoding="utf-8") as f:
    f.write(page)
