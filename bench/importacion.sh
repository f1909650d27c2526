#!/bin/sh
# Builds the import benchmark (Release) in its own folder and prints the reader's rate on the
# larger public Jet sample and the conversion of a generated plant of the large size.
#   bench/importacion.sh [JET_FILE] [TRANSFORMERS]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build-bench-importacion"
jet=${1:-$here/tests/fixtures/mdb/jet3-nwind.mdb}
trafos=${2:-10000}
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVELA_TESTS=OFF >/dev/null
ninja -C "$build" -j2 quorvela-importacion-bench
"$build/bench/quorvela-importacion-bench" "$jet" "$trafos"
