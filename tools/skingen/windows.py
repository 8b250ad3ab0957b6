"""The one description of every skinned window: size, outline, static
artwork and words, and each BUTTONPOS key with its control kind, role,
control id, hint (the caption after the last comma) and the word written
on it.  Words are written as the window shows them; words.py finds their
ids in the English string table and places them for the program to draw.

Coordinates are client pixels (x, y, w, h).  The generator, the README and
the contact sheets are all produced from this table.
"""

import math

import art
import style
import words
from style import (ACCENT, ACCENT_HI, LINE, LINE2, TEXT, TEXT_DIM, WHITE, canvas,
                   logical_size, mix, paste)

PAGE_W, PAGE_H = 660, 400  # the main window's page area (key 42)
PAGE_X, PAGE_Y = 176, 124

# Preset colours of the lighting page, 0x00BBGGRR as the program keeps them.
PRESETS = [0x0000FF, 0x0025FB, 0x004DFE, 0x006EE6, 0x4187C3, 0x41BEFF, 0x0AF0FF, 0x00FFFF,
           0x00FFC8, 0x00FAA5, 0x0AFA89, 0x00FF00, 0x03A811, 0x017D0B, 0x73D20F, 0xB9FF00,
           0xC8C80F, 0xDCDC6E, 0xFFD900, 0xF0A01E, 0xFA6464, 0xF58264, 0xF07828, 0xD27828,
           0xFF0000, 0xBE3050, 0xF03264, 0xFF37A0, 0xE16496, 0xD732A0, 0xF537B4, 0xFF00FF,
           0x4600C8]


def bgr(v):
    return (v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF)


def C(key, kind, rect, name, role, hint="", text="", cid="", **extra):
    c = dict(key=str(key), kind=kind, rect=tuple(rect), name=name, role=role, hint=hint,
             text=text, cid=str(cid))
    c.update(extra)
    return c


# The pictures carry no words: these place them for the program to draw
# (words.py), where the art shows them.

def _text(xy, txt, size=11, colour=TEXT, bold=False, anchor="la", spacing=0, limit=None):
    words.put(xy, txt, size, colour, bold, anchor, spacing, limit)


def _lines(xy, lines, size=11, colour=TEXT, gap=17, limit=None):
    """A note of several lines: one string that wraps in its box."""
    words.put(xy, " ".join(lines), size, colour, limit=limit, lines=len(lines), gap=gap)


def heading(xy, txt, colour=TEXT_DIM, size=10, limit=None):
    words.put(xy, txt, size, colour, bold=True, spacing=1, limit=limit)


def panel(img, rect, title=None, accent=True):
    """A framed surface; its title and the words inside stay inside."""
    style.panel(img, rect, accent=accent)
    words.region(rect)
    if title:
        x, y = rect[:2]
        heading((x + 14, y + 9), title)


def _title_and_sub(xy, title, size, spacing, sub, sub_dy):
    """A title and a note after it; the note starts where the title's box
    may end."""
    x, y = xy
    room = int(words.english_width(title, size, True, spacing) * words.GROWTH) + 12
    _text(xy, title, size, WHITE, bold=True, spacing=spacing,
          limit=x + room if sub else None)
    if sub:
        _text((x + room + 4, y + sub_dy), sub, 10, TEXT_DIM)


def _ok_cancel(w, y, ok_key, cancel_key, ok_text="OK", cancel_text="CANCEL"):
    return [
        C(ok_key, "button", (w - 232, y, 100, 30), "ok", "OK: accept and close",
          "Accept and close", ok_text, primary=True),
        C(cancel_key, "button", (w - 124, y, 100, 30), "cancel", "Cancel: close, change nothing",
          "Close without changes", cancel_text),
    ]


def _close(key, w):
    return C(key, "close", (w - 40, 9, 26, 22), "close", "Cancel (close box)",
             "Close without changes")


# ---------------------------------------------------------------------------
# Outlines

def main_outline(w, h):
    """Main window: chamfered corners of different size, a bevelled step
    down the right-hand side and a tab under the bottom bar."""
    b = h - 14
    return [(26, 0), (w - 60, 0), (w - 48, 12), (w - 1, 12), (w - 1, 120), (w - 8, 127),
            (w - 8, b - 26), (w - 34, b), (536, b), (522, h - 1), (338, h - 1), (324, b),
            (22, b), (0, b - 22), (0, 160), (6, 154), (6, 32), (0, 26)]


def dialog_outline(w, h):
    return [(14, 0), (w - 7, 0), (w - 1, 6), (w - 1, h - 15), (w - 15, h - 1), (6, h - 1),
            (0, h - 7), (0, 14)]


def page_outline(w, h):
    return [(0, 0), (w - 1, 0), (w - 1, h - 1), (0, h - 1)]


# ---------------------------------------------------------------------------
# Static artwork

