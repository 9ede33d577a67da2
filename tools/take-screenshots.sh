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
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp -noreset 3>"$dfile" 2>/dev/null &
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

at 48 276 1              # Load Demo
at 240 250               # time slider: about 2.5 s in
shot editor-loaded.png
at 190 266               # the first event of the first track
shot editor-event.png
at 48 360                # Demo Info
shot editor-info.png
