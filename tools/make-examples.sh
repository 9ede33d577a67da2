#!/usr/bin/env bash
# Regenerates every picture and the music of examples/ with tools/fenk_assets
# and tools/showcase_music, and oggenc (vorbis-tools), and the showcase's demo
# file with tools/showcase_demo. The output is the same on every run.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S tools -B build/tools >/dev/null
cmake --build build/tools -j2 >/dev/null
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
build/tools/fenk_assets examples "$tmp/tune.wav"
# A fixed stream serial keeps the Ogg file byte-identical between runs.
oggenc -Q -q -1 --resample 22050 --serial 1 -o examples/data/tune.ogg "$tmp/tune.wav"
# The showcase's music: 128 beats a minute; music.txt lists its sections in ms.
mkdir -p examples/showcase/data
build/tools/showcase_music "$tmp/music.wav" examples/showcase/data/music.txt
oggenc -Q -q 3 --serial 2 -o examples/showcase/data/music.ogg "$tmp/music.wav"
# Its pictures, and its demo file cut to the music's beats.
build/tools/fenk_assets --showcase examples/showcase
build/tools/showcase_demo examples/Fenk.xml examples/showcase/Showcase.xml
