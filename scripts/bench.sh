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
# Wine passes thread priorities on to the scheduler only when the nice limit
# lets it raise them (it reads the limit when its server starts); root may
# lift the limit. The macro timing under load depends on it.
ulimit -e 40 2>/dev/null || true
echo "nice limit for Wine's thread priorities: $(ulimit -e) (0: priorities stay inside Wine)"
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
