#!/usr/bin/env bash
# Contact sheets of every skinned window.
#
#   scripts/contact_sheet.sh <SkinGallery.exe | -> <skins dir> <out dir>
#
# With the gallery program, each window is rendered by the real skin code
# under Wine ($WINE, else /usr/lib/wine/wine64; WINEPREFIX and DISPLAY come from the
# environment):  SkinGallery.exe /render <skin ini> <folder>.  Without it
# (argument "-" or a missing file), or for a window the gallery fails on, the
# same pictures are composed straight from the skin pictures with the mask
# applied (tools/skingen/compose.py).  The script says which path each window
# took. The words the skins name are drawn from the language module next to
# the programs (dist/lan.dll beside the gallery's testbin folder, or
# $CONTACT_SHEET_LANGUAGE); without one the pictures show no words.
#
# Writes into <out dir>:
#   render/<skin>_{normal,over,down,disable}.bmp   one picture per window and state
#   windows_normal.png                              every window in its normal state
#   <skin>_states.png                               one window in all four states
#   languages/windows_<locale>_<percent>.png        every window in English, German,
#                                                   Japanese and the pseudo-language
#   languages/word_findings.txt                     what the gallery found wrong with
#                                                   the words of those windows as drawn
#                                                   (cut without an ellipsis, out of their
#                                                   box, over each other, a real
#                                                   language's word cut at all); the
#                                                   script fails when there is any
#   main_with_pages.png                             the main window with each page
#                                                   (always composed from the pictures)
set -euo pipefail

