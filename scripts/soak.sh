#!/usr/bin/env bash
# The long soak: Monitor, Option and the virtual mouse under Wine for the given
# number of seconds of mixed load (default 600) with 50 unplug and plug cycles,
# then the burst checks; prints its figures and fails when anything was lost.
# The test command runs the same program's short form (45 s of load).
#   bash scripts/soak.sh [seconds]
set -uo pipefail
source "$(dirname "$0")/lib.sh"
cd "$ROOT"
seconds=${1:-600}
bash scripts/setup.sh >/dev/null || exit 1
choose_windows_build
configure_and_build "$RUN_PRESET" >/dev/null || exit 1
ARTIFACTS="$ROOT/out/soak"
mkdir -p "$ARTIFACTS"
export MOUSE_ARTIFACTS="$ARTIFACTS"
ensure_display
fresh_prefix "$ROOT/build/wineprefix-soak"
cycles=50
if [ "$seconds" -lt 600 ]; then cycles=$((seconds / 12 < 2 ? 2 : seconds / 12)); fi
MOUSE_DIST="Z:$(echo "$ROOT/build/$RUN_PRESET/dist" | tr / '\\')" \
MOUSE_TEST_BIN="Z:$(echo "$ROOT/build/$RUN_PRESET/testbin" | tr / '\\')" \
MOUSE_SOAK_SECONDS="$seconds" MOUSE_SOAK_CYCLES="$cycles" \
    "$WINE" "build/$RUN_PRESET/tests/e2e/soak/soak_e2e.exe" 2>&1 | tee "$ARTIFACTS/soak.log"
status=${PIPESTATUS[0]}
stop_wine_and_display
exit "$status"
