#!/usr/bin/python3
"""Draws the pictures the macro manager's event list shows in front of an
item: key press, key release, mouse button and delay. Black is transparent
where the list draws them. Run with the system Python (it needs Pillow); the
output is committed."""
import os

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
ACCENT = (6, 107, 149)
LIGHT = (120, 200, 255)
WHITE = (235, 235, 235)


def key_arrow(name, down):
    # 11 x 14: an arrow into (press) or out of (release) a key cap.
    img = Image.new("RGB", (11, 14), (0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rectangle((0, 9, 10, 13), outline=WHITE)
    if down:
        d.polygon([(5, 8), (1, 3), (9, 3)], fill=LIGHT)
        d.rectangle((4, 0, 6, 3), fill=LIGHT)
    else:
        d.polygon([(5, 0), (1, 5), (9, 5)], fill=(240, 170, 60))
        d.rectangle((4, 5, 6, 8), fill=(240, 170, 60))
    img.save(os.path.join(HERE, name))


def mouse():
    # 16 x 18: a mouse outline with its wheel.
    img = Image.new("RGB", (16, 18), (0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((2, 0, 13, 17), radius=5, outline=WHITE)
    d.line((2, 7, 13, 7), fill=WHITE)
    d.line((7, 0, 7, 7), fill=WHITE)
    d.rectangle((7, 2, 8, 4), fill=LIGHT)
    img.save(os.path.join(HERE, "event_mouse.bmp"))


def delay():
    # 15 x 15: a clock face.
    img = Image.new("RGB", (15, 15), (0, 0, 0))
    d = ImageDraw.Draw(img)
    d.ellipse((0, 0, 14, 14), outline=LIGHT)
    d.line((7, 7, 7, 3), fill=WHITE)
    d.line((7, 7, 10, 9), fill=WHITE)
    img.save(os.path.join(HERE, "event_delay.bmp"))


if __name__ == "__main__":
    key_arrow("event_press.bmp", True)
    key_arrow("event_release.bmp", False)
    mouse()
    delay()
