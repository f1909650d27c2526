#!/bin/sh
# Builds the report benchmark (Release) and prints its figures on the large plant (made once
# when missing): each measure in a process of its own, so that its peak memory is its own.
#   bench/informe.sh [PLANT_FOLDER] [RUNS]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-"$here/build-bench-informe"}
plant=${1:-${TMPDIR:-/tmp}/quorvela-bench-plant}
runs=${2:-3}
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVELA_TESTS=OFF >/dev/null
ninja -C "$build" -j2 quorvela-informe-bench quorvela-cli
[ -f "$plant/trafos.mdb" ] || "$build/app/quorvela-cli" demo "$plant" --transformadores 10000
bench="$build/bench/quorvela-informe-bench"
export QT_QPA_PLATFORM=offscreen
"$bench" "$plant" pdf trafos2 "$runs"
"$bench" "$plant" pdf trafos "$runs" 100
"$bench" "$plant" pdf trafos 1
for informe in trafos2 trafos3 trafos accesorios revision ensayos mantenimiento prioridades; do
    "$bench" "$plant" vista "$informe" 1
done
