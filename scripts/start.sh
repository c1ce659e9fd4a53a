#!/usr/bin/env bash
# Installs what is missing, builds everything and starts Tessary; files given as arguments are added.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-dependencies.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build

exec build/bin/Tessary "$@"
