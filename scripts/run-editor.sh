#!/usr/bin/env bash
# Installs what is missing, builds, and runs the editor on the bundled example
# demo in examples/ (its working directory holds the demo's lists and data).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)"
# The interface font comes from the Debian package, not from this repository.
cp -u /usr/share/fonts/truetype/freefont/FreeSerif.ttf examples/FreeSerif.ttf
cd examples
# With no arguments the example demo opens loaded, ready to play.
[ $# -eq 0 ] && set -- Fenk.xml
exec ../build/bin/Trellic "$@"
