#!/bin/sh
# Builds the editing benchmark (Release) in its own folder and prints the figures on a copy of
# the large plant (made once when missing).
#   bench/edicion.sh [PLANT_FOLDER] [RUNS]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build-bench-edicion"
plant=${1:-${TMPDIR:-/tmp}/quorvela-bench-plant}
runs=${2:-5}
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVELA_TESTS=OFF >/dev/null
ninja -C "$build" -j2 quorvela-edicion-bench
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bench/quorvela-edicion-bench" "$plant" "$runs"
