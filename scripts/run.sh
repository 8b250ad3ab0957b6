#!/usr/bin/env bash
# The main job: sets up the machine, builds, and runs the programs under Wine
# from a fresh program folder. Without a display it runs headless on Xvfb,
# shows what is up, saves screenshots to out/run/ and shuts down cleanly.
# Last, it rebuilds the user manual with those screenshots and the setup
# program with it, and copies both to out/.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$ROOT"

bash scripts/setup.sh
SETUP_SECONDS=$SECONDS
choose_windows_build
echo "Windows build: $RUN_REASON."
mkdir -p "$ROOT/out"
# Only what this job runs: the program folder (programs, libraries, skins,
# manual), the virtual mouse, the probe that waits on windows and the gallery
# that renders the manual's windows. The unit tests, test programs and
# benchmarks are scripts/build.sh's; on a kernel without 32-bit support only
# the 64-bit twin is built.
RUN_TARGETS=(Monitor Option korrin lan VantorOSD VirtualMouse MouseProbe SkinGallery dist)
if ! configure_and_build_targets "$RUN_PRESET" "${RUN_TARGETS[@]}" >"$ROOT/out/build.log" 2>&1; then
    tail -n 40 "$ROOT/out/build.log"
    echo "build failed; full log in out/build.log" >&2
    exit 1
fi
BUILD_SECONDS=$((SECONDS - SETUP_SECONDS))
if [ "$RUN_PRESET" != win32 ]; then
    echo "note: scripts/build.sh builds the shipped 32-bit programs too."
fi

HEADLESS=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then HEADLESS=1; unset DISPLAY; fi
ensure_display
fresh_prefix "$ROOT/build/wineprefix-run"
trap stop_wine_and_display EXIT

OUT="$ROOT/out/run"
rm -rf "$OUT"
mkdir -p "$OUT"
PROGRAM_FOLDER="$ROOT/build/run-folder"
rm -rf "$PROGRAM_FOLDER"
cp -r "build/$RUN_PRESET/dist" "$PROGRAM_FOLDER"
PROBE="build/$RUN_PRESET/testbin/MouseProbe.exe"
MONITOR_TITLE="Professional Gaming Optical Mouse Monitor"

shot() { import -window root "$OUT/$1.png" 2>/dev/null && echo "screenshot: $OUT/$1.png"; }
# One window alone, found by its title (the user manual shows these).
window_shot() { import -window "$1" "$OUT/$2.png" 2>/dev/null && echo "screenshot: $OUT/$2.png"; }

if [ -f "$PROGRAM_FOLDER/VirtualMouse.exe" ]; then
    echo "== starting the virtual mouse"
    (cd "$PROGRAM_FOLDER" && "$WINE" VirtualMouse.exe >/dev/null 2>&1 &)
    sleep 2
fi

echo "== starting Monitor from $PROGRAM_FOLDER"
(cd "$PROGRAM_FOLDER" && "$WINE" Monitor.exe >/dev/null 2>&1 &)
"$WINE" "$PROBE" wait "$MONITOR_TITLE" 30
"$WINE" "$PROBE" block
device_state() { grep -i '^Device=' "$PROGRAM_FOLDER/config.ini" 2>/dev/null | cut -d= -f2 | tr -d '\r'; }
for _ in $(seq 1 50); do [ -n "$(device_state)" ] && break; sleep 0.2; done
echo "config.ini [Setting] Device = $(device_state)"
if [ "$(device_state)" = 1 ]; then
    echo "== the mouse is connected: waiting for the start-up upload"
    sleep 10
    (cd "$PROGRAM_FOLDER" && "$WINE" VirtualMouse.exe /dump 'mouse-state.txt' >/dev/null 2>&1) || true
    if [ -f "$PROGRAM_FOLDER/mouse-state.txt" ]; then
        cp "$PROGRAM_FOLDER/mouse-state.txt" "$OUT/mouse-state.txt"
        echo "what the mouse holds now (first profile; all in $OUT/mouse-state.txt):"
        sed -n '1,30p' "$OUT/mouse-state.txt" | tr -d '\r'
    fi
fi
sleep 1
shot monitor-running

OSD_TITLE="Professional Gaming Optical Mouse OSD"
if "$WINE" "$PROBE" wait "$OSD_TITLE" 10 >/dev/null 2>&1; then
    echo "== the display program runs: showing the profile notice of profile 1"
    "$WINE" "$PROBE" post "$OSD_TITLE" 1324 40 0
    sleep 0.5
    shot osd-notice
fi

