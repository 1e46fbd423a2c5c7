#!/usr/bin/env python3
"""Generate assets/exercise.jpg, the neck-exercise picture.

The picture is a white page of short Chinese columns: reminders to rest and
lines of classical verse.  Characters are stacked top to bottom, and some
columns are printed upside down, so reading the whole page makes the reader
tilt and turn the head.  The top right corner says how to leave (press ESC)
and a small smiling green creature sits in the bottom right corner.

The program shows this picture stretched to fill its window, so the
characters are fairly large and the layout is kept airy.

File format: baseline JFIF 1.01 JPEG, 518 x 339, 8-bit YCbCr with 4:2:0
chroma subsampling, 72 dpi, no EXIF.  The output depends only on this script
and the font file, so every run writes the same bytes.

Usage: python3 make_picture.py [output.jpg]  (default: exercise.jpg here)
"""

import os
import sys

from PIL import Image, ImageDraw, ImageFont

WIDTH, HEIGHT = 518, 339
FONT_PATH = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
JPEG_QUALITY = 40

GREEN = (22, 140, 62)
BLUE = (28, 104, 222)
DARK_BLUE = (24, 42, 128)
ORANGE = (236, 122, 8)
RED = (212, 34, 44)
PURPLE = (128, 48, 168)

FONT_SIZE = 23
STEP = 27          # vertical distance between stacked characters
TOP = 12           # top margin of a column

# The columns, right to left.  Each entry: (x centre, first character's top,
# text, colour, upside down).  A "|" inside the text leaves a gap of one and
# a half character steps, so two verse lines can share a column.
COLUMNS = [
    (458, TOP, "健康第一", RED, False),
    (424, TOP, "每天电脑前工作", GREEN, False),
    (392, 60, "累了就喝点水", BLUE, False),
    (360, TOP, "床前明月光|疑是地上霜", DARK_BLUE, True),
    (328, TOP, "举头望明月|低头思故乡", PURPLE, False),
    (292, 30, "抬头看看远方", ORANGE, True),
    (260, TOP, "白日依山尽|黄河入海流", GREEN, False),
    (228, TOP, "欲穷千里目|更上一层楼", RED, True),
    (192, 40, "这样活动颈椎也不错", BLUE, False),
    (160, TOP, "春眠不觉晓|处处闻啼鸟", ORANGE, False),
    (128, TOP, "夜来风雨声|花落知多少", DARK_BLUE, True),
    (92, 70, "站起来伸个懒腰", PURPLE, True),
    (60, TOP, "转转脖子", GREEN, False),
    (60, 190, "眨眨眼睛", RED, True),
    (26, 40, "休息一下|再出发", BLUE, False),
]

# The way out, top right.  Latin letters are stacked like the characters.
ESC_COLUMN = (495, 7, ["看", "够", "了", "按", "E", "S", "C", "退", "出"])


def column_image(font, cells, colour, bold_latin=False):
    """Render a list of cells (characters or None for a half gap) stacked
    top to bottom on a transparent strip, centred horizontally.  With
    bold_latin, Latin letters get a one-pixel stroke so they carry as much
    weight as the Chinese characters around them."""
    height = 0
    for cell in cells:
        height += STEP if cell is not None else STEP // 2
    width = FONT_SIZE + 8
    strip = Image.new("RGBA", (width, height), (255, 255, 255, 0))
    draw = ImageDraw.Draw(strip)
    y = 0
    for cell in cells:
        if cell is None:
            y += STEP // 2
            continue
        left, top, right, bottom = font.getbbox(cell)
        # Centre the glyph's ink horizontally; keep a common baseline box
        # vertically so the column looks evenly spaced.
        x = (width - (right - left)) / 2 - left
        stroke = 1 if bold_latin and cell.isascii() else 0
        draw.text((round(x), y), cell, font=font, fill=colour + (255,),
                  stroke_width=stroke, stroke_fill=colour + (255,))
        y += STEP
    return strip


def split_cells(text):
    cells = []
    for ch in text:
        if ch == "|":
            cells.extend([None, None, None])  # one and a half steps
        else:
            cells.append(ch)
    return cells


