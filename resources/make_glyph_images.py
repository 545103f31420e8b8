#!/usr/bin/env python3
"""Draws the two glyph atlas images of the program and writes them as PNG files.

text_glyphs.png  (155 x 18): the 5 x 6 text font. Atlas row 0 holds A..Z, row 1 the digits and
                 punctuation (see PUNCTUATION); row 2 is unused. Ink 215 and paper 53, grey.
digit_glyphs.png (99 x 13):  ten 9 x 13 digits with two-pixel strokes, light azure on black.

Run from anywhere: python3 resources/make_glyph_images.py
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

INK = 215
PAPER = 53

# 4 x 5 glyphs (rows 0..4 of the 5 x 6 cell; the comma reaches into row 5).
LETTERS = {
    'A': [".##.", "#..#", "####", "#..#", "#..#"],
    'B': ["###.", "#..#", "###.", "#..#", "###."],
    'C': [".###", "#...", "#...", "#...", ".###"],
    'D': ["###.", "#..#", "#..#", "#..#", "###."],
    'E': ["####", "#...", "###.", "#...", "####"],
    'F': ["####", "#...", "###.", "#...", "#..."],
    'G': [".###", "#...", "#.##", "#..#", ".###"],
    'H': ["#..#", "#..#", "####", "#..#", "#..#"],
    'I': ["###.", ".#..", ".#..", ".#..", "###."],
    'J': ["..##", "...#", "...#", "#..#", ".##."],
    'K': ["#..#", "#.#.", "##..", "#.#.", "#..#"],
    'L': ["#...", "#...", "#...", "#...", "####"],
    'M': ["#..#", "####", "####", "#..#", "#..#"],
    'N': ["#..#", "##.#", "#.##", "#..#", "#..#"],
    'O': [".##.", "#..#", "#..#", "#..#", ".##."],
    'P': ["###.", "#..#", "###.", "#...", "#..."],
    'Q': [".##.", "#..#", "#..#", "#.#.", ".#.#"],
    'R': ["###.", "#..#", "###.", "#.#.", "#..#"],
    'S': [".###", "#...", ".##.", "...#", "###."],
    'T': ["###.", ".#..", ".#..", ".#..", ".#.."],
    'U': ["#..#", "#..#", "#..#", "#..#", ".##."],
    'V': ["#..#", "#..#", "#..#", ".##.", ".##."],
    'W': ["#..#", "#..#", "####", "####", "#..#"],
    'X': ["#..#", "#..#", ".##.", "#..#", "#..#"],
    'Y': ["#.#.", "#.#.", ".#..", ".#..", ".#.."],
    'Z': ["####", "...#", ".##.", "#...", "####"],
}

DIGITS = [
    ["####", "#..#", "#..#", "#..#", "####"],
    [".#..", "##..", ".#..", ".#..", "###."],
    ["###.", "...#", ".##.", "#...", "####"],
    ["###.", "...#", ".##.", "...#", "###."],
    ["#..#", "#..#", "####", "...#", "...#"],
    ["####", "#...", "###.", "...#", "###."],
    [".##.", "#...", "###.", "#..#", ".##."],
    ["####", "...#", "..#.", ".#..", ".#.."],
    [".##.", "#..#", ".##.", "#..#", ".##."],
    [".##.", "#..#", ".###", "...#", ".##."],
]

# Punctuation of atlas row 1: character, atlas column, glyph (up to 6 rows).
PUNCTUATION = [
    ('.', 55, ["....", "....", "....", "....", ".#.."]),
    (':', 60, ["....", ".#..", "....", ".#..", "...."]),
    ('<', 65, ["..#.", ".#..", "#...", ".#..", "..#."]),
    ('>', 70, ["#...", ".#..", "..#.", ".#..", "#..."]),
    ('-', 75, ["....", "....", "###.", "....", "...."]),
    ("'", 80, [".#..", ".#..", "....", "....", "...."]),
    ('/', 105, ["...#", "..#.", "..#.", ".#..", "#..."]),
    (',', 135, ["....", "....", "....", "....", ".#..", "#..."]),
]


def write_png(path, width, height, rows):
    """rows: list of height lists of (r, g, b) tuples; writes an 8-bit RGB PNG."""
    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
           chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


def text_atlas():
    width, height = 155, 18
    level = [[PAPER] * width for _ in range(height)]

    def put(glyph, x, top):
        for dy, line in enumerate(glyph):
            for dx, ch in enumerate(line):
                if ch == '#':
                    level[top + dy][x + dx] = INK

    for ch, glyph in LETTERS.items():
        put(glyph, 5 * (ord(ch) - ord('A')), 0)
    for d, glyph in enumerate(DIGITS):
        put(glyph, 5 * d, 6)
    for _, x, glyph in PUNCTUATION:
        put(glyph, x, 6)
    return width, height, [[(v, v, v) for v in row] for row in level]


# 7 x 11 digits with two-pixel strokes, placed at column 1, row 1 of each 9 x 13 cell.
BIG_DIGITS = [
    ["..###..", ".##.##.", "##...##", "##...##", "##...##", "##...##", "##...##", "##...##",
     "##...##", ".##.##.", "..###.."],
    ["...##..", "..###..", ".####..", "...##..", "...##..", "...##..", "...##..", "...##..",
     "...##..", "...##..", ".######"],
    [".#####.", "##...##", ".....##", ".....##", "....##.", "...##..", "..##...", ".##....",
     "##.....", "##.....", "#######"],
    [".#####.", "##...##", ".....##", ".....##", "..####.", ".....##", ".....##", ".....##",
     ".....##", "##...##", ".#####."],
    ["....##.", "...###.", "..####.", ".##.##.", "##..##.", "##..##.", "#######", "....##.",
     "....##.", "....##.", "....##."],
    ["#######", "##.....", "##.....", "######.", ".....##", ".....##", ".....##", ".....##",
     ".....##", "##...##", ".#####."],
    ["..####.", ".##....", "##.....", "##.....", "######.", "##...##", "##...##", "##...##",
     "##...##", "##...##", ".#####."],
    ["#######", ".....##", ".....##", "....##.", "....##.", "...##..", "...##..", "..##...",
     "..##...", "..##...", "..##..."],
    [".#####.", "##...##", "##...##", "##...##", ".#####.", "##...##", "##...##", "##...##",
     "##...##", "##...##", ".#####."],
    [".#####.", "##...##", "##...##", "##...##", "##...##", ".######", ".....##", ".....##",
     ".....##", "....##.", ".####.."],
]


def digit_coverage(glyph):
    """Ink 1, paper 0, and 0.35 for paper pixels in an inner corner of a stroke (a soft edge)."""
    h, w = len(glyph), len(glyph[0])
    ink = lambda y, x: 0 <= y < h and 0 <= x < w and glyph[y][x] == '#'
    cover = [[1.0 if ink(y, x) else 0.0 for x in range(w)] for y in range(h)]
    for y in range(h):
        for x in range(w):
            if ink(y, x):
                continue
            for dy in (-1, 1):
                for dx in (-1, 1):
                    if ink(y + dy, x) and ink(y, x + dx) and ink(y + dy, x + dx):
                        cover[y][x] = 0.35
    return cover


def digit_atlas():
    width, height, cell = 99, 13, 9
    rows = [[(0, 0, 0)] * width for _ in range(height)]
    for d, glyph in enumerate(BIG_DIGITS):
        cover = digit_coverage(glyph)
        for gy, line in enumerate(cover):
            for gx, c in enumerate(line):
                y, x = gy + 1, cell * d + gx + 1
                # Light azure, a touch brighter toward the top of the digit.
                lift = 1.0 - 0.15 * y / (height - 1)
                rows[y][x] = (round(120 * c * lift), round(205 * c * lift), round(255 * c * lift))
    return width, height, rows


if __name__ == "__main__":
    write_png(os.path.join(HERE, "text_glyphs.png"), *text_atlas())
    write_png(os.path.join(HERE, "digit_glyphs.png"), *digit_atlas())
