#!/usr/bin/env python3
"""Draws the program's own images into resources/images (PNG, 8-bit RGBA).

The pictures are built from a few shapes, drawn four times larger and averaged down so that
their edges are smooth. Run it again after changing a picture and commit the PNG files; the
build takes them as they are (no Python needed to build).

    icon/128      the program: a front panel with its display, knob and antenna
    icon/301      "Memory Mode" on (a memory chip, lit)
    icon/302      "Memory Mode" as the mouse is over it, and off
    icon/303      "Memory Mode" on, the blink's other state (lit, dim)
    bitmap/150    a wide banner: the panel beside a wave
    bitmap/151    an antenna mast with its waves
    bitmap/152    a signal bar graph
"""
import math
import os
import struct
import sys
import zlib

SCALE = 4


class Canvas:
    def __init__(self, width, height):
        self.w = width
        self.h = height
        self.W = width * SCALE
        self.H = height * SCALE
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(self.W * self.H)]

    def _blend(self, x, y, colour):
        r, g, b, a = colour
        p = self.px[y * self.W + x]
        out_a = a + p[3] * (1 - a)
        if out_a <= 0:
            return
        for i, c in enumerate((r, g, b)):
            p[i] = (c * a + p[i] * p[3] * (1 - a)) / out_a
        p[3] = out_a

    def shape(self, inside, colour, box=None):
        """Paints every fine pixel whose centre (in picture units) satisfies inside(x, y)."""
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        for fy in range(max(0, int(y0 * SCALE)), min(self.H, int(math.ceil(y1 * SCALE)))):
            y = (fy + 0.5) / SCALE
            for fx in range(max(0, int(x0 * SCALE)), min(self.W, int(math.ceil(x1 * SCALE)))):
                x = (fx + 0.5) / SCALE
                if inside(x, y):
                    self._blend(fx, fy, colour)

    def rounded_rect(self, x0, y0, x1, y1, radius, colour):
        def inside(x, y):
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                return False
            cx = min(max(x, x0 + radius), x1 - radius)
            cy = min(max(y, y0 + radius), y1 - radius)
            return (x - cx) ** 2 + (y - cy) ** 2 <= radius**2

        self.shape(inside, colour, (x0, y0, x1, y1))

    def rect(self, x0, y0, x1, y1, colour):
        self.rounded_rect(x0, y0, x1, y1, 0, colour)

    def circle(self, cx, cy, radius, colour, inner=0.0):
        def inside(x, y):
            d = (x - cx) ** 2 + (y - cy) ** 2
            return inner**2 <= d <= radius**2

        self.shape(inside, colour, (cx - radius, cy - radius, cx + radius, cy + radius))

    def line(self, ax, ay, bx, by, width, colour):
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy or 1e-9

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
            px, py = ax + t * dx, ay + t * dy
            return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2

        pad = width
        self.shape(inside, colour,
                   (min(ax, bx) - pad, min(ay, by) - pad, max(ax, bx) + pad, max(ay, by) + pad))

    def arc(self, cx, cy, radius, width, start_deg, end_deg, colour):
        def inside(x, y):
            d = math.hypot(x - cx, y - cy)
            if abs(d - radius) > width / 2:
                return False
            angle = math.degrees(math.atan2(cy - y, x - cx)) % 360
            return start_deg <= angle <= end_deg

        self.shape(inside, colour, (cx - radius - width, cy - radius - width,
                                    cx + radius + width, cy + radius + width))

    def png(self):
        rows = []
        for y in range(self.h):
            row = bytearray([0])
            for x in range(self.w):
                acc = [0.0, 0.0, 0.0, 0.0]
                for sy in range(SCALE):
                    for sx in range(SCALE):
                        p = self.px[(y * SCALE + sy) * self.W + x * SCALE + sx]
                        acc[0] += p[0] * p[3]
                        acc[1] += p[1] * p[3]
                        acc[2] += p[2] * p[3]
                        acc[3] += p[3]
                a = acc[3] / (SCALE * SCALE)
                rgb = [c / acc[3] if acc[3] > 0 else 0 for c in acc[:3]]
                row += bytes(int(round(max(0.0, min(1.0, v)) * 255)) for v in rgb + [a])
            rows.append(bytes(row))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        header = struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def rgb(hex_text, alpha=1.0):
    v = int(hex_text, 16)
    return ((v >> 16 & 255) / 255, (v >> 8 & 255) / 255, (v & 255) / 255, alpha)


