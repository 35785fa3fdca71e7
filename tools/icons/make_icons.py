#!/usr/bin/env python3
"""Draws the main program's icons: a letter (an envelope) inside a dark ring.

  make_icons.py OUTDIR

writes OUTDIR/kelvane.ico (the program and tray icon), OUTDIR/kelvane-disabled.ico
(the same with the ring in red, shown while processing is switched off) and
OUTDIR/kelvane-large.ico (the about area's picture).  Every image uses the 16
colours of the standard palette, so the icons look the same on every display.
"""
import math
import os
import struct
import sys

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, SILVER, GREY, RED, WHITE, YELLOW, MAROON = 0, 4, 7, 8, 9, 15, 11, 1
TRANSPARENT = None


def draw(size, ring, ring_shadow):
    """Returns size rows of palette indices (None = transparent), top row first."""
    pixels = [[TRANSPARENT] * size for _ in range(size)]
    centre = (size - 1) / 2.0
    outer = size / 2.0 - 0.25
    thickness = max(2.0, size / 7.0)
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - centre, y - centre)
            if d <= outer - thickness:
                pixels[y][x] = YELLOW if size >= 32 else SILVER
            elif d <= outer:
                # The lower right of the ring a shade darker, for depth.
                shadow = (x - centre) + (y - centre) > thickness
                pixels[y][x] = ring_shadow if shadow else ring
    # The letter: a white envelope with a black edge and its flap.
    width = max(8, int(round(size * 0.62)))
    height = max(6, int(round(size * 0.42)))
    if (size - width) % 2:
        width += 1
    left = (size - width) // 2
    top = (size - height) // 2 + (1 if size >= 32 else 0)
    right, bottom = left + width - 1, top + height - 1
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            edge = y in (top, bottom) or x in (left, right)
            pixels[y][x] = BLACK if edge else WHITE
    # The flap: two lines from the upper corners meeting below the middle.
    tip_y = top + (height * 3) // 5
    half = (width - 1) / 2.0
    for x in range(left + 1, right):
        t = abs(x - (left + half)) / half  # 1 at the sides, 0 in the middle
        y = int(round(tip_y - t * (tip_y - top)))
        if top < y < bottom:
            pixels[y][x] = GREY if size < 32 else BLACK
    return pixels


def image_data(pixels):
    size = len(pixels)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, (xor_stride + and_stride) * size, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, p in enumerate(row):
            index = 0 if p is TRANSPARENT else p
            if x % 2 == 0:
                line[x // 2] |= index << 4
            else:
                line[x // 2] |= index
            if p is TRANSPARENT:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        mask += bits
    return header + palette + bytes(xor) + bytes(mask)


def write_icon(path, images):
    count = len(images)
    offset = 6 + 16 * count
    directory = struct.pack('<HHH', 0, 1, count)
    blobs = []
    for pixels in images:
        data = image_data(pixels)
        size = len(pixels)
        directory += struct.pack('<BBBBHHII', size % 256, size % 256, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
        blobs.append(data)
    with open(path, 'wb') as f:
        f.write(directory + b''.join(blobs))


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: make_icons.py OUTDIR')
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_icon(os.path.join(out, 'kelvane.ico'), [draw(16, NAVY, BLACK), draw(32, NAVY, BLACK)])
    write_icon(os.path.join(out, 'kelvane-disabled.ico'), [draw(16, RED, MAROON), draw(32, RED, MAROON)])
    write_icon(os.path.join(out, 'kelvane-large.ico'), [draw(32, NAVY, BLACK), draw(48, NAVY, BLACK)])


if __name__ == '__main__':
    main()
