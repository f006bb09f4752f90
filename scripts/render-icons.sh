#!/bin/sh
# Renders the program's icon set (desktop/icons/farewelldesk): every SVG under
# scalable/ becomes a PNG in each fixed-size directory that index.theme lists,
# and desktop/icons/icons.qrc lists them all for the build. The PNGs are
# committed, so building needs no SVG renderer; run this after changing or
# adding an SVG. Needs rsvg-convert (Debian: librsvg2-bin, FreeBSD:
# librsvg2-rust).
set -eu

icons="$(cd "$(dirname "$0")/../desktop/icons" && pwd)"
theme="$icons/farewelldesk"

# "directory size" for each fixed-size directory of the theme.
fixed_directories() {
    awk -F= '
        /^\[/ { flush(); section = substr($0, 2, length($0) - 2); size = ""; type = "" }
        $1 == "Size" { size = $2 }
        $1 == "Type" { type = $2 }
        function flush() { if (type == "Fixed") print section, size }
        END { flush() }
    ' "$theme/index.theme"
}

fixed_directories | while read -r directory size; do
    mkdir -p "$theme/$directory"
    for svg in "$theme"/scalable/*.svg; do
        name=$(basename "$svg" .svg)
        rsvg-convert --width "$size" --height "$size" --output "$theme/$directory/$name.png" "$svg"
    done
    echo "$directory: $(ls "$theme/$directory" | wc -l) icons of $size pixels"
done

{
    echo '<!DOCTYPE RCC>'
    echo '<!-- Written by scripts/render-icons.sh -->'
    echo '<RCC version="1.0">'
    echo '<qresource prefix="/icons">'
    (cd "$icons" && find farewelldesk -type f | LC_ALL=C sort) | sed 's|.*|    <file>&</file>|'
    echo '</qresource>'
    echo '</RCC>'
} > "$icons/icons.qrc"
