"""Illustrations: the emblem, the mouse drawing of the button page, warning
signs, the colour spectrum, the fixed control pictures and the icons."""

import colorsys
import struct


from style import (ACCENT, ACCENT_DK, ACCENT_HI, BG0, BG1, BG2, LINE, LINE2, TEXT, TEXT_DIM,
                   TEXT_OFF, WHITE, chamfer_poly, draw_text, fill_poly, font, mix, outline_poly,
                   canvas, new_image, paste, scaled_rect, supersample_shape)

AMBER = (244, 172, 38)
MAGENTA = (255, 0, 255)


def _hexagon(cx, cy, r):
    return [(cx + r * dx, cy + r * dy) for dx, dy in
            ((0, -1), (0.866, -0.5), (0.866, 0.5), (0, 1), (-0.866, 0.5), (-0.866, -0.5))]


def emblem(size, glow=0.0, bg=BG1):
    """Hexagon badge with two stacked chevrons.  glow: 0 rest, up to 1 lit,
    negative for the disabled look."""
    w, h = size
    if glow < 0:
        edge, inner, chev = LINE, (20, 21, 24), TEXT_OFF
    else:
        edge = mix(ACCENT, ACCENT_HI, glow)
        inner = mix((16, 22, 28), (8, 50, 70), glow)
        chev = mix(mix(ACCENT_HI, WHITE, 0.1), WHITE, glow)

    def paint(d, s):
        cx, cy, r = w * s / 2, h * s / 2, min(w, h) * s * 0.46
        d.polygon(_hexagon(cx, cy, r), fill=edge + (255,))
        d.polygon(_hexagon(cx, cy, r * 0.86), fill=inner + (255,))
        for k, off in enumerate((-0.28, 0.08)):
            t = r * 0.42
            y0 = cy + r * off
            pts = [(cx - t, y0), (cx, y0 + t * 0.62), (cx + t, y0),
                   (cx + t, y0 + t * 0.42), (cx, y0 + t * 1.04), (cx - t, y0 + t * 0.42)]
            col = chev if k == 0 else mix(chev, inner, 0.35)
            d.polygon(pts, fill=col + (255,))

    pic = supersample_shape(size, paint)
    if bg is None:
        return pic
    img = new_image("RGB", size, bg)
    paste(img, pic, (0, 0), pic)
    return img


def stamp(img, xy, size, paint):
    """A square anti-aliased picture of size (100 % pixels), drawn by paint as
    supersample_shape does, laid over img at xy."""
    pic = supersample_shape((size, size), paint)
    paste(img, pic, xy, pic)


def warning_sign(img, xy, size=40, colour=AMBER):
    def paint(d, s):
        r = size * s
        d.polygon([(r / 2, s * 1), (r - s, r - 2 * s), (s, r - 2 * s)], fill=colour + (255,))
        d.polygon([(r / 2, s * 6), (r - 6 * s, r - 5 * s), (6 * s, r - 5 * s)],
                  fill=(26, 20, 8, 255))
        d.rounded_rectangle([r / 2 - 2.2 * s, r * 0.36, r / 2 + 2.2 * s, r * 0.68],
                            radius=2 * s, fill=colour + (255,))
        d.ellipse([r / 2 - 2.5 * s, r * 0.74, r / 2 + 2.5 * s, r * 0.74 + 5 * s],
                  fill=colour + (255,))

    stamp(img, xy, size, paint)


def info_sign(img, xy, size=40):
    def paint(d, s):
        r = size * s
        d.ellipse([s, s, r - s, r - s], fill=ACCENT_HI + (255,))
        d.ellipse([4 * s, 4 * s, r - 4 * s, r - 4 * s], fill=(6, 30, 44, 255))
        d.rounded_rectangle([r / 2 - 2.4 * s, r * 0.42, r / 2 + 2.4 * s, r * 0.76],
                            radius=2 * s, fill=ACCENT_HI + (255,))
        d.ellipse([r / 2 - 2.7 * s, r * 0.22, r / 2 + 2.7 * s, r * 0.22 + 5.4 * s],
                  fill=ACCENT_HI + (255,))

    stamp(img, xy, size, paint)


def spectrum(img, rect):
    """Hue left to right; pale at the top, full colour in the middle, dark at
    the bottom.  The colour dialog takes a click's colour from these pixels."""
    x, y, w, h = scaled_rect(rect)
    pix = img.load()
    half = h / 2
    for j in range(h):
        for i in range(w):
            hue = i / w
            if j < half:
                s, v = 0.08 + 0.92 * (j / half), 1.0
            else:
                s, v = 1.0, 1.0 - 0.92 * ((j - half) / half)
            r, g, b = colorsys.hsv_to_rgb(hue, s, v)
            pix[x + i, y + j] = (int(r * 255 + 0.5), int(g * 255 + 0.5), int(b * 255 + 0.5))


