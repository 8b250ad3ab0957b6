"""Running the generator again must give the committed files."""

import filecmp
import os
import subprocess
import sys
import tempfile
import unittest

from PIL import Image, ImageChops

from skinlib import ROOT, SCALES, SKINS, edge

GENERATOR = os.path.join(ROOT, "tools", "skingen", "skingen.py")
ICONS = ("option/res/option.ico", "monitor/app/res/monitor.ico")
# The pictures Option carries as resources, one folder per scale like the sets.
PROGRAM_PICTURES = (
    ("option/skin/res", ("color_strip.bmp", "color_marker.bmp", "menu_arrow.ico")),
    ("option/dialogs/res", ("event_press.bmp", "event_release.bmp", "event_mouse.bmp",
                            "event_delay.bmp")),
)


def program_picture(folder, name, percent):
    return os.path.join(folder, "" if percent == 100 else str(percent), name)


class ReproducibleTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory(prefix="skingen-")
        subprocess.run([sys.executable, GENERATOR, "--root", cls.tmp.name], check=True)
        cls.out = os.path.join(cls.tmp.name, "skins")

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    @staticmethod
    def files(top):
        """Every file below top, as paths relative to it (all scale sets)."""
        return sorted(os.path.relpath(os.path.join(d, n), top)
                      for d, _, names in os.walk(top) for n in names)

    def test_same_set_of_files(self):
        self.assertEqual(self.files(self.out), self.files(SKINS))

    def test_files_are_identical(self):
        # BMP, INI, ICO and Markdown are written byte for byte by our own
        # code or Pillow's plain encoder, so they must match exactly.  JPEG
        # bytes depend on the libjpeg build behind Pillow: with the same build
        # they match; with another one the decoded pixels must still agree
        # within the rounding of the encoder.
        for name in self.files(SKINS):
            with self.subTest(name=name):
                a, b = os.path.join(SKINS, name), os.path.join(self.out, name)
                if filecmp.cmp(a, b, shallow=False):
                    continue
                self.assertTrue(name.endswith(".jpg"), "%s differs from a fresh run" % name)
                pa, pb = Image.open(a).convert("RGB"), Image.open(b).convert("RGB")
                self.assertEqual(pa.size, pb.size)
                worst = max(hi for lo, hi in ImageChops.difference(pa, pb).getextrema())
                self.assertLessEqual(worst, 6, "%s: pixels differ by up to %d" % (name, worst))
        pictures = [program_picture(folder, name, percent) for folder, names in PROGRAM_PICTURES
                    for name in names for percent in SCALES]
        for rel in ICONS + tuple(pictures):
            with self.subTest(name=rel):
                self.assertTrue(filecmp.cmp(os.path.join(ROOT, rel),
                                            os.path.join(self.tmp.name, rel), shallow=False))

    def test_program_pictures_are_drawn_at_each_scale(self):
        # Drawn at the scale's size, so the program never has to stretch them.
        for folder, names in PROGRAM_PICTURES:
            for name in names:
                w, h = Image.open(os.path.join(ROOT, folder, name)).size
                for percent in SCALES:
                    with self.subTest(name=name, percent=percent):
                        rel = program_picture(folder, name, percent)
                        self.assertEqual(Image.open(os.path.join(ROOT, rel)).size,
                                         (edge(w, percent), edge(h, percent)))

    def test_colour_strip_is_coloured_wherever_the_picker_reads(self):
        # The picker clamps a press into the pick area (6, 6)-(197, 20) with
        # its edges rounded to the scale, and takes the strip's pixel there.
        ground = (208, 208, 208)
        for percent in SCALES:
            with self.subTest(percent=percent):
                strip = Image.open(os.path.join(
                    ROOT, program_picture("option/skin/res", "color_strip.bmp", percent)))
                pix = strip.convert("RGB").load()
                left, right = edge(6, percent), edge(197, percent)
                top, bottom = edge(6, percent), edge(20, percent)
                grounded = [(x, y) for x in range(left, right + 1)
                            for y in range(top, bottom + 1) if pix[x, y] == ground]
                self.assertEqual(grounded, [])


if __name__ == "__main__":
    unittest.main()
