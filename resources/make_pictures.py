#!/usr/bin/env python3
"""Draws TALVOR's program icon and tool-button glyphs and writes every file
the two builds take them from.

The pictures live below as character grids, one character per pixel, in the
standard 16-colour Windows palette; '.' is transparent. From them come:

  talvor.ico          32x32, 4 bits per pixel with a 1-bit AND mask (Win32)
  talvor-32.png       the same pixels with real transparency (Qt, desktop)
  talvor-256.png      nearest-neighbour 8x scale of the 32x32 (desktop)
  talvor.svg          the 32x32 grid as rectangles (desktop, scalable)
  glyph_*.bmp         17x16 tool-button glyphs, 4 bits per pixel, bottom-up;
                      the bottom-left pixel holds the transparent colour
  glyph_*.png         the same glyphs with real transparency (Qt)

Only the standard library is used and every byte is fixed, so running the
script twice gives identical files. Run it from anywhere:

  python3 make_pictures.py            write the files beside this script
  python3 make_pictures.py --check    exit 1 if a written file is stale
  python3 make_pictures.py --preview DIR
                                      also write 8x enlargements on a grey
                                      checkerboard into DIR, for looking at
"""

import os
import struct
import sys
import zlib

# The standard 16-colour Windows palette, in its usual index order.
PALETTE = [
    (0x00, 0x00, 0x00),  # 0  black
    (0x80, 0x00, 0x00),  # 1  maroon
    (0x00, 0x80, 0x00),  # 2  green
    (0x80, 0x80, 0x00),  # 3  olive
    (0x00, 0x00, 0x80),  # 4  navy
    (0x80, 0x00, 0x80),  # 5  purple
    (0x00, 0x80, 0x80),  # 6  teal
    (0xC0, 0xC0, 0xC0),  # 7  silver
    (0x80, 0x80, 0x80),  # 8  grey
    (0xFF, 0x00, 0x00),  # 9  red
    (0x00, 0xFF, 0x00),  # 10 lime
    (0xFF, 0xFF, 0x00),  # 11 yellow
    (0x00, 0x00, 0xFF),  # 12 blue
    (0xFF, 0x00, 0xFF),  # 13 fuchsia
    (0x00, 0xFF, 0xFF),  # 14 aqua
    (0xFF, 0xFF, 0xFF),  # 15 white
]

# Grid character -> palette index.
INK = {
    "K": 0, "r": 1, "g": 2, "o": 3, "n": 4, "p": 5, "t": 6, "s": 7,
    "d": 8, "R": 9, "G": 10, "Y": 11, "B": 12, "M": 13, "C": 14, "W": 15,
}
CLEAR = "."

# Glyphs are drawn with their background in this colour, which none of them
# uses otherwise; the bottom-left pixel tells the button which colour to drop.
GLYPH_KEY = INK["o"]

# The program icon: a stopwatch with a plus sign, for adding up durations.
ICON = """

..........KKKKKKKKK.............
..........KWWsssssK.............
..........KKKKKKKKK.....KK......
............KdddK......KWsK.....
............KdddK.....KWsK......
..........KKKKKKKKK..KWsK.......
........KKBBBBBBBBBKKddK........
......KKBBBBBBBBBBBBBKKK........
.....KBBBBnnnnnnnnnBBBBK........
....KBBBnnWWWWKYYYYnnBBBK.......
....KBBnWWWWWWKYYYYYYnBBK.......
...KBBnWWWdWWWKYYYdYRWnBBK......
...KBBnWWWWWWWKYYYYRWWnBBK......
..KBBnWWdWWWWWKYYYRWdWWnBBK.....
..KBBnWWWWWWWWKYYRWWWWWnBBK.....
..KBBnWWWWWWWWKYRWWWWWWnBBK.....
..KBBnWWWWWWWKKKWWWWWWWnBBK.....
..KBBnKKWWWWWKRKWWWWWKKnBBK.....
..KBBnWWWWWWWKKKWWWWWWWnBBK.....
..KBBnWWWWWWWWWWWWWWWWWKKKKK....
..KBBnWWWWWWWWWWWWWWWWWKGGgK....
..KBBnWWdWWWWWWWWWWWdWWKGGgK....
...KBBnWWWWWWWWWWWWWWWnKGGgK....
...KBBnWWWdWWWWWWWdKKKKKGGgKKKKK
....KBBnWWWWWWKWWWWKGGGGGGGGGGgK
....KBBBnnWWWWKWWWWKGGGGGGGGGGgK
.....KBBBBnnnnnnnnnKggggGGGggggK
......KKBBBBBBBBBBBKKKKKGGgKKKKK
........KKBBBBBBBBBKK..KGGgK....
..........KKKKKKKKK....KGGgK....
.......................KgggK....
.......................KKKKK....
"""

