#!/usr/bin/env bash
# Installs everything the build, the run and the tests need on Debian 12.
# Safe to run again: it only installs what is missing, and a machine that has
# everything touches no network.
#
# A package mirror in the middle of a sync can leave one index broken for
# hours; the set-up goes on with the indexes that did download. 32-bit Wine is
# the one package the project can do without (the 64-bit build of the same
# sources stands in): when it cannot be installed, or the kernel cannot run
# 32-bit programs, the set-up says so in one line and still succeeds. Any
# other package that cannot be installed stops it, named.
set -euo pipefail

need=(cmake ninja-build g++ googletest libgtest-dev
      g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
      g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
      wine wine64 xvfb xauth x11-apps x11-utils imagemagick file
      python3 python3-pil fonts-dejavu-core procps
      nsis weasyprint python3-markdown poppler-utils
      clang libfuzzer-14-dev ccache)
wine32=wine32:i386
UPDATE_TRIES=${SETUP_UPDATE_TRIES:-3}
UPDATE_PAUSE=${SETUP_UPDATE_PAUSE:-5}
APT_LOG=$(mktemp)
trap 'rm -f "$APT_LOG"' EXIT

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

missing_of() {
    local p
    for p in "$@"; do installed "$p" || echo "$p"; done
}

updated=0
# apt-get update, tried a few times. A partial failure (some index files did
# not download) still leaves usable indexes, so only a run that printed no
# index at all is taken as a failure, and even that is left to the install to
# judge: it fails naming the package when an index it needs is missing.
update_indexes() {
    [ "$updated" = 1 ] && return 0
    updated=1
    local try log
    log=$(mktemp)
    for try in $(seq 1 "$UPDATE_TRIES"); do
        if apt-get update -qq >"$log" 2>&1; then
            rm -f "$log"
            return 0
        fi
        if [ "$try" -lt "$UPDATE_TRIES" ]; then sleep "$UPDATE_PAUSE"; fi
    done
    echo "setup: apt-get update failed in part $UPDATE_TRIES times; going on with the indexes that downloaded:"
    grep -E '^(E|W):' "$log" | head -n 3 | sed 's/^/setup:   /'
    rm -f "$log"
    return 0
}

install_packages() {  # installs the named packages; on failure names those still missing
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y -qq --no-install-recommends "$@" >"$APT_LOG" 2>&1
}

require_root() {
    echo "setup: missing packages ($*); run as root" >&2
    exit 1
}

# A machine where 32-bit Wine could not be installed lately is not asked
# again on every run (the mirror may be mid-sync for hours); the note expires.
WINE32_MARK=${SETUP_WINE32_MARK:-/var/cache/mouse-software-setup/wine32-unavailable}
try_wine32=1
if installed "$wine32"; then
    try_wine32=0
elif [ -f "$WINE32_MARK" ] && [ -n "$(find "$WINE32_MARK" -mmin -360 2>/dev/null)" ]; then
    try_wine32=0
fi

mapfile -t missing < <(missing_of "${need[@]}")
if [ ${#missing[@]} -gt 0 ] || [ "$try_wine32" = 1 ]; then
    [ "$(id -u)" -eq 0 ] || [ ${#missing[@]} -eq 0 ] || require_root "${missing[@]}"
fi
if [ "$try_wine32" = 1 ] && [ "$(id -u)" -eq 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
if [ ${#missing[@]} -gt 0 ]; then
    update_indexes
    if ! install_packages "${missing[@]}"; then
        # Tell which ones: try each on its own so the message names the culprit.
        failed=()
        for p in "${missing[@]}"; do
            installed "$p" && continue
            install_packages "$p" || failed+=("$p")
        done
        if [ ${#failed[@]} -gt 0 ]; then
            echo "setup: cannot install ${failed[*]}:" >&2
            grep -E '^(E|W):' "$APT_LOG" | head -n 5 | sed 's/^/setup:   /' >&2
            exit 1
        fi
    fi
fi

# The shipped programs are 32-bit; 32-bit Wine runs them where it can.
wine32_note="32-bit Wine is not available here; the 64-bit build will be used"
if ! installed "$wine32"; then
    if [ "$try_wine32" = 0 ]; then
        echo "setup: $wine32_note ($wine32 could not be installed within the last hours)"
    elif [ "$(id -u)" -ne 0 ]; then
        echo "setup: $wine32_note ($wine32 is not installed; run as root to install it)"
    else
        update_indexes
        if install_packages "$wine32"; then
            rm -f "$WINE32_MARK"
        else
            mkdir -p "$(dirname "$WINE32_MARK")" && touch "$WINE32_MARK"
            echo "setup: $wine32_note ($wine32 cannot be installed)"
        fi
    fi
fi
if installed "$wine32" && ! "${SETUP_WINE32_LOADER:-/usr/lib/wine/wine}" --version >/dev/null 2>&1; then
    echo "setup: $wine32_note (this kernel cannot run 32-bit programs)"
fi
# The skins' words come from the language tables and are drawn with the
# system's fonts: Wine finds the Chinese, Japanese and Korean letters in
# WenQuanYi Micro Hei (Cyrillic, Greek and the Latin accents are in DejaVu
# Sans above). Without it those words fall back to what Wine has, which the
# set-up tells rather than stops for.
word_fonts=(fonts-wqy-microhei)
mapfile -t missing_fonts < <(missing_of "${word_fonts[@]}")
if [ ${#missing_fonts[@]} -gt 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "setup: ${missing_fonts[*]} not installed (run as root to install it); Chinese, Japanese and Korean words may not show under Wine"
    else
        update_indexes
        install_packages "${missing_fonts[@]}" ||
            echo "setup: cannot install ${missing_fonts[*]}; Chinese, Japanese and Korean words may not show under Wine"
    fi
fi
if command -v fc-list >/dev/null 2>&1; then
    for family in "DejaVu Sans" "WenQuanYi Micro Hei"; do
        fc-list : family | grep -qF "$family" || echo "setup: the font $family is not in the system's font folders"
    done
fi
echo "setup: all packages present"
