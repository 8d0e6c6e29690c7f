#!/usr/bin/env python3
"""Draws bitmap 146 of the resource module (driver/res/info.bmp): a page
with a folded corner, a blue band lettered "PDF" and a few text lines;
24-bit, 96 x 120 pixels. Run it again after changing the drawing; the
result is committed."""
import struct
import sys

W, H = 96, 120
WHITE, PAPER, EDGE = (255, 255, 255), (250, 250, 250), (140, 140, 140)
BLUE, LINE = (33, 92, 168), (196, 196, 196)

# 5 x 7 glyphs of the band's lettering.
GLYPHS = {
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
}
LEFT, TOP, RIGHT, BOTTOM, FOLD = 12, 6, 84, 114, 20
BAND_TOP, BAND_BOTTOM, SCALE = 40, 66, 3


def letter_pixel(x, y):
    """True where the white lettering covers the band."""
    top = BAND_TOP + (BAND_BOTTOM - BAND_TOP - 7 * SCALE) // 2
    width = 3 * 5 * SCALE + 2 * SCALE
    left = LEFT + (RIGHT - LEFT - width) // 2
    for i, ch in enumerate("PDF"):
        gx = (x - left - i * 6 * SCALE) // SCALE
        gy = (y - top) // SCALE
        if x >= left + i * 6 * SCALE and 0 <= gx < 5 and 0 <= gy < 7:
            return GLYPHS[ch][gy][gx] == "1"
    return False


def pixel(x, y):
    if not (LEFT <= x <= RIGHT and TOP <= y <= BOTTOM):
        return WHITE
    corner = x - (RIGHT - FOLD) - (y - TOP)  # > 0 above the fold's diagonal
    if corner > 0:
        return WHITE
    if corner == 0 or x == LEFT or y == BOTTOM or (y == TOP and x <= RIGHT - FOLD) or (x == RIGHT and y >= TOP + FOLD):
        return EDGE
    if (x == RIGHT - FOLD and y <= TOP + FOLD) or (y == TOP + FOLD and x >= RIGHT - FOLD):
        return EDGE
    if BAND_TOP <= y < BAND_BOTTOM and LEFT < x < RIGHT:
        return WHITE if letter_pixel(x, y) else BLUE
    if y in (76, 84, 92, 100) and 22 <= x < (74 if y != 100 else 54):
        return LINE
    return PAPER


def main(path):
    row = (W * 3 + 3) & ~3
    data = bytearray()
    for y in range(H - 1, -1, -1):
        line = bytearray()
        for x in range(W):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        data += line + b"\0" * (row - W * 3)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 3780, 3780, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "driver/res/info.bmp")
