#!/usr/bin/env bash
# Runs every benchmark program and prints its figures (no pass/fail on time).
set -uo pipefail
source "$(dirname "$0")/lib.sh"
cd "$ROOT"
bash scripts/setup.sh >/dev/null || exit 1
choose_windows_build
configure_and_build native >/dev/null
configure_and_build "$RUN_PRESET" >/dev/null
for b in build/native/bench/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b") (native)"
    "$b"
done
# This Wine keeps Windows thread priorities to itself (its server never
# changes a Linux thread's scheduling), so under Wine the macro timing under
# load shows the same figures with and without the playing thread's raise;
# bench_macro_timing (native, above) shows what the raise buys where the
# scheduler is told.
ensure_display
fresh_prefix "$ROOT/build/wineprefix-bench"
MOUSE_DIST="Z:$(echo "$ROOT/build/$RUN_PRESET/dist" | tr / '\\')"
MOUSE_TEST_BIN="Z:$(echo "$ROOT/build/$RUN_PRESET/testbin" | tr / '\\')"
export MOUSE_DIST MOUSE_TEST_BIN
for b in "build/$RUN_PRESET"/bench/bench_*.exe; do
    [ -f "$b" ] || continue
    echo "== $(basename "$b") (Wine, $RUN_PRESET)"
    "$WINE" "$b"
done
stop_wine_and_display