# Clear: a blank sheet of paper with a folded corner.
GLYPH_CLEAR = """
.................
...KKKKKKK.......
...KWWWWWKK......
...KWWWWWKsK.....
...KWWWWWKssK....
...KWWWWWKKKKK...
...KWWWWWWWWWKd..
...KWWWWWWWWWKd..
...KWWWWWWWWWKd..
...KWWWWWWWWWKd..
...KWWWWWWWWWKd..
...KWWWWWWWWWKd..
...KWWWWWWWWWKd..
...KWWWWWWWWWKd..
...KKKKKKKKKKKd..
....dddddddddddd.
"""

# Split: a compact disc.
GLYPH_SPLIT = """
.................
......ddddd......
....ddWCCssdd....
...dWWWWCssssd...
..dWWWWWCsssssd..
..dWWWWsssssssd..
.dWWWWsdddsssssd.
.dYWWsd...dsMMMd.
.dYYYsd...dsYYYd.
.dMMMsd...dsWWYd.
.dsssssdddsWWWWd.
..dsssssssWWWWd..
..dsssssCWWWWWd..
...dssssCWWWWd...
....ddssCCWdd....
......ddddd......
"""

# About: a dark blue question mark.
GLYPH_ABOUT = """
.................
.................
......nnnnn......
.....nnnnnnn.....
....nnndddnnn....
....nnnd..nnnd...
.....ddd..nnnd...
.........nnndd...
........nnndd....
.......nnndd.....
.......nnnd......
........ddd......
.......nnn.......
.......nnnd......
........ddd......
.................
"""


def parse(art, width, height):
    """The grid as rows of palette indexes, None where transparent."""
    rows = art.strip("\n").split("\n")
    if len(rows) != height or any(len(r) != width for r in rows):
        raise ValueError("grid is not %dx%d" % (width, height))
    return [[None if c == CLEAR else INK[c] for c in r] for r in rows]


def rgba_rows(grid, scale=1):
    out = []
    for row in grid:
        line = bytearray()
        for index in row:
            pixel = bytes((0, 0, 0, 0)) if index is None else bytes(PALETTE[index]) + b"\xff"
            line += pixel * scale
        out.extend([bytes(line)] * scale)
    return out


def png(rows):
    """An 8-bit RGBA PNG with no ancillary chunks, so the bytes never vary."""
    width, height = len(rows[0]) // 4, len(rows)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    raw = b"".join(b"\x00" + r for r in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def palette_bytes():
    return b"".join(bytes((b, g, r, 0)) for (r, g, b) in PALETTE)


def pack4(indexes):
    """4-bit pixels, high nibble first, padded to a multiple of 4 bytes."""
    if len(indexes) % 2:
        indexes = indexes + [0]
    data = bytes((indexes[i] << 4) | indexes[i + 1] for i in range(0, len(indexes), 2))
    return data + b"\x00" * (-len(data) % 4)


def info_header(width, height, bits, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 0, 0, 16, 0)


def glyph_bmp(grid):
    height, width = len(grid), len(grid[0])
    if grid[-1][0] is not None:
        raise ValueError("a glyph's bottom-left pixel must be transparent")
    pixels = b"".join(pack4([GLYPH_KEY if i is None else i for i in row])
                      for row in reversed(grid))
    header = info_header(width, height, 4, len(pixels)) + palette_bytes()
    offset = 14 + len(header)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + header + pixels


