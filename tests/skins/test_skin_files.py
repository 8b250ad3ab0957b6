"""Checks of the shipped skin description files and pictures against what
the windows of Option read from them."""

import os
import unittest

from PIL import Image, ImageChops, ImageStat

from skinlib import (SCALES, SKINS, edge, load, mean_abs_diff, parse_button_pos, read_profile,
                     rects_overlap, scale_folder, well_formed)


def keys(*ranges):
    out = []
    for r in ranges:
        out += list(r) if isinstance(r, range) else [r]
    return [str(k) for k in out]


# Keys each window reads; kinds name the keys that are not plain buttons.
# "rect": rectangle only; "label", "edit", "list", "slider", "spin", "record".
WINDOWS = {
    "skin_config.ini": dict(
        keys=keys(44, 2, 3, 4, range(5, 20), range(25, 32), 42, 43, 45, 46),
        kinds={"42": "rect", "43": "label", **{str(k): "label" for k in range(15, 20)}}),
    "skin_main_control.ini": dict(keys=keys(range(1, 17)), kinds={}),
    "skin_macro_manager.ini": dict(
        keys=keys(range(1, 12)),
        kinds={"6": "list", "11": "list", "10": "edit", "7": "record"}),
    "skin_delete_macro_warn.ini": dict(keys=keys(1, 2, 3), kinds={}),
    "skin_dpi_color.ini": dict(
        keys=keys(range(1, 9)),
        kinds={"3": "rect", "4": "rect", "6": "spin", "7": "spin", "8": "spin"}),
    "skin_color_control.ini": dict(
        keys=keys(range(1, 56)),
        kinds={**{str(k): "slider" for k in range(45, 50)},
               **{str(k): "label" for k in range(50, 53)},
               "53": "rect", "54": "rect", "55": "rect"}),
    "skin_advance_expand.ini": dict(
        keys=keys(range(1, 31)),
        kinds={**{str(k): "slider" for k in (13, 15, 18, 19, 21, 23, 27, 29)},
               "14": "label", "16": "label"}),
    "skin_fire_button.ini": dict(keys=keys(range(1, 7)),
                                 kinds={"4": "edit", "5": "edit", "6": "edit"}),
    "skin_profile.ini": dict(keys=keys(range(1, 8)), kinds={"1": "edit", "2": "edit"}),
    "skin_lanuch_program.ini": dict(keys=keys(range(1, 6)), kinds={"1": "edit"}),
    "skin_select_player.ini": dict(keys=keys(range(1, 5)), kinds={}),
    "skin_shortcut.ini": dict(keys=keys(range(2, 11)), kinds={"10": "edit"}),
    "skin_support_control.ini": dict(keys=keys(1, 2, 3), kinds={}),
    "skin_click_warn.ini": dict(keys=keys(1, 2, 3), kinds={}),
    "skin_reset_warn.ini": dict(keys=keys(1, 2, 3), kinds={}),
    "skin_macro_set_warn.ini": dict(keys=keys(1, 2, 3), kinds={}),
}
PAGES = ("skin_main_control.ini", "skin_color_control.ini", "skin_advance_expand.ini",
         "skin_support_control.ini")
SCREEN_KEYS = ("mask", "normal", "over", "down", "disable")
FIXED = ("slider.bmp", "scroll_arrow_up.bmp", "scroll_arrow_down.bmp", "scroll_up.bmp",
         "profile1_mask.bmp", "profile2_mask.bmp", "start_record_normal.jpg",
         "start_record_over.jpg", "start_record_down.jpg", "stop_record_normal.jpg",
         "stop_record_over.jpg", "stop_record_down.jpg")


class Skin:
    """One parsed skin description file with its five pictures."""

    _cache = {}

    @classmethod
    def get(cls, file, folder=SKINS):
        if (folder, file) not in cls._cache:
            cls._cache[(folder, file)] = cls(file, folder)
        return cls._cache[(folder, file)]

    def __init__(self, file, folder):
        self.file = file
        self.sections, self.dups = read_profile(os.path.join(folder, file))
        self.screen = self.sections.get("screen", {})
        self.pos = self.sections.get("buttonpos", {})
        self.pictures = {k: load(self.screen[k], folder) for k in SCREEN_KEYS
                         if self.screen.get(k)}
        self.rects = {}
        for k in WINDOWS[file]["keys"]:
            if k in self.pos:
                self.rects[k] = parse_button_pos(self.pos[k])[1]

    @property
    def size(self):
        return self.pictures["normal"].size


def crop(img, r):
    return img.crop(r)


