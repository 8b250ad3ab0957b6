#!/usr/bin/python3
"""Renders skinned windows straight from their pictures, without Windows:
for each skin description file, the window in each of its four state sheets
with the mask applied (outside pure white), as 24-bit BMP files named like
the gallery program's render mode writes them:

    <out>/<skin file base name>_normal.bmp, _over.bmp, _down.bmp, _disable.bmp

    /usr/bin/python3 compose.py <skins dir> <out dir> [skin_x.ini ...]

Without file names every skin_*.ini of the folder is rendered.
"""

import os
import sys

from PIL import Image


def read_section(path, section):
    """One section of a skin description file as (key, value) pairs in file
    order, the section's name without case."""
    pairs, cur = [], None
    with open(path, encoding="ascii") as f:
        for line in f:
            s = line.strip()
            if s.startswith("[") and s.endswith("]"):
                cur = s[1:-1].strip().lower()
            elif cur == section and "=" in s:
                k, v = s.split("=", 1)
                pairs.append((k.strip(), v.strip()))
    return pairs


def read_screen(path):
    """The SCREEN section of a skin description file (keys without case)."""
    out = {}
    for k, v in read_section(path, "screen"):
        out.setdefault(k.lower(), v)
    return out


def render(ini, out_dir):
    folder = os.path.dirname(os.path.abspath(ini))
    screen = read_screen(ini)
    base = os.path.splitext(os.path.basename(ini))[0]
    mask = Image.open(os.path.join(folder, screen["mask"])).convert("L")
    outside = mask.point(lambda v: 255 if v == 255 else 0)
    white = Image.new("RGB", mask.size, (255, 255, 255))
    written = []
    for state in ("normal", "over", "down", "disable"):
        sheet = Image.open(os.path.join(folder, screen[state])).convert("RGB")
        sheet.paste(white, (0, 0), outside)
        path = os.path.join(out_dir, "%s_%s.bmp" % (base, state))
        sheet.save(path, "BMP")
        written.append(path)
    return written


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    skins, out = argv[1], argv[2]
    os.makedirs(out, exist_ok=True)
    files = argv[3:] or sorted(f for f in os.listdir(skins)
                               if f.startswith("skin_") and f.endswith(".ini"))
    for f in files:
        render(os.path.join(skins, f), out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
