"""The contact-sheet fallback renderer and the program icons."""

import os
import struct
import subprocess
import sys
import tempfile
import unittest

from PIL import Image, ImageChops

from skinlib import ROOT, SKINS

COMPOSE = os.path.join(ROOT, "tools", "skingen", "compose.py")


class ComposeTest(unittest.TestCase):

    def test_outside_is_white_and_inside_is_the_state_sheet(self):
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([sys.executable, COMPOSE, SKINS, out, "skin_reset_warn.ini"],
                           check=True)
            self.assertEqual(sorted(os.listdir(out)),
                             ["skin_reset_warn_%s.bmp" % s for s in
                              ("disable", "down", "normal", "over")])
            mask = Image.open(os.path.join(SKINS, "resetwarn_mask.bmp")).convert("L")
            for st in ("normal", "over", "down", "disable"):
                got = Image.open(os.path.join(out, "skin_reset_warn_%s.bmp" % st))
                self.assertEqual(got.mode, "RGB")
                sheet = Image.open(os.path.join(SKINS, "resetwarn_%s.jpg" % st)).convert("RGB")
                self.assertEqual(got.size, sheet.size)
                inside = mask.point(lambda v: 255 if v != 255 else 0)
                outside = mask.point(lambda v: 255 if v == 255 else 0)
                white = Image.new("RGB", got.size, (255, 255, 255))
                self.assertIsNone(ImageChops.difference(
                    Image.composite(got, white, inside), Image.composite(sheet, white, inside)
                ).getbbox(), "inside must be the sheet unchanged")
                self.assertIsNone(ImageChops.difference(
                    Image.composite(got, white, outside), white).getbbox(),
                    "outside must be pure white")
                self.assertIsNotNone(outside.getbbox(), "the dialog has a shaped outline")

    def test_unknown_file_fails_loudly(self):
        with tempfile.TemporaryDirectory() as out:
            r = subprocess.run([sys.executable, COMPOSE, SKINS, out, "skin_missing.ini"],
                               capture_output=True)
            self.assertNotEqual(r.returncode, 0)


def read_ico(path):
    """Entries of an icon file: (width, height, bpp, DIB bytes)."""
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert (reserved, kind) == (0, 1), "not an icon file"
    out = []
    for i in range(count):
        w, h, colours, _, planes, bpp, size, offset = struct.unpack_from("<BBBBHHII", data,
                                                                         6 + 16 * i)
        out.append((w or 256, h or 256, bpp, data[offset:offset + size]))
        assert offset + size <= len(data), "entry runs past the end"
    return out


class IconTest(unittest.TestCase):

    def test_icons_hold_every_tray_size_as_32_bit_bitmaps_with_matching_masks(self):
        for rel in ("option/res/option.ico", "monitor/app/res/monitor.ico"):
            with self.subTest(icon=rel):
                entries = read_ico(os.path.join(ROOT, rel))
                self.assertEqual([(w, h) for w, h, _, _ in entries], [(n, n) for n in
                                                                      (16, 20, 24, 32, 48)])
                for w, h, bpp, dib in entries:
                    self.assertEqual(bpp, 32)
                    hsize, dw, dh, planes, dbpp = struct.unpack_from("<IiiHH", dib, 0)
                    self.assertEqual((hsize, dw, dh, planes, dbpp), (40, w, 2 * h, 1, 32),
                                     "BMP entry (PNG entries are not read everywhere)")
                    xor = dib[40:40 + w * h * 4]
                    row = ((w + 31) // 32) * 4
                    andm = dib[40 + w * h * 4:]
                    self.assertEqual(len(andm), row * h)
                    opaque = transparent = 0
                    for y in range(h):
                        for x in range(w):
                            alpha = xor[(y * w + x) * 4 + 3]
                            bit = (andm[y * row + x // 8] >> (7 - x % 8)) & 1
                            # The AND mask must agree with alpha for programs
                            # that ignore the alpha channel.
                            self.assertEqual(bit, 1 if alpha < 128 else 0)
                            opaque += alpha >= 128
                            transparent += alpha < 128
                    self.assertGreater(opaque, w * h // 2, "the picture fills the icon")
                    self.assertGreater(transparent, 0, "corners are transparent")
                    self.assertEqual(xor[3], 0, "bottom-left corner is clear")

    def test_the_two_programs_have_different_icons(self):
        a = read_ico(os.path.join(ROOT, "option/res/option.ico"))
        b = read_ico(os.path.join(ROOT, "monitor/app/res/monitor.ico"))
        self.assertNotEqual(a[1][3], b[1][3])


if __name__ == "__main__":
    unittest.main()
