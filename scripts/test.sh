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

echo "== Windows tests under Wine ($RUN_PRESET)"
if [ "$RUN_PRESET" = win32 ] || configure_and_build "$RUN_PRESET"; then
    ensure_display
    fresh_prefix "$ROOT/build/wineprefix-test"
    ctest --preset "$RUN_PRESET" 2>&1 | tee "$ARTIFACTS/ctest-wine.log"
    count_ctest "$ARTIFACTS/ctest-wine.log"
    # Every test's own output; the soak's figures are shown here as well.
    cp "build/$RUN_PRESET/Testing/Temporary/LastTest.log" "$ARTIFACTS/ctest-wine-output.log" 2>/dev/null || true
    grep -h '^soak:' "$ARTIFACTS/ctest-wine-output.log" 2>/dev/null || true
    echo "== contact sheets of every skinned window (rendered by SkinGallery under Wine)"
    if bash scripts/contact_sheet.sh "build/$RUN_PRESET/testbin/SkinGallery.exe" skins \
        "$ARTIFACTS/contact-sheet" >"$ARTIFACTS/contact-sheet.log" 2>&1; then
        step_ok "contact sheets in $ARTIFACTS/contact-sheet"
    else
        tail -n 20 "$ARTIFACTS/contact-sheet.log"
        step_failed "contact sheets"
    fi
    stop_wine_and_display
else
    step_failed "$RUN_PRESET build"
fi

if [ -d tests/skins ]; then
    echo "== skin checks"
    python_checks tests/skins skins.log "skin checks"
fi

echo
echo "Windows tests ran on $RUN_REASON."
echo "artefacts: $ARTIFACTS"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
