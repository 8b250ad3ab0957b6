"""How each kind of control looks in each of the four state sheets.

Every function draws the control into the sheet of one state, inside the
control's own rectangle (the part the control cuts out at run time); frames
that sit outside the rectangle are drawn by frame_outside() into the shared
window body instead.

No picture carries a word: caption_look() says how the program writes a
control's word on it (size, alignment, colour per state, and the room an
icon keeps free at the left).
"""

from style import (ACCENT, ACCENT_DK, ACCENT_HI, BG1, BG2, DANGER, LABEL_BG, LINE,
                   LINE2, LIST_BG, STATES, TEXT, TEXT_DIM, TEXT_OFF, WHITE, chamfer_poly,
                   canvas, fill_poly, mix, new_image, outline_poly, paste, scaled_rect)

# Plain push buttons.
_BUTTON = {
    "normal": ((44, 48, 55), (30, 33, 38), LINE2, TEXT),
    "over": ((40, 66, 84), (26, 44, 58), ACCENT_HI, WHITE),
    "down": ((8, 124, 170), (4, 80, 112), ACCENT_HI, WHITE),
    "disable": ((26, 27, 30), (22, 23, 26), (40, 42, 46), TEXT_OFF),
}
# The button that commits (OK, Apply).
_PRIMARY = {
    "normal": ((10, 96, 134), (5, 62, 88), (30, 140, 190), WHITE),
    "over": ((22, 140, 192), (8, 96, 134), ACCENT_HI, WHITE),
    "down": ((96, 204, 255), (30, 150, 210), (200, 240, 255), (2, 30, 44)),
    "disable": ((26, 30, 34), (22, 25, 28), (40, 44, 48), TEXT_OFF),
}


def _button_body(img, rect, st, palette, cut=5):
    x, y, w, h = rect
    top, bottom, border, fg = palette[st]
    pts = chamfer_poly(x, y, w, h, cut, "tlbr")
    fill_poly(img, pts, top, bottom)
    d = canvas(img)
    outline_poly(d, pts, border)
    if st in ("normal", "over"):
        # Top highlight line for a slight bevel.
        d.line([(x + cut + 1, y + 1), (x + w - 2, y + 1)], fill=mix(top, WHITE, 0.12))
    return d, fg


# A button's pictogram sits at a fixed place at the left, so that a word of
# any length centres in the room right of it.
GLYPH_LEFT = 6
GLYPH_ROOM = 18