def mouse_drawing(size, badges):
    """Top view of the mouse with numbered markers.  badges: list of
    (number, x, y) in picture coordinates."""
    w, h = size

    def paint(d, s):
        W, H = w * s, h * s
        cx = W / 2

        def body(grow, colour):
            g = grow * s
            d.ellipse([cx - W * 0.36 - g, H * 0.02 - g, cx + W * 0.36 + g, H * 0.52 + g],
                      fill=colour)
            d.ellipse([cx - W * 0.46 - g, H * 0.40 - g, cx + W * 0.46 + g, H * 0.99 + g],
                      fill=colour)
            d.polygon([(cx - W * 0.36 - g, H * 0.27), (cx + W * 0.36 + g, H * 0.27),
                       (cx + W * 0.44 + g, H * 0.62), (cx - W * 0.44 - g, H * 0.62)],
                      fill=colour)

        body(3, LINE2 + (255,))
        body(1, (6, 7, 8, 255))
        body(0, (30, 33, 38, 255))
        # Palm: a raised spine running back from the button split.
        d.polygon([(cx - W * 0.10, H * 0.45), (cx + W * 0.10, H * 0.45),
                   (cx + W * 0.20, H * 0.97), (cx - W * 0.20, H * 0.97)],
                  fill=(36, 40, 46, 255))
        d.line([(cx - W * 0.10, H * 0.45), (cx - W * 0.20, H * 0.97)], fill=(52, 57, 64, 255),
               width=int(s))
        d.line([(cx + W * 0.10, H * 0.45), (cx + W * 0.20, H * 0.97)], fill=(20, 22, 25, 255),
               width=int(s))
        # Main buttons split by the channel.
        d.line([(cx, H * 0.03), (cx, H * 0.44)], fill=(8, 9, 10, 255), width=int(3 * s))
        d.line([(cx - W * 0.35, H * 0.44), (cx + W * 0.35, H * 0.44)], fill=(8, 9, 10, 255),
               width=int(2 * s))
        # Wheel.
        d.rounded_rectangle([cx - W * 0.06, H * 0.10, cx + W * 0.06, H * 0.29], radius=5 * s,
                            fill=(14, 15, 17, 255), outline=LINE2 + (255,), width=int(s))
        for k in range(7):
            yy = H * (0.12 + k * 0.024)
            d.line([(cx - W * 0.04, yy), (cx + W * 0.04, yy)], fill=(70, 76, 84, 255),
                   width=int(s))
        # CPI buttons behind the wheel.
        for k in range(2):
            yy = H * (0.32 + k * 0.055)
            d.rounded_rectangle([cx - W * 0.05, yy, cx + W * 0.05, yy + H * 0.04], radius=3 * s,
                                fill=(44, 48, 55, 255), outline=(8, 9, 10, 255), width=int(s))
        # Side buttons on the left flank.
        for k, (y0, y1) in enumerate(((0.40, 0.50), (0.52, 0.62))):
            d.rounded_rectangle([W * 0.035, H * y0, W * 0.10, H * y1], radius=4 * s,
                                fill=(48, 52, 60, 255), outline=(8, 9, 10, 255), width=int(s))
        # Light strips along the back.
        d.arc([cx - W * 0.43, H * 0.42, cx + W * 0.43, H * 0.975], 150, 200,
              fill=ACCENT_HI + (255,), width=int(2 * s))
        d.arc([cx - W * 0.43, H * 0.42, cx + W * 0.43, H * 0.975], -20, 30,
              fill=ACCENT_HI + (255,), width=int(2 * s))
        d.arc([cx - W * 0.43, H * 0.42, cx + W * 0.43, H * 0.975], 75, 105,
              fill=ACCENT + (255,), width=int(2 * s))
        # Emblem on the palm.
        r = W * 0.09
        hx, hy = cx, H * 0.74
        d.polygon(_hexagon(hx, hy, r), fill=ACCENT + (255,))
        d.polygon(_hexagon(hx, hy, r * 0.78), fill=(14, 30, 40, 255))
        t = r * 0.42
        d.polygon([(hx - t, hy - t * 0.5), (hx, hy + t * 0.1), (hx + t, hy - t * 0.5),
                   (hx + t, hy - t * 0.1), (hx, hy + t * 0.55), (hx - t, hy - t * 0.1)],
                  fill=ACCENT_HI + (255,))
        for num, bx, by in badges:
            rr = 8.5 * s
            X, Y = bx * s, by * s
            d.ellipse([X - rr - s, Y - rr - s, X + rr + s, Y + rr + s], fill=(6, 7, 8, 255))
            d.ellipse([X - rr, Y - rr, X + rr, Y + rr], fill=ACCENT + (255,))

    pic = supersample_shape(size, paint)
    d = canvas(pic)
    for num, bx, by in badges:
        fnt = font(10, bold=True)
        draw_text(d, (bx, by - 4), str(num), fnt, WHITE, anchor="ma")
    return pic


def number_badge(img, xy, num):
    x, y = xy

    def paint(d, s):
        d.ellipse([0, 0, 18 * s - 1, 18 * s - 1], fill=(6, 7, 8, 255))
        d.ellipse([s, s, 17 * s - 1, 17 * s - 1], fill=ACCENT + (255,))

    stamp(img, xy, 18, paint)
    draw_text(canvas(img), (x + 9, y + 5), str(num), font(10, bold=True), WHITE,
              anchor="ma")


