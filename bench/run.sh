#!/usr/bin/env bash
# Builds an optimised tree in build-bench/ and runs every benchmark; each prints its peers and ratios.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-dependencies.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSARY_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench
export TESSARY_READER_MODULES=$PWD/build-bench/lib/tessary
build-bench/bench/bench_jsengine
build-bench/bench/bench_jsengineclient
build-bench/bench/bench_planner
build-bench/bench/bench_filerenamer
build-bench/bench/bench_history
build-bench/bench/bench_metadata
# Its files are empty stand-ins: each would log that it is no image.
QT_LOGGING_RULES="org.tessary.Tessary.Metadata=false" build-bench/bench/bench_model
build-bench/bench/bench_editor
build-bench/bench/bench_window
bash bench/bench_cli.sh build-bench/bin/tessary-cli build-bench/bench/bare_rename_loop
bash bench/bench_startup.sh build-bench/bin build-bench/bench/qt_core_floor
