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

# The showcase, with its waveform strip (its Trellic.cnfg shows it): a tempo
# typed into Demo Info, a loop range set with I and O and turned on with L, and
# a marker added with M.
kill "$prog" 2>/dev/null; wait "$prog" 2>/dev/null || true
# examples/showcase came along with examples/ into "$work".
cp /usr/share/fonts/truetype/freefont/FreeSerif.ttf "$work/showcase"
(cd "$work/showcase" && exec "$root/build/bin/Trellic" Showcase.xml) & prog=$!
for _ in $(seq 1 50); do xdotool search --name Trellic >/dev/null 2>&1 && break; sleep 0.1; done
sleep 2
at 48 420                # Demo Info
at 560 155               # the tempo field
xdotool type 128; xdotool key Return; sleep 0.5
at 250 306; xdotool key i; sleep 0.3   # loop in
at 320 306; xdotool key o; sleep 0.3   # loop out
xdotool key l; sleep 0.3               # looping on
at 395 306; xdotool key m; sleep 0.3   # a marker, with its panel
at 48 420                # Demo Info again
shot editor-music.png

# A frame of the showcase from the renderer: the first drop, 44 s in.
(cd examples/showcase && "$root/build/bin/Trellic" --render Showcase.xml --out "$work/frame" --fps 10 \
  --from 44000 --to 44100 --size 800x600 >/dev/null)
cp "$work/frame/frame_000440.png" docs/images/showcase.png
echo "saved docs/images/showcase.png"