if [ $# -ne 3 ]; then
    sed -n '2,21p' "$0" >&2
    exit 2
fi
gallery=$1
skins=$(cd "$2" && pwd)
out=$3
here=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out/render"
out=$(cd "$out" && pwd)

files=(skin_config.ini skin_main_control.ini skin_macro_manager.ini
       skin_delete_macro_warn.ini skin_dpi_color.ini skin_color_control.ini
       skin_advance_expand.ini skin_fire_button.ini skin_profile.ini
       skin_lanuch_program.ini skin_select_player.ini skin_shortcut.ini
       skin_support_control.ini skin_click_warn.ini skin_reset_warn.ini
       skin_macro_set_warn.ini)

winpath() {  # Wine maps the Linux root to drive Z:
    printf 'Z:%s' "${1//\//\\}"
}

rename_full_names() {  # accept <name>.ini_<state>.bmp as well
    local st
    for st in normal over down disable; do
        if [ -f "$out/render/$1.ini_$st.bmp" ]; then
            mv -f "$out/render/$1.ini_$st.bmp" "$out/render/$1_$st.bmp"
        fi
    done
}

use_gallery=0
language_arg=()
if [ "$gallery" != "-" ] && [ -f "$gallery" ]; then
    use_gallery=1
    echo "contact_sheet: rendering with the gallery program $gallery under Wine"
    language=${CONTACT_SHEET_LANGUAGE:-$(dirname "$gallery")/../dist/lan.dll}
    if [ -f "$language" ]; then
        language_arg=("$(winpath "$(cd "$(dirname "$language")" && pwd)/$(basename "$language")")")
        echo "contact_sheet: words from $language"
    fi
else
    echo "contact_sheet: no gallery program; composing from the skin pictures (mask applied)"
fi

gallery_count=0
fallback_count=0
for f in "${files[@]}"; do
    base=${f%.ini}
    if [ ! -f "$skins/$f" ]; then
        echo "contact_sheet: $f missing in $skins" >&2
        exit 1
    fi
    rm -f "$out/render/${base}"_{normal,over,down,disable}.bmp
    if [ $use_gallery = 1 ] && WINEDEBUG=${WINEDEBUG:--all} "${WINE:-/usr/lib/wine/wine64}" "$gallery" \
            /render "$(winpath "$skins/$f")" "$(winpath "$out/render")" "${language_arg[@]}" \
        && rename_full_names "$base" && [ -f "$out/render/${base}_disable.bmp" ]; then
        echo "  $f: gallery"
        gallery_count=$((gallery_count + 1))
    else
        [ $use_gallery = 1 ] && echo "  $f: gallery failed, composed from the pictures instead"
        /usr/bin/python3 "$here/tools/skingen/compose.py" "$skins" "$out/render" "$f"
        [ $use_gallery = 1 ] || echo "  $f: composed"
        fallback_count=$((fallback_count + 1))
    fi
done

font=DejaVu-Sans
montage_args=(-background '#2b2e33' -fill '#e0e4ea' -font "$font" -pointsize 12)

normals=()
for f in "${files[@]}"; do normals+=("$out/render/${f%.ini}_normal.bmp"); done
montage "${montage_args[@]}" -label '%t' "${normals[@]}" -tile 4x -geometry '+10+10' \
    "$out/windows_normal.png"

for f in "${files[@]}"; do
    base=${f%.ini}
    montage "${montage_args[@]}" -label '%t' "$out/render/${base}"_{normal,over,down,disable}.bmp \
        -tile 2x -geometry '+8+8' "$out/${base}_states.png"
done

# Every window in its normal state in other languages and at other scales,
# from the same language module: English, German, Japanese and the
# pseudo-language (accented, 40 % longer) at 100 % and 200 %, the
# pseudo-language at 150 % as well. Each sheet is
# languages/windows_<locale>_<percent>.png. The gallery checks each window's
# words as it draws them and writes what it finds beside the picture.
render_language() {  # skin ini, out dir, locale, base name, file name
    WINEDEBUG=${WINEDEBUG:--all} "${WINE:-/usr/lib/wine/wine64}" "$gallery" /render \
        "$(winpath "$1")" "$(winpath "$2")" "${language_arg[0]}" "$3" \
        && { [ -f "$2/$4_normal.bmp" ] || [ -f "$2/$5_normal.bmp" ]; } \
        && { [ -f "$2/$4_words.txt" ] || [ -f "$2/$5_words.txt" ]; }
}
findings="$out/languages/word_findings.txt"
if [ $use_gallery = 1 ] && [ ${#language_arg[@]} = 1 ]; then
    mkdir -p "$out/languages"
    : >"$findings"
    for sheet in en-US:100 en-US:200 de-DE:100 de-DE:200 ja-JP:100 ja-JP:200 \
                 qps-ploc:100 qps-ploc:150 qps-ploc:200; do
        locale=${sheet%:*}
        percent=${sheet#*:}
        folder="$skins"
        [ "$percent" = 100 ] || folder="$skins/$percent"
        dir="$out/languages/${locale}_$percent"
        mkdir -p "$dir"
        shots=()
        for f in "${files[@]}"; do
            base=${f%.ini}
            # A second try when Wine loses a process under load; the log says so.
            if render_language "$folder/$f" "$dir" "$locale" "$base" "$f" \
                || { echo "  $f: tried again in $locale at $percent %" \
                     && render_language "$folder/$f" "$dir" "$locale" "$base" "$f"; }; then
                [ -f "$dir/${base}_normal.bmp" ] || mv -f "$dir/$f""_normal.bmp" "$dir/${base}_normal.bmp"
                [ -f "$dir/${base}_words.txt" ] || mv -f "$dir/$f""_words.txt" "$dir/${base}_words.txt"
                sed "s/^/$locale $percent % $f: /" "$dir/${base}_words.txt" >>"$findings"
                shots+=("$dir/${base}_normal.bmp")
            else
                echo "  $f: the gallery failed in $locale at $percent %" >&2
                exit 1
            fi
        done
        montage "${montage_args[@]}" -label '%t' "${shots[@]}" -tile 4x -geometry '+10+10' \
            "$out/languages/windows_${locale}_$percent.png"
        rm -f "$dir"/*_{over,down,disable}.bmp "$dir"/*.ini_{over,down,disable}.bmp
        echo "  sheet of every window in $locale at $percent %"
    done
fi

# The main window with each page in its page area, as the user sees them.
/usr/bin/python3 "$here/tools/skingen/preview.py" pages "$skins" "$out/main_with_pages.png"

echo "contact_sheet: $gallery_count window(s) by the gallery, $fallback_count composed;" \
     "sheets in $out"
if [ -s "$findings" ]; then
    echo "contact_sheet: the words of $(cut -d: -f1 "$findings" | sort -u | wc -l) window(s)" \
         "are not whole in their places:" >&2
    cat "$findings" >&2
    exit 1
fi
if [ -f "$findings" ]; then
    echo "contact_sheet: every window's words are whole and in their places in every" \
         "language and scale of the sheets"
fi

