#!/bin/sh
# Builds the record view benchmark (Release), makes the large plant once and prints the figures.
#   bench/run.sh [PLANT_FOLDER] [RUNS]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build-bench"
plant=${1:-${TMPDIR:-/tmp}/quorvela-bench-plant}
runs=${2:-5}
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVELA_TESTS=OFF >/dev/null
ninja -C "$build" -j2 quorvela-bench
"$build/bench/quorvela-bench" generate "$plant"
# A separate process for the measures, so that the generation does not count in its memory.
"$build/bench/quorvela-bench" run "$plant" "$runs"
# The general diagnosis and the evaluation of one test, on a copy of the same plant.
"$here/bench/diagnostico.sh" "$plant" "$runs"
