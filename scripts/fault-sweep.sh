#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole fault-injection sweep: every fault at every call
# of the small batches, and at a spread of 40 calls per function of a 2,000-file rotation (CI runs a
# smaller sample). Takes one to two hours on two cores.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-dependencies.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target tst_FaultSweep
# Each batch is one test row; the largest take far longer than QtTest's five minutes per row.
QTEST_FUNCTION_TIMEOUT=86400000 TESSARY_FAULT_SWEEP=full build/tests/safety/tst_FaultSweep "$@"
