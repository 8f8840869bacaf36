"""What a first visit to the browser build transfers, in language CODE
for VARIANT's input: every file of the site but the other languages' and
the other input's, as the page fetches them and its service worker keeps
them (web/sw.js keeps a language's files once a page has used them)."""
import gzip
import os
import re


def files(site, code, variant):
    return sorted(name for name in os.listdir(site) if not re.match("(words|strings)-", name)
                  or name.startswith((f"words-{code}-{variant}.", f"strings-{code}.")))


def first_visit(site, code, variant):
    """Each file as (name, bytes, bytes at gzip -9)."""
    return [(name, len(data), len(gzip.compress(data, 9))) for name, data in
            ((name, open(f"{site}/{name}", "rb").read()) for name in files(site, code, variant))]