class ScaledSet:
    """Runs a test class on the set of one display scale; sizes the windows
    rely on are checked at that scale."""

    percent = 100

    @property
    def folder(self):
        return scale_folder(self.percent)

    def skin(self, file):
        return Skin.get(file, self.folder)

    def load(self, name):
        return load(name, self.folder)

    def at_least(self, v):
        """A size of v 100 % pixels at this scale, less the one pixel that
        rounding both edges may take."""
        return edge(v, self.percent) - (1 if self.percent != 100 else 0)

    def point(self, v):
        return edge(v, self.percent)


class SkinFileTest(ScaledSet, unittest.TestCase):

    def each(self, check):
        for file in WINDOWS:
            with self.subTest(file=file):
                check(file, self.skin(file))

    def test_every_file_parses_and_names_five_pictures_of_one_size(self):
        def check(file, skin):
            self.assertEqual(skin.dups, [], "duplicate keys are silently ignored")
            for k in SCREEN_KEYS:
                name = skin.screen.get(k, "")
                self.assertTrue(name, "SCREEN key %s missing" % k)
                self.assertNotIn("\\", name)
                self.assertNotIn("/", name)
                self.assertTrue(os.path.isfile(os.path.join(self.folder, name)), name)
            sizes = {k: p.size for k, p in skin.pictures.items()}
            self.assertEqual(len(set(sizes.values())), 1, sizes)
            self.assertEqual(skin.pictures["mask"].format, "BMP", "masks must be lossless")
            for k in ("normal", "over", "down", "disable"):
                ext = skin.screen[k].rsplit(".", 1)[-1].lower()
                self.assertEqual({"jpg": "JPEG", "bmp": "BMP"}[ext], skin.pictures[k].format)
        self.each(check)

    def test_every_read_key_is_present_well_formed_and_inside(self):
        def check(file, skin):
            w, h = skin.size
            for k in WINDOWS[file]["keys"]:
                self.assertIn(k, skin.pos, "key %s missing" % k)
                v = skin.pos[k]
                self.assertTrue(well_formed(v), "%s=%s" % (k, v))
                name, (l, t, r, b), caption = parse_button_pos(v)
                self.assertEqual(caption, v.rsplit(",", 1)[1].strip())
                self.assertTrue(0 <= l < r <= w and 0 <= t < b <= h,
                                "key %s at %s outside %dx%d" % (k, (l, t, r, b), w, h))
            extra = set(skin.pos) - set(WINDOWS[file]["keys"])
            self.assertEqual(extra, set(), "keys the window never reads")
        self.each(check)

    def test_controls_do_not_overlap(self):
        def check(file, skin):
            items = sorted(skin.rects.items(), key=lambda kv: int(kv[0]))
            for i, (ka, ra) in enumerate(items):
                for kb, rb in items[i + 1:]:
                    self.assertFalse(rects_overlap(ra, rb), "keys %s and %s overlap" % (ka, kb))
        self.each(check)

    def test_mask_is_black_and_white_white_outside_and_inside_every_control(self):
        def check(file, skin):
            mask = skin.pictures["mask"].convert("RGB")
            colours = {c for _, c in mask.getcolors(16)}
            self.assertLessEqual(colours, {(0, 0, 0), (255, 255, 255)},
                                 "grey edge pixels would leave a fringe on the outline")
            self.assertIn((0, 0, 0), colours)
            grey = mask.convert("L")
            for k, r in skin.rects.items():
                self.assertLess(grey.crop(r).getextrema()[1], 255,
                                "key %s reaches outside the window outline" % k)
            if file not in PAGES:
                w, h = skin.size
                for corner in ((0, 0), (w - 1, h - 1)):
                    self.assertEqual(mask.getpixel(corner), (255, 255, 255),
                                     "shaped outline expected at %s" % (corner,))
        self.each(check)

    def test_buttons_have_four_clearly_different_states(self):
        def check(file, skin):
            kinds = WINDOWS[file]["kinds"]
            for k, r in skin.rects.items():
                if kinds.get(k) in ("rect", "label", "edit", "list", "slider", "record"):
                    continue
                parts = {st: crop(skin.pictures[st], r) for st in
                         ("normal", "over", "down", "disable")}
                names = list(parts)
                for i, a in enumerate(names):
                    for b in names[i + 1:]:
                        diff = mean_abs_diff(parts[a], parts[b])
                        self.assertGreater(diff, 4.0, "key %s: %s and %s look alike (%.1f)"
                                           % (k, a, b, diff))
        self.each(check)

    def test_pages_fill_the_page_area_of_the_main_window(self):
        main = self.skin("skin_config.ini")
        l, t, r, b = main.rects["42"]
        for page in PAGES:
            with self.subTest(page=page):
                self.assertEqual(self.skin(page).size, (r - l, b - t))
        self.assertGreater(main.size[0], r - l)

    def test_support_page_leaves_room_for_the_version_texts(self):
        skin = self.skin("skin_support_control.ini")
        normal = skin.pictures["normal"].convert("L")
        for x, y in ((172, 105), (186, 135)):
            spot = tuple(self.point(v) for v in (x, y, x + 60, y + 16))
            for k, r in skin.rects.items():
                self.assertFalse(rects_overlap(spot, r), "key %s covers a version text" % k)
            pixels = list(normal.crop(spot).getdata())
            # Grey (180) text must stand out, so the ground is dark and plain.
            self.assertLess(max(pixels), 90)

    def test_controls_fit_the_parts_they_are_drawn_with(self):
        dpi = self.skin("skin_dpi_color.ini")
        for k in ("6", "7", "8"):
            l, t, r, b = dpi.rects[k]
            self.assertGreaterEqual(b - t, self.at_least(20), "spin arrows reach 18 pixels down")
            self.assertGreaterEqual(r - l, self.at_least(44),
                                    "edit field of three digits plus arrows")
        adv = self.skin("skin_advance_expand.ini")
        for k in ("9", "10", "11", "12"):
            l, t, r, b = adv.rects[k]
            self.assertGreaterEqual((r - l, b - t), (self.at_least(35), self.at_least(19)))
            self.assertGreater(r - l, self.point(35), "swatch needs room to show its state")
        light = self.skin("skin_color_control.ini")
        l, t, r, b = light.rects["53"]
        self.assertGreaterEqual(r - l, self.at_least(204), "pick area runs to x 197 plus marker")
        self.assertGreaterEqual(b - t, self.at_least(27))
        thumb = self.load("slider.bmp")
        for file in ("skin_color_control.ini", "skin_advance_expand.ini"):
            skin = self.skin(file)
            for k, kind in WINDOWS[file]["kinds"].items():
                if kind == "slider":
                    l, t, r, b = skin.rects[k]
                    self.assertGreaterEqual(b - t, thumb.size[1], "track %s of %s" % (k, file))
                    self.assertGreater(r - l, 4 * thumb.size[0])
        for file, skin in ((f, self.skin(f)) for f in WINDOWS):
            for k, kind in WINDOWS[file]["kinds"].items():
                if kind == "label":
                    l, t, r, b = skin.rects[k]
                    if (r - l) > 10 and file != "skin_config.ini" or k == "43":
                        self.assertGreaterEqual(b - t, self.at_least(16),
                                                "label %s of %s" % (k, file))

    def test_value_labels_sit_on_the_documented_plate(self):
        # Labels draw near-black text; the artwork under them must be light so
        # that the label's fill matches its surroundings.
        for file, k in (("skin_config.ini", "43"), ("skin_advance_expand.ini", "14"),
                        ("skin_color_control.ini", "50")):
            skin = self.skin(file)
            colour = skin.pictures["normal"].convert("RGB").getpixel(
                tuple(v + self.point(3) for v in skin.rects[k][:2]))
            self.assertTrue(all(abs(a - b) <= 8 for a, b in zip(colour, (214, 218, 222))),
                            "%s key %s: %s" % (file, k, colour))