def button(img, c, st):
    palette = _PRIMARY if c.get("primary") else _BUTTON
    d, fg = _button_body(img, c["rect"], st, palette)
    glyph = c.get("glyph")
    if glyph:
        x, y, w, h = c["rect"]
        _glyph(d, glyph, (x + GLYPH_LEFT - 1, y + h // 2), fg)


def _glyph(d, kind, centre, colour):
    """Small pictograms drawn on buttons and tabs (about 12 pixels)."""
    cx, cy = centre
    if kind == "plus":
        d.rectangle([cx + 2, cy - 1, cx + 10, cy], fill=colour)
        d.rectangle([cx + 5, cy - 4, cx + 7, cy + 3], fill=colour)
    elif kind == "pen":
        d.line([(cx + 2, cy + 4), (cx + 10, cy - 4)], fill=colour, width=3)
        d.point((cx + 1, cy + 5), fill=colour)
    elif kind == "in":
        d.line([(cx + 6, cy - 6), (cx + 6, cy + 1)], fill=colour, width=2)
        d.polygon([(cx + 2, cy - 1), (cx + 10, cy - 1), (cx + 6, cy + 3)], fill=colour)
        d.line([(cx + 1, cy + 5), (cx + 11, cy + 5)], fill=colour, width=2)
    elif kind == "out":
        d.line([(cx + 6, cy - 2), (cx + 6, cy + 3)], fill=colour, width=2)
        d.polygon([(cx + 2, cy - 2), (cx + 10, cy - 2), (cx + 6, cy - 6)], fill=colour)
        d.line([(cx + 1, cy + 5), (cx + 11, cy + 5)], fill=colour, width=2)
    elif kind == "reset":
        d.arc([cx + 1, cy - 5, cx + 11, cy + 5], 40, 330, fill=colour, width=2)
        d.polygon([(cx + 8, cy - 7), (cx + 12, cy - 3), (cx + 7, cy - 2)], fill=colour)
    elif kind == "globe":
        d.ellipse([cx + 1, cy - 5, cx + 11, cy + 5], outline=colour, width=1)
        d.line([(cx + 1, cy), (cx + 11, cy)], fill=colour)
        d.ellipse([cx + 4, cy - 5, cx + 8, cy + 5], outline=colour, width=1)
    elif kind == "book":
        d.rectangle([cx + 1, cy - 5, cx + 11, cy + 5], outline=colour)
        d.line([(cx + 6, cy - 5), (cx + 6, cy + 5)], fill=colour)
        d.line([(cx + 3, cy - 2), (cx + 4, cy - 2)], fill=colour)
        d.line([(cx + 8, cy - 2), (cx + 9, cy - 2)], fill=colour)
    elif kind == "folder":
        d.polygon([(cx + 1, cy - 4), (cx + 5, cy - 4), (cx + 6, cy - 2), (cx + 11, cy - 2),
                   (cx + 11, cy + 5), (cx + 1, cy + 5)], outline=colour)
    elif kind == "trash":
        d.rectangle([cx + 3, cy - 3, cx + 9, cy + 5], outline=colour)
        d.line([(cx + 1, cy - 5), (cx + 11, cy - 5)], fill=colour, width=2)
        d.line([(cx + 6, cy - 1), (cx + 6, cy + 3)], fill=colour)


def close(img, c, st):
    x, y, w, h = c["rect"]
    d = canvas(img)
    if c["kind"] == "close":
        bg = {"normal": BG2, "over": DANGER, "down": (120, 20, 26), "disable": BG1}[st]
        border = {"normal": LINE2, "over": (230, 80, 86), "down": (230, 80, 86),
                  "disable": LINE}[st]
    else:
        bg = {"normal": BG2, "over": (20, 80, 110), "down": ACCENT_DK, "disable": BG1}[st]
        border = {"normal": LINE2, "over": ACCENT_HI, "down": ACCENT_HI, "disable": LINE}[st]
    fg = {"normal": TEXT_DIM, "over": WHITE, "down": WHITE, "disable": TEXT_OFF}[st]
    pts = chamfer_poly(x, y, w, h, 4, "tlbr")
    fill_poly(img, pts, bg)
    outline_poly(d, pts, border)
    cx, cy = x + w // 2, y + h // 2
    if c["kind"] == "close":
        d.line([(cx - 4, cy - 4), (cx + 4, cy + 4)], fill=fg, width=2)
        d.line([(cx - 4, cy + 4), (cx + 4, cy - 4)], fill=fg, width=2)
    else:  # minimise
        d.rectangle([cx - 5, cy + 2, cx + 5, cy + 3], fill=fg)


def check(img, c, st):
    x, y, w, h = c["rect"]
    d = canvas(img)
    by = y + (h - 14) // 2
    box = [x + 1, by, x + 14, by + 13]
    border = {"normal": LINE2, "over": ACCENT_HI, "down": ACCENT_HI, "disable": LINE}[st]
    fillc = {"normal": (10, 11, 13), "over": (14, 30, 40), "down": ACCENT,
             "disable": BG1}[st]
    band = {"normal": (30, 33, 38), "over": (24, 40, 52), "down": (8, 52, 74)}.get(st)
    if band:
        # A band behind the whole row makes hover and the checked state
        # readable at a glance, not only in the small box; the disabled row
        # has none, as its word alone no longer shows it.
        fill_poly(img, chamfer_poly(x, y, w, h, 4, "br"), band, mix(band, BG1, 0.5))
    d.rectangle(box, fill=fillc, outline=border)
    if st == "down":
        d.line([(x + 4, by + 7), (x + 6, by + 10), (x + 11, by + 3)], fill=WHITE, width=2)


def radio(img, c, st):
    """Segment of a choice group: an LED dot and a label; latched = lit."""
    x, y, w, h = c["rect"]
    d, _ = _button_body(img, c["rect"], st, _BUTTON, cut=4)
    if c.get("led"):
        # A status light left of the label (pairs of wide choices).
        led = {"normal": (34, 38, 44), "over": (30, 90, 120), "down": (170, 230, 255),
               "disable": (30, 31, 34)}[st]
        cy = y + h // 2
        d.ellipse([x + 7, cy - 3, x + 13, cy + 3], fill=led)
    elif st == "down":
        d.line([(x + 6, y + h - 3), (x + w - 7, y + h - 3)], fill=(170, 230, 255))


def tab(img, c, st):
    """Page selector of the main window; the latched one joins the page."""
    x, y, w, h = c["rect"]
    d = canvas(img)
    pts = chamfer_poly(x, y, w, h, 10, "tl")
    if st == "over":
        fill_poly(img, pts, (30, 36, 43), (22, 26, 31))
        d.rectangle([x, y + 10, x + 2, y + h - 1], fill=ACCENT)
    elif st == "down":
        fill_poly(img, pts, mix(BG1, BG2, 0.35), BG1)
        d.rectangle([x, y + 10, x + 3, y + h - 1], fill=ACCENT_HI)
        outline_poly(d, pts, LINE)
        # Open edge towards the page.
        d.line([(x + w - 1, y + 1), (x + w - 1, y + h - 2)], fill=BG1)
    elif st == "disable":
        fill_poly(img, pts, (16, 17, 19))
    else:
        fill_poly(img, pts, (20, 22, 26), (15, 17, 20))
        outline_poly(d, pts, (30, 33, 38))
    icon = {"normal": TEXT_DIM, "over": ACCENT_HI, "down": ACCENT_HI, "disable": TEXT_OFF}[st]
    _tab_icon(d, c["icon"], (x + 18, y + h // 2), icon)


def _tab_icon(d, kind, centre, col):
    cx, cy = centre
    if kind == "buttons":  # a mouse outline with a split top
        d.rounded_rectangle([cx, cy - 10, cx + 14, cy + 10], radius=7, outline=col, width=2)
        d.line([(cx + 7, cy - 10), (cx + 7, cy - 2)], fill=col, width=2)
        d.line([(cx, cy - 2), (cx + 14, cy - 2)], fill=col, width=1)
    elif kind == "light":  # a bulb of rays
        d.ellipse([cx + 3, cy - 5, cx + 13, cy + 5], outline=col, width=2)
        for dx, dy in ((-6, 0), (6, 0), (0, -9), (0, 9), (-5, -6), (5, -6), (-5, 6), (5, 6)):
            px, py = cx + 8 + dx, cy + dy
            d.line([(px, py), (px + (1 if dx > 0 else -1 if dx < 0 else 0),
                               py + (1 if dy > 0 else -1 if dy < 0 else 0))], fill=col, width=2)
    elif kind == "perf":  # a gauge
        d.arc([cx, cy - 9, cx + 18, cy + 9], 180, 360, fill=col, width=2)
        d.line([(cx + 9, cy), (cx + 15, cy - 6)], fill=col, width=2)
        d.ellipse([cx + 7, cy - 2, cx + 11, cy + 2], fill=col)
        d.line([(cx, cy + 4), (cx + 18, cy + 4)], fill=col, width=1)
    elif kind == "support":  # an i in a ring
        d.ellipse([cx, cy - 9, cx + 18, cy + 9], outline=col, width=2)
        d.rectangle([cx + 8, cy - 2, cx + 10, cy + 5], fill=col)
        d.rectangle([cx + 8, cy - 6, cx + 10, cy - 4], fill=col)


def profile_shape(w, h, first):
    """Outline of a profile selector: an arrow pointing right, the first one
    with a straight left edge, the others notched to follow the previous."""
    n = 12
    pts = [(0, 0), (w - 1 - n, 0), (w - 1, (h - 1) // 2), (w - 1 - n, h - 1), (0, h - 1)]
    if not first:
        pts.append((n, (h - 1) // 2))
    return pts


_PROFILE = {
    "normal": ((38, 42, 48), (26, 29, 33), LINE2, TEXT_DIM),
    "over": ((34, 60, 78), (24, 40, 52), ACCENT_HI, WHITE),
    "down": ((10, 132, 180), (5, 84, 118), ACCENT_HI, WHITE),
    "disable": ((24, 25, 28), (20, 21, 24), LINE, TEXT_OFF),
}


def profile(img, c, st):
    x, y, w, h = c["rect"]
    pts = [(x + px, y + py) for px, py in profile_shape(w, h, c["first"])]
    top, bottom, border, _ = _PROFILE[st]
    fill_poly(img, pts, top, bottom)
    outline_poly(canvas(img), pts, border)


def edit(img, c, st):
    x, y, w, h = c["rect"]
    canvas(img).rectangle([x, y, x + w - 1, y + h - 1], fill=c.get("bg", (0, 0, 0)))


def listbox(img, c, st):
    x, y, w, h = c["rect"]
    canvas(img).rectangle([x, y, x + w - 1, y + h - 1], fill=LIST_BG)


def frame_outside(img, c):
    """One-pixel frame just outside edit fields, lists and value areas, so
    that the system-drawn inside meets a skinned edge."""
    x, y, w, h = c["rect"]
    d = canvas(img)
    d.rectangle([x - 2, y - 2, x + w + 1, y + h + 1], outline=(6, 7, 8))
    d.rectangle([x - 1, y - 1, x + w, y + h], outline=LINE2)
    d.line([(x - 1, y - 1), (x + 12, y - 1)], fill=ACCENT_HI)


def slider(img, c, st):
    """Slider track: a groove with tick marks; the thumb is slider.bmp."""
    x, y, w, h = c["rect"]
    d = canvas(img)
    cy = y + h // 2
    dim = st == "disable"
    d.rectangle([x + 2, cy - 4, x + w - 3, cy + 3], fill=(4, 5, 6),
                outline=LINE if dim else (84, 92, 104))
    d.line([(x + 3, cy - 3), (x + w - 4, cy - 3)], fill=(0, 0, 0))
    d.rectangle([x + 4, cy - 1, x + w - 5, cy], fill=(30, 34, 39) if dim else ACCENT)
    ticks = c.get("ticks", 0)
    for i in range(ticks):
        tx = x + 6 + (w - 13) * i // max(1, ticks - 1)
        col = LINE if dim else (78, 86, 96)
        d.line([(tx, cy + 5), (tx, cy + 7)], fill=col)
        d.line([(tx, cy - 8), (tx, cy - 6)], fill=col)


def spin(img, c, st):
    """Spin box: number well on the left, up and down arrows on the right, at
    the places the control cuts its two small buttons from."""
    x, y, w, h = c["rect"]
    d = canvas(img)
    d.rectangle([x, y, x + w - 1, y + h - 1], fill=(20, 22, 25), outline=LINE2)
    d.rectangle([x + 2, y + 2, x + w - 21, y + 15], fill=(0, 0, 0))
    arrow = {"normal": TEXT, "over": ACCENT_HI, "down": WHITE, "disable": TEXT_OFF}[st]
    face = {"normal": (40, 44, 50), "over": (30, 56, 72), "down": ACCENT,
            "disable": (26, 27, 30)}[st]
    for top, up in ((y + 2, True), (y + 11, False)):
        d.rectangle([x + w - 20, top, x + w - 3, top + 6], fill=face)
        ax = x + w - 12
        if up:
            d.polygon([(ax - 3, top + 4), (ax + 3, top + 4), (ax, top + 1)], fill=arrow)
        else:
            d.polygon([(ax - 3, top + 2), (ax + 3, top + 2), (ax, top + 5)], fill=arrow)


def label(img, c, st):
    x, y, w, h = c["rect"]
    d = canvas(img)
    if c.get("strip"):
        d.rectangle([x, y, x + w - 1, y + h - 1], fill=c["strip"])
        return
    d.rectangle([x, y, x + w - 1, y + h - 1], fill=LABEL_BG)


def swatch(img, c, st):
    """LED colour swatch: the left 35 x 19 pixels are painted with the colour
    at run time; the rest shows a drop arrow in the state colour."""
    x, y, w, h = c["rect"]
    d = canvas(img)
    border = {"normal": LINE2, "over": ACCENT_HI, "down": WHITE, "disable": LINE}[st]
    face = {"normal": (36, 40, 46), "over": (30, 56, 72), "down": ACCENT,
            "disable": (24, 25, 28)}[st]
    d.rectangle([x, y, x + w - 1, y + h - 1], fill=face, outline=border)
    d.rectangle([x + 1, y + 1, x + 34, y + 18], fill=(90, 90, 90))
    ax, ay = x + 35 + (w - 35) // 2, y + h // 2
    fg = {"normal": TEXT, "over": WHITE, "down": WHITE, "disable": TEXT_OFF}[st]
    d.polygon([(ax - 3, ay - 2), (ax + 3, ay - 2), (ax, ay + 2)], fill=fg)


def preset(img, c, st):
    x, y, w, h = c["rect"]
    d = canvas(img)
    col = c["colour"]
    if st == "disable":
        g = sum(col) // 3
        col = mix(col, (g, g, g), 0.7)
        col = mix(col, BG1, 0.55)
    d.rectangle([x, y, x + w - 1, y + h - 1], fill=(6, 7, 8))
    if st == "normal":
        d.rectangle([x + 2, y + 2, x + w - 3, y + h - 3], fill=col)
    elif st == "over":
        d.rectangle([x, y, x + w - 1, y + h - 1], outline=ACCENT_HI, width=2)
        d.rectangle([x + 3, y + 3, x + w - 4, y + h - 4], fill=col)
    elif st == "down":
        d.rectangle([x, y, x + w - 1, y + h - 1], outline=WHITE, width=2)
        d.rectangle([x + 2, y + 2, x + w - 3, y + h - 3], outline=(0, 0, 0))
        d.rectangle([x + 3, y + 3, x + w - 4, y + h - 4], fill=col)
    else:
        d.rectangle([x + 2, y + 2, x + w - 3, y + h - 3], fill=col)


def dropdown(img, c, st):
    """Selector whose face text the program draws at x + 5 in light grey."""
    x, y, w, h = c["rect"]
    d = canvas(img)
    border = {"normal": LINE2, "over": ACCENT_HI, "down": ACCENT_HI, "disable": LINE}[st]
    field = {"over": (20, 30, 38), "down": (8, 52, 74), "disable": (9, 9, 10)}.get(st, (14, 15, 17))
    d.rectangle([x, y, x + w - 1, y + h - 1], fill=field, outline=border)
    bx = x + w - 28
    bface = {"normal": (40, 44, 50), "over": (30, 56, 72), "down": ACCENT,
             "disable": (20, 21, 23)}[st]
    d.rectangle([bx, y + 1, x + w - 2, y + h - 2], fill=bface)
    d.line([(bx, y + 1), (bx, y + h - 2)], fill=border)
    fg = {"normal": TEXT, "over": WHITE, "down": WHITE, "disable": TEXT_OFF}[st]
    ax, ay = bx + 14, y + h // 2
    d.polygon([(ax - 5, ay - 2), (ax + 5, ay - 2), (ax, ay + 3)], fill=fg)


def record_face(rect, st, stop):
    """Record / stop button picture for the button at rect (also drawn into
    the macro manager's sheets for the idle state).  It is drawn where the
    button sits and cut out, so that it has exactly the button's size once
    both edges are rounded to the scale."""
    x, y, w, h = rect
    img = new_image("RGB", (x + w, y + h), BG1)
    if stop:
        pal = {"normal": ((190, 40, 46), (130, 22, 28), (240, 96, 100), WHITE),
               "over": ((220, 58, 64), (160, 30, 36), (255, 140, 140), WHITE),
               "down": ((110, 18, 24), (160, 30, 36), (255, 140, 140), WHITE),
               "disable": ((40, 30, 30), (30, 24, 24), (60, 44, 44), TEXT_OFF)}
    else:
        pal = {"normal": ((44, 48, 55), (30, 33, 38), LINE2, TEXT),
               "over": ((56, 40, 44), (40, 26, 30), (240, 96, 100), WHITE),
               "down": ((110, 18, 24), (160, 30, 36), (255, 140, 140), WHITE),
               "disable": ((26, 27, 30), (22, 23, 26), (40, 42, 46), TEXT_OFF)}
    top, bottom, border, fg = pal[st]
    pts = chamfer_poly(x, y, w, h, 5, "tlbr")
    fill_poly(img, pts, top, bottom)
    d = canvas(img)
    outline_poly(d, pts, border)
    cx, cy = x + w // 2, y + h // 2
    if stop:
        d.rectangle([cx - 5, cy - 5, cx + 4, cy + 4], fill=fg)
    else:
        dot = {"normal": (220, 48, 54), "over": (255, 80, 86), "down": (255, 150, 150),
               "disable": (70, 40, 40)}[st]
        d.ellipse([cx - 6, cy - 6, cx + 6, cy + 6], fill=dot)
    sx, sy, sw, sh = scaled_rect(rect)
    return img.crop((sx, sy, sx + sw, sy + sh))


def record(img, c, st):
    sx, sy = scaled_rect(c["rect"])[:2]
    img.paste(record_face(c["rect"], st, False), (sx, sy))


def area(img, c, st):
    """Rectangle-only keys: drawn by the window at run time or, for the
    spectrum, part of the background itself (see windows.py)."""
    fn = c.get("paint")
    if fn:
        fn(img, c)


def hint_strip(img, c, st):
    label(img, c, st)


def badge(img, c, st):
    """A button that does nothing but carries the emblem."""
    from art import emblem
    x, y, w, h = c["rect"]
    glow = {"normal": 0.0, "over": 0.6, "down": 1.0, "disable": -1.0}[st]
    pic = emblem((w, h), glow, None)
    paste(img, pic, (x, y), pic)


def assign(img, c, st):
    """Assignment button: the program writes "n. function" on it at x + 5 in
    light grey, so the left part stays a calm dark plate in every state."""
    x, y, w, h = c["rect"]
    top, bottom, border = {
        "normal": ((34, 37, 42), (24, 26, 30), LINE2),
        "over": ((30, 50, 64), (22, 36, 46), ACCENT_HI),
        "down": ((8, 100, 140), (4, 66, 94), ACCENT_HI),
        "disable": ((22, 23, 26), (20, 21, 24), LINE),
    }[st]
    pts = chamfer_poly(x, y, w, h, 5, "br")
    fill_poly(img, pts, top, bottom)
    d = canvas(img)
    outline_poly(d, pts, border)
    bar = {"normal": ACCENT, "over": ACCENT_HI, "down": WHITE, "disable": LINE}[st]
    d.rectangle([x, y + 1, x + 1, y + h - 2], fill=bar)
    ax, ay = x + w - 14, y + h // 2
    fg = {"normal": TEXT_DIM, "over": ACCENT_HI, "down": WHITE, "disable": TEXT_OFF}[st]
    d.polygon([(ax - 4, ay - 2), (ax + 4, ay - 2), (ax, ay + 3)], fill=fg)


DRAW = {
    "assign": assign,
    "button": button, "close": close, "min": close, "check": check, "radio": radio,
    "tab": tab, "profile": profile, "edit": edit, "list": listbox, "slider": slider,
    "spin": spin, "label": label, "swatch": swatch, "preset": preset,
    "dropdown": dropdown, "record": record, "area": area, "badge": badge,
}


# How the program writes a control's word: the colour in each state (from
# the same palettes the pictures use), the font size at 100 %, the
# alignment letter and the room kept free at the left for an icon.
_LIGHT_FG = {"normal": TEXT, "over": WHITE, "down": WHITE, "disable": TEXT_OFF}
_DIM_FG = {"normal": TEXT_DIM, "over": WHITE, "down": WHITE, "disable": TEXT_OFF}


def _states(fg):
    return tuple(fg[st] for st in STATES)


def caption_look(c):
    """(size, alignment, colours of the four states, left inset) of the word
    on control c."""
    kind = c["kind"]
    if kind == "button":
        palette = _PRIMARY if c.get("primary") else _BUTTON
        inset = GLYPH_ROOM if c.get("glyph") else 0
        return c.get("size", 11), "c", _states({st: palette[st][3] for st in STATES}), inset
    if kind == "radio":
        fg = {st: _BUTTON[st][3] for st in STATES}
        return c.get("size", 10), "c", _states(fg), 16 if c.get("led") else 0
    if kind == "check":
        return 10, "l", _states(_LIGHT_FG), 18
    if kind == "tab":
        return 11, "l", _states(_DIM_FG), 46
    if kind == "profile":
        return 11, "c", _states({st: _PROFILE[st][3] for st in STATES}), 0
    return 10, "l", _states(_LIGHT_FG), 0