def dialog_frame(img, w, h, title, sub=None):
    d = canvas(img)
    d.rectangle([0, 0, w - 1, 39], fill=(8, 9, 11))
    d.line([(0, 40), (w - 1, 40)], fill=LINE)
    d.line([(14, 40), (120, 40)], fill=ACCENT_HI)
    d.polygon([(14, 14), (20, 14), (16, 26), (10, 26)], fill=ACCENT_HI)
    d.polygon([(22, 14), (28, 14), (24, 26), (18, 26)], fill=ACCENT)
    _title_and_sub((38, 14), title, 13, 1, sub, 2)
    pts = dialog_outline(w, h)
    d.line(pts + [pts[0]], fill=LINE2)
    d.line([(w - 15, h - 1), (w - 1, h - 15)], fill=ACCENT_HI)
    d.line([(0, 14), (14, 0)], fill=ACCENT_HI)


def page_title(img, title, sub):
    d = canvas(img)
    _title_and_sub((14, 12), title, 15, 2, sub, 4)
    d.rectangle([14, 34, 44, 35], fill=ACCENT_HI)
    d.rectangle([46, 34, 200, 35], fill=LINE2)


def page_body(img):
    d = canvas(img)
    d.rectangle([0, 0, img.width - 1, img.height - 1], outline=LINE)


# ---------------------------------------------------------------------------
# Main configuration window

MAIN_W, MAIN_H = 860, 600


def _main_deco(img):
    w, h = MAIN_W, MAIN_H
    d = canvas(img)
    # Header band with the wordmark.
    d.rectangle([0, 0, w - 1, 60], fill=(8, 9, 11))
    d.line([(0, 61), (w - 1, 61)], fill=LINE)
    d.line([(176, 61), (420, 61)], fill=ACCENT_HI)
    paste(img, art.emblem((40, 40), 0.4, (8, 9, 11)), (22, 11))
    _text((72, 15), "PROFESSIONAL GAMING MOUSE", 15, WHITE, bold=True, spacing=2, limit=540)
    _text((72, 37), "OPTICAL SERIES  ·  CONFIGURATION CENTER", 9, ACCENT_HI, bold=True,
          spacing=2, limit=540)
    # Angled stripes fading towards the window buttons.
    for k in range(9):
        x0 = 560 + k * 20
        col = mix((8, 9, 11), ACCENT, 0.10 + 0.05 * k)
        d.polygon([(x0, 60), (x0 + 8, 60), (x0 + 26, 42), (x0 + 18, 42)], fill=col)
    # Profile area captions.
    heading((20, 72), "ACTIVE PROFILE")
    d.rectangle([13, 87, 170, 108], outline=LINE2)
    heading((20, 180), "PAGES")
    # Page area: the page covers it, this shows only while pages load.
    panel(img, (PAGE_X - 2, PAGE_Y - 2, PAGE_W + 4, PAGE_H + 4), accent=False)
    # Bottom bar.
    d.line([(20, 534), (w - 24, 534)], fill=LINE)
    d.line([(20, 534), (60, 534)], fill=ACCENT_HI)
    # Tab under the bar.
    d.line([(338, h - 3), (522, h - 3)], fill=ACCENT)
    pts = main_outline(w, h)
    d.line(pts + [pts[0]], fill=LINE2)
    d.line([(w - 48, 12), (w - 1, 12)], fill=ACCENT_HI)
    d.line([(338, h - 1), (522, h - 1)], fill=ACCENT_HI)


def _main_controls():
    cs = [
        # The profile's four small buttons and the column below them reach
        # from the page selectors' left edge to just short of the page area,
        # and carry no pictogram: their words are long in some languages
        # (SICHERN, СОХРАНИТЬ) and must fit whole.
        C(44, "button", (14, 116, 76, 24), "new", "profile dialog with empty fields",
          "Name this profile and link a game", "NEW", size=10),
        C(4, "button", (94, 116, 76, 24), "edit", "profile dialog filled from the profile",
          "Edit the profile name and game", "EDIT", size=10),
        C(2, "button", (14, 146, 76, 24), "import", "import a profile file",
          "Load a profile from a .gmp file", "LOAD", size=10),
        C(3, "button", (94, 146, 76, 24), "export", "export the current profile",
          "Save this profile to a .gmp file", "SAVE", size=10),
        C(10, "min", (MAIN_W - 80, 22, 26, 22), "minimize", "minimise the window", "Minimize"),
        C(11, "close", (MAIN_W - 48, 22, 26, 22), "close", "close without applying",
          "Close without applying"),
        C(12, "button", (MAIN_W - 352, 546, 104, 30), "ok", "OK: Apply, then close",
          "Apply the changes and close", "OK", primary=True),
        C(13, "button", (MAIN_W - 240, 546, 104, 30), "apply", "Apply",
          "Send the changes to the mouse", "APPLY", primary=True),
        C(14, "button", (MAIN_W - 128, 546, 104, 30), "cancel", "close without applying",
          "Close without applying", "CANCEL"),
        C(43, "label", (14, 88, 156, 20), "profilename",
          "label: name of the current profile (label background 0x00DEDAD6)", "Profile name"),
        C(29, "badge", (44, 414, 96, 56), "emblem", "button without action (emblem)",
          "Professional Gaming Mouse"),
        C(45, "button", (14, 476, 156, 24), "exportall", "export all settings to a backup file",
          "Export all...", "EXPORT ALL", glyph="out", size=10),
        C(46, "button", (14, 506, 156, 24), "importall", "import all settings from a backup file",
          "Import all...", "IMPORT ALL", glyph="in", size=10),
        C(30, "button", (20, 546, 140, 30), "web", "open the maker's web site",
          "Visit the web site", "WEB SITE", glyph="globe"),
        C(31, "button", (PAGE_X, 546, 176, 30), "reset", "reset to defaults after confirmation",
          "Restore the factory settings", "RESTORE DEFAULTS", glyph="reset"),
        C(42, "area", (PAGE_X, PAGE_Y, PAGE_W, PAGE_H), "pages",
          "rectangle in which the four pages are placed"),
    ]
    tabs = [("BUTTONS", "buttons", "button assignment page"),
            ("LIGHTING", "light", "lighting page"),
            ("PERFORMANCE", "perf", "advanced settings page"),
            ("SUPPORT", "support", "support page")]
    for i, (t, icon, role) in enumerate(tabs):
        cs.append(C(25 + i, "tab", (14, 198 + i * 54, 162, 48), "page%d" % (i + 1),
                    "page selector: " + role, "Show the " + role, t, icon=icon))
    for i in range(5):
        x = PAGE_X + i * 134
        cs.append(C(5 + i, "profile", (x, 72, 124, 36), "profile%d" % (i + 1),
                    "profile selector %d (selects profile %d)" % (i + 1, i),
                    "Switch to profile %d" % (i + 1), "PROFILE %d" % (i + 1), first=(i == 0),
                    mask="profile1_mask.bmp" if i == 0 else "profile2_mask.bmp"))
        cs.append(C(15 + i, "label", (x + 4, 111, 104, 3), "hint%d" % (i + 1),
                    "label carrying a hint only (strip under selector %d; label background "
                    "0x00956B06)" % (i + 1), "Profile %d" % (i + 1), strip=ACCENT))
    return cs


