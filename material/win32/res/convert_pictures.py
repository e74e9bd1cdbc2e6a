#!/usr/bin/env python3
"""Converts the browser's pictures (8-bit RGBA PNG) into the 32-bit .bmp and .ico files the
Windows resource script includes. Run from this folder after changing a picture:
    python3 convert_pictures.py ../../ui/resources"""
import os
import struct
import sys
import zlib


def read_png(path):
    data = open(path, 'rb').read()
    pos, chunks = 8, []
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        chunks.append((kind, data[pos + 8:pos + 8 + length]))
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = struct.unpack('>IIBBBBB', chunks[0][1])
    if (depth, colour, interlace) != (8, 6, 0):
        raise SystemExit(f'{path}: only 8-bit RGBA, non-interlaced pictures are converted')
    raw = zlib.decompress(b''.join(body for kind, body in chunks if kind == b'IDAT'))
    stride, rows, prev = width * 4, [], bytearray(width * 4)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 4] if i >= 4 else 0
            b = prev[i]
            c = prev[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line))
        prev = line
    return width, height, rows


def bgra_bottom_up(rows):
    out = bytearray()
    for line in reversed(rows):
        for i in range(0, len(line), 4):
            r, g, b, a = line[i:i + 4]
            out += bytes((b, g, r, a))
    return bytes(out)


def write_bmp(path, width, height, rows):
    pixels = bgra_bottom_up(rows)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    open(path, 'wb').write(header + info + pixels)


def write_ico(path, width, height, rows):
    pixels = bgra_bottom_up(rows)
    mask = bytes(((width + 31) // 32) * 4 * height)
    info = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    image = info + pixels + mask
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack(
        '<BBBBHHII', width % 256, height % 256, 0, 0, 1, 32, len(image), 22)
    open(path, 'wb').write(directory + image)


ICONS = ['about', 'closedbook_icon', 'open', 'save', 'delete', 'help', 'drag']
BITMAPS = ['new', 'closedbook', 'openbook', 'leaf', 'leaf1'] + [str(n) for n in range(102, 113)]

if __name__ == '__main__':
    source = sys.argv[1] if len(sys.argv) > 1 else '../../ui/resources'
    for name in ICONS:
        write_ico(name + '.ico', *read_png(os.path.join(source, name + '.png')))
    for name in BITMAPS:
        write_bmp(name + '.bmp', *read_png(os.path.join(source, name + '.png')))
