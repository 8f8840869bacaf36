"""The page in every language, made at build time from po/: for each
language its page strings, strings-<code>.json (a gettext catalogue of the
texts of web/index.html and web/page.js: the English text, after its context
and a \\x04 where it has one, to the translation), and the page, whose
language menu lists each by its own name, marked right to left where it is
written so:
    strings.py TEMPLATE OUTDIR CODE...
English is the page's own text: its catalogue is empty."""
import html
import json
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "po"))
import catalogue  # noqa: E402

template, out, codes = sys.argv[1], sys.argv[2], sys.argv[3:]
options = []
for code in sorted(["en", *codes]):
    page = catalogue.translation(code, ["web/index.html", "web/page.js"])
    with open(f"{out}/strings-{code}.json", "w", encoding="utf-8") as f:
        json.dump({k: v for k, v in getattr(page, "_catalog", {}).items() if k}, f, ensure_ascii=False, sort_keys=True,
                  separators=(",", ":"))
    whole = catalogue.translation(code)
    rtl = ' dir="rtl"' if catalogue.right_to_left(whole) else ""
    options.append(f'<option value="{code}" lang="{code.replace("_", "-")}"{rtl}>'
                   f'{html.escape(catalogue.own_name(whole))}</option>')
with open(template, encoding="utf-8") as f:
    page = f.read().replace("@LANGUAGES@", "\n    ".join(options))
with open(f"{out}/index.html", "w", encoding="utf-8") as f:
    f.write(page)
