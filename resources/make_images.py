#!/usr/bin/env python3
"""Draws the program's pictures into resources/images/.

    logo.png    175 x 64   maker's logo on the start window's logo button (on white)
    module.png  250 x 250  drawing of the RM425T module, on the pages' background colour
    hand.png     32 x 32   pointing-hand mouse cursor, transparent, hotspot at the fingertip (6, 1)

and the program's icon for the desktop's menus, in the sizes of the icon theme:

    ../icons/hicolor/NxN/apps/rm425t.png   N = 16, 24, 32, 48, 64, 128, 256

Only the Python standard library is used: a small anti-aliased polygon filler (non-zero winding, exact
horizontal coverage, vertical supersampling), a stroke font for the few letters the pictures need, and a
PNG writer on top of zlib.

Run from anywhere:  python3 resources/make_images.py
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "images")

# ---------------------------------------------------------------------------------------------------------
# PNG output


def write_png(path, width, height, pixels):
    """pixels: rows of (r, g, b, a) tuples with 0..255 integers."""
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # filter type None
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


# ---------------------------------------------------------------------------------------------------------
# Anti-aliased filling

SUBROWS = 6  # vertical samples per pixel row; horizontal coverage is computed exactly


class Canvas:
    def __init__(self, width, height, background=(255, 255, 255, 255)):
        self.w = width
        self.h = height
        r, g, b, a = background
        self.px = [[[r / 255.0, g / 255.0, b / 255.0, a / 255.0] for _ in range(width)] for _ in range(height)]

    # -- coverage of a set of contours (non-zero winding rule) ------------------------------------------
    def coverage(self, contours):
        edges = []
        for c in contours:
            n = len(c)
            for i in range(n):
                x0, y0 = c[i]
                x1, y1 = c[(i + 1) % n]
                if y0 == y1:
                    continue
                d = 1 if y1 > y0 else -1
                if y0 > y1:
                    x0, y0, x1, y1 = x1, y1, x0, y0
                edges.append((y0, y1, x0, (x1 - x0) / (y1 - y0), d))
        if not edges:
            return {}
        top = max(0, int(math.floor(min(e[0] for e in edges))))
        bottom = min(self.h, int(math.ceil(max(e[1] for e in edges))))
        rows = {}
        for py in range(top, bottom):
            live = [e for e in edges if e[0] < py + 1 and e[1] > py]
            if not live:
                continue
            acc = {}
            weight = 1.0 / SUBROWS
            for s in range(SUBROWS):
                sy = py + (s + 0.5) / SUBROWS
                xs = sorted((x0 + (sy - y0) * k, d) for (y0, y1, x0, k, d) in live if y0 <= sy < y1)
                wind = 0
                start = 0.0
                for x, d in xs:
                    before = wind
                    wind += d
                    if before == 0 and wind != 0:
                        start = x
                    elif before != 0 and wind == 0:
                        self._span(acc, start, x, weight)
            if acc:
                rows[py] = acc
        return rows

    def _span(self, acc, a, b, weight):
        a = max(0.0, a)
        b = min(float(self.w), b)
        if b <= a:
            return
        ia = int(a)
        ib = int(b)
        if ia == ib:
            acc[ia] = acc.get(ia, 0.0) + (b - a) * weight
            return
        acc[ia] = acc.get(ia, 0.0) + (ia + 1 - a) * weight
        for i in range(ia + 1, ib):
            acc[i] = acc.get(i, 0.0) + weight
        if ib < self.w and b > ib:
            acc[ib] = acc.get(ib, 0.0) + (b - ib) * weight

    # -- painting ----------------------------------------------------------------------------------------
    def fill(self, contours, color, alpha=1.0):
        """color: (r, g, b) or a function (x, y) -> (r, g, b) evaluated at pixel centres."""
        for py, acc in self.coverage(contours).items():
            for px, cov in acc.items():
                if cov <= 0.0:
                    continue
                c = color(px + 0.5, py + 0.5) if callable(color) else color
                self.blend(px, py, c, min(1.0, cov) * alpha)

    def blend(self, x, y, color, a):
        if not (0 <= x < self.w and 0 <= y < self.h) or a <= 0.0:
            return
        dst = self.px[y][x]
        sr, sg, sb = (v / 255.0 for v in color)
        da = dst[3]
        oa = a + da * (1.0 - a)
        if oa <= 0.0:
            return
        dst[0] = (sr * a + dst[0] * da * (1.0 - a)) / oa
        dst[1] = (sg * a + dst[1] * da * (1.0 - a)) / oa
        dst[2] = (sb * a + dst[2] * da * (1.0 - a)) / oa
        dst[3] = oa

    def rows(self):
        return [[tuple(int(round(max(0.0, min(1.0, v)) * 255)) for v in p) for p in row] for row in self.px]

    def save(self, path):
        write_png(path, self.w, self.h, self.rows())


# ---------------------------------------------------------------------------------------------------------
# Shapes (contours are lists of (x, y); all solid contours are made counter-clockwise on screen so that
# overlapping parts of one fill join up under the non-zero rule; holes run the other way)


def area(c):
    return 0.5 * sum(c[i][0] * c[(i + 1) % len(c)][1] - c[(i + 1) % len(c)][0] * c[i][1] for i in range(len(c)))


def solid(c):
    return c if area(c) > 0 else c[::-1]


def hole(c):
    return c if area(c) < 0 else c[::-1]


def rect(x, y, w, h):
    return solid([(x, y), (x + w, y), (x + w, y + h), (x, y + h)])


def rounded_rect(x, y, w, h, r, steps=8):
    r = min(r, w / 2.0, h / 2.0)
    pts = []
    for cx, cy, a0 in ((x + w - r, y + r, -90), (x + w - r, y + h - r, 0), (x + r, y + h - r, 90), (x + r, y + r, 180)):
        for i in range(steps + 1):
            t = math.radians(a0 + 90.0 * i / steps)
            pts.append((cx + r * math.cos(t), cy + r * math.sin(t)))
    return solid(pts)


def ellipse(cx, cy, rx, ry, n=48):
    return solid([(cx + rx * math.cos(2 * math.pi * i / n), cy + ry * math.sin(2 * math.pi * i / n)) for i in range(n)])


def circle(cx, cy, r, n=None):
    if n is None:
        n = max(12, min(72, int(r * 6)))
    return ellipse(cx, cy, r, r, n)


def polygon(pts):
    return solid(list(pts))


def arc_points(cx, cy, rx, ry, t0, t1, step=8.0):
    """Points of an elliptic arc; angles in degrees, 0 = right, 90 = up (screen y grows downwards)."""
    n = max(2, int(abs(t1 - t0) / step) + 1)
    return [(cx + rx * math.cos(math.radians(t0 + (t1 - t0) * i / n)), cy - ry * math.sin(math.radians(t0 + (t1 - t0) * i / n)))
            for i in range(n + 1)]


def stroke(points, width, cap="round"):
    """Contours of a polyline of the given width with round joins (and round or butt caps)."""
    r = width / 2.0
    out = []
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy)
        if length == 0:
            continue
        nx, ny = -dy / length * r, dx / length * r
        out.append(solid([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)]))
    joints = points[1:-1] if cap != "round" else points
    for x, y in joints:
        out.append(circle(x, y, r, 16))
    return out


def translate(contours, dx, dy):
    return [[(x + dx, y + dy) for x, y in c] for c in contours]


def shade(top_color, bottom_color, y0, y1):
    """Vertical gradient between two colours."""
    def f(_x, y):
        t = max(0.0, min(1.0, (y - y0) / float(y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top_color, bottom_color))
    return f


# ---------------------------------------------------------------------------------------------------------
# Stroke font: capital letters and digits on a grid 10 units high (y down, 0 = cap line, 10 = base line)


def _glyphs():
    g = {}
    g["A"] = (6.6, [[(0, 10), (3.3, 0), (6.6, 10)], [(1.2, 6.6), (5.4, 6.6)]])
    g["C"] = (6.2, [arc_points(3.6, 5, 3.6, 5, 48, 312)])
    g["D"] = (6.4, [[(0, 0), (0, 10), (2.6, 10)] + arc_points(2.6, 5, 3.8, 5, -90, 90) + [(0, 0)]])
    g["E"] = (5.4, [[(5.4, 0), (0, 0), (0, 10), (5.4, 10)], [(0, 5), (4.6, 5)]])
    g["G"] = (6.8, [arc_points(3.6, 5, 3.6, 5, 45, 360) + [(7.2, 5), (4.0, 5)]])
    g["I"] = (0.0, [[(0, 0), (0, 10)]])
    g["L"] = (5.0, [[(0, 0), (0, 10), (5.0, 10)]])
    g["M"] = (7.6, [[(0, 10), (0, 0), (3.8, 7.6), (7.6, 0), (7.6, 10)]])
    g["N"] = (6.2, [[(0, 10), (0, 0), (6.2, 10), (6.2, 0)]])
    g["O"] = (7.0, [arc_points(3.5, 5, 3.5, 5, 0, 360)])
    g["P"] = (5.8, [[(0, 10), (0, 0), (3.0, 0)] + arc_points(3.0, 2.75, 2.8, 2.75, 90, -90) + [(0, 5.5)]])
    g["R"] = (6.0, [[(0, 10), (0, 0), (3.0, 0)] + arc_points(3.0, 2.75, 2.8, 2.75, 90, -90) + [(0, 5.5)],
                    [(2.8, 5.5), (6.0, 10)]])
    g["S"] = (6.0, [arc_points(3.0, 2.6, 2.9, 2.6, 30, 270) + arc_points(3.0, 7.4, 3.0, 2.6, 90, -150)])
    g["T"] = (6.4, [[(0, 0), (6.4, 0)], [(3.2, 0), (3.2, 10)]])
    g["U"] = (6.2, [[(0, 0)] + arc_points(3.1, 6.9, 3.1, 3.1, 180, 360) + [(6.2, 0)]])
    g["W"] = (9.4, [[(0, 0), (2.2, 10), (4.7, 1.8), (7.2, 10), (9.4, 0)]])
    g["X"] = (6.2, [[(0, 0), (6.2, 10)], [(6.2, 0), (0, 10)]])
    g["0"] = (6.0, [arc_points(3.0, 5, 3.0, 5, 0, 360)])
    g["1"] = (3.4, [[(0.2, 2.2), (3.0, 0), (3.0, 10)]])
    g["2"] = (6.0, [arc_points(3.0, 3.0, 3.0, 3.0, 160, -38) + [(0, 10), (6.2, 10)]])
    g["4"] = (6.6, [[(4.9, 10), (4.9, 0), (0, 7.0), (6.6, 7.0)]])
    g["5"] = (6.0, [[(5.6, 0), (0.8, 0), (0.4, 4.6)] + arc_points(2.9, 6.7, 3.1, 3.3, 135, -140)])
    g["+"] = (5.0, [[(0, 5), (5, 5)], [(2.5, 2.5), (2.5, 7.5)]])
    g["-"] = (4.0, [[(0, 5), (4, 5)]])
    g[" "] = (3.0, [])
    return g


GLYPHS = _glyphs()


def text_width(text, size, spacing=2.2):
    """Width in pixels of the glyph skeletons (without stroke width)."""
    s = size / 10.0
    widths = [GLYPHS[ch][0] for ch in text]
    return (sum(widths) + spacing * (len(text) - 1)) * s


def text_contours(text, x, y, size, weight, spacing=2.2, slant=0.0):
    """Contours of text whose cap line is at y and whose first skeleton starts at x; size = cap height."""
    s = size / 10.0
    out = []
    pen = x
    for ch in text:
        width, strokes = GLYPHS[ch]
        for st in strokes:
            pts = [(pen + (px + slant * (10 - py)) * s, y + py * s) for px, py in st]
            out += stroke(pts, weight)
        pen += (width + spacing) * s
    return out


# ---------------------------------------------------------------------------------------------------------
# Colours of the program

NAVY = (0, 0, 128)
BLUE = (64, 64, 224)
LIGHT_BLUE = (128, 128, 255)
PAGE_BG = (192, 192, 255)
WHITE = (255, 255, 255)


# ---------------------------------------------------------------------------------------------------------
# logo.png: signal mark and the model name


def signal_mark(cv, cx, cy, scale):
    """A mast with a radio node on top, and radio waves on both sides."""
    # waves: three arcs on each side, fading outwards
    for i, (radius, col) in enumerate(((9.0, BLUE), (15.5, (96, 96, 236)), (22.0, LIGHT_BLUE))):
        w = (3.2 - 0.3 * i) * scale
        r = radius * scale
        cv.fill(stroke(arc_points(cx, cy, r, r, 140, 220, 5), w), col)
        cv.fill(stroke(arc_points(cx, cy, r, r, -40, 40, 5), w), col)
    # mast: a slim tower from the node down to the base
    base_y = cy + 30 * scale
    top_y = cy + 4 * scale
    half = 7.5 * scale
    legs = [(cx - half, base_y), (cx, top_y), (cx + half, base_y)]
    cv.fill(stroke(legs, 2.6 * scale), NAVY)
    for t in (0.45, 0.75):
        y = top_y + (base_y - top_y) * t
        dx = half * t
        cv.fill(stroke([(cx - dx, y), (cx + dx, y)], 1.8 * scale), NAVY)
    cv.fill([circle(cx, cy, 4.6 * scale)], NAVY)
    cv.fill([circle(cx - 1.3 * scale, cy - 1.3 * scale, 1.4 * scale)], (150, 150, 255), 0.9)


def make_logo():
    cv = Canvas(175, 64, (255, 255, 255, 255))
    signal_mark(cv, 26.0, 24.0, 1.0)

    name = "RM425T"
    cap = 21.0
    weight = 3.9
    spacing = 2.6
    left = 57.0
    cv.fill(text_contours(name, left, 13.0, cap, weight, spacing), NAVY)

    # rule and tagline under the name
    right = left + text_width(name, cap, spacing)
    cv.fill([rect(left - weight / 2, 42.0, right - left + weight, 1.6)], LIGHT_BLUE)
    tag = "GSM CONTROL"
    tcap = 9.0
    tw = text_width(tag, tcap, 3.0)
    tx = right + weight / 2 - tw - 0.7
    cv.fill(text_contours(tag, tx, 48.0, tcap, 1.5, 3.0), BLUE)
    cv.save(os.path.join(OUT, "logo.png"))


# ---------------------------------------------------------------------------------------------------------
# module.png: the module on a DIN rail


def terminal_block(cv, x, y, count, pitch, up):
    """A green pluggable screw-terminal block; up: the wire openings face upwards."""
    w = count * pitch + 4
    h = 26
    body = shade((40, 150, 80), (20, 100, 50), y, y + h) if up else shade((20, 100, 50), (40, 150, 80), y, y + h)
    cv.fill([rounded_rect(x, y, w, h, 2.5)], (10, 70, 35))
    cv.fill([rounded_rect(x + 1, y + 1, w - 2, h - 2, 2)], body)
    for i in range(count):
        cx = x + 2 + pitch * (i + 0.5)
        if up:
            sy, oy = y + 17, y + 3
        else:
            sy, oy = y + 9, y + h - 8.5
        # wire opening
        cv.fill([rounded_rect(cx - 3.4, oy, 6.8, 5.5, 1.2)], (15, 40, 25))
        cv.fill([rect(cx - 2.4, oy + 1, 4.8, 1.1)], (60, 60, 60), 0.6)
        # screw head with slot
        cv.fill([circle(cx, sy, 4.0)], (80, 80, 80))
        cv.fill([circle(cx, sy, 3.3)], shade((245, 245, 245), (150, 150, 150), sy - 4, sy + 4))
        cv.fill(stroke([(cx - 2.3, sy + 1.3), (cx + 2.3, sy - 1.3)], 1.1), (70, 70, 70))
    # separating ribs between the terminals
    for i in range(1, count):
        rx = x + 2 + pitch * i
        cv.fill([rect(rx - 0.5, y + 2, 1.0, h - 4)], (10, 60, 30), 0.55)


def led(cv, cx, cy, color):
    r, g, b = color
    cv.fill([circle(cx, cy, 6.5)], (r, g, b), 0.18)
    cv.fill([circle(cx, cy, 4.2)], (60, 60, 60))
    cv.fill([circle(cx, cy, 3.4)], shade((min(255, r + 90), min(255, g + 90), min(255, b + 90)), (r * 0.75, g * 0.75, b * 0.75), cy - 3, cy + 3))
    cv.fill([circle(cx - 1.1, cy - 1.2, 1.1)], WHITE, 0.85)


def make_module():
    cv = Canvas(250, 250, PAGE_BG + (255,))

    # DIN rail behind the module
    rail_top, rail_h = 104, 42
    cv.fill([rect(0, rail_top + 3, 250, rail_h)], (140, 140, 190), 0.45)  # shadow
    cv.fill([rect(0, rail_top, 250, rail_h)], shade((236, 236, 240), (150, 150, 160), rail_top, rail_top + rail_h))
    cv.fill([rect(0, rail_top + 5, 250, 1.2)], (120, 120, 130), 0.6)
    cv.fill([rect(0, rail_top + rail_h - 6, 250, 1.2)], (250, 250, 250), 0.8)
    for x in (3, 210):
        cv.fill([rounded_rect(x, rail_top + 14, 34, 13, 6)], (90, 90, 110))
        cv.fill([rect(x + 4, rail_top + 25.5, 26, 1.2)], (250, 250, 250), 0.5)

    # housing: a stepped profile, wider at the terminals, with a raised front in the middle
    hx, hy, hw, hh = 48, 34, 154, 188
    cv.fill([rounded_rect(hx + 4, hy + 5, hw, hh, 9)], (110, 110, 170), 0.45)  # shadow
    cv.fill([rounded_rect(hx, hy, hw, hh, 9)], (120, 120, 128))
    cv.fill([rounded_rect(hx + 1.2, hy + 1.2, hw - 2.4, hh - 2.4, 8)], shade((246, 246, 248), (206, 206, 212), hy, hy + hh))
    # raised front
    fx, fy, fw, fh = hx + 12, hy + 44, hw - 24, hh - 88
    cv.fill([rounded_rect(fx + 2, fy + 3, fw, fh, 6)], (90, 90, 100), 0.35)
    cv.fill([rounded_rect(fx, fy, fw, fh, 6)], (130, 130, 138))
    cv.fill([rounded_rect(fx + 1, fy + 1, fw - 2, fh - 2, 5)], shade((252, 252, 252), (222, 222, 228), fy, fy + fh))

    # terminal blocks, four terminals each
    terminal_block(cv, hx + 13.5, hy + 9, 6, 20.5, True)
    terminal_block(cv, hx + 13.5, hy + hh - 35, 6, 20.5, False)

    # antenna connector on the top edge, with a short antenna
    ax = hx + hw - 30
    cv.fill([rounded_rect(ax - 3.5, 2, 7, 26, 3.5)], (30, 30, 36))
    cv.fill([rect(ax - 1.6, 4, 1.4, 21)], (110, 110, 120), 0.8)
    cv.fill([rect(ax - 5.5, 24, 11, 5)], shade((250, 220, 120), (180, 140, 40), 24, 29))
    cv.fill([polygon([(ax - 8, 29), (ax + 8, 29), (ax + 8, hy + 2), (ax - 8, hy + 2)])], shade((255, 230, 140), (170, 130, 30), 29, hy + 2))
    cv.fill([rect(ax - 8, 29, 16, 1)], (140, 100, 20), 0.7)
    cv.fill([rect(ax - 2.6, 29, 1.2, hy + 2 - 29)], (255, 250, 220), 0.7)
    cv.fill([rect(ax + 2.8, 29, 1.2, hy + 2 - 29)], (140, 100, 20), 0.5)

    # label on the raised front: blue band with the model name
    bx, by, bw, bh = fx + 8, fy + 9, fw - 16, 34
    cv.fill([rounded_rect(bx, by, bw, bh, 3)], shade((40, 40, 170), (0, 0, 118), by, by + bh))
    name = "RM425T"
    cap = 15.0
    weight = 3.1
    width = text_width(name, cap, 2.0)
    cv.fill(text_contours(name, bx + (bw - width) / 2, by + 6, cap, weight, 2.0), WHITE)
    sub = "GSM MODULE"
    scap = 6.0
    swidth = text_width(sub, scap, 2.6)
    cv.fill(text_contours(sub, bx + (bw - swidth) / 2, by + bh - 8.5 + 0.0, scap, 1.1, 2.6), (200, 200, 255))

    # LEDs with their markings
    ly = fy + 62
    for i, (label, color) in enumerate((("PWR", (40, 200, 60)), ("NET", (250, 190, 20)), ("OUT", (230, 40, 40)))):
        cx = fx + 26 + i * 39
        led(cv, cx, ly, color)
        lw = text_width(label, 5.5, 2.4)
        cv.fill(text_contours(label, cx - lw / 2, ly + 9, 5.5, 1.05, 2.4), (60, 60, 90))

    # SIM card slot
    sx, sy = fx + fw - 44, fy + fh - 16
    cv.fill([rounded_rect(sx, sy, 30, 7, 2)], (150, 150, 158))
    cv.fill([rounded_rect(sx + 1, sy + 1, 28, 5, 1.5)], (40, 40, 46))
    cv.fill([rect(sx + 3, sy + 2.2, 24, 1.0)], (120, 120, 130), 0.7)
    sw = text_width("SIM", 5.0, 2.4)
    cv.fill(text_contours("SIM", sx - sw - 5, sy + 1, 5.0, 1.0, 2.4), (60, 60, 90))

    # screws holding the front
    for sx, sy in ((fx + 6, fy + fh - 6), (fx + fw - 6, fy + fh - 6)):
        cv.fill([circle(sx, sy, 2.2)], (150, 150, 158))
        cv.fill(stroke([(sx - 1.4, sy), (sx + 1.4, sy)], 0.7), (90, 90, 96))

    cv.save(os.path.join(OUT, "module.png"))


# ---------------------------------------------------------------------------------------------------------
# hand.png: pointing-hand cursor, pixel for pixel. "X" outline, "o" white, "." transparent.
# The index finger points up; its tip, the cursor's hotspot, is the pixel (6, 1).

HAND = [
    "................................",  # 0
    ".....XXX........................",  # 1  hotspot (6, 1)
    "....XoooX.......................",  # 2
    "....XoooX.......................",  # 3
    "....XoooX.......................",  # 4
    "....XoooX.......................",  # 5
    "....XoooX.......................",  # 6
    "....XoooXXXX....................",  # 7
    "....XoooXoooXXXX................",  # 8
    "....XoooXoooXoooXXX.............",  # 9
    "....XoooXoooXoooXooX............",  # 10
    "XXX.XoooXoooXoooXooX............",  # 11
    "XooXXoooXoooXoooXooX............",  # 12
    "XoooXooooooooooooooX............",  # 13
    ".XooXooooooooooooooX............",  # 14
    ".XoooooooooooooooooX............",  # 15
    "..XooooooooooooooooX............",  # 16
    "..XooooooooooooooooX............",  # 17
    "...XoooooooooooooooX............",  # 18
    "...XooooooooooooooX.............",  # 19
    "....XoooooooooooooX.............",  # 20
    "....XoooooooooooooX.............",  # 21
    ".....XooooooooooooX.............",  # 22
    ".....XooooooooooooX.............",  # 23
    ".....XXXXXXXXXXXXXX.............",  # 24
    "................................",  # 25
    "................................",  # 26
    "................................",  # 27
    "................................",  # 28
    "................................",  # 29
    "................................",  # 30
    "................................",  # 31
]


def make_hand():
    assert len(HAND) == 32 and all(len(r) == 32 for r in HAND)
    colors = {".": (0, 0, 0, 0), "X": (0, 0, 0, 255), "o": (255, 255, 255, 255)}
    write_png(os.path.join(OUT, "hand.png"), 32, 32, [[colors[c] for c in row] for row in HAND])


ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)


def make_icon(size):
    """The logo's radio mast on a white tile with a blue edge, drawn at each size rather than scaled."""
    s = size / 64.0
    cv = Canvas(size, size, (0, 0, 0, 0))
    cv.fill([rounded_rect(1.0 * s, 1.0 * s, 62.0 * s, 62.0 * s, 10.0 * s)], LIGHT_BLUE)
    cv.fill([rounded_rect(3.5 * s, 3.5 * s, 57.0 * s, 57.0 * s, 8.0 * s)], (255, 255, 255))
    signal_mark(cv, 32.0 * s, 21.0 * s, s)
    folder = os.path.join(HERE, "icons", "hicolor", "%dx%d" % (size, size), "apps")
    os.makedirs(folder, exist_ok=True)
    cv.save(os.path.join(folder, "rm425t.png"))


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    make_logo()
    make_module()
    make_hand()
    for icon_size in ICON_SIZES:
        make_icon(icon_size)
