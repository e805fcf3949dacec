#!/usr/bin/env python3
"""Draws every picture Tavrik Backup ships and writes it next to this script.

    python3 app/res/make_pictures.py            # writes into app/res/
    python3 app/res/make_pictures.py OUTDIR     # writes somewhere else

Everything is drawn here with the Python standard library: shapes are signed
distance functions, filled with anti-aliasing by supersampling the edges.
ICO, CUR, BMP and PNG files are put together byte by byte below. ImageMagick's
`convert` is used only to turn finished PNG/PPM pixels into GIF and JPEG.
The output is deterministic: the same bytes on every run.

Files written:
  tavrik.ico  program icon: 16, 32, 48 (32-bit BGRA), 32 (16 colours), 128 (PNG)
  logo.jpg    128x128 product logo on white (About box, splash window)
  folder.gif  16x16 row kind: folder
  email.jpg   16x16 row kind: mail store
  ok.gif      16x16 row state: copied without error
  error.bmp   16x16 24-bit row state: copy failed
  wait.gif    16x16 row state: being copied
  hand.cur    32x32 monochrome pointing-hand cursor (over links)
"""

import math
import os
import shutil
import struct
import subprocess
import sys
import zlib

# --------------------------------------------------------------------------
# Shapes: functions (x, y) -> signed distance, negative inside.
# --------------------------------------------------------------------------


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ellipse(cx, cy, rx, ry):
    # Not an exact distance, but close enough for the soft shadow it draws.
    k = min(rx, ry)
    return lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * k


def rbox(x0, y0, x1, y1, r=0.0):
    """Rectangle from (x0, y0) to (x1, y1) with corner radius r."""
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hw, hh = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def f(x, y):
        qx = abs(x - cx) - hw
        qy = abs(y - cy) - hh
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r
    return f


def _seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    l2 = dx * dx + dy * dy
    t = 0.0 if l2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / l2))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def line(points, width):
    """Thick polyline with round ends and joins."""
    segs = list(zip(points, points[1:]))
    h = width / 2.0

    def f(x, y):
        return min(_seg_dist(x, y, a[0], a[1], b[0], b[1]) for a, b in segs) - h
    return f


def polygon(points):
    pts = list(points)
    n = len(pts)

    def f(x, y):
        d = float("inf")
        inside = False
        for i in range(n):
            ax, ay = pts[i]
            bx, by = pts[(i + 1) % n]
            d = min(d, _seg_dist(x, y, ax, ay, bx, by))
            if (ay > y) != (by > y):
                xc = ax + (y - ay) * (bx - ax) / (by - ay)
                if x < xc:
                    inside = not inside
        return -d if inside else d
    return f


def _polar(cx, cy, r, deg):
    a = math.radians(deg)
    return (cx + r * math.cos(a), cy + r * math.sin(a))


def arc(cx, cy, r, width, start, sweep):
    """Band of a ring with square ends. Angles in degrees on screen:
    0 points right, 90 points down; a positive sweep turns clockwise."""
    h = width / 2.0
    a0, a1 = (start, start + sweep) if sweep >= 0 else (start + sweep, start)
    ends = [(_polar(cx, cy, r - h, a), _polar(cx, cy, r + h, a)) for a in (a0, a1)]

    def f(x, y):
        ang = math.degrees(math.atan2(y - cy, x - cx))
        rel = (ang - a0) % 360.0
        if rel <= a1 - a0:
            return abs(math.hypot(x - cx, y - cy) - r) - h
        return min(_seg_dist(x, y, p[0], p[1], q[0], q[1]) for p, q in ends)
    return f


