#!/usr/bin/env python3
"""Builds "User Manual.pdf" from manual.md: Markdown to HTML (python3-markdown),
HTML to PDF (WeasyPrint), with the pictures named in screenshots.txt: the
main job's own screenshots under out/run/ when it has run, otherwise the
windows composed from the build's own skins and the program's own icon.

    build_manual.py --source DIR --shots OUT_DIR --skins DIR --work DIR --output PDF

A picture is written in manual.md as ![Caption](shot:NAME); the list of
contents goes where manual.md says <!-- contents -->. A picture that none of
its sources gives fails the build: the manual never goes out with a hole. The
PDF is rewritten only when the text, the style, this script or a picture
changed.
"""

import argparse
import hashlib
import html
import os
import re
import sys
import tempfile
from pathlib import Path

SHOT = re.compile(r"!\[([^\]]*)\]\(shot:([a-z0-9-]+)\)")
ROOT = Path(__file__).resolve().parents[2]
# Sources made by this script from the build's own files rather than found.
COMPOSE = "compose:"  # compose:skin_x.ini, the window composed from its skin
ICON = "icon:"  # icon:path/x.ico, an icon of the sources, largest size


def read_shot_table(path):
    table = {}
    for line in path.read_text(encoding="utf-8").splitlines():
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        name, *candidates = line.split()
        table[name] = candidates
    return table


def composed(ini, skins_dir, work):
    """The window of a skin description file in its normal state, composed
    from the skin's pictures with its mask applied and the English words
    written as the program writes them (redone when a file of the skins
    folder is newer)."""
    sys.path.insert(0, str(ROOT / "tools" / "skingen"))
    import compose
    import preview
    from PIL import Image

    source = skins_dir / ini
    if not source.is_file():
        return None
    # The set of another scale lies in a sub-folder (150/skin_config.ini);
    # its windows are composed into a sub-folder of the same name.
    out = work / "composed" / Path(ini).parent
    target = out / (source.stem + "_normal.bmp")
    newest = max(f.stat().st_mtime_ns for f in source.parent.iterdir())
    if not target.is_file() or target.stat().st_mtime_ns < newest:
        out.mkdir(parents=True, exist_ok=True)
        compose.render(str(source), str(out))
        with Image.open(target) as pic:
            pic = pic.convert("RGB")
        preview.draw_words(pic, str(source.parent), source.name)
        pic.save(target, "BMP")
    return target


def icon(path, work):
    """The icon at its largest size on white, as the user sees it."""
    from PIL import Image

    source = ROOT / path
    if not source.is_file():
        return None
    target = work / "icons" / (source.stem + ".png")
    if not target.is_file() or target.stat().st_mtime_ns < source.stat().st_mtime_ns:
        image = Image.open(source).convert("RGBA")
        white = Image.new("RGBA", image.size, (255, 255, 255, 255))
        target.parent.mkdir(parents=True, exist_ok=True)
        Image.alpha_composite(white, image).convert("RGB").save(target)
    return target


def source_of(candidate, shots_dir, skins_dir, work):
    if candidate.startswith(COMPOSE):
        return composed(candidate[len(COMPOSE):], skins_dir, work)
    if candidate.startswith(ICON):
        return icon(candidate[len(ICON):], work)
    path = shots_dir / candidate
    return path if path.is_file() else None


def find_shots(text, table, shots_dir, skins_dir, work):
    """NAME -> the first of its candidates that gives a picture; a picture
    without any ends the build."""
    found = {}
    for _, name in SHOT.findall(text):
        if name not in table:
            raise SystemExit(f"build_manual: picture '{name}' is not in screenshots.txt")
        shot = next((s for s in (source_of(c, shots_dir, skins_dir, work) for c in table[name])
                     if s is not None), None)
        if shot is None:
            raise SystemExit(f"build_manual: no source gives the picture '{name}' "
                             f"(tried {', '.join(table[name])})")
        found[name] = shot
    return found


def stamp_of(paths, shots):
    digest = hashlib.sha256()
    for path in paths:
        digest.update(path.read_bytes())
    for name in sorted(shots):
        shot = shots[name]
        info = shot.stat()
        digest.update(f"{name}:{shot}:{info.st_size}:{info.st_mtime_ns}".encode())
    return digest.hexdigest()


def to_png(name, shot, work):
    """The screenshot as PNG named after the picture (two scales of one window
    have the same file name), without the black screen around a window (a
    whole-screen shot of the display becomes the window on it)."""
    from PIL import Image

    image = Image.open(shot).convert("RGB")
    box = image.getbbox()  # the box of everything that is not black
    if box:
        image = image.crop(box)
    target = work / "shots" / (name + ".png")
    target.parent.mkdir(parents=True, exist_ok=True)
    image.save(target)
    return target


def figure(caption, name, shot, work):
    text = html.escape(caption)
    png = to_png(name, shot, work)
    return (f'<figure><img src="{png.as_uri()}" alt="{text}"/>'
            f'<figcaption>{text}</figcaption></figure>')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", type=Path, required=True)
    parser.add_argument("--shots", type=Path, required=True)
    parser.add_argument("--skins", type=Path, required=True)
    parser.add_argument("--work", type=Path, required=True)
    parser.add_argument("--output", type=Path, required=True)
    args = parser.parse_args()

    markdown_path = args.source / "manual.md"
    css_path = args.source / "manual.css"
    table_path = args.source / "screenshots.txt"
    text = markdown_path.read_text(encoding="utf-8")
    args.work.mkdir(parents=True, exist_ok=True)
    shots = find_shots(text, read_shot_table(table_path), args.shots, args.skins, args.work)
    stamp = stamp_of([markdown_path, css_path, table_path, Path(__file__)], shots)
    stamp_file = args.work / "manual.stamp"
    if args.output.is_file() and stamp_file.is_file() and stamp_file.read_text() == stamp:
        return 0

    import markdown
    import weasyprint

    body_md = SHOT.sub(
        lambda m: "\n" + figure(m.group(1), m.group(2), shots[m.group(2)], args.work) + "\n",
        text)
    converter = markdown.Markdown(extensions=["tables", "toc", "attr_list"],
                                  extension_configs={"toc": {"toc_depth": "2-3"}})
    body = converter.convert(body_md).replace("<!-- contents -->", converter.toc, 1)
    page = ('<!DOCTYPE html><html><head><meta charset="utf-8"><title>User Manual</title>'
            f'<style>{css_path.read_text(encoding="utf-8")}</style></head>'
            f'<body>{body}</body></html>')
    (args.work / "manual.html").write_text(page, encoding="utf-8")

    args.output.parent.mkdir(parents=True, exist_ok=True)
    # Written beside the target and moved over it: a failed build never leaves
    # half a PDF where the setup program would pick it up.
    handle, temp = tempfile.mkstemp(suffix=".pdf", dir=args.output.parent)
    os.close(handle)
    try:
        weasyprint.HTML(string=page, base_url=str(args.work)).write_pdf(temp)
        os.chmod(temp, 0o644)  # mkstemp makes it private to its owner
        os.replace(temp, args.output)
    finally:
        if os.path.exists(temp):
            os.remove(temp)
    stamp_file.write_text(stamp)
    print(f"build_manual: {args.output} ({len(shots)} pictures)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
