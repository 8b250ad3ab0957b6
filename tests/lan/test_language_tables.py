"""Checks every language table of the language module against the English
one: what a translation must carry over for the programs to work with it."""

import glob
import os
import re
import unittest

LAN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "lan")
ENTRY = re.compile(r'^\s*(\d+)\s+"((?:[^"]|"")*)"\s*$')
INSERT = re.compile(r"%[0-9]+")
SWITCH = re.compile(r"(?<![\w.])/[a-z?][a-z-]*")
# The menus whose items carry an & accelerator; within one menu no two items
# may share a letter, or the key reaches only the first of them.
MENUS = {"tray": (1002, 1003, 1400, 1401, 1437)}


def read_table(path):
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    table, duplicates, heading = {}, [], []
    for line in lines:
        m = ENTRY.match(line)
        if m:
            key = int(m.group(1))
            if key in table:
                duplicates.append(key)
            table[key] = m.group(2).replace('""', '"')
        elif re.match(r"^\s*\d+\s", line):
            duplicates.append(line)  # an entry the pattern cannot read
        elif not table:
            heading.append(line.strip())
    return table, duplicates, heading


def accelerator(text):
    marks = re.findall(r"&(.)", text.replace("&&", ""))
    return marks


def switches(text):
    # Command-line switches stay as the program parses them.
    return sorted(SWITCH.findall(text.replace("\\n", " ").replace("\\t", " ")))


def ellipsis(text):
    return text.endswith("...") or text.endswith("…")


ENGLISH, _, _ = read_table(os.path.join(LAN, "en-US.rc"))
TABLES = sorted(p for p in glob.glob(os.path.join(LAN, "*-*.rc")) if not p.endswith("en-US.rc"))


class LanguageTables(unittest.TestCase):
    def test_english_table_is_read(self):
        self.assertGreater(len(ENGLISH), 100)
        for ids in MENUS.values():
            for key in ids:
                self.assertEqual(len(accelerator(ENGLISH[key])), 1, key)

    def test_every_table_has_the_form_of_the_english_one(self):
        for path in TABLES:
            with self.subTest(table=os.path.basename(path)):
                table, unreadable, heading = read_table(path)
                self.assertIn("#pragma code_page(65001)", heading)
                self.assertEqual(len([h for h in heading if h.startswith("LANGUAGE ")]), 1)
                self.assertEqual(heading.count("STRINGTABLE"), 1)
                self.assertEqual(unreadable, [])
                self.assertEqual(sorted(set(table) - set(ENGLISH)), [], "ids not in English")

    def test_translations_keep_what_the_programs_rely_on(self):
        for path in TABLES:
            table, _, _ = read_table(path)
            for key, text in table.items():
                if key not in ENGLISH:
                    continue
                english = ENGLISH[key]
                with self.subTest(table=os.path.basename(path), id=key):
                    self.assertTrue(text.strip())
                    self.assertEqual(sorted(INSERT.findall(text)), sorted(INSERT.findall(english)))
                    self.assertEqual(text.count("\\n"), english.count("\\n"))
                    self.assertEqual(text.count("\\t"), english.count("\\t"))
                    self.assertEqual(ellipsis(text), ellipsis(english))
                    self.assertEqual(switches(text), switches(english))
                    self.assertEqual(len(accelerator(text)), len(accelerator(english)))

    def test_menu_accelerators_are_unique_within_a_menu(self):
        for path in TABLES:
            table, _, _ = read_table(path)
            for menu, ids in MENUS.items():
                with self.subTest(table=os.path.basename(path), menu=menu):
                    letters = [accelerator(table[k])[0].lower() for k in ids
                               if k in table and accelerator(table[k])]
                    self.assertEqual(len(letters), len(set(letters)), letters)
                    for letter in letters:
                        self.assertTrue(letter.isalnum(), letter)


if __name__ == "__main__":
    unittest.main()
