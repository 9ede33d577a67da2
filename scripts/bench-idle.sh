#!/usr/bin/env bash
# Processor share of a paused, idle editor: starts the built editor on the
# example demo in an Xvfb server of its own, lets it settle, then reads its
# processor time over a few seconds from /proc. Target: under 5% of one core.
# Usage: scripts/bench-idle.sh [path to Trellic] [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build-bench/bin/Trellic}")
seconds=${2:-10}
target=5
cp -u /usr/share/fonts/truetype/freefont/FreeSerif.ttf examples/FreeSerif.ttf
dfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$dfile" 2>/dev/null &
xvfb=$!
editor=
cleanup() {
  [ -n "$editor" ] && kill "$editor" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  rm -f "$dfile"
}
trap cleanup EXIT
for _ in $(seq 1 100); do [ -s "$dfile" ] && break; sleep 0.1; done
cd examples
DISPLAY=":$(head -1 "$dfile")" SDL_AUDIODRIVER=dummy "$program" Fenk.xml >/dev/null 2>&1 &
editor=$!
sleep 3
ticks() { awk '{print $14 + $15}' "/proc/$editor/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks)
sleep "$seconds"
after=$(ticks)
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" -v target="$target" 'BEGIN {
  share = 100 * t / hz / s
  printf "paused editor, idle for %d s: %.1f%% of a core (target under %d%%: %.2f x the target)\n", s, share, target, share / target
}'
