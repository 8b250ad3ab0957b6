#!/usr/bin/env python3
"""Fails when product code releases a system handle by hand.

Handles live in the scoped owners of common/win/scoped_win.h, the one file
allowed to call the release functions below. A file that must release a handle
itself (where the system takes ownership in a way no owner models) is named
with the function in release_calls_allowed.txt, with its reason.

Usage: check_release_calls.py [ROOT]   (ROOT defaults to the source tree)
"""
import pathlib
import re
import sys

PRODUCT_FOLDERS = ("common", "monitor", "option", "osd", "korrin", "lan", "tools")
OWNERS_FILE = "common/win/scoped_win.h"
RELEASE_FUNCTIONS = (
    "CloseHandle", "DeleteObject", "DeleteDC", "ReleaseDC", "FreeLibrary", "RegCloseKey",
    "UnhookWindowsHookEx", "DestroyMenu", "DestroyIcon", "DestroyCursor", "EndPaint",
    "SetupDiDestroyDeviceInfoList", "timeEndPeriod", "UnmapViewOfFile", "ReleaseMutex",
    "GlobalFree", "LocalFree", "FindClose", "HidD_FreePreparsedData", "DestroyAcceleratorTable",
    "UnregisterDeviceNotification", "CloseServiceHandle", "DeleteEnhMetaFile",
    "RemoveFontMemResourceEx", "ImageList_Destroy", "CoUninitialize", "OleUninitialize",
)
# A call of the global function: not a member (.x( or ->x() nor another
# namespace's (ns::x(), though ::x( is the global one.
CALL = re.compile(r"(?<![\w.>:])(?:::)?\b(" + "|".join(RELEASE_FUNCTIONS) + r")\s*\(")
COMMENT_OR_TEXT = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'',
                             re.S)


def blank(match):
    # Keeps the line breaks so that line numbers still count.
    return re.sub(r"[^\n]", " ", match.group(0))


def read_allowed(path):
    allowed = set()
    for line in path.read_text().splitlines():
        line = line.split("#", 1)[0].strip()
        if line:
            file, function = line.split()[:2]
            allowed.add((file, function))
    return allowed


def main():
    here = pathlib.Path(__file__).resolve().parent
    root = pathlib.Path(sys.argv[1]).resolve() if len(sys.argv) > 1 else here.parent
    allowed = read_allowed(here / "release_calls_allowed.txt")
    used_allowances = set()
    faults = []
    calls = 0
    files = 0
    for folder in PRODUCT_FOLDERS:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".cpp", ".h", ".hpp", ".c") or not path.is_file():
                continue
            relative = path.relative_to(root).as_posix()
            if relative == OWNERS_FILE:
                continue
            files += 1
            code = COMMENT_OR_TEXT.sub(blank, path.read_text(errors="replace"))
            for match in CALL.finditer(code):
                calls += 1
                function = match.group(1)
                line = code.count("\n", 0, match.start()) + 1
                if (relative, function) in allowed:
                    used_allowances.add((relative, function))
                    continue
                faults.append(f"{relative}:{line}: {function} outside a scoped owner")
    for file, function in sorted(allowed - used_allowances):
        faults.append(f"release_calls_allowed.txt: {file} {function} is allowed but not called")
    for fault in faults:
        print(fault)
    print(f"release calls: {calls} in {files} product files, {len(used_allowances)} allowed "
          f"file/function pairs, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
