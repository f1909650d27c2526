#!/bin/sh
# Builds the search benchmark (Release) and prints its figures on the large plant (made once when
# missing), then the sqlite3 tool counting the literal four-table join for the same conditions.
#   bench/busqueda.sh [PLANT_FOLDER] [RUNS]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build-bench-busqueda"
plant=${1:-${TMPDIR:-/tmp}/quorvela-bench-plant}
runs=${2:-5}
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVELA_TESTS=OFF >/dev/null
ninja -C "$build" -j2 quorvela-busqueda-bench
"$build/bench/quorvela-busqueda-bench" "$plant" "$runs"
join='FROM ((Trafoge LEFT JOIN Ensayos ON Trafoge."CÓDIGO"=Ensayos."Código") LEFT JOIN Revision ON Trafoge."CÓDIGO"=Revision."CÓDIGO") LEFT JOIN Mantenimiento ON Trafoge."CÓDIGO"=Mantenimiento."Código"'
for cond in "Trafoge.TIPO = 'SELLADO'" \
    "Ensayos.Acidez > 0.3 OR (Revision.\"RIGIDEZ DIELÉCTRICA\" > 67 AND Mantenimiento.Pintado = 1)"; do
    start=$(date +%s.%N)
    n=$(sqlite3 "$plant/trafos.mdb" "SELECT count(DISTINCT Trafoge.\"CÓDIGO\") $join WHERE $cond")
    end=$(date +%s.%N)
    printf 'sqlite3, join literal: %s -> %s transformadores en %.1f ms\n' "$cond" "$n" \
        "$(echo "($end - $start) * 1000" | bc)"
done
