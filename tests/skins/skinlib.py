"""Readers for the skin files, written the way Option reads them: the
profile-string reader's view of the INI file and the placement parser."""

import os
import re

from PIL import Image, ImageChops, ImageStat

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
SKINS = os.path.join(ROOT, "skins")
# Display scales in percent; 100 is the skins folder itself.
SCALES = (100, 125, 150, 175, 200)


def scale_folder(percent):
    return SKINS if percent == 100 else os.path.join(SKINS, str(percent))


def edge(v, percent):
    """Edge v of the 100 % set in the set of the given scale."""
    return (v * percent * 2 + 100) // 200


def read_profile(path):
    """Sections and keys as the system's profile-string reader sees them:
    names compared without case, values trimmed, the first of duplicate keys
    wins.  Returns {section_lower: {key_lower: value}} and a list of
    duplicates found (a duplicate means a second line silently ignored)."""
    sections, dups, cur = {}, [], None
    with open(path, "rb") as f:
        raw = f.read()
    text = raw.decode("ascii")  # a non-ASCII byte would be read as ANSI on Windows
    for line in text.splitlines():
        s = line.strip()
        if not s or s.startswith(";"):
            continue
        if s.startswith("[") and s.endswith("]"):
            cur = sections.setdefault(s[1:-1].strip().lower(), {})
            continue
        if cur is None or "=" not in s:
            continue
        k, v = s.split("=", 1)
        k = k.strip().lower()
        if k in cur:
            dups.append(k)
            continue
        cur[k] = v.strip()
    return sections, dups


def parse_button_pos(value):
    """Name, rectangle (left, top, right, bottom) and caption of a placement,
    by the rules of the loader: name before the first comma, four numbers
    from the rest, caption after the last comma, trimmed."""
    name, rest = "", value
    if "," in value:
        name, rest = value.split(",", 1)
    nums = []
    m = re.match(r"\s*([-+]?\d+)", rest)
    pos = 0
    while m and len(nums) < 4:
        nums.append(int(m.group(1)))
        pos += m.end()
        if len(nums) < 4:
            if pos < len(rest) and rest[pos] == ",":
                pos += 1
                m = re.match(r"\s*([-+]?\d+)", rest[pos:])
            else:
                break
    nums += [0] * (4 - len(nums))
    left, top, w, h = nums
    caption = rest.rsplit(",", 1)[-1].strip() if "," in rest else rest.strip()
    if "," not in value:
        caption = value.strip()
    return name[:39], (left, top, left + w, top + h), caption


WELL_FORMED = re.compile(r"^[A-Za-z0-9_]{1,39},-?\d+,-?\d+,\d+,\d+,[^,]{0,399}$")


def well_formed(value):
    """Exactly name,x,y,w,h,caption with a positive size, so that the
    caption can never be mistaken for the height."""
    if not WELL_FORMED.match(value):
        return False
    parts = value.split(",")
    return int(parts[3]) > 0 and int(parts[4]) > 0


def rects_overlap(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def load(name, folder=SKINS):
    img = Image.open(os.path.join(folder, name))
    img.load()
    return img


def mean_abs_diff(a, b):
    diff = ImageChops.difference(a.convert("RGB"), b.convert("RGB"))
    return sum(ImageStat.Stat(diff).mean) / 3