# ---- fixed pictures loaded by the controls -------------------------------

def slider_thumb():
    """Slider thumb: magenta background (the control cuts pixels of the
    colour of pixel (0, 0) away), a steel grip with an accent groove."""
    w, h = 12, 22
    img = new_image("RGB", (w, h), MAGENTA)
    pts = chamfer_poly(0, 0, w, h, 3, "tltrbrbl")
    fill_poly(img, pts, (214, 220, 228), (120, 128, 138))
    d = canvas(img)
    outline_poly(d, pts, (20, 22, 26))
    d.line([(5, 4), (5, 17)], fill=ACCENT)
    d.line([(6, 4), (6, 17)], fill=ACCENT_HI)
    return img


def scroll_arrow(up):
    w, h = 16, 16
    img = new_image("RGB", (w, h), MAGENTA)
    pts = chamfer_poly(0, 0, w, h, 3, "tltrbrbl")
    fill_poly(img, pts, (48, 53, 60), (30, 33, 38))
    d = canvas(img)
    outline_poly(d, pts, LINE2)
    if up:
        d.polygon([(4, 10), (11, 10), (7, 5)], fill=ACCENT_HI)
    else:
        d.polygon([(4, 6), (11, 6), (7, 11)], fill=ACCENT_HI)
    return img


def scroll_grip():
    w, h = 16, 32
    img = new_image("RGB", (w, h), MAGENTA)
    pts = chamfer_poly(1, 0, 14, h, 3, "tltrbrbl")
    fill_poly(img, pts, (60, 66, 75), (36, 40, 46))
    d = canvas(img)
    outline_poly(d, pts, LINE2)
    for k in range(3):
        d.line([(5, 12 + 4 * k), (10, 12 + 4 * k)], fill=ACCENT_HI)
    return img


# ---- program icons ---------------------------------------------------------

def _icon_picture(n, kind):
    def paint(d, s):
        S = n * s
        cx = cy = S / 2
        r = S * 0.49
        d.polygon(_hexagon(cx, cy, r), fill=ACCENT_HI + (255,))
        d.polygon(_hexagon(cx, cy, r * 0.84), fill=(10, 36, 52, 255))
        if kind == "monitor":
            # Mouse silhouette.
            mw, mh = S * 0.34, S * 0.52
            d.rounded_rectangle([cx - mw / 2, cy - mh / 2, cx + mw / 2, cy + mh / 2],
                                radius=mw / 2, fill=WHITE + (255,))
            d.line([(cx, cy - mh / 2), (cx, cy - mh * 0.08)], fill=(10, 36, 52, 255),
                   width=max(1, int(S * 0.05)))
            d.line([(cx - mw / 2, cy - mh * 0.08), (cx + mw / 2, cy - mh * 0.08)],
                   fill=(10, 36, 52, 255), width=max(1, int(S * 0.04)))
        else:
            # Three sliders: the settings program.
            for k, pos in enumerate((0.35, 0.7, 0.5)):
                yy = cy + (k - 1) * S * 0.2
                x0, x1 = cx - S * 0.26, cx + S * 0.26
                d.line([(x0, yy), (x1, yy)], fill=(150, 210, 240, 255),
                       width=max(1, int(S * 0.05)))
                kx = x0 + (x1 - x0) * pos
                kr = S * 0.075
                d.ellipse([kx - kr, yy - kr, kx + kr, yy + kr], fill=WHITE + (255,))

    return supersample_shape((n, n), paint, scale=8, physical=True)


def write_ico(path, kind, sizes=(16, 20, 24, 32, 48)):
    """Icon file with one 32-bit BMP entry per size (alpha plus AND mask),
    written by hand so that every Windows version and the resource compiler
    read it and the bytes do not depend on the Pillow version."""
    write_ico_pictures(path, [_icon_picture(n, kind) for n in sizes])


def write_ico_pictures(path, pictures):
    """Icon file with one 32-bit BMP entry per square picture, in the format
    write_ico describes."""
    entries = []
    for pic in pictures:
        pic = pic.convert("RGBA")
        n = pic.size[0]
        px = pic.load()
        xor = bytearray()
        for y in range(n - 1, -1, -1):
            for x in range(n):
                r, g, b, a = px[x, y]
                xor += bytes((b, g, r, a))
        row = ((n + 31) // 32) * 4
        andm = bytearray()
        for y in range(n - 1, -1, -1):
            bits = bytearray(row)
            for x in range(n):
                if px[x, y][3] < 128:
                    bits[x // 8] |= 0x80 >> (x % 8)
            andm += bits
        header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, len(xor) + len(andm),
                             0, 0, 0, 0)
        entries.append((n, header + bytes(xor) + bytes(andm)))
    out = bytearray(struct.pack("<HHH", 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for n, data in entries:
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in entries:
        out += data
    with open(path, "wb") as f:
        f.write(bytes(out))
