#!/usr/bin/env bash
# Installs what is missing, builds, and runs the editor on a bundled example
# demo (its working directory holds the demo's lists and data):
#   scripts/run-editor.sh            the example in examples/, Fenk.xml
#   scripts/run-editor.sh showcase   the showcase in examples/showcase/
#   scripts/run-editor.sh ARGS...    the editor in examples/ with these arguments
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)"
trellic=$PWD/build/bin/Trellic
folder=examples
if [ "${1:-}" = showcase ]; then
  folder=examples/showcase
  set -- Showcase.xml
fi
# The interface font comes from the Debian package, not from this repository.
cp -u /usr/share/fonts/truetype/freefont/FreeSerif.ttf "$folder/FreeSerif.ttf"
cd "$folder"
# With no arguments the example demo opens loaded, ready to play.
[ $# -eq 0 ] && set -- Fenk.xml
exec "$trellic" "$@"
