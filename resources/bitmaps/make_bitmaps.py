#!/usr/bin/env python3
"""Draws the built-in pattern bitmaps of the map styles and writes them as
plain PBM files (1 = black) named by resource id:

  point symbols  n = 0..47    low 2100 + n (23 x 23), high 2200 + n (47 x 47)
  fill tiles     n = 100..131 low 3100 + n,           high 3200 + n
  line styles    n = 102..145 low 4100 + n (32 wide), high 4200 + n
  plain lines    4200 (solid) and 4201 (none), 32 x 1

Run it from anywhere; it rewrites the .pbm files beside itself. Shapes are
drawn in continuous coordinates on a 4 x 4 supersampled grid and a pixel is
black when at least half of it is covered, so one design serves both sizes.
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
SS = 4


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.s = [[False] * (w * SS) for _ in range(h * SS)]

    # -- primitives in pixel units (pixel i spans [i, i + 1)) --------------
    def _fill(self, inside, box, value):
        x0, y0, x1, y1 = box
        sx0 = max(0, int(math.floor(x0 * SS)))
        sy0 = max(0, int(math.floor(y0 * SS)))
        sx1 = min(self.w * SS, int(math.ceil(x1 * SS)) + 1)
        sy1 = min(self.h * SS, int(math.ceil(y1 * SS)) + 1)
        for sy in range(sy0, sy1):
            py = (sy + 0.5) / SS
            row = self.s[sy]
            for sx in range(sx0, sx1):
                if inside((sx + 0.5) / SS, py):
                    row[sx] = value

    def disk(self, cx, cy, r, value=True):
        self._fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, (cx - r, cy - r, cx + r, cy + r), value)

    def ring(self, cx, cy, r, width, value=True):
        ri = r - width
        self._fill(lambda x, y: ri * ri <= (x - cx) ** 2 + (y - cy) ** 2 <= r * r,
                   (cx - r, cy - r, cx + r, cy + r), value)

    def rect(self, x0, y0, x1, y1, value=True):
        self._fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1, (x0, y0, x1, y1), value)

    def poly(self, pts, value=True):
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]

        def inside(x, y):
            c = False
            n = len(pts)
            for i in range(n):
                ax, ay = pts[i]
                bx, by = pts[(i + 1) % n]
                if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                    c = not c
            return c
        self._fill(inside, (min(xs), min(ys), max(xs), max(ys)), value)

    def line(self, x0, y0, x1, y1, width, value=True, round_caps=True):
        dx, dy = x1 - x0, y1 - y0
        ll = dx * dx + dy * dy
        hw = width / 2.0

        def inside(x, y):
            if ll == 0:
                return (x - x0) ** 2 + (y - y0) ** 2 <= hw * hw
            t = ((x - x0) * dx + (y - y0) * dy) / ll
            if not round_caps and (t < 0 or t > 1):
                return False
            t = max(0.0, min(1.0, t))
            px, py = x0 + t * dx, y0 + t * dy
            return (x - px) ** 2 + (y - py) ** 2 <= hw * hw
        self._fill(inside, (min(x0, x1) - hw, min(y0, y1) - hw, max(x0, x1) + hw, max(y0, y1) + hw), value)

    def polyline(self, pts, width, value=True):
        for a, b in zip(pts, pts[1:]):
            self.line(a[0], a[1], b[0], b[1], width, value)

    def arc(self, cx, cy, r, a0, a1, width, steps=24, value=True):
        pts = [(cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / steps)),
                cy - r * math.sin(math.radians(a0 + (a1 - a0) * i / steps))) for i in range(steps + 1)]
        self.polyline(pts, width, value)

    def pixel(self, x, y, value=True):
        if 0 <= x < self.w and 0 <= y < self.h:
            for sy in range(y * SS, y * SS + SS):
                for sx in range(x * SS, x * SS + SS):
                    self.s[sy][sx] = value

    # -- result ---------------------------------------------------------------
    def bits(self):
        out = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                n = sum(self.s[y * SS + j][x * SS + i] for j in range(SS) for i in range(SS))
                row.append(1 if n * 2 >= SS * SS else 0)
            out.append(row)
        return out


def write(rid, name, bits):
    h = len(bits)
    w = len(bits[0])
    with open(os.path.join(HERE, "%d.pbm" % rid), "w", encoding="utf-8", newline="\n") as f:
        f.write("P1\n# %d %s\n%d %d\n" % (rid, name, w, h))
        for row in bits:
            f.write("".join(str(b) for b in row) + "\n")


# ---------------------------------------------------------------- symbols ----
# Each sign is drawn in a unit frame: u, v in [-1, 1], v downwards, mapped to
# the bitmap with a scale; k is the size of one frame unit in pixels.

class Frame:
    def __init__(self, c, size, scale):
        self.c = c
        self.m = size / 2.0
        self.k = (size / 2.0) * scale

    def p(self, u, v):
        return (self.m + u * self.k, self.m + v * self.k)

    def len(self, d):
        return d * self.k

    def lw(self, d, minimum=1.0):
        return max(minimum, d * self.k)


def sym_city(f, rank):
    c = f.c
    x, y = f.p(0, 0)
    r = f.len(0.95)
    lw = f.lw(0.16)
    if rank == 1:      # capital: ring, white gap, solid centre
        c.ring(x, y, r, lw)
        c.disk(x, y, r * 0.48)
    elif rank == 2:    # double circle
        c.ring(x, y, r, lw)
        c.ring(x, y, r * 0.55, lw)
    elif rank == 3:    # solid disc with a white centre
        c.disk(x, y, r * 0.85)
        c.disk(x, y, r * 0.3, False)
    elif rank == 4:    # solid disc
        c.disk(x, y, r * 0.7)
    else:              # small open circle
        c.ring(x, y, r * 0.6, lw)


def sym_mountain(f):
    f.c.poly([f.p(0, -0.9), f.p(0.95, 0.75), f.p(-0.95, 0.75)])


def sym_waterfall(f):
    c = f.c
    lw = f.lw(0.16)
    # the lip of the cliff, water falling in three strands into a pool
    c.line(*f.p(-0.95, -0.8), *f.p(0.95, -0.8), lw * 1.3)
    for u, end in ((-0.5, 0.3), (0.0, 0.45), (0.5, 0.3)):
        c.line(*f.p(u, -0.75), *f.p(u, end), lw)
    pts = [f.p(-0.95 + 1.9 * i / 24, 0.75 - 0.12 * math.sin(math.pi * 4 * i / 24)) for i in range(25)]
    c.polyline(pts, lw)


def sym_airport(f):
    c = f.c
    lw = f.lw(0.22)
    c.line(*f.p(0, -0.95), *f.p(0, 0.85), lw * 1.2)                 # fuselage
    c.poly([f.p(-0.95, 0.15), f.p(-0.1, -0.35), f.p(0.1, -0.35), f.p(0.95, 0.15),
            f.p(0.95, 0.32), f.p(0.1, 0.05), f.p(-0.1, 0.05), f.p(-0.95, 0.32)])   # wings
    c.poly([f.p(-0.45, 0.9), f.p(-0.05, 0.62), f.p(0.05, 0.62), f.p(0.45, 0.9),
            f.p(0.45, 0.98), f.p(-0.45, 0.98)])                          # tail plane


def sym_harbour(f):
    c = f.c
    lw = f.lw(0.18)
    c.ring(*f.p(0, -0.7), f.len(0.24), lw)                 # ring
    c.line(*f.p(0, -0.45), *f.p(0, 0.9), lw)              # shank
    c.line(*f.p(-0.5, -0.2), *f.p(0.5, -0.2), lw)         # stock
    c.arc(*f.p(0, 0.1), f.len(0.8), 190, 350, lw)         # arms
    c.poly([f.p(-0.95, 0.05), f.p(-0.62, 0.05), f.p(-0.85, 0.38)])   # flukes
    c.poly([f.p(0.95, 0.05), f.p(0.62, 0.05), f.p(0.85, 0.38)])


def sym_oilwell(f):
    c = f.c
    lw = f.lw(0.15)
    # derrick: a tall tower with cross braces and a drop of oil at its top
    c.line(*f.p(-0.7, 0.95), *f.p(-0.12, -0.75), lw)
    c.line(*f.p(0.7, 0.95), *f.p(0.12, -0.75), lw)
    c.line(*f.p(-0.9, 0.95), *f.p(0.9, 0.95), lw)
    c.line(*f.p(-0.52, 0.4), *f.p(0.52, 0.4), lw)
    c.line(*f.p(-0.32, -0.15), *f.p(0.32, -0.15), lw)
    c.line(*f.p(-0.52, 0.4), *f.p(0.32, -0.15), lw)
    c.line(*f.p(0.52, 0.4), *f.p(-0.32, -0.15), lw)
    c.poly([f.p(0, -1.0), f.p(0.2, -0.72), f.p(-0.2, -0.72)])


def sym_mine(f):
    c = f.c
    lw = f.lw(0.2)
    # crossed hammers
    c.line(*f.p(-0.8, 0.85), *f.p(0.55, -0.5), lw)
    c.line(*f.p(0.8, 0.85), *f.p(-0.55, -0.5), lw)
    c.poly([f.p(0.25, -0.95), f.p(0.95, -0.25), f.p(0.7, 0.0), f.p(0.0, -0.7)])
    c.poly([f.p(-0.25, -0.95), f.p(-0.95, -0.25), f.p(-0.7, 0.0), f.p(0.0, -0.7)])


def sym_lighthouse(f):
    c = f.c
    lw = f.lw(0.13)
    x, y = f.p(0, 0)
    c.disk(x, y, f.len(0.3))
    for i in range(8):
        a = math.radians(i * 45)
        c.line(x + f.len(0.5) * math.cos(a), y + f.len(0.5) * math.sin(a),
               x + f.len(0.95) * math.cos(a), y + f.len(0.95) * math.sin(a), lw)


def sym_historic(f):
    c = f.c
    r = max(f.len(0.24), 1.1)
    for u, v in ((0, -0.55), (-0.6, 0.5), (0.6, 0.5)):
        c.disk(*f.p(u, v), r)


def sym_heritage(f):
    c = f.c
    lw = f.lw(0.15)
    x, y = f.p(0, 0)
    c.ring(x, y, f.len(0.95), lw)
    # the square of the emblem, its lower corners joined to the circle
    c.poly([f.p(-0.52, -0.52), f.p(0.52, -0.52), f.p(0.52, 0.52), f.p(-0.52, 0.52)])
    c.poly([f.p(-0.38, -0.38), f.p(0.38, -0.38), f.p(0.38, 0.4), f.p(-0.38, 0.4)], False)
    c.line(*f.p(-0.52, 0.52), *f.p(-0.7, 0.68), lw)
    c.line(*f.p(0.52, 0.52), *f.p(0.7, 0.68), lw)


def sym_nuclear(f):
    c = f.c
    x, y = f.p(0, 0)
    R, r0 = f.len(0.98), f.len(0.3)
    c.disk(x, y, f.len(0.2))
    for base in (90, 210, 330):
        pts = [(x + r0 * math.cos(math.radians(a)), y - r0 * math.sin(math.radians(a)))
               for a in range(base - 30, base + 31, 6)]
        pts += [(x + R * math.cos(math.radians(a)), y - R * math.sin(math.radians(a)))
                for a in range(base + 30, base - 31, -6)]
        c.poly(pts)


def sym_hospital(f):
    c = f.c
    lw = f.lw(0.13)
    x, y = f.p(0, 0)
    c.ring(x, y, f.len(0.95), lw)
    w = f.len(0.2)
    c.rect(x - w, y - f.len(0.6), x + w, y + f.len(0.6))
    c.rect(x - f.len(0.6), y - w, x + f.len(0.6), y + w)


def sym_hotel(f):
    c = f.c
    lw = f.lw(0.15)
    # a bed: headboard, pillow, mattress and legs
    c.line(*f.p(-0.9, -0.7), *f.p(-0.9, 0.8), lw * 1.2)
    c.rect(*f.p(-0.9, 0.08), *f.p(0.95, 0.42))
    c.disk(*f.p(-0.5, -0.12), f.len(0.2))
    c.rect(*f.p(-0.25, -0.3), *f.p(0.95, 0.1))
    c.line(*f.p(0.88, 0.4), *f.p(0.88, 0.8), lw * 1.2)


def sym_star(f):
    pts = []
    for i in range(10):
        r = 1.0 if i % 2 == 0 else 0.42
        a = math.radians(90 + i * 36)
        pts.append(f.p(r * math.cos(a), -r * math.sin(a) + 0.08))
    f.c.poly(pts)


def sym_diamond(f):
    c = f.c
    c.poly([f.p(0, -0.98), f.p(0.8, 0), f.p(0, 0.98), f.p(-0.8, 0)])
    c.poly([f.p(0, -0.45), f.p(0.36, 0), f.p(0, 0.45), f.p(-0.36, 0)], False)


SIGNS = [lambda f: sym_city(f, 1), lambda f: sym_city(f, 2), lambda f: sym_city(f, 3),
         lambda f: sym_city(f, 4), lambda f: sym_city(f, 5), sym_mountain, sym_waterfall, sym_airport,
         sym_harbour, sym_oilwell, sym_mine, sym_lighthouse, sym_historic, sym_heritage, sym_nuclear,
         sym_hospital, sym_hotel, sym_star, sym_diamond]
SIGN_NAMES = ["都市１", "都市２", "都市３", "都市４", "都市５", "山岳", "滝", "空港", "港湾", "油井", "鉱産地",
              "燈台", "史跡", "世界遺産", "核関連施設", "病院", "ホテル", "その他Ａ", "その他Ｂ"]


def make_symbols():
    for n in range(48):
        for res, size in ((0, 23), (1, 47)):
            rid = (2100 if res == 0 else 2200) + n
            k = n % 24
            if k >= 19:
                user = k - 19 + 1 + (5 if n >= 24 else 0)
                write(rid, "ユーザー%02d %s" % (user, "low" if res == 0 else "high"), [[1, 1], [1, 1]])
                continue
            large = n >= 24
            c = Canvas(size, size)
            # small signs fill about 60 per cent of the frame, large ones all of it
            scale = (0.92 if large else 0.58) * (size - 1) / size
            SIGNS[k](Frame(c, size, scale))
            write(rid, "%s・%s %s" % (SIGN_NAMES[k], "大" if large else "小", "low" if res == 0 else "high"),
                  c.bits())


# ------------------------------------------------------------------ tiles ----

BAYER8 = [[0, 32, 8, 40, 2, 34, 10, 42], [48, 16, 56, 24, 50, 18, 58, 26], [12, 44, 4, 36, 14, 46, 6, 38],
          [60, 28, 52, 20, 62, 30, 54, 22], [3, 35, 11, 43, 1, 33, 9, 41], [51, 19, 59, 27, 49, 17, 57, 25],
          [15, 47, 7, 39, 13, 45, 5, 37], [63, 31, 55, 23, 61, 29, 53, 21]]


def tile_lightness(level, s):
    # level 0 darkest (60 of 64 black), 7 lightest (4 of 64 black)
    black = [60, 52, 44, 32, 24, 16, 8, 4][level]
    return [[1 if BAYER8[y % 8][x % 8] < black else 0 for x in range(s)] for y in range(s)]


def tile_fn(s, fn):
    return [[1 if fn(x, y) else 0 for x in range(s)] for y in range(s)]


def tile_canvas(s, unit, draw):
    """draw(c, k) on a canvas of s x s where k = s / unit pixels per design unit;
    the design is repeated across the tile edges so it wraps seamlessly."""
    c = Canvas(s, s)
    k = s / unit
    for ox in (-s, 0, s):
        for oy in (-s, 0, s):
            draw(c, k, ox, oy)
    return c.bits()


def desert(c, k, ox, oy):
    # sand: scattered grains and two low dune ridges
    for (u, v) in ((1, 1), (5, 3), (9, 1), (13, 4), (3, 7), (11, 8), (7, 11), (1, 13), (14, 12), (6, 15), (10, 14)):
        c.disk(ox + (u + 0.5) * k, oy + (v + 0.5) * k, max(0.55, 0.5 * k))
    c.arc(ox + 4.5 * k, oy + 12 * k, 3.2 * k, 40, 140, max(1, 0.6 * k), steps=12)
    c.arc(ox + 12.5 * k, oy + 7 * k, 3.2 * k, 40, 140, max(1, 0.6 * k), steps=12)


def steppe(c, k, ox, oy):
    # grass tufts: a tall blade between two short ones on a bit of ground
    w = max(1, 0.7 * k)
    for (u, v) in ((3, 5), (11, 2), (7, 12), (14, 9)):
        x, y = ox + u * k, oy + v * k
        c.line(x - 1.5 * k, y, x + 2.5 * k, y, w, round_caps=False)
        c.line(x + 0.5 * k, y, x + 0.5 * k, y - 3 * k, w, round_caps=False)
        c.line(x - 1 * k, y, x - 1 * k, y - 1.8 * k, w, round_caps=False)
        c.line(x + 2 * k, y, x + 2 * k, y - 1.8 * k, w, round_caps=False)


def fields(c, k, ox, oy):
    # a patchwork of ploughed fields: furrows turn by a quarter in every block
    w = max(1, 0.7 * k)
    for bx in (0, 8):
        for by in (0, 8):
            horiz = (bx == by)
            for i in range(2):
                t = 2.5 + 3 * i
                if horiz:
                    c.line(ox + (bx + 1) * k, oy + (by + t) * k, ox + (bx + 7) * k, oy + (by + t) * k, w, round_caps=False)
                else:
                    c.line(ox + (bx + t) * k, oy + (by + 1) * k, ox + (bx + t) * k, oy + (by + 7) * k, w, round_caps=False)


def marsh(c, k, ox, oy):
    # marsh: short water lines with a reed standing on each, rows offset
    w = max(1, 0.7 * k)
    for (u, v) in ((0.5, 3), (4.5, 7)):
        x, y = ox + u * k, oy + v * k
        c.line(x, y, x + 3.5 * k, y, w, round_caps=False)
        c.line(x + 1.75 * k, y, x + 1.75 * k, y - 2 * k, w, round_caps=False)


MARSH_LOW = ["........",
             ".#......",
             ".#......",
             "###.....",
             "........",
             ".....#..",
             ".....#..",
             "....###."]

CONIFER_LOW = ["................",
               "....#...........",
               "...###..........",
               "..#####.........",
               ".#######........",
               "....#...........",
               "................",
               "................",
               "................",
               "............#...",
               "...........###..",
               "..........#####.",
               ".........#######",
               "............#...",
               "................",
               "................"]


def from_art(art):
    return [[1 if ch == "#" else 0 for ch in row] for row in art]


def conifer(c, k, ox, oy):
    # coniferous trees: pointed crowns on a trunk, in staggered rows
    for (u, v) in ((4, 1.5), (12, 9.5)):
        x, y = ox + u * k, oy + v * k
        c.poly([(x, y), (x + 2.6 * k, y + 5 * k), (x - 2.6 * k, y + 5 * k)])
        c.line(x, y + 5 * k, x, y + 6.5 * k, max(1, 0.8 * k), round_caps=False)


def broadleaf(c, k, ox, oy):
    # broadleaf trees: round open crowns on a trunk
    for (u, v) in ((4, 3.5), (12, 11.5)):
        x, y = ox + u * k, oy + v * k
        c.ring(x, y, 2.6 * k, max(1, 0.8 * k))
        c.line(x, y + 2.4 * k, x, y + 4.5 * k, max(1, 0.8 * k), round_caps=False)


def rainforest(c, k, ox, oy):
    # tropical forest: palms, a trunk with drooping fronds, closely set
    w = max(1, 0.7 * k)
    for (u, v) in ((4, 2), (12, 10), (12, 2.5), (4, 10.5)):
        x, y = ox + u * k, oy + v * k
        c.line(x, y, x, y + 5 * k, w, round_caps=False)
        c.arc(x - 1.8 * k, y + 1.6 * k, 1.8 * k, 20, 160, w, steps=8)
        c.arc(x + 1.8 * k, y + 1.6 * k, 1.8 * k, 20, 160, w, steps=8)


def make_tiles():
    defs = []
    for lv in range(8):
        defs.append(("明度%s" % "０１２３４５６７"[lv], 8, 8, lambda s, lv=lv: tile_lightness(lv, s)))
    defs += [
        ("横縞", 8, 8, lambda s: tile_fn(s, lambda x, y: y % 4 == 0)),
        ("縦縞", 8, 8, lambda s: tile_fn(s, lambda x, y: x % 4 == 0)),
        ("右下がり斜線", 8, 8, lambda s: tile_fn(s, lambda x, y: (x - y) % 4 == 0)),
        ("右上がり斜線", 8, 8, lambda s: tile_fn(s, lambda x, y: (x + y) % 4 == 3)),
        ("格子", 8, 8, lambda s: tile_fn(s, lambda x, y: x % 4 == 0 or y % 4 == 0)),
        ("斜め格子", 8, 16, lambda s: tile_fn(s, lambda x, y: (x - y) % (s // 2) == 0 or (x + y) % (s // 2) == s // 2 - 1)),
        ("水玉", 8, 16, lambda s: tile_canvas(s, 8, lambda c, k, ox, oy: (
            c.disk(ox + 2 * k, oy + 2 * k, 1.25 * k), c.disk(ox + 6 * k, oy + 6 * k, 1.25 * k)))),
        ("レンガ", 8, 16, lambda s: tile_fn(s, lambda x, y: y % (s // 2) == 0 or
                                         (x % s == (0 if y < s // 2 else s // 2)))),
        ("砂漠", 16, 32, lambda s: tile_canvas(s, 16, desert)),
        ("ステップ", 16, 32, lambda s: tile_canvas(s, 16, steppe)),
        ("耕地", 16, 32, lambda s: tile_canvas(s, 16, fields)),
        ("湿地", 8, 16, lambda s: from_art(MARSH_LOW) if s == 8 else tile_canvas(s, 8, marsh)),
        ("針葉樹林", 16, 32, lambda s: from_art(CONIFER_LOW) if s == 16 else tile_canvas(s, 16, conifer)),
        ("広葉樹林", 16, 32, lambda s: tile_canvas(s, 16, broadleaf)),
        ("熱帯雨林", 16, 32, lambda s: tile_canvas(s, 16, rainforest)),
        ("市松", 8, 16, lambda s: tile_fn(s, lambda x, y: ((x * 2 // s) + (y * 2 // s)) % 2 == 0)),
    ]
    for i in range(8):
        # user slots: a sparse grid of dots until a user file replaces them
        defs.append(("ユーザー%02d" % (i + 1), 8, 16, lambda s: tile_fn(s, lambda x, y: x == 0 and y == 0)))
    assert len(defs) == 32
    for i, (name, lo, hi, fn) in enumerate(defs):
        n = 100 + i
        write(3100 + n, name + " low", fn(lo))
        write(3200 + n, name + " high", fn(hi))


# ------------------------------------------------------------------ lines ----
# A line pattern is 32 pixels long; rows run across the line.

def runs(runlist):
    """[on, off, on, off ...] run lengths -> 32 booleans."""
    out = []
    on = True
    for r in runlist:
        out += [on] * r
        on = not on
    assert len(out) == 32, (runlist, len(out))
    return out


def rows_from(h, fill):
    return [[1 if fill(x, y) else 0 for x in range(32)] for y in range(h)]


def dashed(h, runlist):
    pat = runs(runlist)
    return rows_from(h, lambda x, y: pat[x])


def side(h, runlist, mark_rows, line_rows):
    pat = runs(runlist)
    return rows_from(h, lambda x, y: (y in line_rows) or (y in mark_rows and pat[x]))


def line_canvas(h, draw):
    c = Canvas(32, h)
    for ox in (-32, 0, 32):
        draw(c, ox)
    return c.bits()


def wave(h, width):
    def draw(c, ox):
        amp = (h - width) / 2.0
        mid = h / 2.0
        pts = [(ox + t, mid - amp * math.sin(2 * math.pi * t / 32)) for t in [i * 0.5 for i in range(65)]]
        c.polyline(pts, width)
    return line_canvas(h, draw)


def triangles(h, base):
    def draw(c, ox):
        c.rect(ox, h - base, ox + 32, h)
        for x0 in (2, 18):
            c.poly([(ox + x0, h - base), (ox + x0 + 12, h - base), (ox + x0 + 6, 0)])
    return line_canvas(h, draw)


def round_dots(h):
    def draw(c, ox):
        for x in (h / 2.0, 16 + h / 2.0):
            c.disk(ox + x, h / 2.0, h / 2.0)
    return line_canvas(h, draw)


def faint(h):
    return rows_from(h, lambda x, y: (x + 2 * y) % 4 == 0)


def rail_ticks(h, core):
    top = (h - core) // 2
    return rows_from(h, lambda x, y: (top <= y < top + core) or (x % 8 in (0, 1) if h > 3 else x % 8 == 0))


def rail_bands(h):
    return rows_from(h, lambda x, y: y == 0 or y == h - 1 or (x % 16) < 8)


def coral(h, k):
    def draw(c, ox):
        w = max(1, 0.8 * k)
        for x0 in (0, 16):
            c.arc(ox + x0 + 4 * k / 1.0, h / 2.0 + 1.2 * k, 2.8 * k, 0, 180, w, steps=10)
            c.disk(ox + x0 + 12 * k / 1.0, h / 2.0, max(0.9, 0.9 * k))
    return line_canvas(h, draw)


def ice(h, base, tick):
    return rows_from(h, lambda x, y: y < base or (x % 4 < tick and y < h))


def canal(h, edge, mid):
    pat = runs([6, 2, 6, 2, 6, 2, 6, 2])
    m0 = (h - mid) // 2
    return rows_from(h, lambda x, y: y < edge or y >= h - edge or (m0 <= y < m0 + mid and pat[x]))


def pipeline(h, core):
    def draw(c, ox):
        mid = h / 2.0
        c.rect(ox, mid - core / 2.0, ox + 32, mid + core / 2.0)
        for x in (8, 24):
            c.ring(ox + x, mid, h / 2.0, max(1.0, h / 6.0))
    return line_canvas(h, draw)


def wall(h, base, merlon):
    return rows_from(h, lambda x, y: y >= h - base or (x % (2 * merlon)) < merlon)


def arrows(h, width):
    def draw(c, ox):
        mid = h / 2.0
        c.line(ox, mid, ox + 32, mid, width, round_caps=False)
        for x in (10, 26):
            c.polyline([(ox + x - h / 2.0, 0.5 + width / 2), (ox + x, mid), (ox + x - h / 2.0, h - 0.5 - width / 2)], width)
    return line_canvas(h, draw)


def crosses(h, arm, period):
    def draw(c, ox):
        mid = h / 2.0
        for x in range(period // 2, 32, period):
            c.rect(ox + x - h / 2.0, mid - arm / 2.0, ox + x + h / 2.0, mid + arm / 2.0)
            c.rect(ox + x - arm / 2.0, 0, ox + x + arm / 2.0, h)
    return line_canvas(h, draw)


DASH = [12, 4, 12, 4]
DOT = [2, 2] * 8
DASHDOT = [20, 4, 2, 6]
DASH2DOT = [16, 4, 2, 4, 2, 4]


def make_lines():
    defs = [
        ("破線小細", 1, 2, lambda h: dashed(h, DASH)),
        ("点線小細", 1, 2, lambda h: dashed(h, DOT)),
        ("１点鎖線小細", 1, 2, lambda h: dashed(h, DASHDOT)),
        ("２点鎖線小細", 1, 2, lambda h: dashed(h, DASH2DOT)),
        ("側破線細", 3, 5, lambda h: side(h, DASH, {0}, {h - 1})),
        ("側点線細", 3, 5, lambda h: side(h, DOT, {0}, {h - 1})),
        ("破線小太", 2, 4, lambda h: dashed(h, DASH)),
        ("点線小太", 2, 4, lambda h: dashed(h, [h, h] * (16 // h))),
        ("１点鎖線小太", 2, 4, lambda h: dashed(h, [18, 4, h, 10 - h])),
        ("２点鎖線小太", 2, 4, lambda h: dashed(h, [14, 4, h, 4, h, 10 - 2 * h])),
        ("側破線太", 5, 9, lambda h: side(h, DASH, set(range(h // 2 - 1 if h > 5 else 2)), set(range(h - (h // 2 - 1 if h > 5 else 2), h)))),
        ("側点線太", 5, 9, lambda h: side(h, [4, 4] * 4 if h > 5 else [2, 2] * 8, set(range(h // 2 - 1 if h > 5 else 2)), set(range(h - (h // 2 - 1 if h > 5 else 2), h)))),
        ("波線", 5, 9, lambda h: wave(h, 1.0 if h < 9 else 2.0)),
        ("三角線", 6, 11, lambda h: triangles(h, 1 if h < 11 else 2)),
        ("丸点線", 4, 8, lambda h: round_dots(h)),
        ("薄線", 3, 7, lambda h: faint(h)),
        ("道路２重実線", 4, 7, lambda h: rows_from(h, lambda x, y: y == 0 or y == h - 1)),
        ("道路２重破線", 4, 7, lambda h: rows_from(h, lambda x, y: (y == 0 or y == h - 1) and runs(DASH)[x])),
        ("鉄道小", 3, 6, lambda h: rail_ticks(h, 1 if h == 3 else 2)),
        ("鉄道中", 3, 5, lambda h: rail_bands(h)),
        ("鉄道大", 4, 6, lambda h: rail_bands(h)),
        ("サンゴ礁", 4, 7, lambda h: coral(h, h / 4.0)),
        ("永久氷", 4, 7, lambda h: ice(h, 1 if h == 4 else 2, 1 if h == 4 else 2)),
        ("運河", 5, 8, lambda h: canal(h, 1, 1 if h == 5 else 2)),
        ("送油管", 5, 8, lambda h: pipeline(h, 1 if h == 5 else 2)),
        ("城壁", 4, 7, lambda h: wall(h, 2 if h == 4 else 3, 4 if h == 4 else 4)),
        ("矢印細線", 5, 9, lambda h: arrows(h, 1.0 if h == 5 else 1.6)),
        ("矢印太線", 7, 11, lambda h: arrows(h, 2.0 if h == 7 else 3.2)),
        ("極小点線細", 1, 2, lambda h: dashed(h, [1, 3] * 8)),
        ("極小点線太", 2, 4, lambda h: dashed(h, [h, h] * (16 // h))),
        ("十字点線細", 3, 6, lambda h: crosses(h, 1 if h == 3 else 2, 8)),
        ("十字点線太", 6, 12, lambda h: crosses(h, 2 if h == 6 else 4, 16)),
    ]
    for i in range(12):
        defs.append(("ユーザー%02d" % (i + 1), 1, 2, lambda h: rows_from(h, lambda x, y: True)))
    assert len(defs) == 44
    for i, (name, lo, hi, fn) in enumerate(defs):
        n = 102 + i
        for rid, h, tag in ((4100 + n, lo, "low"), (4200 + n, hi, "high")):
            bits = fn(h)
            assert len(bits) == h and all(len(r) == 32 for r in bits), (name, h)
            write(rid, "%s %s" % (name, tag), bits)
    write(4200, "実線", [[1] * 32])
    write(4201, "透明", [[0] * 32])


if __name__ == "__main__":
    make_symbols()
    make_tiles()
    make_lines()
