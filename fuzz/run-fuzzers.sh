#!/bin/sh
# Runs every fuzz target for the given number of seconds and prints one line
# per target: executions, speed, coverage, corpus, and either "ok" or the
# finding (the input libFuzzer saved and the sanitizer's report).
#
#   run-fuzzers.sh <seconds> <fuzz build dir> <target>...
#
# Each target keeps its corpus in <build>/corpus/<target> from run to run and
# saves a failing input in <build>/findings/<target>/; the full log of a run
# is <build>/logs/<target>.log.
# Exits 1 when any target found something.
set -u
seconds=$1 build=$2
shift 2
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
printf '%-16s %10s %8s %6s %12s  %s\n' target execs exec/s cov corpus result
for target in "$@"; do
    corpus=$build/corpus/$target findings=$build/findings/$target log=$build/logs/$target.log
    mkdir -p "$corpus" "$findings" "$(dirname "$log")"
    "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1
    rc=$?
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
    corp=$(grep -o 'corp: [0-9]*/[0-9]*[a-zA-Z]*' "$log" | tail -n 1 | cut -d' ' -f2)
    if [ "$rc" -eq 0 ]; then
        result=ok
    else
        status=1
        result="FOUND: $(grep -o 'Test unit written to .*' "$log" | tail -n 1)"
    fi
    printf '%-16s %10s %8s %6s %12s  %s\n' "$target" "${execs:--}" "${speed:--}" "${cov:--}" "${corp:--}" "$result"
    if [ "$rc" -ne 0 ]; then
        grep -E 'ERROR|runtime error|property failed|^ *#[0-9]+ ' "$log" | head -n 40
    fi
done
exit $status
