#!/bin/sh
# Remakes the template from the files in po/POTFILES and brings every
# translation of po/LINGUAS up to date with it. Run from anywhere.
set -e
cd "$(dirname "$0")/.."
xgettext --from-code=UTF-8 --add-comments=Translators: --keyword=N_ --keyword=C_:1c,2 \
    --keyword=pgettext:1c,2 --package-name=Zorvane --package-version=1.0 \
    --msgid-bugs-address=none -f po/POTFILES -o po/zorvane.pot
for code in $(sed 's/#.*//' po/LINGUAS); do
    msgmerge --quiet --update --backup=none "po/$code.po" po/zorvane.pot
done
