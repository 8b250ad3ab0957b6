"""The words of the skinned windows: the pictures carry none, the skin
description files name them by string id and place them.

windows.py writes every word as the window shows it; the English string
table (lan/en-US.rc) holds it in natural case.  A word is found in the table
as it is written or, written in capitals, by its upper case, and then gets
the style letter u (the program upper-cases the string by the rules of the
user's language).  Static texts, control words: 2000-2499; hints: 2500-2999.

While a window's artwork is drawn, its static words are collected here
(record); place() then gives each a box in 100 % pixels: wide enough for the
English text at every display scale with a margin, grown towards the room a
longer language needs, never over a control or another word.
"""

import math
import os
import re

from PIL import ImageFont

from style import FONT_DIR, SCALES, px, scaled_rect

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
ENGLISH = os.path.join(ROOT, "lan", "en-US.rc")
TEXT_IDS = range(2000, 2500)
HINT_IDS = range(2500, 3000)

# Gap kept between a word's box and its neighbours, and the share a box grows
# beyond the English text where there is room (translations run longer).
GAP = 2
GROWTH = 1.3


def read_table(path=ENGLISH):
    """{id: string} of a string table in the resource script form."""
    table = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            m = re.match(r'\s*(\d+)\s+"((?:[^"]|"")*)"\s*$', line)
            if m:
                table[int(m.group(1))] = m.group(2).replace('""', '"')
    return table


class Strings:
    """Ids of the skin words and hints in the English table."""

    def __init__(self, table=None):
        table = read_table() if table is None else table
        self.texts, self.capitals, self.hints = {}, {}, {}
        for sid, s in sorted(table.items()):
            if sid in TEXT_IDS:
                self.texts.setdefault(s, sid)
                self.capitals.setdefault(s.upper(), sid)
            elif sid in HINT_IDS:
                self.hints.setdefault(s, sid)

    def text(self, word):
        """(id, upper) of a word as windows.py writes it."""
        if word in self.texts:
            return self.texts[word], False
        if word == word.upper() and word in self.capitals:
            return self.capitals[word], True
        raise KeyError("the word %r is not in %s (2000-2499): add it in natural case"
                       % (word, ENGLISH))

    def hint(self, hint):
        if hint not in self.hints:
            raise KeyError("the hint %r is not in %s (2500-2999)" % (hint, ENGLISH))
        return self.hints[hint]


_strings = None


def strings():
    global _strings
    if _strings is None:
        _strings = Strings()
    return _strings


# ---- measuring ---------------------------------------------------------------

_faces = {}


def _face(size_px, bold):
    key = (size_px, bold)
    if key not in _faces:
        _faces[key] = ImageFont.truetype(
            FONT_DIR + ("DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"), size_px)
    return _faces[key]


def font_size(size, percent):
    """The font's em height in pixels at a display scale (rounded like edges)."""
    return int(math.floor(size * percent / 100.0 + 0.5))


def width_at(txt, size, bold, spacing, percent):
    """Advance width in pixels of a text at a display scale."""
    gap = int(math.floor(spacing * percent / 100.0 + 0.5))
    return _face(font_size(size, percent), bold).getlength(txt) + gap * max(0, len(txt) - 1)


def english_width(txt, size, bold=False, spacing=0):
    """The widest the text is at any display scale, in 100 % pixels."""
    return max(width_at(txt, size, bold, spacing, p) * 100.0 / p for p in SCALES)


def wrap(txt, size, bold, percent, width):
    """Lines of a text broken at spaces to fit width pixels at a scale."""
    lines, cur = [], ""
    for w in txt.split(" "):
        t = (cur + " " + w) if cur else w
        if cur and width_at(t, size, bold, 0, percent) > width:
            lines.append(cur)
            cur = w
        else:
            cur = t
    return lines + ([cur] if cur else [])


def line_height(size, percent):
    f = _face(font_size(size, percent), False)
    a, d = f.getmetrics()
    return a + d


# ---- static words of one window ------------------------------------------------

_words = None
_regions = None


def record():
    """Start collecting the static words of a window's artwork."""
    global _words, _regions
    _words, _regions = [], []


def collected():
    return _words


def region(rect, inset=8):
    """A framed part of the window: words that start inside it stay inside."""
    x, y, w, h = rect
    _regions.append((x, y, x + w - inset, y + h - 4))


def put(xy, txt, size=11, colour=(255, 255, 255), bold=False, anchor="la", spacing=0,
        limit=None, lines=1, gap=0):
    """A static word at xy (x by anchor "la", "ma" or "ra"; y the top of the
    capitals), as the art placed it.  lines > 1: a paragraph that wraps into
    lines of gap pixels.  limit: the right edge its box may grow to."""
    if _words is None:
        return
    x, y = xy
    if limit is None:
        inside = [r for r in _regions if r[0] <= x < r[2] and r[1] <= y < r[3]]
        if inside:
            limit = min(inside, key=lambda r: (r[2] - r[0]) * (r[3] - r[1]))[2]
    _words.append(dict(xy=xy, text=txt, size=size, colour=colour, bold=bold, anchor=anchor,
                       spacing=spacing, limit=limit, lines=lines, gap=gap))


