#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
#   scripts/test.sh             the normal build, in build/
#   scripts/test.sh --sanitize  with AddressSanitizer and UndefinedBehaviorSanitizer, in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build
options=()
if [ "${1:-}" = "--sanitize" ]; then
  build_dir=build-sanitize
  options=(-DTESSARY_SANITIZE=ON -DTESSARY_BUILD_BENCHMARKS=OFF)
  export ASAN_OPTIONS="abort_on_error=1:${ASAN_OPTIONS:-}"
  export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp:${LSAN_OPTIONS:-}"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
fi

bash scripts/install-dependencies.sh
cmake -S . -B "$build_dir" -G Ninja "${options[@]}" >/dev/null
cmake --build "$build_dir"
ctest --test-dir "$build_dir" --output-on-failure --timeout 900
