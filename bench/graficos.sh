#!/bin/sh
# Builds the trend graphs benchmark (Release) in its own folder and prints the figures on a copy
# of the large plant (made once when missing) where one transformer gets 100 more tests. 3D
# figures need an X server: run it under xvfb-run with QT_QPA_PLATFORM=xcb.
#   bench/graficos.sh [PLANT_FOLDER] [RUNS]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORVELA_BENCH_BUILD:-"$here/build-bench-graficos"}
plant=${1:-${TMPDIR:-/tmp}/quorvela-bench-graficos}
runs=${2:-30}
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVELA_TESTS=OFF >/dev/null
ninja -C "$build" -j2 quorvela-graficos-bench
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bench/quorvela-graficos-bench" "$plant" "$runs"
