#!/usr/bin/env python3
"""Draws the information page's pictures (bitmaps 146 and 147 of the
resource module): a page with a folded corner, a blue band lettered "PDF"
and a few text lines, 24-bit. driver/res/info.bmp is 96 x 120 pixels for
96 DPI; driver/res/info-144.bmp is drawn at 144 x 180 for 144 DPI and up, so
that the page never shows a picture stretched by the density. Run it again
after changing the drawing; the results are committed."""
import struct
import sys

WHITE, PAPER, EDGE = (255, 255, 255), (250, 250, 250), (140, 140, 140)
BLUE, LINE = (33, 92, 168), (196, 196, 196)

# 5 x 7 glyphs of the band's lettering.
GLYPHS = {
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
}


class Drawing:
    """The picture's geometry at 96 DPI, times `scale` in whole pixels."""

    def __init__(self, scale):
        def px(value):
            return int(value * scale + 0.5)

        self.width, self.height = px(96), px(120)
        self.left, self.top, self.right, self.bottom, self.fold = px(12), px(6), px(84), px(114), px(20)
        self.band_top, self.band_bottom, self.glyph = px(40), px(66), px(3)
        self.lines = [px(y) for y in (76, 84, 92, 100)]
        self.line_left, self.line_right, self.last_right = px(22), px(74), px(54)

    def letter_pixel(self, x, y):
        """True where the white lettering covers the band."""
        g = self.glyph
        top = self.band_top + (self.band_bottom - self.band_top - 7 * g) // 2
        left = self.left + (self.right - self.left - (3 * 5 * g + 2 * g)) // 2
        for i, ch in enumerate("PDF"):
            gx = (x - left - i * 6 * g) // g
            gy = (y - top) // g
            if x >= left + i * 6 * g and 0 <= gx < 5 and 0 <= gy < 7:
                return GLYPHS[ch][gy][gx] == "1"
        return False

    def pixel(self, x, y):
        left, top, right, bottom, fold = self.left, self.top, self.right, self.bottom, self.fold
        if not (left <= x <= right and top <= y <= bottom):
            return WHITE
        corner = x - (right - fold) - (y - top)  # > 0 above the fold's diagonal
        if corner > 0:
            return WHITE
        if corner == 0 or x == left or y == bottom or (y == top and x <= right - fold) or (x == right and y >= top + fold):
            return EDGE
        if (x == right - fold and y <= top + fold) or (y == top + fold and x >= right - fold):
            return EDGE
        if self.band_top <= y < self.band_bottom and left < x < right:
            return WHITE if self.letter_pixel(x, y) else BLUE
        if y in self.lines and self.line_left <= x < (self.line_right if y != self.lines[-1] else self.last_right):
            return LINE
        return PAPER


def write(path, scale):
    d = Drawing(scale)
    row = (d.width * 3 + 3) & ~3
    data = bytearray()
    for y in range(d.height - 1, -1, -1):
        line = bytearray()
        for x in range(d.width):
            r, g, b = d.pixel(x, y)
            line += bytes((b, g, r))
        data += line + b"\0" * (row - d.width * 3)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    pels = int(3780 * scale + 0.5)  # pixels per metre: 96 DPI times the scale
    info = struct.pack("<IiiHHIIiiII", 40, d.width, d.height, 1, 24, 0, len(data), pels, pels, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "driver/res"
    write(folder + "/info.bmp", 1.0)
    write(folder + "/info-144.bmp", 1.5)
