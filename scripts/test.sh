#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: native unit
# tests (ASan + UBSan), the shipped build's checks, the Windows tests and
# end-to-end tests under Wine, the skin checks and the check that no handle is
# released by hand. The Windows tests run on the shipped 32-bit build where
# this kernel runs 32-bit programs, otherwise on the 64-bit build of the same
# sources; the output says which, and why.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
cd "$ROOT"

bash scripts/setup.sh || exit 1
choose_windows_build
echo "Windows build: $RUN_REASON."
ARTIFACTS="$ROOT/out/test-artifacts"
rm -rf "$ARTIFACTS"
mkdir -p "$ARTIFACTS"
export MOUSE_ARTIFACTS="$ARTIFACTS"

passed=0
failed=0
count_ctest() {  # reads ctest's "N% tests passed, F tests failed out of T"
    local log=$1 line total bad
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1)
    if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
    bad=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
    total=$(echo "$line" | sed -E 's/.*out of ([0-9]+).*/\1/')
    passed=$((passed + total - bad))
    failed=$((failed + bad))
}
step_ok() { passed=$((passed + 1)); echo "ok: $1"; }
step_failed() { failed=$((failed + 1)); echo "FAILED: $1"; }
python_checks() {  # folder, log name, what: counts unittest's "Ran N tests"
    if /usr/bin/python3 -m unittest discover -s "$1" 2>&1 | tee "$ARTIFACTS/$2"; then
        n=$(grep -E '^Ran [0-9]+ tests?' "$ARTIFACTS/$2" | sed -E 's/Ran ([0-9]+).*/\1/')
        passed=$((passed + ${n:-0}))
    else
        step_failed "$3"
    fi
}

echo "== hand release calls (handles belong in the owners of common/win/scoped_win.h)"
if /usr/bin/python3 scripts/check_release_calls.py 2>&1 | tee "$ARTIFACTS/release-calls.log"; then
    step_ok "no handle released by hand"
else
    step_failed "handles released by hand (see $ARTIFACTS/release-calls.log)"
fi

echo "== set-up script against stand-ins for apt-get and dpkg (installs nothing)"
python_checks tests/scripts scripts.log "set-up script checks"

echo "== native build and unit tests"
if configure_and_build native; then
    ctest --preset native -j "$(nproc)" 2>&1 | tee "$ARTIFACTS/ctest-native.log"
    count_ctest "$ARTIFACTS/ctest-native.log"
else
    step_failed "native build"
fi

echo "== shipped 32-bit build"
# Where the 32-bit build cannot run, only what ships is built and checked:
# its tests and benchmarks would never run here.
if [ "$RUN_PRESET" = win32 ]; then
    build_win32() { configure_and_build win32; }
else
    build_win32() { configure_and_build_targets win32 "${SHIPPED_TARGETS[@]}"; }
fi
if build_win32; then
    step_ok "32-bit build"
    for f in build/win32/dist/*.exe; do
        desc=$(file -b "$f")
        case "$desc" in
            "PE32 executable (GUI) Intel 80386"*) step_ok "$(basename "$f"): $desc" ;;
            *) step_failed "$(basename "$f") is '$desc'" ;;
        esac
    done
    setup=$(ls build/win32/GamingMouseSetup-*.exe 2>/dev/null | head -n1)
    case "$(file -b "${setup:-/nonexistent}" 2>/dev/null)" in
        "PE32 executable (GUI) Intel 80386"*) step_ok "setup program $(basename "$setup"): $(stat -c %s "$setup") bytes" ;;
        *) step_failed "no 32-bit setup program in build/win32" ;;
    esac
    for f in build/win32/dist/*.dll; do
        desc=$(file -b "$f")
        case "$desc" in
            "PE32 executable (DLL)"*"Intel 80386"*) step_ok "$(basename "$f"): $desc" ;;
            *) step_failed "$(basename "$f") is '$desc'" ;;
        esac
    done
else
    step_failed "32-bit build"
fi

# The Windows tests run in two shards side by side, each a session of its
# own: its own Wine prefix (a wineserver of its own, so windows, shared
# sections, mutexes, single instances and input are per shard) and its own
# Xvfb display. Most of these tests wait on state, so two shards share two
# cores well. The second shard reads a copy of the test lists, so the two
# ctest runs never write the same log. MOUSE_WINE_SHARDS=1 runs them in one.
WINE_SHARDS=${MOUSE_WINE_SHARDS:-2}
wine_shard() {  # shard number, 1-based; its own display, prefix and log
    local i=$1 dir="build/$RUN_PRESET"
    unset DISPLAY XVFB_PID
    if [ "$i" -gt 1 ]; then
        dir="build/$RUN_PRESET-shard$i"
        rm -rf "$dir"
        mkdir -p "$dir"
        (cd "build/$RUN_PRESET" && find . -name CTestTestfile.cmake -exec cp --parents {} "$ROOT/$dir/" \;)
    fi
    ensure_display $((90 + 20 * i)) || { echo "shard $i: no display" >"$ARTIFACTS/ctest-wine-$i.log"; return; }
    fresh_prefix "$ROOT/build/wineprefix-test$i"
    ctest --test-dir "$dir" --output-on-failure -I "$i,,$WINE_SHARDS" >"$ARTIFACTS/ctest-wine-$i.log" 2>&1
    # Every test's own output; the soak's figures are shown from here too.
    cp "$dir/Testing/Temporary/LastTest.log" "$ARTIFACTS/ctest-wine-output-$i.log" 2>/dev/null || true
    if [ "$i" = "$WINE_SHARDS" ]; then
        # The contact sheets, in the last shard's session once its tests are done.
        if bash scripts/contact_sheet.sh "build/$RUN_PRESET/testbin/SkinGallery.exe" skins \
            "$ARTIFACTS/contact-sheet" >"$ARTIFACTS/contact-sheet.log" 2>&1; then
            echo ok >"$ARTIFACTS/contact-sheet.result"
        fi
    fi
    stop_wine_and_display
}

echo "== Windows tests under Wine ($RUN_PRESET, $WINE_SHARDS sessions side by side)"
if [ "$RUN_PRESET" = win32 ] || configure_and_build "$RUN_PRESET"; then
    rm -f "$ARTIFACTS/contact-sheet.result"
    shard_pids=()
    for i in $(seq 1 "$WINE_SHARDS"); do
        wine_shard "$i" &
        shard_pids+=($!)
    done
    wait "${shard_pids[@]}"
    for i in $(seq 1 "$WINE_SHARDS"); do
        echo "-- shard $i of $WINE_SHARDS"
        cat "$ARTIFACTS/ctest-wine-$i.log"
        count_ctest "$ARTIFACTS/ctest-wine-$i.log"
    done
    grep -h '^soak:' "$ARTIFACTS"/ctest-wine-output-*.log 2>/dev/null || true
    echo "== contact sheets of every skinned window (rendered by SkinGallery under Wine)," \
         "and every window's words whole and in their places"
    if [ -f "$ARTIFACTS/contact-sheet.result" ]; then
        step_ok "contact sheets in $ARTIFACTS/contact-sheet"
    else
        tail -n 20 "$ARTIFACTS/contact-sheet.log" 2>/dev/null
        step_failed "contact sheets"
    fi
else
    step_failed "$RUN_PRESET build"
fi

if [ -d tests/skins ]; then
    echo "== skin checks"
    python_checks tests/skins skins.log "skin checks"
fi

echo "== language tables against the English one"
python_checks tests/lan lan.log "language table checks"

echo
echo "Windows tests ran on $RUN_REASON."
echo "artefacts: $ARTIFACTS"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