# ---------------------------------------------------------------------------
# Button assignment page

_LEFT = [0, 2, 3, 4, 10]  # entries shown left of the mouse (buttons 1, 3, 4, 5, 6)
_RIGHT = [1, 11, 12, 13, 14]  # right of it (buttons 2, 7, 8, 9, 10)
_EXTRA = [5, 6, 7, 8, 9, 15]
_NUMBER = {0: 1, 1: 2, 2: 3, 3: 4, 4: 5, 10: 6, 11: 7, 12: 8, 13: 9, 14: 10}
_MOUSE_RECT = (250, 44, 160, 240)
# Marker places on the drawing (picture coordinates of the 160 x 240 picture).
_MOUSE_BADGES = [(1, 48, 48), (2, 112, 48), (3, 80, 18), (4, 12, 112), (5, 12, 140),
                 (6, 36, 86), (7, 124, 86), (8, 140, 120), (9, 60, 84), (10, 100, 84)]


def _assign_deco(img):
    page_body(img)
    page_title(img, "BUTTON ASSIGNMENT", "Click a button to choose what it does")
    x, y, w, h = _MOUSE_RECT
    d = canvas(img)
    d.ellipse([x - 20, y + h - 36, x + w + 20, y + h + 10], fill=(8, 9, 10))
    pic = art.mouse_drawing((w, h), _MOUSE_BADGES)
    paste(img, pic, (x, y), pic)
    for col, entries in ((0, _LEFT), (1, _RIGHT)):
        for row, e in enumerate(entries):
            by = 58 + row * 44
            bx = 14 if col == 0 else 626
            art.number_badge(img, (bx, by + 5), _NUMBER[e])
    heading((14, 300), "MORE ASSIGNMENTS")
    d.line([(140, 305), (646, 305)], fill=LINE)


