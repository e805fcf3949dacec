"""File formats for make_pictures.py, put together byte by byte: PNG, and
the ICO and CUR containers with their BMP images; and the pointing-hand
cursor, drawn pixel by pixel."""

import struct
import zlib


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
