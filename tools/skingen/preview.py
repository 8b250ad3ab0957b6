#!/usr/bin/python3
"""Pictures of windows as the user sees them: the main window with a page
placed in its page area (key 42), and a small preview for the docs.

    /usr/bin/python3 preview.py pages <skins dir> <out.png>
        the main window with each of its four pages, two by two
    /usr/bin/python3 preview.py docs <skins dir> <out.png>
        the main window with the button page and the macro manager over it
"""

import os
import sys

from PIL import Image, ImageDraw, ImageFilter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from compose import read_screen, read_section  # noqa: E402
import words  # noqa: E402

PAGES = ("skin_main_control.ini", "skin_color_control.ini", "skin_advance_expand.ini",
         "skin_support_control.ini")
SELECTORS = {"skin_main_control.ini": "25", "skin_color_control.ini": "26",
             "skin_advance_expand.ini": "27", "skin_support_control.ini": "28"}


def read_pos(path):
    out = {}
    for k, v in read_section(path, "buttonpos"):
        x, y, w, h = (int(t) for t in v.split(",")[1:5])
        out[k] = (x, y, x + w, y + h)
    return out


def window(skins, ini, state="normal"):
    """The window's picture with its outline: RGBA, transparent outside."""
    sc = read_screen(os.path.join(skins, ini))
    img = Image.open(os.path.join(skins, sc[state])).convert("RGBA")
    mask = Image.open(os.path.join(skins, sc["mask"])).convert("L")
    img.putalpha(mask.point(lambda v: 0 if v == 255 else 255))
    return img


# Sample texts the program draws at run time (labels, button faces), so
# that the preview shows the windows in use.
SAMPLE_FACES = {
    "skin_main_control.ini": {
        "1": "1. Left Click", "2": "2. Right Click", "3": "3. Middle Click", "4": "4. Back",
        "5": "5. Forward", "11": "6. Ctrl+C", "12": "7. Ctrl+V", "13": "8. Macro Reload",
        "14": "9. CPI Up", "15": "10. CPI Down", "6": "0. Profile Cycle", "7": "0. Disable",
        "8": "0. Profile Up", "9": "0. Disable", "10": "0. Disable", "16": "0. CPI Down"},
}
SAMPLE_LABELS = {
    "skin_config.ini": {"43": "Default1"},
    "skin_advance_expand.ini": {"14": "1600", "16": "1600"},
    "skin_color_control.ini": {"50": "255", "51": "0", "52": "0"},
}


