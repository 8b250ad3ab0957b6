#!/usr/bin/python3
"""Writes every skin description file, skin picture, fixed control picture
and program icon from the window table in windows.py.

    /usr/bin/python3 tools/skingen/skingen.py [--root DIR]

DIR defaults to the repository; the 100 % set goes to DIR/skins, the sets
for the other display scales to DIR/skins/125, /150, /175 and /200 (the same
file names, everything drawn at that size), the icons to
DIR/option/res/option.ico and DIR/monitor/app/res/monitor.ico, and the
pictures Option carries as resources (program_art.py) at every scale.
Running it twice gives identical files.
"""

import argparse
import math
import os
import sys
import time

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import art  # noqa: E402
import controls  # noqa: E402
import program_art  # noqa: E402
import windows  # noqa: E402
import words  # noqa: E402
from style import (BG0, SCALES, STATES, background, canvas, new_image, px, scale,  # noqa: E402
                   scaled_rect, set_scale)

SHEET_EXT = {"normal": "jpg", "over": "jpg", "down": "jpg", "disable": "jpg"}
JPEG_ARGS = dict(quality=90, subsampling=0, optimize=True)
OUTLINES = {"main": windows.main_outline, "dialog": windows.dialog_outline,
            "page": windows.page_outline}
FRAMED = ("edit", "list")


def picture_names(win):
    b = win["base"]
    names = {"Mask": b + "_mask.bmp"}
    for st, key in zip(STATES, ("Normal", "Over", "Down", "Disable")):
        names[key] = "%s_%s.%s" % (b, st, SHEET_EXT[st])
    return names


def render_mask(win):
    w, h = win["size"]
    m = new_image("1", (w, h), 1)
    canvas(m).polygon(OUTLINES[win["outline"]](w, h), fill=0)
    return m


def render_sheets(win):
    w, h = win["size"]
    base = background(w, h)
    words.record()
    win["deco"](base)
    win["words"] = words.resolve(words.collected())
    win["boxes"] = words.place(win["words"], [c["rect"] for c in win["controls"]], (w, h))
    for c in win["controls"]:
        if c["kind"] in FRAMED or c.get("paint") is not None:
            controls.frame_outside(base, c)
    mask = render_mask(win)
    sheets = {}
    for st in STATES:
        img = base.copy()
        for c in win["controls"]:
            controls.DRAW[c["kind"]](img, c, st)
        # Outside the outline nothing is ever shown; a flat fill keeps the
        # compressed sheets small.
        img.paste(BG0, (0, 0) + img.size, mask)
        sheets[st] = img
    return sheets, mask


def ini_text(win):
    names = picture_names(win)
    lines = ["[SCREEN]"]
    for key in ("Mask", "Normal", "Over", "Down", "Disable"):
        lines.append("%s=%s" % (key, names[key]))
    lines += ["", "[BUTTONPOS]"]
    for c in sorted(win["controls"], key=lambda c: int(c["key"])):
        x, y, w, h = scaled_rect(c["rect"])
        hint = c["hint"]
        assert "," not in hint and "," not in c["name"], c
        lines.append("%s=%s,%d,%d,%d,%d,%s" % (c["key"], c["name"], x, y, w, h, hint))
    lines += ["", "[CAPTION]"] + caption_rows(win)
    lines += ["", "[TEXT]"] + words.text_rows(win["words"], win["boxes"])
    return "\r\n".join(lines) + "\r\n"


def caption_rows(win):
    """The word and the hint of every control that has either, at the
    current scale."""
    rows = []
    for c in sorted(win["controls"], key=lambda c: int(c["key"])):
        if not c["text"] and not c["hint"]:
            continue
        tid, upper = words.strings().text(c["text"]) if c["text"] else (0, False)
        hid = words.strings().hint(c["hint"]) if c["hint"] else 0
        size, align, colours, inset = controls.caption_look(c)
        style = words.style_letters(bool(tid), align, upper, bool(tid))
        row = "%s=%d,%d,%d,%s,%s" % (c["key"], tid, hid, px(size), style,
                                     ",".join(words.colour(v) for v in colours))
        if inset:
            row += ",%d" % px(inset)
        rows.append(row)
    return rows


