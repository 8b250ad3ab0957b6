"""The pictures Option carries as program resources rather than in a skin
set: the colour picker's strip and marker, the skinned menu's submenu arrow
and the macro manager's event pictures.  Like the skin sets they are drawn
at every display scale; the 100 % pictures lie in the resource folder
itself, the others in <folder>/<percent>/ under the same names."""

import colorsys
import os

import art
from style import canvas, new_image, px

# The event pictures' palette; black is the colour the list leaves out.
EVENT_LIGHT = (120, 200, 255)
EVENT_WHITE = (235, 235, 235)
EVENT_RELEASE = (240, 170, 60)
EVENT_BLACK = (0, 0, 0)


def color_strip():
    # 203 x 27: the pick area is (6, 6)-(197, 20); hue runs left to right and
    # fades to white towards the top row, so the top row of the area is white.
    # The area's columns and rows are laid out in pixels of the scale, so
    # every pixel the picker can read holds a colour of its own.
    img = new_image("RGB", (203, 27), (208, 208, 208))
    left, right = px(6), px(198) - 1
    top, bottom = px(6), px(21) - 1
    for x in range(left, right + 1):
        hue = (x - left) / float(right - left + 1)
        r, g, b = colorsys.hsv_to_rgb(hue, 1.0, 1.0)
        for y in range(top, bottom + 1):
            t = (y - top) / float(bottom - top)
            img.putpixel((x, y), (round(255 * (1 - t) + r * 255 * t),
                                  round(255 * (1 - t) + g * 255 * t),
                                  round(255 * (1 - t) + b * 255 * t)))
    return img


def color_marker():
    # 13 x 13 ring centred on (6, 6); magenta is transparent.
    img = new_image("RGB", (13, 13), (255, 0, 255))
    d = canvas(img)
    d.ellipse((0, 0, 12, 12), outline=(0, 0, 0))
    d.ellipse((1, 1, 11, 11), outline=(255, 255, 255))
    return img


def menu_arrow():
    # 32 x 32, drawn 9 pixels above the item top: the arrow sits on the rows
    # of a 19-pixel item (icon rows 13..23), in the columns 5..10.
    img = new_image("RGBA", (32, 32), (0, 0, 0, 0))
    canvas(img).polygon([(5, 13), (10, 18), (5, 23)], fill=(255, 255, 255, 255))
    return img


def key_arrow(down):
    # 11 x 14: an arrow into (press) or out of (release) a key cap.
    img = new_image("RGB", (11, 14), EVENT_BLACK)
    d = canvas(img)
    d.rectangle((0, 9, 10, 13), outline=EVENT_WHITE)
    if down:
        d.polygon([(5, 8), (1, 3), (9, 3)], fill=EVENT_LIGHT)
        d.rectangle((4, 0, 6, 3), fill=EVENT_LIGHT)
    else:
        d.polygon([(5, 0), (1, 5), (9, 5)], fill=EVENT_RELEASE)
        d.rectangle((4, 5, 6, 8), fill=EVENT_RELEASE)
    return img


def event_mouse():
    # 16 x 18: a mouse outline with its wheel.
    img = new_image("RGB", (16, 18), EVENT_BLACK)
    d = canvas(img)
    d.rounded_rectangle((2, 0, 13, 17), radius=5, outline=EVENT_WHITE)
    d.line([(2, 7), (13, 7)], fill=EVENT_WHITE)
    d.line([(7, 0), (7, 7)], fill=EVENT_WHITE)
    d.rectangle((7, 2, 8, 4), fill=EVENT_LIGHT)
    return img


def event_delay():
    # 15 x 15: a clock face.
    img = new_image("RGB", (15, 15), EVENT_BLACK)
    d = canvas(img)
    d.ellipse((0, 0, 14, 14), outline=EVENT_LIGHT)
    d.line([(7, 7), (7, 3)], fill=EVENT_WHITE)
    d.line([(7, 7), (10, 9)], fill=EVENT_WHITE)
    return img


# Resource folder (relative to the repository), file name and painter.
PICTURES = (
    ("option/skin/res", "color_strip.bmp", color_strip),
    ("option/skin/res", "color_marker.bmp", color_marker),
    ("option/skin/res", "menu_arrow.ico", menu_arrow),
    ("option/dialogs/res", "event_press.bmp", lambda: key_arrow(True)),
    ("option/dialogs/res", "event_release.bmp", lambda: key_arrow(False)),
    ("option/dialogs/res", "event_mouse.bmp", event_mouse),
    ("option/dialogs/res", "event_delay.bmp", event_delay),
)


def relative_paths(percent):
    """The files one scale writes, relative to the repository."""
    sub = "" if percent == 100 else str(percent)
    return [os.path.join(folder, sub, name) for folder, name, _ in PICTURES]


def write_program_pictures(root, percent):
    """Every program picture at the current scale (set_scale(percent))."""
    for (_, name, paint), rel in zip(PICTURES, relative_paths(percent)):
        path = os.path.join(root, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if name.endswith(".ico"):
            art.write_ico_pictures(path, [paint()])
        else:
            paint().save(path, "BMP")