def sample_texts(img, skins, ini, origin=(0, 0)):
    from PIL import ImageFont
    pos = read_pos(os.path.join(skins, ini))
    d = ImageDraw.Draw(img)
    face = ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 12)
    for key, text in SAMPLE_FACES.get(ini, {}).items():
        l, t, r, b = pos[key]
        d.text((origin[0] + l + 8, origin[1] + (t + b) // 2), text, font=face,
               fill=(224, 224, 224), anchor="lm")
    for key, text in SAMPLE_LABELS.get(ini, {}).items():
        l, t, r, b = pos[key]
        d.text((origin[0] + (l + r) // 2, origin[1] + (t + b) // 2), text, font=face,
               fill=(2, 2, 2), anchor="mm")


def _draw_word(d, box, txt, size, style, colour, origin):
    """A word as the program writes it: in its box, vertically centred (a
    wrapped note from the top), in English."""
    x, y, w, h = box
    x, y = x + origin[0], y + origin[1]
    if "u" in style:
        txt = txt.upper()
    face = words._face(size, "b" in style)
    lines = words.wrap(txt, size, "b" in style, 100, w) if "w" in style else [txt]
    step = face.getmetrics()[0] + face.getmetrics()[1]
    top = y if "w" in style else y + (h - step) // 2
    for i, line in enumerate(lines):
        lw = face.getlength(line)
        lx = x + (w - lw) / 2 if "c" in style else x + w - lw if "r" in style else x
        d.text((lx, top + i * step), line, font=face, fill=colour)


def draw_words(img, skins, ini, origin=(0, 0), latched=()):
    """The window's [TEXT] words and its controls' [CAPTION] words, from the
    English string table; latched keys in their pressed colour."""
    table = words.read_table()
    path = os.path.join(skins, ini)
    d = ImageDraw.Draw(img)
    for _, v in read_section(path, "text"):
        f = v.split(",")
        rgb = int(f[7], 16)
        _draw_word(d, [int(t) for t in f[:4]], table[int(f[4])], int(f[5]), f[6],
                   (rgb >> 16, (rgb >> 8) & 255, rgb & 255), origin)
    pos = read_pos(path)
    for key, v in read_section(path, "caption"):
        f = v.split(",")
        if f[0] == "0":
            continue
        l, t, r, b = pos[key]
        inset = int(f[8]) if len(f) > 8 else 0
        rgb = int(f[6 if key in latched else 4], 16)
        _draw_word(d, (l + inset, t, r - l - inset, b - t), table[int(f[0])], int(f[2]), f[3],
                   (rgb >> 16, (rgb >> 8) & 255, rgb & 255), origin)


def main_with_page(skins, page):
    main = window(skins, "skin_config.ini")
    pos = read_pos(os.path.join(skins, "skin_config.ini"))
    down = window(skins, "skin_config.ini", "down")
    # The current page's selector and profile 1 are shown latched.
    for key in (SELECTORS[page], "5"):
        main.paste(down.crop(pos[key]), pos[key][:2])
    main.alpha_composite(window(skins, page), pos["42"][:2])
    draw_words(main, skins, "skin_config.ini", latched=(SELECTORS[page], "5"))
    draw_words(main, skins, page, pos["42"][:2])
    sample_texts(main, skins, "skin_config.ini")
    sample_texts(main, skins, page, pos["42"][:2])
    return main


def shadowed(canvas, pic, xy):
    shadow = Image.new("RGBA", pic.size, (0, 0, 0, 0))
    shadow.putalpha(pic.getchannel("A").point(lambda v: v * 3 // 5))
    blur = Image.new("RGBA", (pic.width + 40, pic.height + 40), (0, 0, 0, 0))
    blur.alpha_composite(shadow, (20, 20))
    blur = blur.filter(ImageFilter.GaussianBlur(8))
    canvas.alpha_composite(blur, (xy[0] - 14, xy[1] - 10))
    canvas.alpha_composite(pic, xy)


def pages_sheet(skins):
    pics = [main_with_page(skins, p) for p in PAGES]
    w, h = pics[0].size
    out = Image.new("RGBA", (2 * w + 60, 2 * h + 60), (43, 46, 51, 255))
    for i, p in enumerate(pics):
        shadowed(out, p, (20 + (i % 2) * (w + 20), 20 + (i // 2) * (h + 20)))
    return out.convert("RGB")


def docs_preview(skins):
    main = main_with_page(skins, "skin_main_control.ini")
    macro = window(skins, "skin_macro_manager.ini")
    draw_words(macro, skins, "skin_macro_manager.ini")
    canvas = Image.new("RGBA", (main.width + 260, main.height + 120), (43, 46, 51, 255))
    shadowed(canvas, main, (20, 20))
    shadowed(canvas, macro, (canvas.width - macro.width - 20, canvas.height - macro.height - 20))
    small = canvas.convert("RGB").resize((canvas.width * 3 // 4, canvas.height * 3 // 4),
                                         Image.LANCZOS)
    return small.quantize(colors=256, method=Image.FASTOCTREE, dither=Image.NONE)


def main(argv):
    if len(argv) != 4 or argv[1] not in ("pages", "docs"):
        print(__doc__, file=sys.stderr)
        return 2
    pic = pages_sheet(argv[2]) if argv[1] == "pages" else docs_preview(argv[2])
    pic.save(argv[3], "PNG", optimize=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
