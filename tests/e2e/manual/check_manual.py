#!/usr/bin/env python3
"""The user manual as built: a PDF whose text has a section for every page and
dialog of the configuration window and for each topic users look up, and
whose first pages render (kept with the test artefacts).

    check_manual.py <User Manual.pdf>

Artefacts go to $MOUSE_ARTIFACTS/manual/ when the run names that folder.
"""

import os
import re
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

PDF = None

# Every window users meet, and the topics they come to the manual for.
SECTIONS = [
    "What the mouse software does",
    "Installing and removing the software",
    "The tray icon and its menu",
    "The configuration window",
    "The buttons page",
    "The lighting page",
    "The advanced page",
    "The support page",
    "The macro manager",
    "The shortcut dialog",
    "The fire button dialog",
    "The launch program dialog",
    "The profile dialog",
    "The media player dialog",
    "The DPI colour dialog",
    "Warnings",
    "Profiles and automatic switching",
    "Recording and assigning macros",
    "Importing and exporting profiles",
    "Backing up all settings",
    "Using the keyboard",
    "The command line of Monitor",
    "On-screen notices",
    "Troubleshooting",
]
# Words that show a section explains its subject rather than only naming it.
SUBJECT_WORDS = {
    "Installing and removing the software": ["Uninstall.exe", "Start with Windows"],
    "The tray icon and its menu": ["Exit", "Double-click"],
    "The support page": ["User Manual.pdf"],
    "Using the keyboard": ["Shift+F10", "Ctrl+1", "Screen readers"],
    "Warnings": ["Click warning", "Reset warning", "Macro warning", "Delete-macro warning"],
    "Importing and exporting profiles": [".gmp"],
    "Backing up all settings": ["Export all", "Import all"],
    "The command line of Monitor": ["/profile", "/apply", "exit code"],
    "Troubleshooting": ["Record mouse diagnostics", "Save diagnostics report"],
}


def pdf_text(pdf):
    return subprocess.run(["pdftotext", "-layout", str(pdf), "-"], check=True,
                          capture_output=True, text=True).stdout


def sections_of(text):
    """Section heading -> the text up to the next heading. A heading is a line
    of its own in the body; the contents list it with dots and a page number."""
    lines = [line.strip() for line in text.splitlines()]
    starts = {}
    for heading in SECTIONS:
        found = [i for i, line in enumerate(lines) if line == heading]
        if found:
            starts[heading] = found[-1]
    bodies = {}
    order = sorted(starts.items(), key=lambda item: item[1])
    for n, (heading, start) in enumerate(order):
        end = order[n + 1][1] if n + 1 < len(order) else len(lines)
        bodies[heading] = "\n".join(lines[start + 1:end])
    return bodies


def contents_of(text):
    return {m.group(1).strip() for m in re.finditer(r"^\s*(\S.*?)\s*\.{3,}\s*\d+\s*$", text, re.M)}


class UserManual(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.text = pdf_text(PDF)
        cls.bodies = sections_of(cls.text)

    def test_every_page_dialog_and_topic_has_its_section_in_the_contents_and_the_body(self):
        contents = contents_of(self.text)
        self.assertEqual([s for s in SECTIONS if s not in contents], [],
                         "sections missing from the contents")
        self.assertEqual([s for s in SECTIONS if s not in self.bodies], [],
                         "sections missing from the body")
        for heading, body in self.bodies.items():
            self.assertGreater(len(body.split()), 25, f"'{heading}' says almost nothing")

    def test_sections_explain_their_subject(self):
        for heading, words in SUBJECT_WORDS.items():
            body = " ".join(self.bodies.get(heading, "").split())
            for word in words:
                self.assertIn(word, body, heading)

    def test_every_window_section_shows_its_picture_and_no_placeholder(self):
        self.assertNotIn("Screenshot not available", self.text)
        for heading in SECTIONS[2:16]:
            self.assertGreaterEqual(self.pictures_on_pages_of(heading), 1,
                                    f"'{heading}' has no picture")

    def pictures_on_pages_of(self, heading):
        """Images on the page where the section starts (pdfimages -list)."""
        pages = self.text.split("\f")
        # The body's page of the heading, after the title page and the contents.
        page = next((n + 1 for n, p in enumerate(pages) if n > 1 and re.search(
            r"^\s*" + re.escape(heading) + r"\s*$", p, re.M)), None)
        if page is None:
            return 0
        listing = subprocess.run(["pdfimages", "-f", str(page), "-l", str(page + 1), "-list",
                                  str(PDF)], check=True, capture_output=True, text=True).stdout
        return max(0, len(listing.strip().splitlines()) - 2)

    def test_first_pages_render(self):
        artifacts = os.environ.get("MOUSE_ARTIFACTS")
        folder = Path(artifacts) / "manual" if artifacts else Path(tempfile.mkdtemp())
        folder.mkdir(parents=True, exist_ok=True)
        for old in folder.glob("page-*.png"):
            old.unlink()
        subprocess.run(["pdftoppm", "-f", "1", "-l", "4", "-r", "60", "-png", str(PDF),
                        str(folder / "page")], check=True)
        rendered = sorted(folder.glob("page-*.png"))
        self.assertEqual(len(rendered), 4)
        for picture in rendered:
            self.assertGreater(picture.stat().st_size, 2000, f"{picture} is blank")


if __name__ == "__main__":
    PDF = Path(sys.argv.pop(1))
    if not PDF.is_file():
        sys.exit(f"no manual at {PDF}")
    unittest.main(verbosity=2)
