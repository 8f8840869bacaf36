#!/usr/bin/env bash
# Regenerates every shipped picture from the vector source in art/ (make_svgs.py
# writes the SVGs, drawn by the files beside it):
#   resources/sings/<1..6>/(N).png, resources/namesGroup.png, resources/welcome.png,
#   resources/felicitation.png, art/icon/icon-{16,32,48,64,128,256}.png,
#   art/icon/zorvane.svg, art/icon/zorvane.ico, the browser version's
#   art/icon/icon-{192,512,maskable-512}.png, docs/contact-sheet.png;
#   for every language of po/LINGUAS lang/<code>/{namesGroup,welcome,felicitation}.png
#   and lang/<code>/touch/{welcome,felicitation}.png, English's touch pair in
#   lang/en/touch/, and one montage per script, docs/lang-{latin,cyrillic,arabic}.png
# Run from anywhere: art/build.sh
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
build="$here/build"

# --- tools (Debian packages) ---------------------------------------------
source "$root/tools/common.sh"
# Pillow with libraqm measures text as librsvg shapes it; gettext compiles the
# translations; cmake reads po/LINGUAS
need=(python3 python3-pil libraqm0 gettext cmake librsvg2-bin optipng zopfli icoutils fonts-dejavu-core fontconfig)
# Debian's own Python, the one python3-pil installs into
python=/usr/bin/python3
ensure_packages "${need[@]}"
listed=$(languages)   # a malformed po/LINGUAS stops the build here
read -r -a codes <<<"$listed"

# --- SVGs ----------------------------------------------------------------
rm -rf "$build"
"$python" "$here/make_svgs.py" "$build" "${codes[@]}"

# --- rasterise + optimise --------------------------------------------------
render() {  # svg png [extra optipng flags]
    mkdir -p "$(dirname "$2")"
    rsvg-convert --format=png -o "$2" "$1"
    optipng -quiet -o2 -strip all "${@:3}" "$2"
}

for fam in 1 2 3 4 5 6; do
    dst="$root/resources/sings/$fam"
    mkdir -p "$dst"
    rm -f "$dst"/*.png
    for svg in "$build/sings/$fam"/*.svg; do
        name="$(basename "$svg" .svg)"
        render "$svg" "$dst/$name.png"
    done
done
for pic in namesGroup welcome felicitation; do
    render "$build/$pic.svg" "$root/resources/$pic.png" -nc   # keep true colour, no palette
done
rm -rf "$root/lang"
(cd "$build/lang" && find . -name '*.svg') | sort | while read -r svg; do
    render "$build/lang/$svg" "$root/lang/${svg%.svg}.png" -nc
done
# The browser downloads the whole set: zopfli's deflate packs it some 7 %
# smaller than optipng's, every pixel the same. One at a time: the machine
# is shared.
find "$root/resources" "$root/lang" -name '*.png' -print0 |
    xargs -0 -I{} zopflipng -y {} {} >/dev/null

mkdir -p "$here/icon"
for px in 16 32 48 64 128 256; do
    # icons stay 32-bit RGBA (no colour-type or bit-depth reduction)
    render "$build/icon/icon-$px.svg" "$here/icon/icon-$px.png" -nc -nb
done
# the browser version's icons are downloaded on the first visit: a palette
# wherever one holds every colour
for name in icon-192 icon-512 icon-maskable-512; do
    render "$build/icon/$name.svg" "$here/icon/$name.png"
done
cp "$build/icon/zorvane.svg" "$here/icon/zorvane.svg"
icotool -c -o "$here/icon/zorvane.ico" "$here/icon/icon-16.png" "$here/icon/icon-32.png" "$here/icon/icon-48.png"

# --- contact sheet of the shipped sign pictures -----------------------------
"$python" "$here/make_svgs.py" --sheet "$build"
mkdir -p "$root/docs"
render "$build/contact-sheet.svg" "$root/docs/contact-sheet.png"
"$python" "$here/make_svgs.py" --montage "$build" "${codes[@]}"
# The montages are for reading only: 256 colours keep them half the size.
for svg in "$build"/lang-*.svg; do
    montage="$(basename "$svg" .svg)"
    rsvg-convert --format=png -o "$build/$montage.png" "$svg"
    "$python" -c 'import sys; from PIL import Image; Image.open(sys.argv[1]).convert("RGB").quantize(
        256, dither=Image.Dither.NONE).save(sys.argv[2])' \
        "$build/$montage.png" "$root/docs/$montage.png"
    optipng -quiet -o2 -strip all "$root/docs/$montage.png"
done

echo "art: $(find "$root/resources" -name '*.png' | wc -l) pictures in resources/ ($(du -sb "$root/resources" | cut -f1) bytes)"
