"""Colours, fonts and drawing primitives shared by every skin picture.

All drawing is integer-exact and free of randomness so that two runs of the
generator write identical files.
"""

import math

from PIL import Image, ImageDraw, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"

# Surfaces, darkest first.
BG0 = (11, 12, 14)  # window body
BG1 = (18, 20, 23)  # panels and pages
BG2 = (26, 29, 33)  # raised parts
LINE = (42, 47, 54)  # panel outlines
LINE2 = (64, 71, 80)  # control outlines
TEXT = (212, 216, 222)
TEXT_DIM = (132, 138, 147)
TEXT_OFF = (74, 78, 84)
WHITE = (255, 255, 255)
# The accent of the popup menus (red 6, green 107, blue 149) and the bright
# colour they use to mark the current choice.
ACCENT = (6, 107, 149)
ACCENT_DK = (4, 58, 82)
ACCENT_HI = (68, 191, 255)
DANGER = (178, 36, 42)
# Plate behind value labels; those labels draw near-black text on it.
LABEL_BG = (214, 218, 222)
LIST_BG = (9, 9, 9)

STATES = ("normal", "over", "down", "disable")

# Display scales a set is rendered for, in percent; 100 is the skins folder
# itself, the others go to skins/<percent>/.
SCALES = (100, 125, 150, 175, 200)

# Everything below is described in 100 % pixels and drawn at this scale:
# positions, lines and text are placed and sized at the target size, never
# resampled from a 100 % picture.
_scale = 1.0


def set_scale(percent):
    global _scale
    _scale = percent / 100.0
    _fonts.clear()


def scale():
    return _scale


def px(v):
    """Edge v of a 100 % picture at the current scale: neighbours that share
    an edge keep sharing it (edges are rounded, not sizes)."""
    return int(math.floor(v * _scale + 0.5))


def scaled_rect(rect):
    """(x, y, w, h) at the current scale, by rounding both edges."""
    x, y, w, h = rect
    x0, y0 = px(x), px(y)
    return x0, y0, px(x + w) - x0, px(y + h) - y0


def stroke(width):
    """A line width at the current scale, never thinner than one pixel."""
    return max(1, px(width))


def new_image(mode, size, colour=0):
    """A picture of size (w, h) in 100 % pixels, made at the current scale."""
    w, h = size
    return Image.new(mode, (px(w), px(h)), colour)


def logical_size(img):
    """The 100 % size of a picture made by new_image (the scale is at least 1,
    so rounding back gives the exact size)."""
    return tuple(int(math.floor(v / _scale + 0.5)) for v in img.size)


def paste(img, pic, xy, mask=None):
    """Paste a picture made at the current scale at the 100 % point xy."""
    img.paste(pic, (px(xy[0]), px(xy[1])), mask)


def _box(xy):
    """An inclusive pixel box [x0, y0, x1, y1] at the current scale."""
    x0, y0, x1, y1 = xy
    return [px(x0), px(y0), px(x1 + 1) - 1, px(y1 + 1) - 1]


def _centre(v):
    """The middle of the pixels that 100 % pixel v becomes (continuous, so
    lines between fractional points keep their slope)."""
    return v * _scale + (_scale - 1) / 2


def polygon_points(pts):
    """Vertices of a polygon covering whole pixels, at the current scale: the
    corners land on the scaled bounding box, the rest in proportion."""
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]

    def axis(v, lo, hi):
        a, b = px(lo), px(hi + 1) - 1
        if hi == lo:
            return a
        return int(math.floor(a + (v - lo) * (b - a) / (hi - lo) + 0.5))

    return [(axis(x, min(xs), max(xs)), axis(y, min(ys), max(ys))) for x, y in pts]


class Canvas:
    """ImageDraw with coordinates in 100 % pixels, drawing at the current
    scale onto a picture made by new_image."""

    def __init__(self, img):
        self.raw = ImageDraw.Draw(img)

    def line(self, pts, fill=None, width=1):
        self.raw.line([(_centre(x), _centre(y)) for x, y in pts], fill=fill,
                      width=stroke(width))

    def point(self, xy, fill=None):
        x, y = xy
        self.raw.rectangle([px(x), px(y), px(x + 1) - 1, px(y + 1) - 1], fill=fill)

    def polygon(self, pts, fill=None, outline=None):
        self.raw.polygon(polygon_points(pts), fill=fill, outline=outline)

    def rectangle(self, xy, fill=None, outline=None, width=1):
        self.raw.rectangle(_box(xy), fill=fill, outline=outline, width=stroke(width))

    def rounded_rectangle(self, xy, radius=0, fill=None, outline=None, width=1):
        self.raw.rounded_rectangle(_box(xy), radius=px(radius), fill=fill, outline=outline,
                                   width=stroke(width))

    def ellipse(self, xy, fill=None, outline=None, width=1):
        self.raw.ellipse(_box(xy), fill=fill, outline=outline, width=stroke(width))

    def arc(self, xy, start, end, fill=None, width=1):
        self.raw.arc(_box(xy), start, end, fill=fill, width=stroke(width))


def canvas(img):
    return Canvas(img)

_fonts = {}


