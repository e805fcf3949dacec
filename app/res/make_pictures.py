#!/usr/bin/env python3
"""Draws every picture Tavrik Backup ships and writes it next to this script.

    python3 app/res/make_pictures.py            # writes into app/res/
    python3 app/res/make_pictures.py OUTDIR     # writes somewhere else

Everything is drawn here with the Python standard library (the shapes and
the canvas are in picture_shapes.py, the file formats in picture_files.py).
Each picture is drawn afresh at every size the program may show it at, so
it stays sharp at any display scale; pictures are transparent where nothing
is drawn, so they sit on whatever background the colour scheme gives. The
output is deterministic: the same bytes on every run.

Files written:
  tavrik.ico             program icon: 16, 20, 24, 32, 40, 48, 64 (32-bit
                         BGRA), 32 (16 colours), 128 (PNG)
  pictures/logo-N.png    product logo (About box, splash window): 128 to 256
  pictures/KIND-N.png    list pictures, 16 to 48 pixels: folder and email
                         (a row's kind), ok, error and wait (a row's state)
  hand.cur               32x32 monochrome pointing-hand cursor (over links)

The program reads picture k at size n as resource k x 1000 + n (tavrik.rc).
"""

import math
import os
import sys

from picture_files import hand_cursor, icondir, ico_bmp32, ico_bmp4, png_bytes, VGA16
from picture_shapes import (Canvas, arc, arc_head, circle, ellipse, grow, intersect, line,
                            paint_pixels, polygon, rbox, union, vgrad)

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
# List pictures, drawn on a 16-unit grid at any number of pixels.
# --------------------------------------------------------------------------

LIST_SIZES = (16, 20, 24, 32, 40, 48)
LOGO_SIZES = (128, 160, 192, 256)


def unit_canvas(size):
    return Canvas(size, size, unit=size / 16.0)


def draw_folder(size):
    c = unit_canvas(size)
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


def draw_envelope(size):
    c = unit_canvas(size)
    edge = (70, 92, 134)
    paper = (250, 246, 232)
    fold = (150, 162, 188)
    env = rbox(0.0, 3.0, 16.0, 13.0, 0.5)
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


def draw_tick(size):
    c = unit_canvas(size)
    pts = [(2.6, 8.6), (6.2, 12.2), (13.4, 3.6)]
    c.fill(line(pts, 4.2), (14, 110, 30))
    c.fill(line(pts, 2.4), vgrad(3.0, (88, 214, 84), 13.0, (36, 164, 48)))
    return c


def draw_error(size):
    c = unit_canvas(size)
    disc = circle(8.0, 8.0, 7.5)
    c.fill(disc, (160, 16, 16))
    c.fill(grow(disc, -1.0), vgrad(1.5, (246, 82, 70), 14.5, (200, 26, 26)))
    c.fill(rbox(3.0, 6.0, 13.0, 10.0, 0.6), WHITE)
    return c


# Two arrows chasing each other clockwise round a ring; the lower one is the
# upper one turned half way round. At 16 pixels they are drawn pixel by
# pixel, a ring being too muddy at that size.
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
WAIT_GREENS = (((72, 196, 80), (32, 150, 52)), ((52, 172, 64), (22, 128, 44)))


def draw_wait(size):
    c = unit_canvas(size)
    if size == 16:
        top = WAIT_TOP + ["." * 16] * (16 - len(WAIT_TOP))
        bottom = [row[::-1] for row in reversed(top)]
        paint_pixels(c, top, vgrad(2.0, WAIT_GREENS[0][0], 10.0, WAIT_GREENS[0][1]))
        paint_pixels(c, bottom, vgrad(6.0, WAIT_GREENS[1][0], 14.0, WAIT_GREENS[1][1]))
        return c
    for start, (light, dark) in zip((190.0, 10.0), WAIT_GREENS):
        arrow = union(arc(8.0, 8.0, 5.2, 2.0, start, 115.0),
                      arc_head(8.0, 8.0, 5.2, 2.7, 3.2, start + 115.0))
        c.fill(arrow, vgrad(2.0, light, 14.0, dark))
    return c


# --------------------------------------------------------------------------


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(os.path.join(out, "pictures"), exist_ok=True)

    def write(name, data):
        with open(os.path.join(out, name), "wb") as fh:
            fh.write(data)
        print("wrote %-24s %6d bytes" % (name, len(data)))

    icons = [(n, n, 0, 1, 32, ico_bmp32(draw_vault(n).rgba())) for n in (16, 20, 24)]
    icons.append((32, 32, 16, 1, 4, ico_bmp4(draw_vault_16_colours().rgba())))
    icons += [(n, n, 0, 1, 32, ico_bmp32(draw_vault(n).rgba())) for n in (32, 40, 48, 64)]
    icons.append((128, 128, 0, 1, 32, png_bytes(draw_vault(128).rgba())))
    write("tavrik.ico", icondir(1, icons))
    for n in LOGO_SIZES:
        write("pictures/logo-%d.png" % n, png_bytes(draw_vault(n, shadow=True).rgba()))
    kinds = [("folder", draw_folder), ("email", draw_envelope), ("ok", draw_tick),
             ("error", draw_error), ("wait", draw_wait)]
    for name, draw in kinds:
        for n in LIST_SIZES:
            write("pictures/%s-%d.png" % (name, n), png_bytes(draw(n).rgba()))
    write("hand.cur", hand_cursor())


if __name__ == "__main__":
    main()