def save(img, path):
    if path.endswith(".jpg"):
        img.save(path, "JPEG", **JPEG_ARGS)
    else:
        img.save(path, "BMP")


def write_fixed(skins):
    macro = next(w for w in windows.windows() if w["file"] == "skin_macro_manager.ini")
    rec = next(c for c in macro["controls"] if c["key"] == "7")
    for stop, prefix in ((False, "start"), (True, "stop")):
        for st in ("normal", "over", "down"):
            save(controls.record_face(rec["rect"], st, stop),
                 os.path.join(skins, "%s_record_%s.jpg" % (prefix, st)))
    main = windows.windows()[0]
    sel = {c["key"]: c for c in main["controls"] if c["kind"] == "profile"}
    for key, first, name in (("5", True, "profile1_mask.bmp"), ("6", False, "profile2_mask.bmp")):
        # The mask has the selector's size in this set (edges rounded), so
        # the outline is stretched onto exactly that many pixels.
        w, h = sel[key]["rect"][2:]
        sw, sh = scaled_rect(sel[key]["rect"])[2:]
        pts = [(round(x * (sw - 1) / (w - 1)), round(y * (sh - 1) / (h - 1)))
               for x, y in controls.profile_shape(w, h, first)]
        m = Image.new("1", (sw, sh), 1)
        ImageDraw.Draw(m).polygon(pts, fill=0)
        m.save(os.path.join(skins, name), "BMP")
    # The thumb must fit the thinnest track of the set: a 22-pixel track is
    # 22 times the scale rounded down at its narrowest, so the thumb is drawn
    # at the scale that gives exactly that height.
    percent = scale() * 100
    set_scale(100 * math.floor(22 * scale()) / 22)
    save(art.slider_thumb(), os.path.join(skins, "slider.bmp"))
    set_scale(percent)
    save(art.scroll_arrow(True), os.path.join(skins, "scroll_arrow_up.bmp"))
    save(art.scroll_arrow(False), os.path.join(skins, "scroll_arrow_down.bmp"))
    save(art.scroll_grip(), os.path.join(skins, "scroll_up.bmp"))


def readme(ws):
    out = [README_HEAD]
    out.append("| Skin description file | Window | Size | Pictures |")
    out.append("|---|---|---|---|")
    for win in ws:
        n = picture_names(win)
        out.append("| %s | %s | %d x %d | %s, %s (Normal), %s, %s, %s |" % (
            win["file"], win["window"], win["size"][0], win["size"][1], n["Mask"], n["Normal"],
            n["Over"], n["Down"], n["Disable"]))
    out.append("")
    for win in ws:
        out.append("## %s (%s)" % (win["file"], win["window"]))
        out.append("")
        out.append("| Key | Role | Control id | x, y, w, h | Hint (caption) | Word, hint ids |")
        out.append("|---|---|---|---|---|---|")
        for c in sorted(win["controls"], key=lambda c: int(c["key"])):
            tid = words.strings().text(c["text"])[0] if c["text"] else 0
            hid = words.strings().hint(c["hint"]) if c["hint"] else 0
            out.append("| %s | %s | %s | %s | %s | %s |" % (
                c["key"], c["role"], c["cid"] or "-", ", ".join(str(v) for v in c["rect"]),
                c["hint"] or "-", "%d, %d" % (tid, hid) if tid or hid else "-"))
        out.append("")
        out.append("Static words ([TEXT]):")
        out.append("")
        out.append("| n | x, y, w, h | Id | Style | English |")
        out.append("|---|---|---|---|---|")
        for n, (wd, box) in enumerate(zip(win["words"], win["boxes"]), 1):
            out.append("| %d | %s | %d | %s | %s |" % (
                n, ", ".join(str(v) for v in box), wd["id"], wd["style"],
                words.read_table()[wd["id"]]))
        out.append("")
    out.append(README_TAIL)
    return "\n".join(out)


