#!/usr/bin/env python3
"""Draws Quorvane's own artwork with nothing but the standard library:

  quorvane.ico        the application icon: 32x32 at 24 bits, 48x48, 128x128 and 256x256 at
                      32 bits, every image an uncompressed bitmap
  icons/NNxNN.png     the same pictures for the desktop's icon theme
  HAND-M.CUR          the hand pointer shown over the buttons, hot spot at the finger's tip

Run it from anywhere; it writes beside itself. The outputs are committed, so a build never
needs Python."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SUPER = 4  # samples per pixel along each axis


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return x0 <= x <= x1 and y0 <= y <= y1 and (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


class Canvas:
    """RGBA pixels, painted with shapes given in the unit square, anti-aliased."""

    def __init__(self, size):
        self.size = size
        self.pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def fill(self, shape, colour, box=(0, 0, 1, 1)):
        n = self.size
        x0, y0, x1, y1 = (max(0, int(box[0] * n) - 1), max(0, int(box[1] * n) - 1),
                          min(n, int(box[2] * n) + 2), min(n, int(box[3] * n) + 2))
        r, g, b, a = colour
        for py in range(y0, y1):
            for px in range(x0, x1):
                hits = 0
                for sy in range(SUPER):
                    for sx in range(SUPER):
                        if shape((px + (sx + 0.5) / SUPER) / n, (py + (sy + 0.5) / SUPER) / n):
                            hits += 1
                if not hits:
                    continue
                alpha = a * hits / (SUPER * SUPER) / 255.0
                dr, dg, db, da = self.pixels[py][px]
                out_a = alpha + da / 255.0 * (1 - alpha)
                mix = lambda s, d: (s * alpha + d * da / 255.0 * (1 - alpha)) / out_a
                self.pixels[py][px] = (round(mix(r, dr)), round(mix(g, dg)), round(mix(b, db)),
                                       round(out_a * 255))


def draw_icon(size):
    c = Canvas(size)
    paper_back = (0xC9, 0xD6, 0xE6, 255)
    paper = (0xFF, 0xFF, 0xFF, 255)
    edge = (0x2F, 0x4B, 0x6E, 255)
    ink = (0x8A, 0x96, 0xA6, 255)
    inserted = (0xF6, 0xC9, 0x3C, 255)
    deleted = (0xC8, 0x3A, 0x32, 255)
    # The earlier version behind, the revised one in front.
    c.fill(rounded_rect(0.10, 0.04, 0.66, 0.80, 0.05), edge)
    c.fill(rounded_rect(0.13, 0.07, 0.63, 0.77, 0.035), paper_back)
    front = polygon([(0.30, 0.18), (0.76, 0.18), (0.92, 0.34), (0.92, 0.96), (0.30, 0.96)])
    c.fill(front, edge, (0.28, 0.16, 0.94, 0.98))
    inner = polygon([(0.335, 0.215), (0.745, 0.215), (0.885, 0.355), (0.885, 0.925),
                     (0.335, 0.925)])
    c.fill(inner, paper, (0.3, 0.2, 0.9, 0.95))
    c.fill(polygon([(0.745, 0.215), (0.745, 0.355), (0.885, 0.355)]), paper_back,
           (0.7, 0.2, 0.9, 0.4))
    # Lines of text: one inserted (marked), one deleted (struck through).
    rows = [0.42, 0.52, 0.62, 0.72, 0.82]
    for i, y in enumerate(rows):
        right = 0.82 if i % 2 == 0 else 0.74
        if i == 1:
            c.fill(rounded_rect(0.38, y - 0.045, 0.84, y + 0.045, 0.02), inserted)
        c.fill(rounded_rect(0.40, y - 0.018, right, y + 0.018, 0.018), ink)
        if i == 3:
            c.fill(rounded_rect(0.37, y - 0.014, right + 0.03, y + 0.014, 0.012), deleted)
    return c


def draw_hand(size=32):
    c = Canvas(size)
    u = 1.0 / size  # one pixel

    def hand(inset):
        d = inset * u
        return union(
            rounded_rect(0.27 + d, 0.02 + d, 0.42 - d, 0.62, 0.075 - d),   # index finger
            rounded_rect(0.40 + d, 0.38 + d, 0.54 - d, 0.66, 0.07 - d),    # middle finger
            rounded_rect(0.52 + d, 0.42 + d, 0.66 - d, 0.68, 0.07 - d),    # ring finger
            rounded_rect(0.64 + d, 0.47 + d, 0.77 - d, 0.70, 0.065 - d),   # little finger
            rounded_rect(0.27 + d, 0.55 + d, 0.77 - d, 0.96 - d, 0.14 - d),  # palm
            polygon([(0.08 + d, 0.52 + d), (0.16, 0.46 + d), (0.34, 0.66), (0.34, 0.86),
                     (0.26, 0.86)]),                                        # thumb
        )
    c.fill(hand(0), (0, 0, 0, 255))
    c.fill(hand(1.1), (255, 255, 255, 255))
    # The creases between the fingers.
    for x, top in ((0.405, 0.40), (0.525, 0.44), (0.645, 0.49)):
        c.fill(rounded_rect(x, top, x + u, 0.60, 0), (0, 0, 0, 255))
    return c


def bitmap(canvas, bits):
    """The BITMAPINFOHEADER, colour rows and mask of one image in an .ico or .cur."""
    n = canvas.size
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, bits, 0, 0, 0, 0, 0, 0)
    rows = b''
    for y in reversed(range(n)):
        row = b''
        for r, g, b, a in canvas.pixels[y]:
            row += bytes((b, g, r, a)) if bits == 32 else bytes((b, g, r))
        rows += row + b'\0' * ((-len(row)) % 4)
    mask = b''
    for y in reversed(range(n)):
        bits_row = 0
        for x, (_, _, _, a) in enumerate(canvas.pixels[y]):
            if a < 128:
                bits_row |= 1 << (n - 1 - x)
        row = bits_row.to_bytes((n + 7) // 8, 'big')
        mask += row + b'\0' * ((-len(row)) % 4)
    return header + rows + mask


def directory(kind, images):
    """An .ico (kind 1) or .cur (kind 2) holding (canvas, bits, hotspot) images."""
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for canvas, bits, hotspot in images:
        blob = bitmap(canvas, bits)
        n = canvas.size % 256
        planes, count = hotspot if kind == 2 else (1, bits)
        out += struct.pack('<BBBBHHII', n, n, 0, 0, planes, count, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b''.join(blobs)


def png(canvas):
    raw = b''.join(b'\0' + b''.join(bytes(p) for p in row) for row in canvas.pixels)
    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    n = canvas.size
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', n, n, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def main():
    icons = {size: draw_icon(size) for size in (32, 48, 128, 256)}
    # The 32-pixel image flattens on white: 24 bits carry no alpha, the mask cuts the rest.
    flat = Canvas(32)
    for y in range(32):
        for x in range(32):
            r, g, b, a = icons[32].pixels[y][x]
            k = a / 255.0
            flat.pixels[y][x] = (round(r * k + 255 * (1 - k)), round(g * k + 255 * (1 - k)),
                                 round(b * k + 255 * (1 - k)), a)
    images = [(flat, 24, None)] + [(icons[s], 32, None) for s in (48, 128, 256)]
    with open(os.path.join(HERE, 'quorvane.ico'), 'wb') as f:
        f.write(directory(1, images))
    os.makedirs(os.path.join(HERE, 'icons'), exist_ok=True)
    for size, canvas in icons.items():
        with open(os.path.join(HERE, 'icons', f'{size}x{size}.png'), 'wb') as f:
            f.write(png(canvas))
    hand = draw_hand()
    with open(os.path.join(HERE, 'HAND-M.CUR'), 'wb') as f:
        f.write(directory(2, [(hand, 32, (11, 1))]))


if __name__ == '__main__':
    main()
