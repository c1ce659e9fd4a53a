#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole fault-injection sweep: every fault at every call
# of the small batches, and at a spread of 40 calls per function of a 2,000-file rotation (CI runs a
# smaller sample). The batches run in one process per core, every other batch each: about 30 minutes on
# two cores. Arguments, when given, go to one process as they stand (a batch's name, for instance).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-dependencies.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target tst_FaultSweep
sweep=build/tests/safety/tst_FaultSweep
# Each batch is one test row; the largest take far longer than QtTest's five minutes per row.
export QTEST_FUNCTION_TIMEOUT=86400000 TESSARY_FAULT_SWEEP=full
if [ $# -gt 0 ]; then
    exec "$sweep" "$@"
fi

shards=$(nproc)
# "tst_FaultSweep function batch" becomes "function:batch", the form that runs one batch.
mapfile -t rows < <("$sweep" -datatags | sed -E 's/^tst_FaultSweep ([^ ]+) (.+)$/\1:\2/; s/^tst_FaultSweep //')
logs=$(mktemp -d)
pids=()
for ((shard = 0; shard < shards; ++shard)); do
    mine=()
    for ((i = shard; i < ${#rows[@]}; i += shards)); do
        mine+=("${rows[$i]}")
    done
    [ ${#mine[@]} -gt 0 ] || continue
    "$sweep" "${mine[@]}" >"$logs/$shard.txt" 2>&1 &
    pids+=($!)
done
status=0
for pid in "${pids[@]}"; do
    wait "$pid" || status=1
done
grep -h -E '^(PASS|FAIL|XPASS|QINFO|Totals)' "$logs"/*.txt
echo "every shard's whole output: $logs"
exit $status
