"""A language's translations as the pictures, the page and the tests read
them: po/<code>.po compiled by gettext's msgfmt, and what the language's
name for itself tells of how it is written. English, the texts as the
sources write them, has no catalogue."""
import gettext
import io
import os
import subprocess
import unicodedata

PO = os.path.dirname(os.path.abspath(__file__))


def pgettext(context, text):
    """Marks a text with its context for xgettext; translated where used."""
    return text


def translation(code, locations=()):
    """The catalogue of CODE; with LOCATIONS, only the texts found there."""
    if code == "en":
        return gettext.NullTranslations()
    source = f"{PO}/{code}.po"
    if locations:
        source = subprocess.run(["msggrep", *(f"--location={at}" for at in locations), source],
                                capture_output=True, check=True).stdout
    compiled = subprocess.run(["msgfmt", "--check", "-o", "-", "-" if locations else source],
                              input=source if locations else None, capture_output=True, check=True).stdout
    return gettext.GNUTranslations(io.BytesIO(compiled))


# Translators: the name of the language of this translation, written in
# that language, as a menu of languages lists it (Deutsch, Français…).
OWN_NAME = pgettext("language name", "English")


def own_name(catalogue):
    return catalogue.pgettext("language name", OWN_NAME)


def right_to_left(catalogue):
    """A language is written from right to left where its own name is."""
    return unicodedata.bidirectional(own_name(catalogue)[0]) in ("R", "AL")


def script(catalogue):
    """The script of the language's own name, in lower case: latin, cyrillic, arabic…"""
    return unicodedata.name(own_name(catalogue)[0]).split()[0].lower()