def draw_creature(img, cx, cy, r):
    """A round green creature with eyes, a smile and waving arms.

    Drawn four times larger and scaled down so the outlines are smooth."""
    s = 4
    box = int(r * 2.9)
    layer = Image.new("RGBA", (box * s, box * s), (255, 255, 255, 0))
    d = ImageDraw.Draw(layer)
    c = box * s / 2          # centre of the layer
    R = r * s

    body = (74, 178, 72, 255)
    dark = (32, 110, 40, 255)
    belly = (170, 226, 150, 255)

    def ell(x0, y0, x1, y1, **kw):
        d.ellipse([c + x0, c + y0, c + x1, c + y1], **kw)

    w = int(0.09 * R)  # outline width
    # Arms: raised, waving.
    d.line([c - 0.80 * R, c + 0.05 * R, c - 1.25 * R, c - 0.45 * R],
           fill=dark, width=int(0.22 * R))
    d.line([c + 0.80 * R, c + 0.05 * R, c + 1.25 * R, c - 0.45 * R],
           fill=dark, width=int(0.22 * R))
    d.line([c - 0.80 * R, c + 0.05 * R, c - 1.25 * R, c - 0.45 * R],
           fill=body, width=int(0.12 * R))
    d.line([c + 0.80 * R, c + 0.05 * R, c + 1.25 * R, c - 0.45 * R],
           fill=body, width=int(0.12 * R))
    ell(-1.36 * R, -0.58 * R, -1.12 * R, -0.34 * R, fill=body, outline=dark,
        width=w // 2)
    ell(1.12 * R, -0.58 * R, 1.36 * R, -0.34 * R, fill=body, outline=dark,
        width=w // 2)
    # Feet.
    ell(-0.62 * R, 0.78 * R, -0.12 * R, 1.08 * R, fill=body, outline=dark,
        width=w)
    ell(0.12 * R, 0.78 * R, 0.62 * R, 1.08 * R, fill=body, outline=dark,
        width=w)
    # Leaf sprout on top.
    d.line([c, c - 0.95 * R, c + 0.05 * R, c - 1.22 * R], fill=dark,
           width=int(0.07 * R))
    d.polygon([(c + 0.05 * R, c - 1.20 * R), (c + 0.30 * R, c - 1.42 * R),
               (c + 0.55 * R, c - 1.30 * R), (c + 0.30 * R, c - 1.12 * R)],
              fill=body, outline=dark)
    # Body and belly.
    ell(-R, -R, R, R, fill=body, outline=dark, width=w)
    ell(-0.58 * R, -0.05 * R, 0.58 * R, 0.82 * R, fill=belly)
    # Eyes with highlights.
    for sx in (-1, 1):
        ex = sx * 0.36 * R
        ell(ex - 0.22 * R, -0.52 * R, ex + 0.22 * R, -0.06 * R,
            fill=(255, 255, 255, 255), outline=dark, width=w // 2)
        ell(ex - 0.11 * R + sx * 0.03 * R, -0.40 * R,
            ex + 0.11 * R + sx * 0.03 * R, -0.14 * R, fill=(20, 30, 20, 255))
        ell(ex - 0.05 * R, -0.37 * R, ex + 0.02 * R, -0.30 * R,
            fill=(255, 255, 255, 255))
    # Rosy cheeks.
    for sx in (-1, 1):
        ex = sx * 0.66 * R
        ell(ex - 0.14 * R, 0.0 * R, ex + 0.14 * R, 0.16 * R,
            fill=(245, 150, 150, 255))
    # Smile.
    d.arc([c - 0.34 * R, c - 0.22 * R, c + 0.34 * R, c + 0.34 * R],
          start=20, end=160, fill=dark, width=int(0.08 * R))

    layer = layer.resize((box, box), Image.LANCZOS)
    img.paste(layer, (int(cx - box / 2), int(cy - box / 2)), layer)


def build():
    img = Image.new("RGB", (WIDTH, HEIGHT), (255, 255, 255))
    font = ImageFont.truetype(FONT_PATH, FONT_SIZE)

    for x, y, text, colour, upside_down in COLUMNS:
        strip = column_image(font, split_cells(text), colour)
        if upside_down:
            strip = strip.rotate(180)
        img.paste(strip, (x - strip.width // 2, y), strip)

    # The way out sits on a pale note so it is easy to find.
    ex, ey, cells = ESC_COLUMN
    strip = column_image(font, cells, RED, bold_latin=True)
    left = ex - strip.width // 2
    ImageDraw.Draw(img).rounded_rectangle(
        [left - 1, ey - 5, left + strip.width, ey + strip.height + 2],
        radius=8, fill=(255, 243, 205))
    img.paste(strip, (left, ey), strip)

    draw_creature(img, 468, 298, 30)
    return img


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here,
                                                             "exercise.jpg")
    img = build()
    # subsampling=2 is 4:2:0; PIL writes a JFIF 1.01 APP0 segment and no
    # EXIF unless asked to.
    img.save(path, "JPEG", quality=JPEG_QUALITY, subsampling=2,
             optimize=False, progressive=False, dpi=(72, 72))
    print("wrote %s (%d bytes)" % (path, os.path.getsize(path)))


if __name__ == "__main__":
    main()
