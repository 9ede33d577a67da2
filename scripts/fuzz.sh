#!/usr/bin/env bash
# Runs one fuzz campaign: scripts/fuzz.sh TARGET SECONDS [libFuzzer options...]
#
# Configures a build of its own (build-fuzz/, or $FUZZ_BUILD_DIR) with clang,
# libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer, builds the one
# target and runs it for SECONDS, starting from the committed seed corpus in
# tests/fuzz/corpus/TARGET. New interesting inputs collect in
# build-fuzz/corpus/TARGET; a crashing input is written to
# build-fuzz/crashes/TARGET/ and the script exits non-zero.
set -euo pipefail

targets="demo image_list anim_list text_list big_font"
usage() {
    echo "usage: $0 TARGET SECONDS [libFuzzer options...]" >&2
    echo "targets: $targets" >&2
    exit 2
}
[ $# -ge 2 ] || usage
target=$1 seconds=$2
shift 2
case " $targets " in *" $target "*) ;; *) usage ;; esac
[[ $seconds =~ ^[0-9]+$ ]] || usage

root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DTRELLIC_FUZZ=ON -DTRELLIC_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target "fuzz_$target"

seeds=$root/tests/fuzz/corpus/$target
work=$build/corpus/$target
crashes=$build/crashes/$target
mkdir -p "$work" "$crashes"
options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$crashes/" -print_final_stats=1)
[ -f "$root/tests/fuzz/$target.dict" ] && options+=(-dict="$root/tests/fuzz/$target.dict")

# Leaks count as findings: every reader frees what it reads, also on refusal.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# The first folder receives new inputs; the committed seeds are only read.
status=0
"$build/tests/bin/fuzz_$target" "${options[@]}" "$@" "$work" "$seeds" || status=$?
if [ $status -ne 0 ]; then
    echo "fuzz: $target found a fault; its input is in $crashes/" >&2
    echo "fuzz: mend it, copy the input into $seeds/ under a telling name and run ctest -R fuzz_corpus_$target" >&2
fi
exit $status