def _overlap(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def _shown(wd):
    return wd["text"].upper() if wd["upper"] else wd["text"]


def _least_box(wd, obstacles):
    """[left, top, right, bottom] of the English text where the art placed
    it (a note: its first column), trimmed above or below by a control."""
    x, y = wd["xy"]
    mid = y + 0.73 * wd["size"] / 2  # the middle of the capitals
    if wd["lines"] > 1:
        top = int(math.floor(y - 3))
        box = [x - GAP, top, x - GAP + 1, top + wd["lines"] * wd["gap"] + 3]
    else:
        need = int(math.ceil(english_width(_shown(wd), wd["size"], wd["bold"], wd["spacing"])))
        wd["need"] = need + 2 * GAP
        h = wd["size"] + 5
        top = int(math.floor(mid - h / 2.0 + 0.5))
        left = {"la": x - GAP, "ma": x - wd["need"] // 2, "ra": x + GAP - wd["need"]}
        box = [left[wd["anchor"]], top, left[wd["anchor"]] + wd["need"], top + h]
    for o in obstacles:
        if _overlap(box, o):
            if o[1] >= mid:
                box[3] = o[1]
            elif o[3] <= mid:
                box[1] = o[3]
    assert box[3] - box[1] >= wd["size"] + 1, ("no room above and below", wd["text"], box)
    return box


# The translations a line's box is sized for: those whose letters the measuring
# face has (Latin, Greek, Cyrillic). Chinese, Japanese and Korean words are
# shorter than these, and the face has none of their glyphs to measure.
MEASURED_LANGUAGES = ("de-DE", "es-ES", "fr-FR", "pl-PL", "pt-BR", "ru-RU", "tr-TR")

_translations = None


def translations():
    """[{id: string}] of the measured languages' tables."""
    global _translations
    if _translations is None:
        folder = os.path.dirname(ENGLISH)
        _translations = [read_table(os.path.join(folder, loc + ".rc"))
                         for loc in MEASURED_LANGUAGES
                         if os.path.exists(os.path.join(folder, loc + ".rc"))]
    return _translations


def widest_translation(wd):
    """The widest a line's translations are at any scale, in 100 % pixels (0
    when no table has the string)."""
    widest = 0
    for table in translations():
        txt = table.get(wd.get("id"))
        if txt:
            txt = txt.upper() if wd["upper"] else txt
            widest = max(widest, english_width(txt, wd["size"], wd["bold"], wd["spacing"]))
    return int(math.ceil(widest))


def _grow(wd, box, others, win_w):
    """Widen a box towards its free side(s): a note to all the room it has,
    a line by GROWTH or to its widest translation, never over others or past
    its panel."""
    rows = [o for o in others if o[1] < box[3] and box[1] < o[3]]
    right = min([win_w - 8] + [wd["limit"]] * (wd["limit"] is not None) +
                [o[0] - GAP for o in rows if o[0] >= box[2]])
    left = max([4] + [o[2] + GAP for o in rows if o[2] <= box[0]])
    if wd["lines"] > 1:
        box[2] = max(box[2], right)
        return
    wanted = max(int(math.ceil((wd["need"] - 2 * GAP) * GROWTH)) + 4 * GAP,
                 widest_translation(wd) + 4 * GAP)
    grow = max(0, wanted - wd["need"])
    to_right = {"la": grow, "ma": grow // 2, "ra": 0}[wd["anchor"]]
    to_left = {"la": 0, "ma": grow // 2, "ra": grow}[wd["anchor"]]
    box[2] = max(box[2], min(box[2] + to_right, right))
    box[0] = min(box[0], max(box[0] - to_left, left))


def _holds(wd, box):
    """The English text fits its box at every scale."""
    if wd["lines"] == 1:
        return box[2] - box[0] >= wd["need"]
    return all(len(wrap(_shown(wd), wd["size"], wd["bold"], p, px_width(box, p))) *
               line_height(wd["size"], p) <= px_height(box, p) for p in SCALES)


def place(words, controls, size):
    """Boxes (x, y, w, h) in 100 % pixels for the collected words of a window
    of size (w, h) whose controls have the rectangles controls."""
    win_w, win_h = size
    obstacles = [(x, y, x + w, y + h) for x, y, w, h in controls]
    boxes = [_least_box(wd, obstacles) for wd in words]
    for i, wd in enumerate(words):
        _grow(wd, boxes[i], obstacles + boxes[:i] + boxes[i + 1:], win_w)
        box = boxes[i]
        assert _holds(wd, box), ("the English text does not fit", wd["text"], box)
        assert 0 <= box[0] and box[2] <= win_w and 0 <= box[1] and box[3] <= win_h, wd
    return [(b[0], b[1], b[2] - b[0], b[3] - b[1]) for b in boxes]


def _edge(v, percent):
    return int(math.floor(v * percent / 100.0 + 0.5))


def px_width(box, percent):
    return _edge(box[2], percent) - _edge(box[0], percent)


def px_height(box, percent):
    return _edge(box[3], percent) - _edge(box[1], percent)


# ---- the description file's sections --------------------------------------------


def colour(rgb):
    return "0x%02X%02X%02X" % tuple(rgb)


def text_rows(words, boxes):
    """The [TEXT] section's lines at the current scale."""
    out = []
    for n, (wd, box) in enumerate(zip(words, boxes), 1):
        x, y, w, h = scaled_rect(box)
        out.append("%d=%d,%d,%d,%d,%d,%d,%s,%s" % (n, x, y, w, h, wd["id"], px(wd["size"]),
                                                 wd["style"], colour(wd["colour"])))
    return out


def style_letters(bold, align, upper, spacing, wrapped=False):
    s = "b" if bold else ""
    s += align
    if upper:
        s += "u"
    if spacing:
        s += "s"
    if wrapped:
        s += "w"
    return s


def resolve(words):
    """Ids and style letters of the collected words."""
    for wd in words:
        wd["id"], wd["upper"] = strings().text(wd["text"])
        align = {"la": "l", "ma": "c", "ra": "r"}[wd["anchor"]]
        wd["style"] = style_letters(wd["bold"], align, wd["upper"], wd["spacing"],
                                    wd["lines"] > 1)
    return words