README_HEAD = """# Skins

Every window of `Option` is drawn from a skin description file in this folder
and the pictures it names.  All files here are generated: do not edit them by
hand, change `tools/skingen/windows.py` (the layout of every window) or the
drawing code beside it and run

    /usr/bin/python3 tools/skingen/skingen.py

which rewrites this folder, this README and the icons
`option/res/option.ico` and `monitor/app/res/monitor.ico`.  The tests in
`tests/skins` check the files (`/usr/bin/python3 -m unittest discover -s
tests/skins -v`) and that the generator reproduces them.

![All windows in their normal state](../docs/skins-preview.png)

The pictures carry no words: the description files name them by string id
(`lan/en-US.rc`, translated in `lan/<locale>.rc`) in the sections
`[CAPTION]` and `[TEXT]`, and the program writes them in the user's
language.  The preview above draws the English words from the string table.

**Additions to the form of `[CAPTION]` and `[TEXT]` the language plan fixes**
(a reader that ignores them still draws every word, less well placed):

- A `[CAPTION]` row may end in a ninth field, the **left inset**: the word's
  box is the control's rectangle less that many pixels (at this scale) at
  its left, where a check box, a status light, a pictogram or a tab's icon
  sits; alignment and shrinking apply within that box.  Absent means 0.
- Style letter **w** in `[TEXT]`: a note of several lines.  The string wraps
  at spaces (between any two characters in scripts without spaces) into
  lines as wide as the box, from the top of the box; a note that still does
  not fit shrinks as a single line does.
- The size field is the font's em height in pixels at that scale (a
  `LOGFONT` height of minus that number).

The folders `125`, `150`, `175` and `200` hold the same files for those
display scales: every picture drawn at that size (lines and shapes, not
enlarged), every position and size in the description files multiplied
by the scale with both edges rounded (the words' boxes too, their font sizes
rounded the same way), so that controls that touch at 100 %
touch at every scale and none overlap.  Option loads the set for its
window's scale (the nearest at or above it).

Contact sheets of every window in all four states:
`scripts/contact_sheet.sh <SkinGallery.exe or -> skins <out dir>`.

## Conventions

- Masks are 1-bit BMP (black inside, pure white outside); state sheets are
  JPEG (quality 90, no chroma subsampling).  All five pictures of a window
  have the same size.
- Pages (`skin_main_control.ini`, `skin_color_control.ini`,
  `skin_advance_expand.ini`, `skin_support_control.ini`) are exactly the size
  of key 42 of `skin_config.ini` (660 x 400).
- Value labels (`CSkinLabel`, near-black text) sit on light plates: give them
  the background colour 0x00DEDAD6 (red 214, green 218, blue 222).  The five
  hint-only labels 15..19 of the main window are thin strips under the profile
  selectors: background 0x00956B06 (the accent).
- Every slider uses the thumb `slider.bmp` (12 x 22, magenta background that
  the thumb cuts away); every slider track is 22 pixels high.
  `scroll_arrow_up.bmp`, `scroll_arrow_down.bmp` (16 x 16) and `scroll_up.bmp`
  (16 x 32) are the arrow and grip pictures for scrolling controls.
- `profile1_mask.bmp` and `profile2_mask.bmp` have the size of the profile
  selectors (keys 5..9 of `skin_config.ini`); the record button pictures
  `start_record_*.jpg` / `stop_record_*.jpg` have the size of key 7 of
  `skin_macro_manager.ini`.
- Colour swatch buttons are 44 x 20: the left 35 x 19 pixels are painted with
  the colour, the right part shows the state.
- The support page writes the version strings at (172, 105) and (186, 135)
  onto dark ground; their captions are `[TEXT]` words right-aligned in boxes
  that end left of those points.
- Captions after the last comma are the hint texts (the English fallback of
  the hint ids); they contain no comma.

## Words

- `[CAPTION]`: `key = text id, hint id, size, style, normal, over, down,
  disabled[, left inset]`, keyed like `[BUTTONPOS]`, one row for every control
  with a word or a hint.  Text id 0: no word on the control (value labels,
  lists, sliders, the record button, whose pictures show a dot and a
  square).  Colours are 0xRRGGBB, one per state of the control's pictures.
- `[TEXT]`: `n = x, y, w, h, text id, size, style, colour`, numbered from 1:
  titles, panel titles, labels, notes and units, drawn by the window on its
  background.
- Style letters: b bold, l/c/r alignment (vertically centred), u upper-case
  (the string table holds natural case), s the old art's letter spacing, w
  a wrapping note (above).
- Ids: 2000-2499 words (`[TEXT]` and control words), 2500-2999 hints, in
  `lan/en-US.rc`, one block per window; words and hints of several windows
  come first, in a block of their own.  The same string has one id.
- `tools/skingen/windows.py` writes each word as the window shows it: a word
  in capitals is found in the table by its upper case and gets style u.  A
  word that is not in the table stops the generator: add it to
  `lan/en-US.rc` first (then to the other languages).
- Boxes are laid out at 100 % and scaled like `[BUTTONPOS]`.  Each holds the
  English text at every scale, measured with DejaVu Sans (wider than Arial
  and Tahoma), plus 2 pixels at each side, and grows by up to 30 % where
  there is room for longer languages.  No box overlaps a control or another
  box; words that start inside a panel stay inside it.
- The numbers on the mouse drawing and beside the assignment buttons are
  numerals of the illustration and stay in the pictures.

## Files
"""