class FixedImageTest(ScaledSet, unittest.TestCase):

    def test_fixed_images_load(self):
        for name in FIXED:
            with self.subTest(name=name):
                img = self.load(name)
                self.assertGreater(img.size[0] * img.size[1], 0)
                ext = name.rsplit(".", 1)[1]
                self.assertEqual({"jpg": "JPEG", "bmp": "BMP"}[ext], img.format)

    def test_record_pictures_match_the_record_button(self):
        macro = self.skin("skin_macro_manager.ini")
        l, t, r, b = macro.rects["7"]
        pics = {n: self.load(n) for n in FIXED if "record" in n}
        for n, img in pics.items():
            self.assertEqual(img.size, (r - l, b - t), n)
        self.assertGreater(mean_abs_diff(pics["start_record_normal.jpg"],
                                         pics["stop_record_normal.jpg"]), 10)
        for pre in ("start", "stop"):
            self.assertGreater(mean_abs_diff(pics[pre + "_record_normal.jpg"],
                                             pics[pre + "_record_over.jpg"]), 3)
            self.assertGreater(mean_abs_diff(pics[pre + "_record_over.jpg"],
                                             pics[pre + "_record_down.jpg"]), 3)

    def test_profile_masks_match_the_selectors_and_are_shaped(self):
        main = self.skin("skin_config.ini")
        sizes = {k: (r - l, b - t) for k, (l, t, r, b) in main.rects.items()
                 if k in ("5", "6", "7", "8", "9")}
        self.assertEqual(self.load("profile1_mask.bmp").size, sizes["5"])
        for k in ("6", "7", "8", "9"):
            self.assertEqual(self.load("profile2_mask.bmp").size, sizes[k])
        for n in ("profile1_mask.bmp", "profile2_mask.bmp"):
            m = self.load(n).convert("RGB")
            colours = {c for _, c in m.getcolors(16)}
            self.assertEqual(colours, {(0, 0, 0), (255, 255, 255)}, n)
            w, h = m.size
            self.assertEqual(m.getpixel((w - 1, 0)), (255, 255, 255), n)
            self.assertEqual(m.getpixel((w // 2, h // 2)), (0, 0, 0), n)

    def test_thumbs_have_a_cut_out_background_and_a_solid_body(self):
        for n in ("slider.bmp", "scroll_arrow_up.bmp", "scroll_arrow_down.bmp",
                  "scroll_up.bmp"):
            with self.subTest(name=n):
                img = self.load(n).convert("RGB")
                w, h = img.size
                bg = img.getpixel((0, 0))
                # The thumb removes every pixel of the corner colour: the body
                # must not contain it or the thumb gets holes.
                column = [img.getpixel((w // 2, y)) for y in range(2, h - 2)]
                self.assertNotIn(bg, column)
                self.assertEqual(img.getpixel((w - 1, h - 1)), bg)


class ScaleSetTest(unittest.TestCase):
    """Every set is the 100 % set with both edges of every rectangle rounded,
    so controls that touch at 100 % touch at every scale and none overlap."""

    def test_every_set_places_every_control_at_its_rounded_edges(self):
        for percent in SCALES[1:]:
            for file, spec in WINDOWS.items():
                with self.subTest(percent=percent, file=file):
                    base = Skin.get(file)
                    scaled = Skin.get(file, scale_folder(percent))
                    w, h = base.size
                    self.assertEqual(scaled.size, (edge(w, percent), edge(h, percent)))
                    for k in spec["keys"]:
                        want = tuple(edge(v, percent) for v in base.rects[k])
                        self.assertEqual(scaled.rects[k], want, "key %s" % k)


class ReadmeTest(unittest.TestCase):

    def test_readme_lists_every_key_of_every_window(self):
        with open(os.path.join(SKINS, "README.md")) as f:
            text = f.read()
        sections = text.split("\n## ")
        for file, spec in WINDOWS.items():
            with self.subTest(file=file):
                sec = [s for s in sections if s.startswith(file)]
                self.assertEqual(len(sec), 1)
                controls = sec[0].split("Static words")[0]
                rows = {line.split("|")[1].strip() for line in controls.splitlines()
                        if line.startswith("| ") and line.split("|")[1].strip().isdigit()}
                self.assertEqual(rows, set(spec["keys"]))


class ReaderSelfTest(unittest.TestCase):
    """The readers above must reject what the loader would misread."""

    def test_placement_parser_follows_the_loader(self):
        self.assertEqual(parse_button_pos("browser1,281,172,30,20,"),
                         ("browser1", (281, 172, 311, 192), ""))
        self.assertEqual(parse_button_pos("a, 1, 2, 3, 4, hint "), ("a", (1, 2, 4, 6), "hint"))
        self.assertEqual(parse_button_pos("a,1,2,3,4,x,y")[2], "y")
        self.assertEqual(parse_button_pos("a,1,2,3,4")[2], "4")
        self.assertEqual(parse_button_pos(" hello "), ("", (0, 0, 0, 0), "hello"))

    def test_well_formed_rejects_what_would_be_misread(self):
        self.assertTrue(well_formed("ok,1,2,3,4,Accept"))
        self.assertTrue(well_formed("ok,-1,2,3,4,"))
        for bad in ("ok,1,2,3,4", "ok,1,2,3,4,a,b", "ok,1,2,0,4,", "ok, 1,2,3,4,",
                    ",1,2,3,4,", "o k,1,2,3,4,"):
            self.assertFalse(well_formed(bad), bad)

    def test_overlap(self):
        self.assertTrue(rects_overlap((0, 0, 10, 10), (9, 9, 20, 20)))
        self.assertFalse(rects_overlap((0, 0, 10, 10), (10, 0, 20, 10)))


for _percent in SCALES[1:]:
    for _base in (SkinFileTest, FixedImageTest):
        _name = "%s%d" % (_base.__name__, _percent)
        globals()[_name] = type(_name, (_base,), {"percent": _percent})


if __name__ == "__main__":
    unittest.main()
