#!/bin/sh
# SPDX-License-Identifier: MIT
# Makes docs/stickquest.ico, the Windows game's icon, from docs/stickquest.svg: PNG images of 16,
# 32, 48 and 256 pixels in one icon file (Windows Vista and later read PNG inside an icon); and the
# web page's icons for phones and app launchers, stickquest-192.png and stickquest-512.png. They
# are committed; run this again after the picture changes. Needs rsvg-convert (librsvg2-bin) and
# python3.
set -eu
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 16 32 48 256; do
  rsvg-convert -w $size -h $size stickquest.svg -o "$work/$size.png"
done
for size in 192 512; do
  rsvg-convert -w $size -h $size stickquest.svg -o stickquest-$size.png
done
python3 - "$work" <<'PYTHON'
import struct, sys
sizes = [16, 32, 48, 256]
images = [open("%s/%d.png" % (sys.argv[1], size), "rb").read() for size in sizes]
offset = 6 + 16 * len(images)
header = struct.pack("<HHH", 0, 1, len(images))
for size, image in zip(sizes, images):
    header += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
    offset += len(image)
open("stickquest.ico", "wb").write(header + b"".join(images))
PYTHON