def icon_ico(grid):
    height, width = len(grid), len(grid[0])
    xor = b"".join(pack4([0 if i is None else i for i in row]) for row in reversed(grid))
    mask = b""
    for row in reversed(grid):
        bits = bytearray((width + 31) // 32 * 4)
        for x, index in enumerate(row):
            if index is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    # The icon's header counts the XOR and AND bitmaps as one of twice the height.
    image = info_header(width, height * 2, 4, len(xor) + len(mask)) + palette_bytes() + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width, height, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def icon_svg(grid):
    """One rectangle per horizontal run of a colour; crisp at any size."""
    height, width = len(grid), len(grid[0])
    lines = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
        'viewBox="0 0 %d %d" shape-rendering="crispEdges">' % (width, height, width, height),
        "<title>TALVOR</title>",
    ]
    for index in sorted({i for row in grid for i in row if i is not None}):
        colour = "#%02x%02x%02x" % PALETTE[index]
        lines.append('<g fill="%s">' % colour)
        for y, row in enumerate(grid):
            x = 0
            while x < width:
                if row[x] != index:
                    x += 1
                    continue
                start = x
                while x < width and row[x] == index:
                    x += 1
                lines.append('<rect x="%d" y="%d" width="%d" height="1"/>' % (start, y, x - start))
        lines.append("</g>")
    lines.append("</svg>")
    return ("\n".join(lines) + "\n").encode("ascii")


def preview(grid, scale=8, cell=4):
    """An enlargement on a checkerboard, so transparency shows."""
    rows = []
    for y, row in enumerate(grid):
        for sy in range(scale):
            line = bytearray()
            for x, index in enumerate(row):
                for sx in range(scale):
                    if index is None:
                        dark = ((x * scale + sx) // cell + (y * scale + sy) // cell) % 2
                        line += bytes((0x99, 0x99, 0x99, 255) if dark else (0xDD, 0xDD, 0xDD, 255))
                    else:
                        line += bytes(PALETTE[index]) + b"\xff"
            rows.append(bytes(line))
    return png(rows)


def outputs():
    icon = parse(ICON, 32, 32)
    files = {
        "talvor.ico": icon_ico(icon),
        "talvor-32.png": png(rgba_rows(icon)),
        "talvor-256.png": png(rgba_rows(icon, 8)),
        "talvor.svg": icon_svg(icon),
    }
    glyphs = {"clear": GLYPH_CLEAR, "split": GLYPH_SPLIT, "about": GLYPH_ABOUT}
    grids = {"talvor": icon}
    for name, art in glyphs.items():
        grid = parse(art, 17, 16)
        grids["glyph_" + name] = grid
        files["glyph_%s.bmp" % name] = glyph_bmp(grid)
        files["glyph_%s.png" % name] = png(rgba_rows(grid))
    return files, grids


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    files, grids = outputs()
    if len(argv) == 2 and argv[1] == "--check":
        stale = []
        for name, data in files.items():
            try:
                with open(os.path.join(here, name), "rb") as f:
                    if f.read() != data:
                        stale.append(name)
            except OSError:
                stale.append(name)
        for name in stale:
            print("%s is not what make_pictures.py draws; run it again" % name, file=sys.stderr)
        return 1 if stale else 0
    if len(argv) not in (1, 3) or (len(argv) == 3 and argv[1] != "--preview"):
        print("usage: make_pictures.py [--check | --preview DIR]", file=sys.stderr)
        return 2
    for name, data in files.items():
        with open(os.path.join(here, name), "wb") as f:
            f.write(data)
    if len(argv) == 3:
        os.makedirs(argv[2], exist_ok=True)
        for name, grid in grids.items():
            with open(os.path.join(argv[2], name + "-preview.png"), "wb") as f:
                f.write(preview(grid, 16 if len(grid) < 32 else 8))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
