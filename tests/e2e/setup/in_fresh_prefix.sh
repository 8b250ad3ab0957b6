#!/usr/bin/env bash
# Runs one Windows test program in a Wine prefix made for this run alone and
# removed afterwards:
#
#   in_fresh_prefix.sh <prefix folder> <test.exe> [arguments]
#
# The setup program writes the user's Run key, Start menu and list of
# installed programs; in the shared test prefix a Run value left by a failed
# run would start Monitor at the next start of Wine, in the middle of other
# tests. Exit code 77 (a skip) where the program cannot run here.
set -u
source "$(dirname "$0")/../../../scripts/lib.sh"
prefix=$1
program=$2
shift 2

case "$(file -b "$program")" in
    PE32+*) wine_for_program=/usr/lib/wine/wine64 ;;
    *) wine_for_program=/usr/lib/wine/wine ;;
esac
if ! "$wine_for_program" --version >/dev/null 2>&1; then
    echo "SKIPPED: $(basename "$program") is a 32-bit program and this kernel cannot run" \
         "32-bit code (wine32 does not start); the 64-bit build's twin of this test runs instead."
    exit 77
fi

choose_windows_build
ensure_display
# An English Windows whatever the machine's locale: the setup's pictures are
# the English manual's, and the test of a setup in another language needs a
# Windows that does not already speak it.
export LC_ALL=C.UTF-8
# Shortcuts made inside the prefix stay there, out of the desktop's menus.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
fresh_prefix "$prefix"
"$wine_for_program" "$program" "$@"
rc=$?
"$WINESERVER" -k >/dev/null 2>&1 || true
if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" >/dev/null 2>&1 || true; fi
rm -rf "$prefix"
exit $rc
