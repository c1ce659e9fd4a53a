#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole fault-injection sweep: every call of every
# function, every fault, every batch (CI runs a sample of it). Takes about an hour on two cores.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-dependencies.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target tst_FaultSweep
# Each batch is one test row; the largest take far longer than QtTest's five minutes per row.
QTEST_FUNCTION_TIMEOUT=86400000 TESSARY_FAULT_SWEEP=full build/tests/safety/tst_FaultSweep "$@"
