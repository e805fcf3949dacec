"""Shapes and the canvas they are painted on, for make_pictures.py.

Shapes are signed distance functions (x, y) -> distance, negative inside,
filled with anti-aliasing by supersampling the edges. A canvas may be drawn
in units larger than its pixels: a 16-unit drawing on a 32-pixel canvas is
the same picture at twice the size, drawn afresh, not enlarged.
"""

import math

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
    def __init__(self, w, h, bg=None, unit=1.0):
        """unit: pixels per drawing unit."""
        self.w, self.h = w, h
        self.unit = float(unit)
        fill = [bg[0], bg[1], bg[2], 1.0] if bg else [0.0, 0.0, 0.0, 0.0]
        self.px = [list(fill) for _ in range(w * h)]

    def fill(self, shape, color, aa=True, soft=0.0):
        """Paints `shape` (drawing units) with `color`: an (r, g, b) or
        (r, g, b, a) tuple, or a function (x, y) returning one."""
        if self.unit != 1.0:
            u, plain_shape, plain_color = self.unit, shape, color
            shape = lambda x, y: plain_shape(x / u, y / u) * u  # noqa: E731
            if callable(plain_color):
                color = lambda x, y: plain_color(x / u, y / u)  # noqa: E731
            soft *= u
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
