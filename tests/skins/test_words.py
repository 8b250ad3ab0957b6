"""The words of the skins: the pictures carry none; every [CAPTION] and
[TEXT] row names a string of the English table, and every static word has a
box of its own inside the window, wide enough for the English text."""

import os
import re
import sys
import unittest

from PIL import ImageFont

from skinlib import ROOT, SCALES, parse_button_pos, rects_overlap
from test_skin_files import WINDOWS, ScaledSet

sys.path.insert(0, os.path.join(ROOT, "tools", "skingen"))
from words import read_table  # noqa: E402  the string table's reader

FONTS = "/usr/share/fonts/truetype/dejavu/"
TEXT_IDS = range(2000, 2500)
HINT_IDS = range(2500, 3000)
STYLE = re.compile(r"^b?[lcr]u?s?w?$")
COLOUR = re.compile(r"^0x[0-9A-F]{6}$")


def face(size, bold):
    return ImageFont.truetype(FONTS + ("DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"),
                              size)


def wrapped(txt, fnt, width):
    lines, cur = [], ""
    for w in txt.split(" "):
        t = (cur + " " + w) if cur else w
        if cur and fnt.getlength(t) > width:
            lines.append(cur)
            cur = w
        else:
            cur = t
    return lines + [cur]


class WordsTest(ScaledSet, unittest.TestCase):

    table = read_table()

    def rows(self, skin, section):
        return {k: v.split(",") for k, v in skin.sections.get(section, {}).items()}

    def shown(self, sid, style):
        txt = self.table[sid]
        return txt.upper() if "u" in style else txt

    def test_every_control_with_a_word_or_hint_names_english_strings(self):
        for file in WINDOWS:
            skin = self.skin(file)
            captions = self.rows(skin, "caption")
            with self.subTest(file=file):
                hinted = {k for k, v in skin.pos.items() if parse_button_pos(v)[2]}
                self.assertEqual(set(captions), hinted)
                for key, f in captions.items():
                    self.assertIn(len(f), (8, 9), key)
                    tid, hid, size = int(f[0]), int(f[1]), int(f[2])
                    self.assertTrue(tid == 0 or (tid in TEXT_IDS and tid in self.table), key)
                    self.assertTrue(hid in HINT_IDS and hid in self.table, key)
                    self.assertEqual(self.table[hid], parse_button_pos(skin.pos[key])[2],
                                     "the hint's English is the fallback caption")
                    self.assertGreater(size, 0)
                    self.assertRegex(f[3], STYLE)
                    for c in f[4:8]:
                        self.assertRegex(c, COLOUR)
                    if len(f) == 9:
                        l, _, r, _ = parse_button_pos(skin.pos[key])[1]
                        self.assertLess(int(f[8]), (r - l) // 2, key)

    def test_static_words_lie_inside_apart_and_hold_their_english_text(self):
        for file in WINDOWS:
            skin = self.skin(file)
            texts = self.rows(skin, "text")
            w, h = skin.size
            controls = [parse_button_pos(v)[1] for v in skin.pos.values()]
            boxes = {}
            with self.subTest(file=file):
                self.assertEqual(sorted(texts, key=int),
                                 [str(n) for n in range(1, len(texts) + 1)])
                for n, f in texts.items():
                    self.assertEqual(len(f), 8, n)
                    x, y, bw, bh, sid, size = (int(v) for v in f[:6])
                    style = f[6]
                    self.assertTrue(sid in TEXT_IDS and sid in self.table, n)
                    self.assertRegex(style, STYLE)
                    self.assertRegex(f[7], COLOUR)
                    box = (x, y, x + bw, y + bh)
                    self.assertTrue(0 <= x and x + bw <= w and 0 <= y and y + bh <= h,
                                    "word %s outside the window" % n)
                    for r in controls:
                        self.assertFalse(rects_overlap(box, r), "word %s over a control" % n)
                    for m, other in boxes.items():
                        self.assertFalse(rects_overlap(box, other), "words %s and %s" % (m, n))
                    boxes[n] = box
                    fnt = face(size, "b" in style)
                    a, d = fnt.getmetrics()
                    txt = self.shown(sid, style)
                    if "w" in style:
                        self.assertLessEqual(len(wrapped(txt, fnt, bw)) * (a + d), bh, n)
                    else:
                        self.assertLessEqual(fnt.getlength(txt) + 2, bw, "%s: %s" % (n, txt))
                        self.assertLessEqual(size, bh, n)


for _percent in SCALES[1:]:
    _name = "WordsTest%d" % _percent
    globals()[_name] = type(_name, (WordsTest,), {"percent": _percent})


if __name__ == "__main__":
    unittest.main()
