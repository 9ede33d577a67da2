#!/usr/bin/env bash
# Takes the README's screenshots of the editor on the example demo, in a
# headless X server of its own: the loaded demo, and the event panel of an
# event picked on the timeline. Needs xvfb, xdotool and imagemagick
# (scripts/install-deps.sh installs them). Writes docs/images/editor-*.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target Trellic Fenk >/dev/null

work=$(mktemp -d)
cp -r examples/. "$work"
cp /usr/share/fonts/truetype/freefont/FreeSerif.ttf "$work"
dfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset 3>"$dfile" 2>/dev/null &
xvfb=$!
cleanup() { kill "${prog:-}" "$xvfb" 2>/dev/null; rm -rf "$work" "$dfile"; }
trap cleanup EXIT
for _ in $(seq 1 100); do [ -s "$dfile" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$dfile")" SDL_AUDIODRIVER=dummy

(cd "$work" && exec "$root/build/bin/Trellic") & prog=$!
for _ in $(seq 1 50); do xdotool search --name Trellic >/dev/null 2>&1 && break; sleep 0.1; done
sleep 1
at() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-0.5}"; }
shot() { import -window root "$root/docs/images/$1"; echo "saved docs/images/$1"; }

at 48 336 1              # Load Demo (the example's window is 800 x 600)
at 365 310               # time slider: 6 s in
shot editor-loaded.png
at 365 371               # the second Image event (track 3)
shot editor-event.png
at 48 420                # Demo Info
shot editor-info.png
