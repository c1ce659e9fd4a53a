#!/usr/bin/env bash
# Installs what is missing, builds everything and starts Tessary.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-dependencies.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build

if [ -x build/bin/Tessary ]; then
  exec build/bin/Tessary "$@"
fi
cat <<TXT
Built. The window is not there yet; what can be run now:
  build/libexec/tessary/TessaryJSEngine   the script engine helper: one JSON batch on standard input,
                                          one answer line per item on standard output, e.g.
  echo '{"script":"fields.n = fields.name.length","context":{},"items":[{"name":"photo"}]}' \\
    | build/libexec/tessary/TessaryJSEngine
TXT
