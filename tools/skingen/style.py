"""Colours, fonts and drawing primitives shared by every skin picture.

All drawing is integer-exact and free of randomness so that two runs of the
generator write identical files.
"""

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
        _fonts[key] = ImageFont.truetype(FONT_DIR + name + ".ttf", size)
    return _fonts[key]


def mix(a, b, t):
    """Linear blend of two colours, t in 0..1."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def text_size(txt, fnt, spacing=0):
    if not txt:
        return 0, 0
    box = fnt.getbbox(txt)
    w = box[2] - box[0] + spacing * (len(txt) - 1)
    return w, fnt.getbbox("Hg")[3] - fnt.getbbox("Hg")[1]


def draw_text(d, xy, txt, fnt, fill, spacing=0, anchor="la"):
    """Draw text; with letter spacing the characters are placed one by one.

    anchor: "la" left, "ma" centred, "ra" right (x refers to that point);
    y is the top of the capital letters.
    """
    x, y = xy
    w, _ = text_size(txt, fnt, spacing)
    if anchor == "ma":
        x -= w // 2
    elif anchor == "ra":
        x -= w
    top = fnt.getbbox("H")[1]
    y -= top
    if spacing == 0:
        d.text((x - fnt.getbbox(txt)[0], y), txt, font=fnt, fill=fill)
        return
    for ch in txt:
        d.text((x, y), ch, font=fnt, fill=fill)
        x += fnt.getlength(ch) + spacing


def cap_height(fnt):
    box = fnt.getbbox("H")
    return box[3] - box[1]


def text_centered(d, rect, txt, fnt, fill, spacing=0, dx=0):
    x, y, w, h = rect
    ch = cap_height(fnt)
    draw_text(d, (x + w // 2 + dx, y + (h - ch) // 2), txt, fnt, fill, spacing, "ma")


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
    """Vertical gradient image."""
    img = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(img)
    for j in range(h):
        t = j / max(1, h - 1)
        d.line([(0, j), (w - 1, j)], fill=mix(top, bottom, t))
    return img


def fill_poly(img, pts, top, bottom=None):
    """Fill a polygon with a vertical gradient (hard edges, no blending)."""
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    x0, y0, x1, y1 = min(xs), min(ys), max(xs), max(ys)
    w, h = x1 - x0 + 1, y1 - y0 + 1
    src = gradient(w, h, top, bottom if bottom else top)
    m = Image.new("1", (w, h), 0)
    ImageDraw.Draw(m).polygon([(px - x0, py - y0) for px, py in pts], fill=1)
    img.paste(src, (x0, y0), m)


def outline_poly(d, pts, colour):
    d.line(pts + [pts[0]], fill=colour, width=1)


def panel(img, rect, title=None, accent=True, fill=BG1):
    """A framed surface with a chamfered top-left corner and a small accent
    tick, optionally titled in spaced capitals."""
    x, y, w, h = rect
    d = ImageDraw.Draw(img)
    pts = chamfer_poly(x, y, w, h, 8, "tlbr")
    fill_poly(img, pts, mix(fill, BG2, 0.35), fill)
    outline_poly(d, pts, LINE)
    if accent:
        d.line([(x + 1, y + 8), (x + 8, y + 1)], fill=ACCENT_HI)
        d.line([(x + 9, y), (x + 30, y)], fill=ACCENT_HI)
        d.line([(x + w - 9, y + h - 1), (x + w - 30, y + h - 1)], fill=ACCENT)
    if title:
        draw_text(d, (x + 14, y + 9), title, font(10, bold=True), TEXT_DIM, spacing=1)


def heading(d, xy, txt, colour=TEXT_DIM, size=10):
    draw_text(d, xy, txt, font(size, bold=True), colour, spacing=1)


def background(w, h):
    """Window body: dark vertical gradient with a faint diagonal grain."""
    img = gradient(w, h, (17, 19, 22), BG0)
    d = ImageDraw.Draw(img)
    # Sparse diagonal hairlines give the surface a machined look without
    # noise (noise would bloat the compressed state sheets).
    for k in range(-h, w, 9):
        d.line([(k, h - 1), (k + h, 0)], fill=(15, 17, 20))
    return img


def supersample_shape(size, draw_fn, scale=4):
    """Draw an anti-aliased RGBA picture by drawing at a larger scale and
    shrinking it; used for the mouse illustration and emblems only."""
    w, h = size
    big = Image.new("RGBA", (w * scale, h * scale), (0, 0, 0, 0))
    draw_fn(ImageDraw.Draw(big), scale)
    return big.resize((w, h), Image.LANCZOS)
