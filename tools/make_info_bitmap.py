#!/usr/bin/env python3
"""Draws bitmap 146 of the resource module (driver/res/info.bmp): a stylised
PDF page with a printer-blue band, 24-bit, 96 x 120 pixels. Run it again
after changing the drawing; the result is committed."""
import struct
import sys

W, H = 96, 120


def pixel(x, y):
    bg = (255, 255, 255)
    # page outline with a folded corner
    if 10 <= x < 86 and 6 <= y < 114:
        if x - 66 > y - 6 and x >= 66 and y < 26:
            return bg if x - 66 > y - 6 + 1 else (150, 150, 150)
        if x in (10, 85) or y in (6, 113):
            return (150, 150, 150)
        if 66 <= x <= 86 and y == 26 and x >= 66:
            return (150, 150, 150)
        # blue band with the product initial
        if 40 <= y < 64:
            if 28 <= x < 68 and (
                (28 <= x < 34) or (40 <= y < 45 and x < 60) or (49 <= y < 54 and x < 58) or (x >= 58 and y < 54 and x < 64 and y >= 43)
            ):
                return (255, 255, 255)
            return (33, 92, 168)
        # text lines
        if y in (74, 82, 90, 98) and 20 <= x < (76 if y != 98 else 56):
            return (190, 190, 190)
        return (250, 250, 250)
    return bg


def main(path):
    row = (W * 3 + 3) & ~3
    data = bytearray()
    for y in range(H - 1, -1, -1):
        line = bytearray()
        for x in range(W):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        line += b"\0" * (row - W * 3)
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 3780, 3780, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "driver/res/info.bmp")