def _assign_controls():
    cs = []
    rects = {}
    for col, entries in ((0, _LEFT), (1, _RIGHT)):
        for row, e in enumerate(entries):
            rects[e] = (38 if col == 0 else 426, 58 + row * 44, 196, 28)
    for i, e in enumerate(_EXTRA):
        rects[e] = (14 + (i % 3) * 212, 318 + (i // 3) * 38, 204, 28)
    for e in range(16):
        num = _NUMBER.get(e, 0)
        cs.append(C(e + 1, "assign", rects[e], "button%d" % (e + 1),
                    "assignment of button entry %d (shown as number %d)" % (e, num),
                    "Click to choose the function of this button"))
    return cs


# ---------------------------------------------------------------------------
# Lighting page

def _lighting_deco(img):
    page_body(img)
    page_title(img, "LIGHTING", "Colours apply to the CPI level chosen on the Performance page")
    d = canvas(img)
    panel(img, (12, 46, 300, 342), "LIGHT EFFECTS")
    heading((28, 98), "BREATHING", TEXT)
    _text((120, 98), "off or level 1 to 3", 9, TEXT_DIM)
    heading((28, 190), "STEADY GLOW", TEXT)
    _text((134, 190), "breathing or level 1 to 3", 9, TEXT_DIM)
    for y, first in ((146, "OFF"), (234, "BREATHE")):
        for k, t in enumerate((first, "1", "2", "3")):
            tx = 28 + 6 + (264 - 13) * k // 3
            _text((tx, y + 25), t, 8, TEXT_DIM,
                  anchor="la" if k == 0 else "ra" if k == 3 else "ma")
    heading((28, 280), "LEVEL PREVIEW", TEXT)
    _lines((28, 300), ["The preset colour", "of the current", "CPI level."], 9, TEXT_DIM,
           gap=14, limit=152)
    cx, cy = 212, 330
    d.ellipse([cx - 54, cy - 54, cx + 54, cy + 54], fill=(6, 7, 8), outline=LINE2)
    d.ellipse([cx - 49, cy - 49, cx + 49, cy + 49], outline=ACCENT, width=2)
    for k in range(12):
        a = k * math.pi / 6
        d.line([(cx + 50 * math.cos(a), cy + 50 * math.sin(a)),
                (cx + 53 * math.cos(a), cy + 53 * math.sin(a))], fill=LINE2, width=2)
    panel(img, (324, 46, 324, 342), "LEVEL COLOUR")
    heading((340, 110), "PRESET COLOURS", TEXT)
    heading((340, 212), "CUSTOM COLOUR", TEXT)
    _text((596, 256), "CURRENT", 8, TEXT_DIM, anchor="ma")
    for k, t in enumerate(("R", "G", "B")):
        col = [(255, 90, 90), (90, 230, 110), (90, 150, 255)][k]
        _text((342, 276 + k * 30 + 6), t, 11, col, bold=True)


def _lighting_controls():
    cs = [C(1, "check", (28, 68, 200, 20), "ledon", "ColorFlag check button",
            "Switch the mouse lighting on or off", "LIGHTING ON")]
    for j in range(4):
        cs.append(C(2 + j, "radio", (28 + j * 66, 112, 60, 24), "switch%d" % j,
                    "LightSwitch button %d" % j, "Breathing: " + ("off" if j == 0 else
                                                                 "level %d" % j),
                    "OFF" if j == 0 else str(j)))
    for k in range(4):
        cs.append(C(6 + k, "radio", (28 + k * 66, 204, 60, 24), "type%d" % k,
                    "LightType button %d" % k,
                    "Breathing mode" if k == 0 else "Steady glow level %d" % k,
                    "BREATHE" if k == 0 else str(k), size=8 if k == 0 else 10))
    cs.append(C(10, "radio", (340, 72, 100, 24), "preset", "colour type: preset (ColorType 0)",
                "Use a preset colour for this level", "PRESET", led=True))
    cs.append(C(11, "radio", (446, 72, 100, 24), "custom", "colour type: custom (ColorType 1)",
                "Use the custom colour for this level", "CUSTOM", led=True))
    for i in range(33):
        cs.append(C(12 + i, "preset", (340 + (i % 11) * 27, 126 + (i // 11) * 26, 24, 22),
                    "color%d" % i, "preset colour button %d" % i, "Preset colour %d" % (i + 1),
                    colour=bgr(PRESETS[i])))
    cs.append(C(45, "slider", (28, 146, 264, 22), "switchslider",
                "slider for LightSwitch (range 0..3)", "Breathing level", cid=200, ticks=4))
    cs.append(C(46, "slider", (28, 234, 264, 22), "typeslider",
                "slider for LightType (range 0..3)", "Steady glow level", cid=201, ticks=4))
    for k, (nm, col) in enumerate((("red", "R"), ("green", "G"), ("blue", "B"))):
        y = 276 + k * 30
        cs.append(C(47 + k, "slider", (358, y, 196, 22), nm + "slider",
                    "custom colour %s slider (0..255)" % nm, "Custom colour: " + nm,
                    cid=202 + k, ticks=9))
        cs.append(C(50 + k, "label", (566, y + 2, 40, 18), nm + "value",
                    "label showing the %s value (label background 0x00DEDAD6)" % nm,
                    "Custom colour: " + nm))
    cs.append(C(53, "area", (340, 228, 204, 28), "spectrum",
                "colour spectrum control (colour picker strip)", "Create Custom Color",
                paint=_frame_only))
    cs.append(C(54, "area", (578, 232, 36, 20), "swatch", "swatch of the displayed colour",
                "Displayed colour", paint=_frame_only))
    cs.append(C(55, "area", (170, 288, 84, 84), "preview",
                "round preview of the level's preset colour", "Level preview"))
    return cs


def _frame_only(img, c):
    pass


# ---------------------------------------------------------------------------
# Advanced settings page

def _advanced_deco(img):
    page_body(img)
    page_title(img, "PERFORMANCE", "")
    panel(img, (12, 46, 316, 64), "REPORT RATE")
    panel(img, (12, 116, 316, 168), "CPI LEVELS")
    panel(img, (12, 290, 316, 98), "SENSOR SENSITIVITY")
    panel(img, (340, 46, 308, 150), "WINDOWS POINTER")
    panel(img, (340, 202, 308, 112), "SCROLL WHEEL")
    panel(img, (340, 320, 308, 68), "AUTO REPEAT")
    for k in range(4):
        _text((24 + k * 76, 182), "LED", 8, TEXT_DIM, bold=True)
    for y, t in ((202, "X"), (232, "Y"), (314, "X"), (340, "Y")):
        _text((26, y + 6), t, 11, ACCENT_HI, bold=True)
    for y in (202, 232):
        _text((296, y + 7), "CPI", 9, TEXT_DIM, bold=True)
    _text((298, 320), "1-11", 9, TEXT_DIM)
    _text((298, 346), "1-11", 9, TEXT_DIM)
    heading((356, 70), "SPEED", TEXT)
    _text((594, 86), "FAST", 8, TEXT_DIM)
    _text((594, 168), "LONG", 8, TEXT_DIM)
    heading((356, 258), "LINES PER NOTCH", TEXT)
    _text((594, 274), "1-10", 9, TEXT_DIM)
    _text((584, 348), "2-255", 9, TEXT_DIM)
    _text((356, 372), "Pace of the auto-repeat function", 8, TEXT_DIM)


def _advanced_controls():
    cs = []
    for i, t in enumerate(("125 Hz", "250 Hz", "500 Hz", "1000 Hz")):
        cs.append(C(1 + i, "radio", (24 + i * 76, 72, 70, 26), "rate%d" % i,
                    "report-rate radio button %d (PollingRate %d)" % (i + 1, i),
                    "Report rate " + t, t))
    for i in range(4):
        cs.append(C(5 + i, "radio", (24 + i * 76, 140, 70, 24), "level%d" % (i + 1),
                    "CPI level button %d (CpiStep %d)" % (i + 1, i),
                    "Edit CPI level %d" % (i + 1), "LEVEL %d" % (i + 1), size=9))
        cs.append(C(9 + i, "swatch", (24 + i * 76 + 26, 176, 44, 20), "led%d" % (i + 1),
                    "LED colour swatch %d (LedDPIColor %d)" % (i + 1, i),
                    "Indicator colour of CPI level %d" % (i + 1)))
    cs += [
        C(13, "slider", (42, 202, 188, 22), "cpix", "CPI X slider", "CPI of the X axis",
          cid=207, ticks=9),
        C(14, "label", (236, 204, 54, 18), "cpixvalue",
          "CPI X label (label background 0x00DEDAD6)", "CPI of the X axis"),
        C(15, "slider", (42, 232, 188, 22), "cpiy", "CPI Y slider", "CPI of the Y axis",
          cid=208, ticks=9),
        C(16, "label", (236, 234, 54, 18), "cpiyvalue",
          "CPI Y label (label background 0x00DEDAD6)", "CPI of the Y axis"),
        C(17, "check", (24, 260, 240, 20), "xycpi", "X/Y CPI check (XYCpiFlag)",
          "Set the CPI of X and Y separately", "SEPARATE X / Y CPI"),
        C(18, "slider", (42, 314, 250, 22), "sensx", "sensitivity X slider",
          "Sensor sensitivity X", cid=202, ticks=11),
        C(19, "slider", (42, 340, 250, 22), "sensy", "sensitivity Y slider",
          "Sensor sensitivity Y", cid=203, ticks=11),
        C(20, "check", (24, 366, 200, 18), "xysync",
          "X/Y sensitivity link check (XYSynchronous)", "Keep X and Y sensitivity equal",
          "LINK X AND Y"),
        C(21, "slider", (356, 80, 230, 22), "speed", "pointer-speed slider",
          "Windows pointer speed", cid=204, ticks=11),
        C(22, "check", (356, 114, 280, 20), "accel", "acceleration check (AccelerationFlag)",
          "Enhance pointer precision", "ENHANCE POINTER PRECISION"),
        C(24, "check", (356, 138, 200, 20), "trails", "trails check (bMouseTrails)",
          "Show pointer trails", "POINTER TRAILS"),
        C(23, "slider", (356, 162, 230, 22), "trailslen", "trails slider (MouseTrails)",
          "Length of the pointer trails", cid=206, ticks=6),
        C(25, "radio", (356, 226, 110, 24), "scrolllines",
          "scroll radio button 1 (ScrollWheelFlag 0)", "Scroll by lines", "LINES", led=True),
        C(26, "radio", (472, 226, 110, 24), "scrollpage",
          "scroll radio button 2 (ScrollWheelFlag 1)", "Scroll by pages", "PAGE", led=True),
        C(27, "slider", (356, 268, 230, 22), "wheel", "scroll speed slider (ScrollWheelSpeed)",
          "Lines per wheel notch", cid=205, ticks=10),
        C(28, "check", (356, 294, 260, 16), "scrollcheck", "scroll check (ScrollWheelFlag)",
          "Scroll one page per notch", "ONE PAGE PER NOTCH"),
        C(29, "slider", (356, 342, 220, 22), "repeat", "OTGSpeed slider", "Auto-repeat speed",
          cid=201, ticks=8),
        C(30, "button", (488, 8, 160, 26), "defaults", "restore defaults",
          "Restore the factory settings of all profiles", "RESTORE DEFAULTS", glyph="reset",
          size=10),
    ]
    return cs


# ---------------------------------------------------------------------------
# Support page

def _support_deco(img):
    page_body(img)
    page_title(img, "SUPPORT", "Versions, manual and tips")
    d = canvas(img)
    panel(img, (12, 60, 330, 112), "VERSION INFORMATION")
    # The page writes the two version strings at (172, 105) and (186, 135).
    _text((162, 108), "SOFTWARE VERSION", 10, TEXT, bold=True, anchor="ra", spacing=1)
    _text((176, 138), "FIRMWARE VERSION", 10, TEXT, bold=True, anchor="ra", spacing=1)
    for y in (103, 133):
        d.line([(12 + 16, y + 20), (330, y + 20)], fill=(28, 31, 35))
    panel(img, (12, 184, 330, 204), "MANUAL AND DIAGNOSTICS")
    _lines((28, 210), ["The user manual explains every page. If the",
                          "mouse is not found, save a diagnostics",
                          "report and send it with your question."], 11, TEXT_DIM)
    panel(img, (354, 60, 294, 328), "GOOD TO KNOW")
    tips = [("APPLY", ["Changes reach the mouse when you", "press APPLY or OK."]),
            ("PROFILES", ["Link a game to a profile and it", "switches on when the game starts."]),
            ("MACROS", ["Record keystrokes in the Macro", "Manager, then pick them for a",
                        "button."]),
            ("LEFT CLICK", ["One button always keeps the left", "click."])]
    y = 92
    for head, body in tips:
        d.polygon([(370, y + 1), (376, y + 1), (372, y + 9), (366, y + 9)], fill=ACCENT_HI)
        heading((384, y), head, TEXT)
        _lines((384, y + 18), body, 10, TEXT_DIM, gap=15)
        y += 26 + 15 * len(body) + 16
    paste(img, art.emblem((64, 64), 0.2), (262, 284))
    _text((28, 374), "PROFESSIONAL GAMING MOUSE", 11, TEXT, bold=True, spacing=2)


def _support_controls():
    return [C(1, "button", (28, 262, 218, 32), "manual", "manual button (opens the user manual)",
              "Open the user manual", "OPEN USER MANUAL", glyph="book"),
            C(2, "button", (28, 300, 218, 32), "report",
              "report button (saves the diagnostics report)",
              "Save a diagnostics report for a fault report", "SAVE DIAGNOSTICS REPORT",
              glyph="out", size=10),
            C(3, "button", (28, 338, 218, 32), "forget",
              "forget button (forgets the channel the device library remembered)",
              "Forget the remembered channel: the mouse's channel is chosen afresh",
              "FORGET REMEMBERED CHANNEL", glyph="reset", size=9),
            # Its word (the chosen language in its own name) and its hint are
            # the program's, not the skin's.
            C(4, "button", (488, 8, 160, 26), "language",
              "language button (chooses the language of the programs)", glyph="globe")]


# ---------------------------------------------------------------------------
# Dialogs

def _warning_deco(title, lines, sign="warn"):
    def deco(img):
        w, h = logical_size(img)
        dialog_frame(img, w, h, title)
        if sign == "warn":
            art.warning_sign(img, (22, 60), 44)
        else:
            art.info_sign(img, (22, 60), 44)
        _text((84, 62), lines[0], 13, WHITE, bold=True)
        _lines((84, 86), lines[1:], 11, TEXT_DIM)
    return deco


def _warning(file, base, title, lines, ok, cancel, sign="warn"):
    w, h = 400, 190
    return dict(file=file, base=base, size=(w, h), outline="dialog",
                deco=_warning_deco(title, lines, sign),
                controls=_ok_cancel(w, 142, 1, 2, ok, cancel) + [_close(3, w)])


def _macro_deco(img):
    w, h = logical_size(img)
    dialog_frame(img, w, h, "MACRO MANAGER", "Record keystrokes and mouse clicks")
    panel(img, (14, 52, 204, 326), "MACROS")
    panel(img, (228, 52, 358, 326), "EVENTS")
    _text((526, 224), "TIMES", 9, TEXT_DIM, bold=True)
    _lines((462, 262), ["Right-click the", "event list to insert,", "edit or delete",
                           "events and delays."], 9, TEXT_DIM, gap=14)
    _lines((462, 330), ["Up to 40 events."], 9, TEXT_DIM, gap=14)


def _macro_controls(w):
    return [
        C(1, "button", (w - 232, 394, 100, 30), "ok", "OK", "Keep the changes", "OK",
          primary=True),
        C(2, "button", (w - 124, 394, 100, 30), "cancel", "Cancel",
          "Discard the changes", "CANCEL"),
        _close(3, w),
        C(4, "button", (26, 338, 88, 28), "new", "new macro", "Create a new macro", "NEW",
          glyph="plus", size=10),
        C(5, "button", (118, 338, 88, 28), "delete", "delete macro",
          "Delete the selected macro", "DELETE", glyph="trash", size=10),
        C(6, "list", (26, 80, 180, 246), "macros", "list of macro names, editable in place",
          "Macros", cid=4096),
        C(7, "record", (462, 80, 114, 32), "record",
          "record / stop (images start_record_*.jpg and stop_record_*.jpg)",
          "Start or stop recording"),
        C(8, "check", (462, 126, 122, 20), "delays", "check: record delays",
          "Record the pauses between keys", "DELAYS"),
        C(9, "check", (462, 190, 122, 20), "repeat", "check: repeat on/off",
          "Repeat the macro", "REPEAT"),
        C(10, "edit", (464, 220, 56, 20), "repeatcount", "edit: repeat count (5 characters)",
          "Number of repeats", cid=4010, bg=(255, 255, 255)),
        C(11, "list", (240, 80, 210, 286), "events", "list of the selected macro's events",
          "Events", cid=4097),
    ]


def _dpi_deco(img):
    w, h = logical_size(img)
    dialog_frame(img, w, h, "LED COLOUR")
    d = canvas(img)
    art.spectrum(img, (22, 56, 256, 160))
    d.rectangle([20, 54, 279, 217], outline=LINE2)
    _text((22, 230), "Click the spectrum or set red, green and blue.", 10, TEXT_DIM)
    heading((296, 56), "COLOUR", TEXT)
    d.rectangle([294, 72, 361, 121], outline=LINE2)
    for k, t in enumerate(("R", "G", "B")):
        col = [(255, 90, 90), (90, 230, 110), (90, 150, 255)][k]
        _text((296, 140 + k * 30), t, 11, col, bold=True)


def _dpi_controls(w):
    return _ok_cancel(w, 270, 1, 2) + [
        C(3, "area", (296, 74, 64, 46), "preview", "preview swatch (rectangle only)",
          "Current colour"),
        C(4, "area", (22, 56, 256, 160), "spectrum", "spectrum area (rectangle only)",
          "Click to pick a colour"),
        _close(5, w),
        C(6, "spin", (312, 136, 58, 20), "red", "spin box red 0..255", "Red", cid=400),
        C(7, "spin", (312, 166, 58, 20), "green", "spin box green 0..255", "Green", cid=401),
        C(8, "spin", (312, 196, 58, 20), "blue", "spin box blue 0..255", "Blue", cid=402),
    ]


def _fire_deco(img):
    w, h = logical_size(img)
    dialog_frame(img, w, h, "FIRE BUTTON")
    heading((24, 64), "KEY", TEXT)
    _text((140, 92), "Press the key to repeat.", 9, TEXT_DIM)
    heading((24, 122), "REPEAT COUNT", TEXT)
    _text((204, 122), "0 - 255", 9, TEXT_DIM)
    heading((24, 156), "INTERVAL", TEXT)
    _text((204, 156), "ms  (1 - 255)", 9, TEXT_DIM)


def _fire_controls(w):
    return _ok_cancel(w, 194, 1, 2) + [
        _close(3, w),
        C(4, "edit", (140, 60, 196, 22), "key", "edit: the key (shows the key's name)",
          "The key to repeat", cid=4010, bg=(255, 255, 255)),
        C(5, "edit", (140, 152, 54, 22), "interval", "edit: second number B (3 digits)",
          "Interval", cid=4020, bg=(255, 255, 255)),
        C(6, "edit", (140, 118, 54, 22), "count", "edit: first number A (3 digits)",
          "Repeat count", cid=4030, bg=(255, 255, 255)),
    ]


def _profile_deco(img):
    w, h = logical_size(img)
    dialog_frame(img, w, h, "PROFILE", "Name and game")
    heading((24, 60), "PROFILE NAME", TEXT)
    _text((296, 84), "up to 20 characters", 9, TEXT_DIM)
    heading((24, 118), "GAME PROGRAM", TEXT)
    _text((24, 166), "The profile becomes active when this program starts.", 10, TEXT_DIM)
    _text((46, 210), "Otherwise the game's profile stays until you switch.", 9, TEXT_DIM)


def _profile_controls(w):
    return [
        C(1, "edit", (24, 78, 262, 22), "name", "edit: profile name (20 characters)",
          "Profile name", cid=4010, bg=(0, 0, 0)),
        C(2, "edit", (24, 136, 288, 22), "game", "edit: game program path",
          "Game program", cid=4010, bg=(0, 0, 0)),
        C(3, "button", (322, 134, 96, 26), "browse", "browse", "Choose the game program",
          "BROWSE", size=10),
        C(7, "check", (24, 186, 320, 20), "return",
          "check: back to the previous profile when the game ends",
          "Back to the previous profile when the game ends", "BACK TO MY PROFILE AFTER THE GAME"),
    ] + _ok_cancel(w, 236, 4, 5) + [_close(6, w)]


def _one_field_deco(title, label_at, label, note_at, note):
    """A dialog of one field: its title, the field's label and a note."""
    def deco(img):
        w, h = logical_size(img)
        dialog_frame(img, w, h, title)
        heading(label_at, label, TEXT)
        _text(note_at, note, 10, TEXT_DIM)
    return deco


def _launch_controls(w):
    return [
        C(1, "edit", (24, 80, 288, 22), "path", "edit: program path", "Program to start",
          cid=4010, bg=(229, 229, 229)),
        C(2, "button", (322, 78, 96, 26), "browse", "browse", "Choose the program", "BROWSE",
          size=10),
    ] + _ok_cancel(w, 150, 3, 4) + [_close(5, w)]


def _player_controls(w):
    return [C(1, "dropdown", (24, 76, w - 48, 28), "player", "player selector (face text)",
              "Choose the media player")] + _ok_cancel(w, 142, 2, 3) + [_close(4, w)]


def _shortcut_deco(img):
    w, h = logical_size(img)
    dialog_frame(img, w, h, "KEY COMBINATION")
    heading((24, 60), "KEY", TEXT)
    _text((24, 108), "Press the key; modifiers are chosen below.", 9, TEXT_DIM)
    heading((24, 128), "MODIFIERS", TEXT)


def _shortcut_controls(w):
    cs = [C(10, "edit", (24, 76, w - 48, 24), "key", "key field", "The key", cid=4010,
            bg=(255, 255, 255))]
    # Each as wide as its longest translation needs: "key only" is three
    # words in some languages, Shift a long word in German (UMSCHALT).
    xs = [(24, 106, "KEY ONLY", "plain key (no modifier)"), (136, 56, "CTRL", "Ctrl"),
          (198, 72, "SHIFT", "Shift"), (276, 56, "ALT", "Alt"), (338, 58, "WIN", "Win")]
    for i, (x, wd, t, role) in enumerate(xs):
        cs.append(C(5 + i, "radio", (x, 144, wd, 26), "mod%d" % i,
                    "toggle: %s (latching)" % role, "Modifier: " + role, t, size=9))
    cs += _ok_cancel(w, 192, 2, 3)
    cs.append(_close(4, w))
    return cs


# ---------------------------------------------------------------------------

def windows():
    """Every skin description file in the order of the skin table."""
    ws = [
        dict(file="skin_config.ini", base="config", size=(MAIN_W, MAIN_H), outline="main",
             deco=_main_deco, controls=_main_controls(),
             window="main configuration window"),
        dict(file="skin_main_control.ini", base="assign", size=(PAGE_W, PAGE_H),
             outline="page", deco=_assign_deco, controls=_assign_controls(),
             window="button assignment page"),
        dict(file="skin_macro_manager.ini", base="macro", size=(600, 440), outline="dialog",
             deco=_macro_deco, controls=_macro_controls(600), window="macro manager dialog"),
        _warning("skin_delete_macro_warn.ini", "delmacro", "DELETE MACRO",
                 ["Delete this macro?", "Buttons that use it keep their own copy",
                  "until you assign something else."], "DELETE", "KEEP"),
        dict(file="skin_dpi_color.ini", base="dpicolor", size=(380, 318), outline="dialog",
             deco=_dpi_deco, controls=_dpi_controls(380), window="DPI colour dialog"),
        dict(file="skin_color_control.ini", base="lighting", size=(PAGE_W, PAGE_H),
             outline="page", deco=_lighting_deco, controls=_lighting_controls(),
             window="lighting page"),
        dict(file="skin_advance_expand.ini", base="advanced", size=(PAGE_W, PAGE_H),
             outline="page", deco=_advanced_deco, controls=_advanced_controls(),
             window="advanced settings page"),
        dict(file="skin_fire_button.ini", base="fire", size=(360, 240), outline="dialog",
             deco=_fire_deco, controls=_fire_controls(360), window="fire button dialog"),
        dict(file="skin_profile.ini", base="profile", size=(440, 282), outline="dialog",
             deco=_profile_deco, controls=_profile_controls(440), window="game program dialog"),
        dict(file="skin_lanuch_program.ini", base="launch", size=(440, 196), outline="dialog",
             deco=_one_field_deco("LAUNCH PROGRAM", (24, 62), "PROGRAM", (24, 112),
                                  "The mouse button starts this program."),
             controls=_launch_controls(440), window="launch-program dialog"),
        dict(file="skin_select_player.ini", base="player", size=(360, 188), outline="dialog",
             deco=_one_field_deco("MEDIA PLAYER", (24, 60), "PLAYER", (24, 114),
                                  "The media buttons control this player."),
             controls=_player_controls(360), window="media player dialog"),
        dict(file="skin_shortcut.ini", base="shortcut", size=(420, 238), outline="dialog",
             deco=_shortcut_deco, controls=_shortcut_controls(420), window="shortcut dialog"),
        dict(file="skin_support_control.ini", base="support", size=(PAGE_W, PAGE_H),
             outline="page", deco=_support_deco, controls=_support_controls(),
             window="support page"),
        _warning("skin_click_warn.ini", "clickwarn", "LEFT CLICK NEEDED",
                 ["One button must keep the left click.",
                  "Give the left click to another button",
                  "first, then change this one."], "OK", "CLOSE"),
        _warning("skin_reset_warn.ini", "resetwarn", "RESTORE DEFAULTS",
                 ["Restore the factory settings?", "All five profiles, their buttons, CPI",
                  "and lighting go back to the defaults."], "RESTORE", "CANCEL"),
        _warning("skin_macro_set_warn.ini", "macrowarn", "NO MACRO SELECTED",
                 ["Select a macro first.", "Pick one in the list, or create one",
                  "with NEW, then try again."], "OK", "CLOSE", sign="info"),
    ]
    ws[3]["window"] = "delete-macro warning dialog"
    ws[13]["window"] = "click warning dialog"
    ws[14]["window"] = "reset warning dialog"
    ws[15]["window"] = "macro-required warning dialog"
    return ws