def font(size, bold=False, cond=False, mono=False):
    key = (size, bold, cond, mono)
    if key not in _fonts:
        name = "DejaVuSans"
        if mono:
            name = "DejaVuSansMono"
        elif cond:
            name = "DejaVuSansCondensed"
        if bold:
            name += "-Bold"
        _fonts[key] = ImageFont.truetype(FONT_DIR + name + ".ttf", px(size))
    return _fonts[key]


def mix(a, b, t):
    """Linear blend of two colours, t in 0..1."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def draw_text(d, xy, txt, fnt, fill, spacing=0, anchor="la"):
    """Draw text with a canvas (only the numerals of the illustrations: the
    skins' words are drawn by the program); with letter spacing the
    characters are placed one by one.

    anchor: "la" left, "ma" centred, "ra" right (x refers to that point);
    y is the top of the capital letters.  The text is laid out in pixels of
    the current scale so that glyphs are drawn at their own size.
    """
    x, y = px(xy[0]), px(xy[1])
    gap = px(spacing)
    if txt:
        box = fnt.getbbox(txt)
        w = box[2] - box[0] + gap * (len(txt) - 1)
    else:
        w = 0
    if anchor == "ma":
        x -= w // 2
    elif anchor == "ra":
        x -= w
    y -= fnt.getbbox("H")[1]
    if gap == 0:
        d.raw.text((x - fnt.getbbox(txt)[0], y), txt, font=fnt, fill=fill)
        return
    for ch in txt:
        d.raw.text((x, y), ch, font=fnt, fill=fill)
        x += fnt.getlength(ch) + gap


def chamfer_poly(x, y, w, h, c, corners="tlbr"):
    """Polygon of a rectangle with 45-degree cuts of size c at the named
    corners (tl, tr, br, bl); the polygon covers pixels x..x+w-1."""
    r, b = x + w - 1, y + h - 1
    pts = []
    pts += [(x, y + c), (x + c, y)] if "tl" in corners else [(x, y)]
    pts += [(r - c, y), (r, y + c)] if "tr" in corners else [(r, y)]
    pts += [(r, b - c), (r - c, b)] if "br" in corners else [(r, b)]
    pts += [(x + c, b), (x, b - c)] if "bl" in corners else [(x, b)]
    return pts


def gradient(w, h, top, bottom):
    """Vertical gradient picture, w x h pixels of the current scale."""
    img = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(img)
    for j in range(h):
        t = j / max(1, h - 1)
        d.line([(0, j), (w - 1, j)], fill=mix(top, bottom, t))
    return img


def fill_poly(img, pts, top, bottom=None):
    """Fill a polygon given in 100 % pixels with a vertical gradient (hard
    edges, no blending)."""
    pts = polygon_points(pts)
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    x0, y0, x1, y1 = min(xs), min(ys), max(xs), max(ys)
    w, h = x1 - x0 + 1, y1 - y0 + 1
    src = gradient(w, h, top, bottom if bottom else top)
    m = Image.new("1", (w, h), 0)
    ImageDraw.Draw(m).polygon([(x - x0, y - y0) for x, y in pts], fill=1)
    img.paste(src, (x0, y0), m)


def outline_poly(d, pts, colour):
    """The outline of a polygon in 100 % pixels, drawn inside its edge so
    that it stays on the pixels the filled polygon covers."""
    pts = polygon_points(pts)
    width = stroke(1)
    if width == 1:
        d.raw.line(pts + [pts[0]], fill=colour, width=1)
    else:
        d.raw.polygon(pts, outline=colour, width=width)


def panel(img, rect, accent=True, fill=BG1):
    """A framed surface with a chamfered top-left corner and a small accent
    tick."""
    x, y, w, h = rect
    d = canvas(img)
    pts = chamfer_poly(x, y, w, h, 8, "tlbr")
    fill_poly(img, pts, mix(fill, BG2, 0.35), fill)
    outline_poly(d, pts, LINE)
    if accent:
        d.line([(x + 1, y + 8), (x + 8, y + 1)], fill=ACCENT_HI)
        d.line([(x + 9, y), (x + 30, y)], fill=ACCENT_HI)
        d.line([(x + w - 9, y + h - 1), (x + w - 30, y + h - 1)], fill=ACCENT)


def background(w, h):
    """Window body of w x h (100 % pixels): dark vertical gradient with a
    faint diagonal grain."""
    img = gradient(px(w), px(h), (17, 19, 22), BG0)
    d = canvas(img)
    # Sparse diagonal hairlines give the surface a machined look without
    # noise (noise would bloat the compressed state sheets).
    for k in range(-h, w, 9):
        d.line([(k, h - 1), (k + h, 0)], fill=(15, 17, 20))
    return img


def supersample_shape(size, draw_fn, scale=4, physical=False):
    """Draw an anti-aliased RGBA picture by drawing at a larger scale and
    shrinking it; used for the mouse illustration, emblems and icons only.

    size is in 100 % pixels (the picture is made at the current scale) or,
    with physical, in pixels of the result.  draw_fn gets the raw drawing
    and the factor from 100 % pixels to its pixels."""
    w, h = size
    factor = scale
    if not physical:
        w, h = px(w), px(h)
        factor = scale * _scale
    big = Image.new("RGBA", (w * scale, h * scale), (0, 0, 0, 0))
    draw_fn(ImageDraw.Draw(big), factor)
    return big.resize((w, h), Image.LANCZOS)
