#!/bin/sh
# Times the copies of the data file (exit copy, backup, compressed backup, compaction, restore) on
# the large plant against sqlite3 and gzip on the same file. Prints medians and ratios.
#   bench/mantenimiento.sh [PLANT_FOLDER] [RUNS]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build-bench"
plant=${1:-${TMPDIR:-/tmp}/quorvela-bench-plant}
runs=${2:-5}
command -v sqlite3 >/dev/null || { echo "Falta el programa sqlite3" >&2; exit 1; }
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVELA_TESTS=OFF >/dev/null
ninja -C "$build" -j2 quorvela-cli quorvela-mantenimiento-bench >/dev/null
if [ ! -f "$plant/trafos.mdb" ]; then
    mkdir -p "$plant"
    "$build/app/quorvela-cli" demo "$plant" --transformadores 10000 --ensayos-por-trafo 10 \
        --revisiones-por-trafo 10 --mantenimientos-por-trafo 10 >/dev/null
fi
"$build/bench/quorvela-mantenimiento-bench" "$plant" "$runs"
