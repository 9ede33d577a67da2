#!/usr/bin/env bash
# Takes the README's screenshots of the editor, in a headless X server of its
# own: on the example demo, the loaded demo, the event panel of an event picked
# on the timeline, Demo Info, the zoomed timeline and a drag; on the showcase,
# its music and a rendered frame. Needs xvfb, xdotool and imagemagick
# (scripts/install-deps.sh installs them). Writes docs/images/*.png.
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

# The timeline zoomed in around the time cursor, with a track named in its
# panel (a right press on a row opens it); then a block dragged later in time,
# taken while the button is still down.
kill "$prog" 2>/dev/null; wait "$prog" 2>/dev/null || true
(cd "$work" && exec "$root/build/bin/Trellic") & prog=$!
for _ in $(seq 1 50); do xdotool search --name Trellic >/dev/null 2>&1 && break; sleep 0.1; done
sleep 1
at 48 336 1              # Load Demo
at 250 310               # time slider: 3.3 s in
xdotool key plus key plus; sleep 0.5
xdotool mousemove 600 447 click 3; sleep 0.5   # track 8's panel
at 650 16                # its Name field
xdotool type Lead; xdotool key Return; sleep 0.5
shot timeline-zoomed.png
xdotool key 0; sleep 0.3 # back to the whole demo
at 300 371               # a block of track 3
xdotool mousemove 300 371 mousedown 1; sleep 0.2
xdotool mousemove 330 371; sleep 0.2; xdotool mousemove 360 371; sleep 0.5
shot timeline-drag.png
xdotool mouseup 1; sleep 0.3
# The edits are unsaved: the editor would ask about them rather than quit.
kill -9 "$prog" 2>/dev/null; wait "$prog" 2>/dev/null || true

# The showcase, with its waveform strip (its Trellic.cnfg shows it): a tempo
# typed into Demo Info, a loop range set with I and O and turned on with L, and
# a marker added with M.
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
