# Shared by the scripts: which Windows build can run here, a display, a Wine prefix.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=${WINEDEBUG:--all}

# The shipped programs are 32-bit. Where 32-bit Wine cannot be installed (a
# mirror mid-sync) or the kernel is built or booted without 32-bit support,
# the Windows tests, the run, the manual and the setup program use the same
# sources built for 64-bit Windows under wine64. This is the one place that
# decides; every script calls it and prints RUN_REASON once.
# Sets RUN_PRESET, WINE, WINESERVER, and RUN_REASON (one line saying why).
choose_windows_build() {
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then
        RUN_PRESET=win32
        WINE=/usr/lib/wine/wine
        RUN_REASON="the shipped 32-bit build (win32), because this machine runs 32-bit programs (wine32 starts)"
    elif [ -e /usr/lib/wine/wine ]; then
        RUN_PRESET=win64
        WINE=/usr/lib/wine/wine64
        RUN_REASON="the 64-bit build of the same sources (win64), because this kernel cannot run 32-bit programs (wine32 does not start)"
    else
        RUN_PRESET=win64
        WINE=/usr/lib/wine/wine64
        RUN_REASON="the 64-bit build of the same sources (win64), because 32-bit Wine is not installed here (scripts/setup.sh could not install wine32:i386)"
    fi
    WINESERVER=/usr/lib/wine/wineserver
    export WINE WINESERVER RUN_PRESET RUN_REASON
}

# The shipped 32-bit programs as the setup program packs them: what the test
# command checks where it cannot run them.
SHIPPED_TARGETS=(Monitor Option korrin lan VantorOSD dist setup)

# Starts Xvfb on a free display unless a display is already usable. The
# screen holds the main window at 200 % (1720 x 1200) whole.
# A first display number may be given, so that displays started side by side
# never pick the same one.
ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return
    fi
    local n first=${1:-90}
    for n in $(seq "$first" $((first + 50))); do
        if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then
            Xvfb ":${n}" -screen 0 2048x1536x24 -nolisten tcp >/dev/null 2>&1 &
            XVFB_PID=$!
            export DISPLAY=":${n}"
            local i
            for i in $(seq 1 50); do
                xdpyinfo >/dev/null 2>&1 && return
                sleep 0.1
            done
        fi
    done
    echo "could not start Xvfb" >&2
    return 1
}

# A Wine prefix of its own for this run.
fresh_prefix() {
    export WINEPREFIX="$1"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$WINE" wineboot -i >/dev/null 2>&1 || true
    # The display has no window manager. Wine's X11 driver hands a captioned
    # window to the manager and, when the window is hidden or destroyed, waits
    # two seconds for the manager to withdraw it: every closing window would
    # cost that. Left to Wine itself, windows go at once.
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
}

stop_wine_and_display() {
    if [ -n "${WINEPREFIX:-}" ]; then "$WINESERVER" -k >/dev/null 2>&1 || true; fi
    if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" >/dev/null 2>&1 || true; fi
}

# Builds in several checkouts of this tree share one compiler cache: paths are
# taken relative to the checkout, so the same sources compile once.
export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=1

# Configures a preset and builds only the named targets.
configure_and_build_targets() {
    local preset=$1 launcher=()
    shift
    if command -v ccache >/dev/null 2>&1 && [ -z "${CCACHE_DISABLE:-}" ]; then
        launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    cmake --preset "$preset" "${launcher[@]}" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)" --target "$@"
}

configure_and_build() {
    configure_and_build_targets "$1" all
}
