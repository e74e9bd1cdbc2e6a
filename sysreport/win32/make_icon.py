#!/usr/bin/env python3
"""Draws sysreport.ico (16, 32 and 48 pixels): a report page with a blue heading,
two text lines and a small bar chart. Run it again after changing the drawing."""
import struct

def draw(size):
    f = size / 48.0
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(max(0, round(y0 * f)), min(size, max(round(y0 * f) + 1, round(y1 * f)))):
            for x in range(max(0, round(x0 * f)), min(size, max(round(x0 * f) + 1, round(x1 * f)))):
                px[y][x] = colour

    border, paper = (122, 63, 31, 255), (255, 255, 255, 255)
    rect(7, 3, 41, 46, border)
    edge = 2 if size >= 32 else 1
    rect(7 + edge / f, 3 + edge / f, 41 - edge / f, 46 - edge / f, paper)
    rect(11, 8, 37, 14, (208, 111, 47, 255))  # heading (BGR)
    rect(11, 18, 37, 20, (74, 74, 74, 255))
    rect(11, 23, 31, 25, (74, 74, 74, 255))
    for x0, top in ((12, 37), (19, 32), (26, 28), (33, 34)):
        rect(x0, top, x0 + 5, 42, (79, 158, 46, 255))
    return px

def icon_image(size):
    px = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''.join(bytes(c for p in px[y] for c in p) for y in range(size - 1, -1, -1))
    mask_row = ((size + 31) // 32) * 4
    mask = b''
    for y in range(size - 1, -1, -1):
        bits = 0
        row = bytearray(mask_row)
        for x in range(size):
            if px[y][x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row)
    return header + rows + mask

def main():
    sizes = (16, 32, 48)
    images = [icon_image(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open('sysreport.ico', 'wb') as f:
        f.write(out + b''.join(images))

main()
