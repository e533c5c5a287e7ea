#!/bin/sh
# Renders the hicolor PNG icons from quorvandel.svg. The PNGs are committed,
# so a build never needs a converter; run this again after editing the SVG.
# Uses rsvg-convert when present, else ImageMagick's convert.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
svg="$here/quorvandel.svg"
for size in 16 32 48 64 128 256; do
    out="$here/quorvandel-$size.png"
    if command -v rsvg-convert >/dev/null 2>&1; then
        rsvg-convert -w "$size" -h "$size" -o "$out" "$svg"
    elif command -v convert >/dev/null 2>&1; then
        # Render at four times the size and scale down for smooth edges.
        convert -background none -density $((96 * size * 4 / 256)) "$svg" \
            -resize "${size}x${size}" -strip PNG32:"$out"
    else
        echo "render_pngs.sh: need rsvg-convert or ImageMagick's convert" >&2
        exit 1
    fi
    echo "wrote $out"
done
