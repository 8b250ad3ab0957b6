#!/usr/bin/python3
"""Draws the pictures that the skinned controls carry as program resources:
the colour strip and marker of the colour picker and the submenu arrow icon.
Run with the system Python (it needs Pillow); the output is committed."""
import colorsys
import os

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))


def color_strip():
    # 203 x 27: the pick area is (6, 6)-(197, 20); hue runs left to right and
    # fades to white towards the top row, so the top row of the area is white.
    img = Image.new("RGB", (203, 27), (208, 208, 208))
    for x in range(6, 198):
        hue = (x - 6) / 192.0
        r, g, b = colorsys.hsv_to_rgb(hue, 1.0, 1.0)
        for y in range(6, 21):
            t = (y - 6) / 14.0
            img.putpixel((x, y), (round(255 * (1 - t) + r * 255 * t),
                                  round(255 * (1 - t) + g * 255 * t),
                                  round(255 * (1 - t) + b * 255 * t)))
    img.save(os.path.join(HERE, "color_strip.bmp"))


def color_marker():
    # 13 x 13 ring centred on (6, 6); magenta is transparent.
    img = Image.new("RGB", (13, 13), (255, 0, 255))
    d = ImageDraw.Draw(img)
    d.ellipse((0, 0, 12, 12), outline=(0, 0, 0))
    d.ellipse((1, 1, 11, 11), outline=(255, 255, 255))
    img.save(os.path.join(HERE, "color_marker.bmp"))


def menu_arrow():
    # 32 x 32, drawn 9 pixels above the item top: the arrow sits on the rows
    # of a 19-pixel item (icon rows 13..23), in the columns 5..10.
    img = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.polygon([(5, 13), (10, 18), (5, 23)], fill=(255, 255, 255, 255))
    img.save(os.path.join(HERE, "menu_arrow.ico"), sizes=[(32, 32)], bitmap_format="bmp")


if __name__ == "__main__":
    color_strip()
    color_marker()
    menu_arrow()
