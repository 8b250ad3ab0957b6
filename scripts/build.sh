#!/usr/bin/env bash
# Builds the native core with its unit tests, the shipped 32-bit programs and,
# where 32-bit code cannot run here, the 64-bit twin used to run them.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$ROOT"
choose_windows_build
configure_and_build native
configure_and_build win32
if [ "$RUN_PRESET" != win32 ]; then configure_and_build "$RUN_PRESET"; fi
