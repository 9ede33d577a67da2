#!/usr/bin/env bash
# Builds the benchmarks (optimised) and prints their figures.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTRELLIC_TESTS=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target bench_render_frame bench_load_demo
echo "== RenderFrame: 100 tracks x 1000 events, effects that do nothing"
build-bench/bin/bench_render_frame --benchmark_min_time=0.5
echo "== LoadDemoFile against xmllint --noout"
build-bench/bin/bench_load_demo