def panel(c, x, y, size):
    """The program's front panel at (x, y), size units wide, 0.8 size high."""
    s = size / 64
    c.line(x + 14 * s, y + 14 * s, x + 6 * s, y + 1 * s, 2.4 * s, rgb("b8c0cc"))
    c.circle(x + 6 * s, y + 1.8 * s, 2.2 * s, rgb("e0e4ea"))
    c.rounded_rect(x + 2 * s, y + 14 * s, x + 62 * s, y + 58 * s, 7 * s, rgb("1c2a44"))
    c.rounded_rect(x + 4 * s, y + 16 * s, x + 60 * s, y + 56 * s, 5.5 * s, rgb("2a3d60"))
    c.rounded_rect(x + 8 * s, y + 21 * s, x + 56 * s, y + 34 * s, 2.5 * s, rgb("0d1a10"))
    for i, h in enumerate((3, 6, 9, 7, 10, 5, 8)):
        left = x + (11 + i * 6.2) * s
        c.rect(left, y + (31 - h) * s, left + 4 * s, y + 31 * s, rgb("5ae65a"))
    c.circle(x + 44 * s, y + 45 * s, 8 * s, rgb("c8ced8"))
    c.circle(x + 44 * s, y + 45 * s, 6 * s, rgb("9aa3b0"))
    c.line(x + 44 * s, y + 45 * s, x + 47.5 * s, y + 40 * s, 1.8 * s, rgb("1c2a44"))
    for i in range(3):
        left = x + (10 + i * 8) * s
        c.rounded_rect(left, y + 41 * s, left + 6 * s, y + 49 * s, 1.5 * s,
                       rgb("ff4040") if i == 0 else rgb("5ae65a"))


def chip(c, lit, glow):
    """The memory chip of the "Memory Mode" button, 20 x 20."""
    body = rgb(glow) if lit else rgb("8c939e")
    for i in range(4):
        y = 4.5 + i * 3.4
        c.rect(1.5, y, 4.5, y + 1.6, rgb("c0c6ce"))
        c.rect(15.5, y, 18.5, y + 1.6, rgb("c0c6ce"))
    c.rounded_rect(4, 2.5, 16, 17.5, 1.8, rgb("2b313b"))
    c.rounded_rect(5.5, 4, 14.5, 16, 1.2, body)
    # An "M" across the chip.
    ink = rgb("2b313b")
    c.line(7.3, 13.5, 7.3, 6.5, 1.4, ink)
    c.line(7.3, 6.5, 10, 10.5, 1.4, ink)
    c.line(10, 10.5, 12.7, 6.5, 1.4, ink)
    c.line(12.7, 6.5, 12.7, 13.5, 1.4, ink)


def waves(c, cx, cy, radius_step, count, width, colour):
    for i in range(1, count + 1):
        c.arc(cx, cy, radius_step * i, width, 20, 160, colour)


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "images")
    pictures = {}

    c = Canvas(64, 64)
    panel(c, 0, 4, 64)
    pictures["icon/128.png"] = c

    for name, lit, glow in (("301", True, "ffb020"), ("302", False, ""), ("303", True, "8a4a10")):
        c = Canvas(20, 20)
        chip(c, lit, glow)
        pictures["icon/%s.png" % name] = c

    c = Canvas(160, 48)
    c.rounded_rect(0, 0, 160, 48, 6, rgb("101826"))
    panel(c, 6, 2, 50)
    for i in range(200):
        x0 = 62 + i * 0.46
        x1 = x0 + 0.46
        y0 = 24 + 12 * math.sin(x0 / 6.0) * math.exp(-(x0 - 62) / 120)
        y1 = 24 + 12 * math.sin(x1 / 6.0) * math.exp(-(x1 - 62) / 120)
        c.line(x0, y0, x1, y1, 2.2, rgb("5ae65a"))
    pictures["bitmap/150.png"] = c

    c = Canvas(32, 32)
    c.line(16, 30, 16, 10, 2.4, rgb("b8c0cc"))
    c.line(16, 30, 9, 30, 2.0, rgb("b8c0cc"))
    c.line(16, 30, 23, 30, 2.0, rgb("b8c0cc"))
    c.line(16, 22, 11, 30, 1.4, rgb("8a93a0"))
    c.line(16, 22, 21, 30, 1.4, rgb("8a93a0"))
    c.circle(16, 9, 2.2, rgb("ff4040"))
    waves(c, 16, 9, 4.5, 3, 1.5, rgb("5ae65a"))
    pictures["bitmap/151.png"] = c

    c = Canvas(32, 32)
    c.rounded_rect(0, 0, 32, 32, 4, rgb("0d1a10"))
    for i, h in enumerate((5, 9, 13, 17, 21, 24)):
        colour = rgb("5ae65a") if i < 3 else rgb("ffd020") if i < 5 else rgb("ff4040")
        c.rect(3 + i * 4.5, 28 - h, 6.5 + i * 4.5, 28, colour)
    pictures["bitmap/152.png"] = c

    for name, canvas in pictures.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(canvas.png())
        print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
