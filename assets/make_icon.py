#!/usr/bin/env python3
"""Generate assets/app.ico, the program's window and tray icon.

The icon holds three 16-colour images (16x16, 32x32 and 48x48).  Each one is
an old-style BMP icon entry: a BITMAPINFOHEADER, a 16-entry palette, a 4-bit
colour bitmap and a 1-bit AND mask for transparency.  The bytes are packed by
hand with struct so the layout is exactly that, whatever the imaging library
would prefer to write.

Picture: a teal square with a white bar across its upper part and white
diagonal stripes below it.  In the two larger sizes a light-grey round emblem
sits behind the square, peeking out at the top left.

The output depends only on this script, so every run writes the same bytes.

Usage: python3 make_icon.py [output.ico]   (default: app.ico next to this file)
"""

import os
import struct
import sys

# The classic Windows 16-colour palette, as (R, G, B).  Using the standard
# colours keeps the icon looking right on any display depth.
PALETTE = [
    (0, 0, 0),        # 0 black
    (128, 0, 0),      # 1 maroon
    (0, 128, 0),      # 2 green
    (128, 128, 0),    # 3 olive
    (0, 0, 128),      # 4 navy
    (128, 0, 128),    # 5 purple
    (0, 128, 128),    # 6 teal
    (192, 192, 192),  # 7 light grey
    (128, 128, 128),  # 8 dark grey
    (255, 0, 0),      # 9 red
    (0, 255, 0),      # 10 lime
    (255, 255, 0),    # 11 yellow
    (0, 0, 255),      # 12 blue
    (255, 0, 255),    # 13 fuchsia
    (0, 255, 255),    # 14 aqua
    (255, 255, 255),  # 15 white
]

BLACK = 0
TEAL = 6
LIGHT_GREY = 7
DARK_GREY = 8
WHITE = 15
TRANSPARENT = None  # pixel left to the AND mask

# Per-size layout, in pixels.  square = (left, top, right, bottom), inclusive.
# bar = (first row, last row) of the white bar, relative to the square's top.
# stripe_period / stripe_width describe the diagonal stripes.
# emblem = (centre x, centre y, radius) of the grey disc, or None.
LAYOUTS = {
    16: dict(square=(1, 1, 14, 14), bar=(2, 4), stripe_period=4,
             stripe_width=2, emblem=None),
    32: dict(square=(9, 9, 30, 30), bar=(3, 6), stripe_period=5,
             stripe_width=2, emblem=(12.0, 12.0, 11.4)),
    48: dict(square=(13, 13, 46, 46), bar=(4, 9), stripe_period=7,
             stripe_width=3, emblem=(18.0, 18.0, 17.3)),
}


def pixel(size, x, y):
    """Return the palette index for pixel (x, y), or TRANSPARENT."""
    lay = LAYOUTS[size]
    left, top, right, bottom = lay["square"]

    if left <= x <= right and top <= y <= bottom:
        # One-pixel dark outline keeps the square crisp on any background.
        if x in (left, right) or y in (top, bottom):
            return BLACK
        # Leave a one-pixel teal margin inside the outline so the white
        # shapes never touch the edge.
        if x in (left + 1, right - 1) or y in (top + 1, bottom - 1):
            return TEAL
        bar_top, bar_bottom = lay["bar"]
        ry = y - top
        if bar_top <= ry <= bar_bottom:
            return WHITE
        if ry > bar_bottom + 1:
            # Stripes run from bottom-left to top-right.
            d = (x - left) + (y - top)
            if d % lay["stripe_period"] < lay["stripe_width"]:
                return WHITE
        return TEAL

    emblem = lay["emblem"]
    if emblem is not None:
        cx, cy, r = emblem
        # Sample at the pixel centre.
        dx = x + 0.5 - cx
        dy = y + 0.5 - cy
        dist2 = dx * dx + dy * dy
        if dist2 <= r * r:
            if dist2 >= (r - 1.2) * (r - 1.2):
                return DARK_GREY  # rim, so the disc reads on white too
            return LIGHT_GREY
    return TRANSPARENT


def icon_image(size):
    """Build one icon entry's bytes: header, palette, XOR bitmap, AND mask."""
    rows = [[pixel(size, x, y) for x in range(size)] for y in range(size)]

    # 4-bit colour rows and 1-bit mask rows are each padded to 4 bytes.
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4

    xor_data = bytearray()
    and_data = bytearray()
    # BMP rows are stored bottom-up.
    for y in range(size - 1, -1, -1):
        row = rows[y]
        xor_row = bytearray(xor_stride)
        and_row = bytearray(and_stride)
        for x, value in enumerate(row):
            if value is TRANSPARENT:
                index = BLACK  # black under a set mask bit = transparent
                and_row[x // 8] |= 0x80 >> (x % 8)
            else:
                index = value
            if x % 2 == 0:
                xor_row[x // 2] |= index << 4
            else:
                xor_row[x // 2] |= index
        xor_data += xor_row
        and_data += and_row

    header = struct.pack(
        "<IiiHHIIiiII",
        40,                 # biSize
        size,               # biWidth
        size * 2,           # biHeight: colour bitmap + mask stacked
        1,                  # biPlanes
        4,                  # biBitCount
        0,                  # biCompression = BI_RGB
        len(xor_data) + len(and_data),  # biSizeImage
        0, 0,               # resolution, unused in icons
        16,                 # biClrUsed
        0,                  # biClrImportant
    )
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0)
                       for (r, g, b) in PALETTE)
    return header + palette + bytes(xor_data) + bytes(and_data)


def build_ico(sizes=(16, 32, 48)):
    images = [icon_image(s) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))  # ICONDIR
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack(
            "<BBBBHHII",
            size,        # bWidth
            size,        # bHeight
            16,          # bColorCount
            0,           # bReserved
            1,           # wPlanes
            4,           # wBitCount
            len(data),   # dwBytesInRes
            offset,      # dwImageOffset
        )
        offset += len(data)
    for data in images:
        out += data
    return bytes(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "app.ico")
    data = build_ico()
    with open(path, "wb") as f:
        f.write(data)
    print("wrote %s (%d bytes)" % (path, len(data)))


if __name__ == "__main__":
    main()
