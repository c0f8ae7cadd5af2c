#!/bin/sh
# Renders the picture sources to the PNGs the program loads: 16x16 for the image list imgMain,
# 24x24 for the toolbar, 48x48 for the application icon. Needs rsvg-convert (librsvg2-bin);
# ImageMagick's own SVG reader gets some fills wrong.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
res="$here/.."
mkdir -p "$res/imgMain" "$res/toolbar" "$res/app"
render() { # source, size, output
    rsvg-convert -w "$2" -h "$2" "$1" -o "$3"
}
for svg in "$here"/*.svg; do
    key="$(basename "$svg" .svg)"
    [ "$key" = brindlewood ] && continue
    render "$svg" 16 "$res/imgMain/$key.png"
done
for key in Back Forward Refresh Cut Copy Paste Open Delete Rename Print Exit Scan Properties; do
    render "$here/$key.svg" 24 "$res/toolbar/$key.png"
done
render "$here/brindlewood.svg" 48 "$res/app/brindlewood.png"
