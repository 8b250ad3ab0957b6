#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan + UBSan; preset "fuzz") and
# runs each for the given number of seconds (default 60), one after the
# other. Each target starts from its seed corpus and its kept crash inputs
# (tests/fuzz/<target>/) plus what earlier runs here found
# (out/fuzz/<target>/corpus). New findings (crash-*, leak-*, timeout-*,
# oom-*) are written to out/fuzz/<target>/; the script then fails.
#
#   bash scripts/fuzz.sh [seconds]
#   FUZZ_TARGETS="shared_block device_events" bash scripts/fuzz.sh 600
set -uo pipefail
source "$(dirname "$0")/lib.sh"
cd "$ROOT"

seconds=${1:-60}
bash scripts/setup.sh || exit 1
cmake --preset fuzz >/dev/null || exit 1
cmake --build --preset fuzz --target fuzzers -j2 || exit 1

# ASan's quarantine holds freed memory back so that a late use of it is
# caught; its default of 256 MB makes every run of a target that frees
# megabytes fault in fresh pages, which halved the rate of the settings
# targets. 16 MB still holds what dozens of runs free. Options the caller
# sets come after ours and win.
export ASAN_OPTIONS="quarantine_size_mb=16${ASAN_OPTIONS:+:$ASAN_OPTIONS}"

targets=${FUZZ_TARGETS:-$(cd tests/fuzz && for d in */corpus; do echo "${d%/corpus}"; done)}
OUT="$ROOT/out/fuzz"
mkdir -p "$OUT"
summary="$OUT/summary.txt"
: >"$summary"
found=0
for t in $targets; do
    work="$OUT/$t"
    mkdir -p "$work/corpus"
    seeds=("tests/fuzz/$t/corpus")
    [ -d "tests/fuzz/$t/crashes" ] && seeds+=("tests/fuzz/$t/crashes")
    log="$work/fuzz.log"
    echo "== $t: ${seconds} s (log $log)"
    start=$(date +%s)
    touch "$work/.started"
    # -timeout: an input that takes this long counts as a hang; -rss_limit_mb:
    # as an out-of-memory finding. -reload=0: one fuzzer per corpus here, so
    # nothing else adds to it that would have to be read back every second.
    "build/fuzz/fuzzers/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -reload=0 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$work/" \
        "$work/corpus" "${seeds[@]}" >"$log" 2>&1
    rc=$?
    took=$(($(date +%s) - start))
    execs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}')
    corpus=$(find "$work/corpus" -type f | wc -l)
    findings=$(find "$work" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' \
        -o -name 'timeout-*' -o -name 'oom-*' \) -newer "$work/.started" 2>/dev/null | wc -l)
    if [ "$rc" -ne 0 ] || [ "$findings" -ne 0 ]; then
        found=$((found + 1))
        status="FINDING (exit $rc; see $log and $work/)"
        grep -E 'ERROR|runtime error|property broken|Test unit written' "$log" | head -n 5
    else
        status="no finding"
    fi
    line="$t: ${took} s, ${execs:-?} executions, grown corpus ${corpus} inputs, $status"
    echo "$line" | tee -a "$summary"
done
echo "summary: $summary"
[ "$found" -eq 0 ]