def arc_head(cx, cy, r, half, length, at, clockwise=True):
    """Triangular arrow head whose base lies across the ring at angle `at`
    and whose tip lies on the ring `length` further along."""
    sign = 1.0 if clockwise else -1.0
    tip_deg = at + sign * math.degrees(length / r)
    return polygon([_polar(cx, cy, r - half, at),
                    _polar(cx, cy, r + half, at),
                    _polar(cx, cy, r, tip_deg)])


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def minus(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def intersect(a, b):
    return lambda x, y: max(a(x, y), b(x, y))


def grow(shape, d):
    return lambda x, y: shape(x, y) - d


def outline(shape, width):
    """A band of the given width just inside the shape's edge."""
    return lambda x, y: abs(shape(x, y) + width / 2.0) - width / 2.0


# --------------------------------------------------------------------------
# Canvas: RGBA floats (0..255, alpha 0..1), painted with "over".
# --------------------------------------------------------------------------

SUPER = 6  # samples per pixel side along edges


class Canvas:
    def __init__(self, w, h, bg=None):
        self.w, self.h = w, h
        fill = [bg[0], bg[1], bg[2], 1.0] if bg else [0.0, 0.0, 0.0, 0.0]
        self.px = [list(fill) for _ in range(w * h)]

    def fill(self, shape, color, aa=True, soft=0.0):
        """Paints `shape` (pixel coordinates) with `color`: an (r, g, b) or
        (r, g, b, a) tuple, or a function (x, y) returning one."""
        n = SUPER
        offs = [(k + 0.5) / n for k in range(n)]
        for j in range(self.h):
            for i in range(self.w):
                x, y = i + 0.5, j + 0.5
                d = shape(x, y)
                if soft:
                    cov = max(0.0, min(1.0, 0.5 - d / soft))
                elif not aa:
                    cov = 1.0 if d < 0 else 0.0
                elif d >= 0.75:
                    cov = 0.0
                elif d <= -0.75:
                    cov = 1.0
                else:
                    hits = 0
                    for oy in offs:
                        for ox in offs:
                            if shape(i + ox, j + oy) < 0:
                                hits += 1
                    cov = hits / float(n * n)
                if cov <= 0.0:
                    continue
                c = color(x, y) if callable(color) else color
                a = cov * (c[3] if len(c) > 3 else 1.0)
                self._over(j * self.w + i, c, a)

    def _over(self, idx, c, a):
        p = self.px[idx]
        da = p[3]
        oa = a + da * (1.0 - a)
        if oa <= 0.0:
            return
        for k in range(3):
            p[k] = (c[k] * a + p[k] * da * (1.0 - a)) / oa
        p[3] = oa

    def rgba(self):
        """Rows top to bottom of (r, g, b, a) byte tuples."""
        out = []
        for j in range(self.h):
            row = []
            for i in range(self.w):
                p = self.px[j * self.w + i]
                row.append(tuple(int(round(max(0.0, min(255.0, v)))) for v in p[:3])
                           + (int(round(max(0.0, min(1.0, p[3])) * 255)),))
            out.append(row)
        return out

    def on_white(self):
        """Rows of (r, g, b) with the picture laid over white."""
        out = []
        for row in self.rgba():
            out.append([tuple(int(round((c * a + 255 * (255 - a)) / 255.0)) for c in p[:3])
                        for p in row for a in (p[3],)])
        return out


def vgrad(y0, c0, y1, c1):
    """Vertical colour gradient from c0 at y0 to c1 at y1."""
    def f(x, y):
        t = max(0.0, min(1.0, (y - y0) / float(y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(c0, c1))
    return f


def paint_pixels(canvas, rows, color):
    """Pixel art: 'W' paints `color` fully, 'w' half way; others are left."""
    for j, row in enumerate(rows):
        for i, ch in enumerate(row):
            if ch in "Ww":
                c = color(i + 0.5, j + 0.5) if callable(color) else color
                canvas._over(j * canvas.w + i, c, 1.0 if ch == "W" else 0.55)


# --------------------------------------------------------------------------
# File writers
# --------------------------------------------------------------------------


def png_bytes(rows):
    """8-bit RGBA PNG."""
    h, w = len(rows), len(rows[0])
    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in rows)

    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data
                + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def ppm_bytes(rows):
    h, w = len(rows), len(rows[0])
    return b"P6\n%d %d\n255\n" % (w, h) + bytes(v for row in rows for p in row for v in p[:3])


def bmp24_bytes(rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = b""
    for row in reversed(rows):
        line_ = bytes(v for p in row for v in (p[2], p[1], p[0]))
        data += line_ + b"\x00" * (stride - len(line_))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 3780, 3780, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return head + info + data


def _mask_rows(bits_rows):
    """1-bit rows (lists of 0/1), bottom-up, each padded to 4 bytes."""
    out = b""
    for bits in reversed(bits_rows):
        row = bytearray((len(bits) + 31) // 32 * 4)
        for i, b in enumerate(bits):
            if b:
                row[i // 8] |= 0x80 >> (i % 8)
        out += bytes(row)
    return out


def ico_bmp32(rows):
    """Icon image: 32-bit BGRA BMP with its AND mask."""
    h, w = len(rows), len(rows[0])
    xor = b"".join(bytes(v for p in row for v in (p[2], p[1], p[0], p[3]))
                   for row in reversed(rows))
    andm = _mask_rows([[1 if p[3] == 0 else 0 for p in row] for row in rows])
    info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(xor) + len(andm), 0, 0, 0, 0)
    return info + xor + andm


VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
         (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
         (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
         (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def nearest16(c):
    return min(range(16), key=lambda k: sum((a - b) ** 2 for a, b in zip(c, VGA16[k])))


def ico_bmp4(rows):
    """Icon image: 16 colours (4 bits per pixel) with palette and AND mask."""
    h, w = len(rows), len(rows[0])
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in VGA16)
    stride = (w * 4 + 31) // 32 * 4
    xor = b""
    for row in reversed(rows):
        idx = [nearest16(p[:3]) if p[3] >= 128 else 0 for p in row]
        line_ = bytearray(stride)
        for i, k in enumerate(idx):
            line_[i // 2] |= k << (4 if i % 2 == 0 else 0)
        xor += bytes(line_)
    andm = _mask_rows([[1 if p[3] < 128 else 0 for p in row] for row in rows])
    info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 4, 0, len(xor) + len(andm), 0, 0, 16, 0)
    return info + pal + xor + andm


def icondir(kind, entries):
    """ICO (kind 1) or CUR (kind 2) container. Each entry is
    (width, height, colours, field4, field6, data); for icons field4/field6
    are planes/bits per pixel, for cursors the hot spot x/y."""
    out = struct.pack("<HHH", 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    body = b""
    for w, h, colours, f4, f6, data in entries:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, colours, 0, f4, f6,
                           len(data), offset + len(body))
        body += data
    return out + body


def find_convert():
    exe = shutil.which("convert")
    if not exe:
        sys.exit("ImageMagick's convert is needed for GIF and JPEG "
                 "(apt-get install -y imagemagick)")
    return exe


def run_convert(data, in_fmt, args, out_fmt):
    res = subprocess.run([find_convert(), in_fmt + ":-"] + args + [out_fmt + ":-"],
                         input=data, stdout=subprocess.PIPE, check=True)
    return res.stdout


def gif_bytes(canvas):
    """16x16 GIF: colours laid over white so edges blend into the white
    list background; fully clear pixels stay transparent."""
    rgba = canvas.rgba()
    white = canvas.on_white()
    rows = [[(0, 0, 0, 0) if a[3] < 16 else w + (255,) for a, w in zip(ra, rw)]
            for ra, rw in zip(rgba, white)]
    return run_convert(png_bytes(rows), "png", ["-strip"], "gif")


def jpeg_bytes(rows, quality):
    return run_convert(ppm_bytes(rows), "ppm",
                       ["-strip", "-units", "PixelsPerInch", "-density", "96",
                        "-sampling-factor", "1x1", "-quality", str(quality)], "jpeg")


# --------------------------------------------------------------------------
# The program icon and logo: a sturdy blue vault with a white circling
# arrow for its dial.
# --------------------------------------------------------------------------

NAVY = (16, 46, 104)
BLUE_TOP = (84, 152, 232)
BLUE_BOTTOM = (28, 88, 184)
WHITE = (255, 255, 255)
STEEL = (150, 184, 226)


# The 16x16 icon's arrow, drawn pixel by pixel: a downscaled ring is too
# muddy at this size. 'W' white, 'w' half white (smooths the curve).
ARROW_16 = [
    "................",
    "................",
    "........Ww......",
    "........WWw.....",
    "....wWWWWWWw....",
    "...wWWWWWWWw....",
    "...WWW..WWw.....",
    "...WW...Ww......",
    "...WW......WW...",
    "...WW......WW...",
    "...WW......WW...",
    "...WWw....wWW...",
    "...wWWWWWWWWw...",
    "....wWWWWWWw....",
    "................",
    "................",
]


def draw_vault(size, shadow=False):
    S = float(size)
    c = Canvas(size, size)
    if size <= 16:
        body = rbox(0.0, 0.0, S, S, 3.2)
        c.fill(body, NAVY)
        c.fill(grow(body, -1.0), vgrad(1.0, BLUE_TOP, S - 1.0, BLUE_BOTTOM))
        paint_pixels(c, ARROW_16, WHITE)
        return c
    m = round(S / 16.0)                    # margin around the box
    ow = 1.0 if size <= 32 else round(S / 24.0)     # navy outline width
    rad = S * 0.17
    x0, y0, x1, y1 = m, m, S - m, S - m
    if shadow:
        # the logo stands on a soft floor shadow
        c.fill(ellipse(S / 2, S - m * 1.6, S * 0.40, S * 0.04), (0, 0, 0, 0.30), soft=S * 0.05)
        x0, y0, x1, y1 = m * 1.25, m * 0.5, S - m * 1.25, S - m * 2.0
    body = rbox(x0, y0, x1, y1, rad)
    # hinges stick out on the left, drawn first so the body overlaps them
    hw = round(S * 0.045)
    hh = round(S * 0.075)
    for cy in (0.30, 0.70):
        yc = round(y0 + (y1 - y0) * cy)
        c.fill(rbox(x0 - hw, yc - hh, x0 + 2 * hw, yc + hh, hw * 0.7), NAVY)
    c.fill(body, NAVY)
    c.fill(grow(body, -ow), vgrad(y0, BLUE_TOP, y1, BLUE_BOTTOM))
    # a lighter band across the top gives the box some body
    if size >= 48:
        c.fill(intersect(grow(body, -ow), rbox(x0, y0, x1, y0 + (y1 - y0) * 0.10)),
               (255, 255, 255, 0.16))
    # bolts in the corners
    if size >= 64:
        br = S * 0.035
        inset = ow + S * 0.075
        for bx in (x0 + inset, x1 - inset):
            for by in (y0 + inset, y1 - inset):
                c.fill(circle(bx, by, br), NAVY)
                c.fill(circle(bx - br * 0.2, by - br * 0.2, br * 0.55), STEEL)
    # the dial: an arrow circling clockwise from the right round to the top,
    # and a knob in the middle
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    R = (x1 - x0) * 0.27
    T = max(2.0, S * 0.095)
    dial = union(arc(cx, cy, R, T, DIAL_START, DIAL_SWEEP),
                 arc_head(cx, cy, R, T * 1.25, T * 1.35, DIAL_START + DIAL_SWEEP))
    if size >= 48:
        c.fill(grow(dial, ow * 0.8), NAVY + (0.45,))
    c.fill(dial, WHITE)
    c.fill(circle(cx, cy, S * 0.075), WHITE)
    if size >= 48:
        c.fill(circle(cx, cy, S * 0.03), BLUE_BOTTOM)
    return c


DIAL_START, DIAL_SWEEP = 0.0, 270.0


def draw_vault_16_colours():
    """The 32x32 icon for 16-colour displays: same drawing, hard edges,
    plain palette colours only."""
    c = Canvas(32, 32)
    x0, y0, x1, y1 = 2.0, 2.0, 30.0, 30.0
    navy, blue, white = VGA16[4], VGA16[12], VGA16[15]
    for cy in (0.30, 0.70):
        yc = y0 + (y1 - y0) * cy
        c.fill(rbox(0.5, round(yc) - 2, 4, round(yc) + 2, 0.8), navy, aa=False)
    body = rbox(x0, y0, x1, y1, 5.0)
    c.fill(body, navy, aa=False)
    c.fill(grow(body, -1.0), blue, aa=False)
    cx, cy = 16.0, 16.0
    R, T = 7.5, 3.0
    dial = union(arc(cx, cy, R, T, DIAL_START, DIAL_SWEEP),
                 arc_head(cx, cy, R, T * 1.25, T * 1.35, DIAL_START + DIAL_SWEEP))
    c.fill(dial, white, aa=False)
    c.fill(circle(cx, cy, 2.3), white, aa=False)
    return c


# --------------------------------------------------------------------------
# 16x16 list pictures, drawn on a 16-pixel grid.
# --------------------------------------------------------------------------


def draw_folder():
    c = Canvas(16, 16)
    edge = (156, 112, 12)
    back_col = (236, 184, 44)
    front_top, front_bottom = (255, 228, 112), (248, 194, 56)
    back = polygon([(0.0, 3.0), (1.0, 2.0), (6.0, 2.0), (8.0, 4.0), (15.0, 4.0),
                    (16.0, 5.0), (16.0, 14.0), (0.0, 14.0)])
    c.fill(back, edge)
    c.fill(grow(back, -1.0), back_col)
    # a sheet of paper peeking out of the folder
    c.fill(rbox(2.0, 5.0, 14.0, 9.0), (196, 196, 196))
    c.fill(rbox(3.0, 6.0, 13.0, 9.0), WHITE)
    front = rbox(0.0, 7.0, 16.0, 14.0, 0.5)
    c.fill(front, edge)
    c.fill(grow(front, -1.0), vgrad(8.0, front_top, 13.0, front_bottom))
    return c


def draw_envelope():
    c = Canvas(16, 16)
    edge = (70, 92, 134)
    paper = (250, 246, 232)
    fold = (150, 162, 188)
    x0, y0, x1, y1 = 0.0, 3.0, 16.0, 13.0
    env = rbox(x0, y0, x1, y1, 0.5)
    c.fill(env, edge)
    c.fill(grow(env, -1.0), paper)
    inner = grow(env, -1.0)
    # lower folds, then the closed flap meeting in the middle
    c.fill(intersect(inner, line([(1.5, 12.0), (6.0, 8.2)], 0.9)), fold)
    c.fill(intersect(inner, line([(14.5, 12.0), (10.0, 8.2)], 0.9)), fold)
    flap = polygon([(1.0, 4.0), (15.0, 4.0), (8.0, 9.8)])
    c.fill(intersect(inner, flap), (232, 226, 204))
    c.fill(intersect(inner, line([(1.3, 4.2), (8.0, 9.6), (14.7, 4.2)], 1.1)), edge)
    return c


def draw_tick():
    c = Canvas(16, 16)
    pts = [(2.6, 8.6), (6.2, 12.2), (13.4, 3.6)]
    c.fill(line(pts, 4.2), (14, 110, 30))
    c.fill(line(pts, 2.4), vgrad(3.0, (88, 214, 84), 13.0, (36, 164, 48)))
    return c


def draw_error():
    c = Canvas(16, 16)
    disc = circle(8.0, 8.0, 7.5)
    c.fill(disc, (160, 16, 16))
    c.fill(grow(disc, -1.0), vgrad(1.5, (246, 82, 70), 14.5, (200, 26, 26)))
    c.fill(rbox(3.0, 6.0, 13.0, 10.0, 0.6), WHITE)
    return c


# Two arrows chasing each other clockwise round a ring; the lower one is the
# upper one turned half way round.
WAIT_TOP = [
    "................",
    "................",
    ".....WWWWWW.....",
    "...wWWWWWWWWw...",
    "...WWWw..wWWW...",
    "...........WWW..",
    "...........wWW..",
    "..........WWWWWW",
    "...........WWWW.",
    "............WW..",
]


def draw_wait():
    c = Canvas(16, 16)
    top = WAIT_TOP + ["." * 16] * (16 - len(WAIT_TOP))
    bottom = [row[::-1] for row in reversed(top)]
    paint_pixels(c, top, vgrad(2.0, (72, 196, 80), 10.0, (32, 150, 52)))
    paint_pixels(c, bottom, vgrad(6.0, (52, 172, 64), 14.0, (22, 128, 44)))
    return c


# --------------------------------------------------------------------------
# Pointing-hand cursor, drawn pixel by pixel.
#   '#' black   '.' white   ' ' see-through
# The hot spot is the tip of the index finger.
# --------------------------------------------------------------------------

HAND = [
    "       ##",
    "      #..#",
    "      #..#",
    "      #..#",
    "      #..#",
    "      #..#",
    "      #..#",
    "      #..###",
    "      #..#..###",
    "      #..#..#..#",
    "      #..#..#..###",
    "      #..#..#..#..#",
    " ##   #..#..#..#..#",
    "#..#  #..#..#..#..#",
    "#...# #..#..#..#..#",
    " #...##..#..#..#..#",
    " #................#",
    "  #...............#",
    "  #...............#",
    "   #..............#",
    "    #............#",
    "     #...........#",
    "     #...........#",
    "     #############",
]
HAND_HOTSPOT = (7, 0)   # column, row inside HAND


def hand_cursor():
    size = 32
    ox, oy = 5, 1          # where HAND sits in the 32x32 cell
    xor = [[0] * size for _ in range(size)]
    andm = [[1] * size for _ in range(size)]
    for r, text in enumerate(HAND):
        for col, ch in enumerate(text):
            if ch in "#.":
                andm[oy + r][ox + col] = 0
                xor[oy + r][ox + col] = 1 if ch == "." else 0
    info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 1, 0,
                       2 * size * 4, 0, 0, 2, 0)
    pal = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    data = info + pal + _mask_rows(xor) + _mask_rows(andm)
    hx, hy = ox + HAND_HOTSPOT[0], oy + HAND_HOTSPOT[1]
    return icondir(2, [(size, size, 2, hx, hy, data)])


# --------------------------------------------------------------------------


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(out, exist_ok=True)

    def write(name, data):
        with open(os.path.join(out, name), "wb") as fh:
            fh.write(data)
        print("wrote %-11s %6d bytes" % (name, len(data)))

    icons = [
        (16, 16, 0, 1, 32, ico_bmp32(draw_vault(16).rgba())),
        (32, 32, 16, 1, 4, ico_bmp4(draw_vault_16_colours().rgba())),
        (32, 32, 0, 1, 32, ico_bmp32(draw_vault(32).rgba())),
        (48, 48, 0, 1, 32, ico_bmp32(draw_vault(48).rgba())),
        (128, 128, 0, 1, 32, png_bytes(draw_vault(128).rgba())),
    ]
    write("tavrik.ico", icondir(1, icons))
    write("logo.jpg", jpeg_bytes(draw_vault(128, shadow=True).on_white(), 92))
    write("folder.gif", gif_bytes(draw_folder()))
    write("email.jpg", jpeg_bytes(draw_envelope().on_white(), 100))
    write("ok.gif", gif_bytes(draw_tick()))
    write("error.bmp", bmp24_bytes(draw_error().on_white()))
    write("wait.gif", gif_bytes(draw_wait()))
    write("hand.cur", hand_cursor())


if __name__ == "__main__":
    main()
