#!/usr/bin/env bash
# Remakes the program's icons from its own sunshine picture. The PNGs are
# kept in the tree; the build installs them, named by the application id,
# and never runs this.
#
#   packaging/make-icons.sh              builds the run preset and uses it
#   packaging/make-icons.sh PROGRAM      uses an already built sweepdraw
#
# The sun stands at (8000, 2000) twips, pixel (533, 133) of the saved window,
# and its rays reach 120 pixels. The square 248 pixels wide centred there
# starts just inside the panel's blue edge, at (409, 9), and holds the whole
# sun on the black panel. Shrunk to 232 pixels and framed with 12 pixels of
# the window's green, it is the 256-pixel icon; the smaller sizes are scaled
# down from that.
source "$(dirname "$0")/../scripts/common.sh"
cd "$(dirname "$0")/.."

if [ $# -eq 0 ]; then
    ensure_packages "${SWEEPDRAW_RUN_PACKAGES[@]}" imagemagick
    build_preset run
    program=build/run/app/sweepdraw
else
    ensure_packages imagemagick
    program=$1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$program" --run sunshine --save "$work/window.png"

# No time stamps in the files, so that remaking them changes nothing.
png_options=(-strip -define png:exclude-chunks=date,time)

mkdir -p packaging/icons/256x256
convert "$work/window.png" -crop 248x248+409+9 +repage \
    -filter Lanczos -resize 232x232 \
    -bordercolor '#008000' -border 12 \
    "${png_options[@]}" "png24:packaging/icons/256x256/sweepdraw.png"

for size in 128 48; do
    mkdir -p "packaging/icons/${size}x${size}"
    convert "packaging/icons/256x256/sweepdraw.png" -filter Lanczos -resize "${size}x${size}" \
        "${png_options[@]}" "png24:packaging/icons/${size}x${size}/sweepdraw.png"
done
echo "Remade the icons in packaging/icons"
