#!/usr/bin/env python3
"""Builds "User Manual.pdf" from manual.md: Markdown to HTML (python3-markdown),
HTML to PDF (WeasyPrint), with the screenshots named in screenshots.txt taken
from the test run's own renders under out/.

    build_manual.py --source DIR --shots OUT_DIR --work DIR --output PDF

A picture is written in manual.md as ![Caption](shot:NAME); the list of
contents goes where manual.md says <!-- contents -->. When none of the
files screenshots.txt lists for NAME exists, a visible note takes its place, so
that the manual builds on a fresh clone too. The PDF is rewritten only when the
text, the style, this script or a screenshot changed.
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


def read_shot_table(path):
    table = {}
    for line in path.read_text(encoding="utf-8").splitlines():
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        name, *candidates = line.split()
        table[name] = candidates
    return table


def find_shots(text, table, shots_dir):
    """NAME -> the first existing file of its candidates (or None)."""
    found = {}
    for _, name in SHOT.findall(text):
        if name not in table:
            raise SystemExit(f"build_manual: picture '{name}' is not in screenshots.txt")
        found[name] = next(
            (shots_dir / c for c in table[name] if (shots_dir / c).is_file()), None)
    return found


def stamp_of(paths, shots):
    digest = hashlib.sha256()
    for path in paths:
        digest.update(path.read_bytes())
    for name in sorted(shots):
        shot = shots[name]
        digest.update(name.encode())
        if shot is not None:
            info = shot.stat()
            digest.update(f"{shot}:{info.st_size}:{info.st_mtime_ns}".encode())
    return digest.hexdigest()


def to_png(shot, work):
    """The screenshot as PNG, without the black screen around a window (a
    whole-screen shot of the display becomes the window on it)."""
    from PIL import Image

    image = Image.open(shot).convert("RGB")
    box = image.getbbox()  # the box of everything that is not black
    if box:
        image = image.crop(box)
    target = work / "shots" / (shot.stem + ".png")
    target.parent.mkdir(parents=True, exist_ok=True)
    image.save(target)
    return target


def figure(caption, shot, work):
    text = html.escape(caption)
    if shot is None:
        return ('<div class="missing-shot"><strong>Screenshot not available:</strong> '
                f'{text}. The pictures come from the test run; run scripts/test.sh or '
                'scripts/run.sh, then build again.</div>')
    png = to_png(shot, work)
    return (f'<figure><img src="{png.as_uri()}" alt="{text}"/>'
            f'<figcaption>{text}</figcaption></figure>')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", type=Path, required=True)
    parser.add_argument("--shots", type=Path, required=True)
    parser.add_argument("--work", type=Path, required=True)
    parser.add_argument("--output", type=Path, required=True)
    args = parser.parse_args()

    markdown_path = args.source / "manual.md"
    css_path = args.source / "manual.css"
    table_path = args.source / "screenshots.txt"
    text = markdown_path.read_text(encoding="utf-8")
    shots = find_shots(text, read_shot_table(table_path), args.shots)

    args.work.mkdir(parents=True, exist_ok=True)
    stamp = stamp_of([markdown_path, css_path, table_path, Path(__file__)], shots)
    stamp_file = args.work / "manual.stamp"
    if args.output.is_file() and stamp_file.is_file() and stamp_file.read_text() == stamp:
        return 0

    import markdown
    import weasyprint

    body_md = SHOT.sub(lambda m: "\n" + figure(m.group(1), shots[m.group(2)], args.work) + "\n",
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
    missing = sorted(n for n, s in shots.items() if s is None)
    print(f"build_manual: {args.output} ({len(shots) - len(missing)} screenshots"
          + (f"; notes for {', '.join(missing)}" if missing else "") + ")")
    return 0


if __name__ == "__main__":
    sys.exit(main())
