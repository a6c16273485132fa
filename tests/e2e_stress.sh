#!/usr/bin/env bash
# Every end-to-end check (the tests labelled e2e), ROUNDS times in a row, while two CPU-bound processes
# load the machine: a check that fails by chance shows up here. Prints each
# failure with its round and the figures; exits 1 if any check failed.
# Usage: e2e_stress.sh <build folder> [rounds]
set -uo pipefail
build=$1 rounds=${2:-5}
logs=$build/e2e-stress
mkdir -p "$logs"

load=()
end_load() {
    kill "${load[@]}" 2>/dev/null
    wait "${load[@]}" 2>/dev/null
}
trap end_load EXIT
for _ in 1 2; do
    yes > /dev/null &
    load+=($!)
done

checks=$(ctest --test-dir "$build" -N -L '^e2e$' | grep -c 'Test *#')
failures=0 runs=0 start=$(date +%s)
for round in $(seq "$rounds"); do
    log=$logs/round-$round.log
    ctest --test-dir "$build" -L '^e2e$' --output-on-failure > "$log" 2>&1
    failed=$(sed -n 's/^[[:space:]]*[0-9]* - \([A-Za-z0-9_]*\) .*/\1/p' "$log")
    runs=$((runs + checks))
    if [ -n "$failed" ]; then
        for name in $failed; do
            echo "round $round: FAILED $name (log: $log)"
            failures=$((failures + 1))
        done
    else
        echo "round $round: all $checks checks passed"
    fi
done
echo "e2e-stress: $failures failures in $runs runs of $checks checks ($rounds rounds under a load of 2 busy processes, $(( $(date +%s) - start )) s)"
[ "$failures" = 0 ]
