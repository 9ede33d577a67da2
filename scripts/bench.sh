#!/usr/bin/env bash
# Builds the benchmarks (optimised) and prints their figures. The frame-rate
# benchmark of the example demo draws for real, in an Xvfb server of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTRELLIC_TESTS=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target bench_render_frame bench_load_demo bench_rasterize bench_effects \
  bench_render_speed bench_music_drift bench_peak_table bench_timeline_draw Trellic Fenk
echo "== RenderFrame: 100 tracks x 1000 events, effects that do nothing (target: 100 ns per active event)"
build-bench/bin/bench_render_frame --benchmark_min_time=0.5
echo "== LoadDemoFile against xmllint --noout (targets: 1.5 x its time, peak memory 3 x the file), and SaveDemoFile"
build-bench/bin/bench_load_demo
echo "== Rasterize: shape and strokes at 512x512 and 1024x1024; box blur against memcpy"
build-bench/bin/bench_rasterize
echo "== Trellic --render of the example at 640x480, 30 fps, to PNG files (no display; target: 30 frames/s)"
cp -u /usr/share/fonts/truetype/freefont/FreeSerif.ttf examples/FreeSerif.ttf
build-bench/bin/bench_render_speed
echo "== Waveform peak table: 700-column strips of 10 minutes of music at four zooms"
build-bench/bin/bench_peak_table
echo "== Audio/clock drift over 10 minutes of playback (SDL's dummy audio driver, which paces in real time)"
SDL_AUDIODRIVER=dummy build-bench/bin/bench_music_drift 600
echo "== Example demo at 640x480: frames per second, whole demo and per effect (Xvfb, llvmpipe)"
dfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$dfile" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$dfile"' EXIT
for _ in $(seq 1 100); do [ -s "$dfile" ] && break; sleep 0.1; done
DISPLAY=":$(head -1 "$dfile")" SDL_AUDIODRIVER=dummy build-bench/bin/bench_effects
echo "== Editor interface at 800x600, 20 tracks x 100 events, paused (Xvfb, llvmpipe; target: 300 frames/s)"
(cd examples && DISPLAY=":$(head -1 "$dfile")" SDL_AUDIODRIVER=dummy ../build-bench/bin/bench_timeline_draw)
echo "== Processor share of the paused, idle editor (target: under 5% of a core)"
bash scripts/bench-idle.sh build-bench/bin/Trellic 10