OPTION_TITLE="Professional Gaming Optical Mouse Option"
if [ -f "$PROGRAM_FOLDER/Option.exe" ]; then
    echo "== opening Option through Monitor's tray command"
    "$WINE" "$PROBE" post "$MONITOR_TITLE" 0x111 6001 0
    if "$WINE" "$PROBE" wait "$OPTION_TITLE" 30; then
        sleep 2
        # The four page selectors are the controls 1025..1028 of Option's window.
        page=1
        for name in buttons lighting advanced support; do
            "$WINE" "$PROBE" post "$OPTION_TITLE" 0x111 $((1024 + page)) 0
            sleep 1
            shot "option-page-$page-$name"
            window_shot "$OPTION_TITLE" "option-window-$page-$name"
            page=$((page + 1))
        done
        "$WINE" "$PROBE" post "$OPTION_TITLE" 0x111 1025 0
        # The same window as a user at 150 % display scale sees it, for the
        # manual: Option closed (Esc's WM_CLOSE, nothing applied) and opened
        # again with the prefix's display scale at 144 dots per inch.
        DESKTOP_KEY='HKCU\Control Panel\Desktop'
        "$WINE" "$PROBE" post "$OPTION_TITLE" 0x10 0 0
        if "$WINE" "$PROBE" gone "$OPTION_TITLE" 10 >/dev/null &&
            "$WINE" reg add "$DESKTOP_KEY" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1; then
            "$WINE" "$PROBE" post "$MONITOR_TITLE" 0x111 6001 0
            if "$WINE" "$PROBE" wait "$OPTION_TITLE" 30 >/dev/null; then
                sleep 2
                window_shot "$OPTION_TITLE" "option-window-150"
            fi
            "$WINE" reg delete "$DESKTOP_KEY" /v LogPixels /f >/dev/null 2>&1 || true
        fi
    else
        echo "Option did not open" >&2
    fi
fi

# The dialogs and warnings of the manual as the skin code draws them: the
# gallery renders each window of the program folder's own skins.
GALLERY="build/$RUN_PRESET/testbin/SkinGallery.exe"
if [ -f "$GALLERY" ]; then
    echo "== rendering the skinned dialogs for the manual"
    mkdir -p "$OUT/gallery"
    for ini in "$PROGRAM_FOLDER"/skins/skin_*.ini; do
        "$WINE" "$GALLERY" /render "Z:${ini//\//\\}" "Z:${OUT//\//\\}\\gallery" \
            >/dev/null 2>&1 || echo "the gallery could not render $(basename "$ini")" >&2
    done
    # The main window as a user at 150 % display scale sees it.
    mkdir -p "$OUT/gallery/150"
    ini="$PROGRAM_FOLDER/skins/150/skin_config.ini"
    "$WINE" "$GALLERY" /render "Z:${ini//\//\\}" "Z:${OUT//\//\\}\\gallery\\150" \
        >/dev/null 2>&1 || echo "the gallery could not render the 150 % main window" >&2
fi

# The manual shows the windows as this run drew them: rebuilt with the new
# screenshots, and the setup program with it.
ship_setup() {
    echo "== user manual and setup program"
    if cmake --build --preset "$RUN_PRESET" --target setup >>"$ROOT/out/build.log" 2>&1; then
        cp build/"$RUN_PRESET"/GamingMouseSetup-*.exe "build/$RUN_PRESET/dist/User Manual.pdf" "$ROOT/out/"
        ls -l "$ROOT"/out/GamingMouseSetup-*.exe | awk '{print "setup program: " $NF " (" $5 " bytes)"}'
        echo "user manual: $ROOT/out/User Manual.pdf"
    else
        echo "the setup program was not built (is nsis installed?); see out/build.log" >&2
    fi
}

if [ "$HEADLESS" = 1 ]; then
    echo "== shutting down (tray menu Exit)"
    "$WINE" "$PROBE" post "$MONITOR_TITLE" 0x111 6002 0
    "$WINE" "$PROBE" gone "$MONITOR_TITLE" 30
    ship_setup
    echo "done; screenshots in $OUT"
    echo "time: ${SECONDS} s in all (set-up ${SETUP_SECONDS} s, build ${BUILD_SECONDS} s, run and manual $((SECONDS - SETUP_SECONDS - BUILD_SECONDS)) s)"
else
    ship_setup
    echo "Monitor is running on $DISPLAY; choose Exit in its tray menu to end."
    while "$WINE" "$PROBE" wait "$MONITOR_TITLE" 1 >/dev/null 2>&1; do sleep 2; done
fi
