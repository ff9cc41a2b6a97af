#!/usr/bin/env python3
"""Draws the point icons that ship in data/icons: 22 x 22 pixels, 24-bit BMP, white
(ffffff) as the see-through colour. Run it again after changing a drawing:

    scripts/make_icons.py data/icons
"""
import math
import struct
import sys
from pathlib import Path

SIZE = 22
WHITE = (255, 255, 255)
BLACK = (20, 20, 20)
RED = (210, 30, 30)
BLUE = (30, 80, 200)
GREEN = (30, 150, 50)
YELLOW = (240, 190, 0)
BROWN = (130, 80, 30)
GREY = (110, 110, 110)
ORANGE = (240, 130, 20)


class Canvas:
    def __init__(self):
        self.pixels = [[WHITE] * SIZE for _ in range(SIZE)]

    def dot(self, x, y, colour):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, colour)

    def disc(self, cx, cy, r, colour, inner=-1.0):
        for y in range(SIZE):
            for x in range(SIZE):
                d = math.hypot(x - cx, y - cy)
                if inner < d <= r:
                    self.dot(x, y, colour)

    def polygon(self, points, colour):
        # Even-odd fill at pixel centres.
        for y in range(SIZE):
            for x in range(SIZE):
                px, py, inside = x + 0.5, y + 0.5, False
                for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                    if (ay > py) != (by > py) and px < ax + (py - ay) * (bx - ax) / (by - ay):
                        inside = not inside
                if inside:
                    self.dot(x, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.dot(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)


def flag(c):
    c.rect(4, 2, 5, 20, BLACK)
    c.polygon([(6, 2), (19, 6), (6, 11)], RED)
    c.rect(2, 19, 8, 20, BLACK)


def pos1(c):
    c.disc(10.5, 6, 4, BLUE)
    c.polygon([(4, 20), (6, 12), (15, 12), (17, 20)], BLUE)


def pos2(c):
    c.disc(10.5, 6, 4, GREEN)
    c.polygon([(4, 20), (6, 12), (15, 12), (17, 20)], GREEN)


def pin(c):
    c.disc(10.5, 7, 6, RED)
    c.polygon([(6, 10), (15, 10), (10.5, 21)], RED)
    c.disc(10.5, 7, 2, YELLOW)


def circle(c):
    c.disc(10.5, 10.5, 9, BLUE, inner=6)
    c.disc(10.5, 10.5, 2, BLUE)


def dot(c):
    c.disc(10.5, 10.5, 6, ORANGE)


def boat(c):
    c.polygon([(2, 14), (20, 14), (16, 19), (5, 19)], BROWN)
    c.rect(10, 2, 11, 14, BLACK)
    c.polygon([(12, 3), (19, 12), (12, 12)], BLUE)
    c.polygon([(9, 5), (9, 12), (4, 12)], BLUE)


def car(c):
    c.polygon([(5, 8), (16, 8), (19, 12), (2, 12)], RED)
    c.rect(1, 12, 20, 16, RED)
    c.rect(7, 9, 10, 11, GREY)
    c.rect(12, 9, 15, 11, GREY)
    c.disc(5.5, 17, 2.5, BLACK)
    c.disc(15.5, 17, 2.5, BLACK)


def tent(c):
    c.polygon([(1, 19), (10.5, 3), (20, 19)], GREEN)
    c.polygon([(8, 19), (10.5, 11), (13, 19)], BROWN)
    c.line(1, 20, 20, 20, BLACK)


def house(c):
    c.polygon([(1, 10), (10.5, 2), (20, 10)], RED)
    c.rect(4, 10, 17, 19, BROWN)
    c.rect(9, 13, 12, 19, YELLOW)


def star(c):
    points = []
    for i in range(10):
        r = 9.5 if i % 2 == 0 else 4
        a = math.pi / 2 + i * math.pi / 5
        points.append((11 + r * math.cos(a), 11 - r * math.sin(a)))
    c.polygon(points, YELLOW)


def cross(c):
    c.rect(9, 2, 12, 19, RED)
    c.rect(2, 9, 19, 12, RED)


def peak(c):
    c.polygon([(1, 19), (8, 6), (12, 12), (15, 8), (21, 19)], GREY)
    c.polygon([(6, 10), (8, 6), (10, 10)], (250, 250, 250))


ICONS = {
    "Flag": flag, "Pos1": pos1, "Pos2": pos2, "Pin": pin, "Circle": circle, "Dot": dot,
    "Boat": boat, "Car": car, "Tent": tent, "House": house, "Star": star, "Cross": cross,
    "Peak": peak,
}


def bmp(canvas):
    row_bytes = (SIZE * 3 + 3) // 4 * 4
    data = bytearray()
    for y in reversed(range(SIZE)):
        row = bytearray()
        for r, g, b in canvas.pixels[y]:
            row += bytes((b, g, r))
        data += row + bytes(row_bytes - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + bytes(data)


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else "data/icons")
    out.mkdir(parents=True, exist_ok=True)
    for name, draw in ICONS.items():
        canvas = Canvas()
        draw(canvas)
        (out / f"{name}.bmp").write_bytes(bmp(canvas))


if __name__ == "__main__":
    main()