README_TAIL = """## Keys chosen for the pages that fix only roles

The lighting page (`skin_color_control.ini`): 1 `ColorFlag` check; 2..5
`LightSwitch` 0..3; 6..9 `LightType` 0..3; 10 and 11 colour type preset and
custom; 12..44 the 33 preset colours (key 12 + i is preset i); 45 slider 200
(`LightSwitch`), 46 slider 201 (`LightType`), 47..49 sliders 202..204 (red,
green, blue) with their value labels 50..52; 53 the colour spectrum control,
54 the colour swatch, 55 the round preview rectangle.

The advanced settings page (`skin_advance_expand.ini`): 1..4 report rate
125/250/500/1000 Hz (`PollingRate` 0..3); 5..8 CPI level buttons (`CpiStep`
0..3); 9..12 LED colour swatches (`LedDPIColor` 0..3); 13 and 15 the CPI X and
Y sliders (207, 208) with their labels 14 and 16; 17 the separate X/Y CPI
check; 18 and 19 the sensitivity sliders (202, 203); 20 the X/Y sensitivity
link; 21 the pointer-speed slider (204); 22 the acceleration check; 23 the
trails slider (206) and 24 the trails check; 25 and 26 the scroll radio
buttons; 27 the scroll speed slider (205); 28 the scroll check; 29 the
`OTGSpeed` slider (201); 30 restore defaults.
"""


def scale_folder(skins, percent):
    return skins if percent == 100 else os.path.join(skins, str(percent))


def folder_bytes(folder):
    return sum(os.path.getsize(os.path.join(folder, n)) for n in os.listdir(folder)
               if os.path.isfile(os.path.join(folder, n)))


def write_set(folder, percent):
    """Every skin description file and picture of one display scale; returns
    the windows with their words placed."""
    set_scale(percent)
    os.makedirs(folder, exist_ok=True)
    ws = windows.windows()
    for win in ws:
        sheets, mask = render_sheets(win)
        names = picture_names(win)
        mask.save(os.path.join(folder, names["Mask"]), "BMP")
        for st, key in zip(STATES, ("Normal", "Over", "Down", "Disable")):
            save(sheets[st], os.path.join(folder, names[key]))
        with open(os.path.join(folder, win["file"]), "w", newline="") as f:
            f.write(ini_text(win))
    write_fixed(folder)
    return ws


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    here = os.path.dirname(os.path.abspath(__file__))
    ap.add_argument("--root", default=os.path.normpath(os.path.join(here, "..", "..")))
    args = ap.parse_args()
    skins = os.path.join(args.root, "skins")
    for percent in SCALES:
        started = time.monotonic()
        folder = scale_folder(skins, percent)
        placed = write_set(folder, percent)
        if percent == 100:
            described = placed
        program_art.write_program_pictures(args.root, percent)
        print("%3d %%: %.1f s, %d bytes" % (percent, time.monotonic() - started,
                                          folder_bytes(folder)))
    set_scale(100)
    with open(os.path.join(skins, "README.md"), "w") as f:
        f.write(readme(described))
    for rel, kind in (("option/res/option.ico", "option"), ("monitor/app/res/monitor.ico", "monitor")):
        path = os.path.join(args.root, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        art.write_ico(path, kind)


if __name__ == "__main__":
    main()
