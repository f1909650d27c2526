#!/bin/sh
# Times the general diagnosis (quorvela-cli diagnosticar) and the evaluation of one test
# (quorvela-cli evaluar) on the large plant, against the sqlite3 tool reading every test row of
# the same file. Prints the medians of several runs.
#   bench/diagnostico.sh [PLANT_FOLDER] [RUNS]
# QUORVELA_CLI=path/to/quorvela-cli measures that binary instead of building one in build-bench.
# Targets: diagnosticar <= 3 s and <= 200 MB, within 5 times sqlite3; evaluar <= 50 ms.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build-bench"
plant=${1:-${TMPDIR:-/tmp}/quorvela-bench-plant}
runs=${2:-5}
cli=${QUORVELA_CLI:-"$build/app/quorvela-cli"}
command -v sqlite3 >/dev/null || { echo "Falta el programa sqlite3" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "Falta /usr/bin/time" >&2; exit 1; }

if [ -z "${QUORVELA_CLI:-}" ]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVELA_TESTS=OFF >/dev/null
    ninja -C "$build" -j2 quorvela-cli >/dev/null
fi
if [ ! -f "$plant/trafos.mdb" ]; then
    mkdir -p "$plant"
    "$cli" demo "$plant" --transformadores 10000 --ensayos-por-trafo 10 \
        --revisiones-por-trafo 10 --mantenimientos-por-trafo 10 >/dev/null
fi
# The diagnosis writes Trafoge: work on a copy so that the plant stays as it was made.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$plant/trafos.mdb" "$work/trafos.mdb"
code=$(sqlite3 "$work/trafos.mdb" 'SELECT "Código" FROM Ensayos GROUP BY "Código" ORDER BY count(*) DESC, 1 LIMIT 1')

now_ms() { echo $(($(date +%s%N) / 1000000)); }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: >"$work/diag" ; : >"$work/rss" ; : >"$work/cpu" ; : >"$work/sql" ; : >"$work/eval" ; : >"$work/evalcpu"
i=0
while [ "$i" -lt "$runs" ]; do
    i=$((i + 1))
    t0=$(now_ms)
    /usr/bin/time -f '%M %U %S' -o "$work/time" "$cli" diagnosticar "$work" >/dev/null 2>&1
    t1=$(now_ms)
    echo $((t1 - t0)) >>"$work/diag"
    awk '{ print $1 }' "$work/time" >>"$work/rss"
    awk '{ print int(($2 + $3) * 1000) }' "$work/time" >>"$work/cpu"
    t0=$(now_ms)
    sqlite3 "$work/trafos.mdb" "SELECT * FROM Ensayos" >/dev/null
    t1=$(now_ms)
    echo $((t1 - t0)) >>"$work/sql"
    t0=$(now_ms)
    /usr/bin/time -f '%U %S' -o "$work/time" "$cli" evaluar "$work" --codigo "$code" >/dev/null
    t1=$(now_ms)
    echo $((t1 - t0)) >>"$work/eval"
    awk '{ print int(($1 + $2) * 1000) }' "$work/time" >>"$work/evalcpu"
done

diag=$(median <"$work/diag")
rss=$(median <"$work/rss")
cpu=$(median <"$work/cpu")
evalcpu=$(median <"$work/evalcpu")
sql=$(median <"$work/sql")
eval=$(median <"$work/eval")
tests=$(sqlite3 "$work/trafos.mdb" 'SELECT count(*) FROM Ensayos')
trafos=$(sqlite3 "$work/trafos.mdb" 'SELECT count(*) FROM Trafoge')
echo "Diagnóstico general ($trafos transformadores, $tests ensayos, mediana de $runs corridas):"
echo "  diagnosticar:               $diag ms (CPU $cpu ms), memoria máxima $((rss / 1024)) MB (objetivo <= 3000 ms, <= 200 MB)"
echo "  sqlite3 SELECT * Ensayos:   $sql ms"
awk -v d="$diag" -v s="$sql" 'BEGIN { printf "  relación con sqlite3:       %.2f (objetivo <= 5)\n", (s > 0 ? d / s : 0) }'
echo "  evaluar (código $code):      $eval ms (CPU $evalcpu ms) (objetivo <= 50 ms)"
echo "  corridas (ms): diagnosticar $(tr '\n' ' ' <"$work/diag"); sqlite3 $(tr '\n' ' ' <"$work/sql"); evaluar $(tr '\n' ' ' <"$work/eval")"
echo "  carga de la máquina: $(cut -d' ' -f1-3 /proc/loadavg)"
