#!/usr/bin/env bash
# Remakes the golden-frame references in tests/golden/reference/ from the
# current build, on purpose: run it after a change that is meant to alter how
# the example demo looks, look at the new PNGs, and commit them.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target test_golden Trellic Fenk
rm -f tests/golden/reference/*.png
dfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$dfile" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$dfile"' EXIT
for _ in $(seq 1 100); do [ -s "$dfile" ] && break; sleep 0.1; done
DISPLAY=":$(head -1 "$dfile")" SDL_AUDIODRIVER=dummy TRELLIC_REGENERATE_GOLDEN=1 \
  build/tests/bin/test_golden --gtest_filter=GoldenFrames.ExampleFramesMatchTheReferences
ls tests/golden/reference
