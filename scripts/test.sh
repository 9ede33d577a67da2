#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite under an Xvfb
# server that this script starts and stops itself.
#   scripts/test.sh              normal build in build/
#   scripts/test.sh --sanitize   AddressSanitizer + UBSan build in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."

build=build
cmake_args=()
if [ "${1:-}" = --sanitize ]; then
  build=build-asan
  cmake_args+=(-DTRELLIC_SANITIZE=ON -DTRELLIC_BENCH=OFF)
  # Mesa and SDL keep allocations until exit; leaks are not what this run checks.
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1
fi

bash scripts/install-deps.sh
cmake -S . -B "$build" "${cmake_args[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"

# Renders need no display: their tests run first with no X server at all.
env -u DISPLAY SDL_AUDIODRIVER=dummy ctest --test-dir "$build" --output-on-failure -R '[.]HeadlessRender'

# -noreset: the server would otherwise reset whenever its last client leaves,
# refusing the next test that connects meanwhile.
dfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$dfile" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$dfile"' EXIT
for _ in $(seq 1 100); do [ -s "$dfile" ] && break; sleep 0.1; done
[ -s "$dfile" ] || { echo "test.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -1 "$dfile")" SDL_AUDIODRIVER=dummy

ctest --test-dir "$build" --output-on-failure -j2
