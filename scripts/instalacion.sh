#!/usr/bin/env bash
# Installs the build into a staging folder and runs the programs from there, as a user's
# machine would: the binaries must start on their own, find the control library of the same
# tree (never the build folder's, never another copy on the machine), and the desktop entry
# must be valid and name a program and an icon that were installed.
# Usage: scripts/instalacion.sh CMAKE BUILD_DIR STAGING_DIR VERSION
set -uo pipefail
cmake_bin="${1:?cmake}"
build="${2:?carpeta de compilación}"
staging="${3:?carpeta de instalación de prueba}"
version="${4:?versión esperada}"

fallo() {
    echo "FALLO: $*"
    exit 1
}

rm -rf "$staging"
"$cmake_bin" --install "$build" --prefix "$staging" >"$build/instalacion-prueba.log" 2>&1 ||
    { cat "$build/instalacion-prueba.log"; fallo "cmake --install terminó con error"; }
staging="$(realpath "$staging")"

for programa in quorvela quorvela-cli; do
    [ -x "$staging/bin/$programa" ] || fallo "falta bin/$programa en la instalación"
done

# Nothing from the shell that started the test may help the loader find the library.
limpio=(env -u LD_LIBRARY_PATH -u LD_PRELOAD)

salida=$("${limpio[@]}" timeout 20 "$staging/bin/quorvela-cli" version 2>&1)
codigo=$?
[ $codigo -eq 0 ] || fallo "quorvela-cli version terminó con $codigo: $salida"
[ "$salida" = "Quorvela $version" ] || fallo "quorvela-cli version escribió '$salida', se esperaba 'Quorvela $version'"

# The reports are read from the installed tree's share/quorvela.
for rpt in accesorios trafos trafos2 trafos3 revision ensayos mantenimiento prioridades; do
    [ -f "$staging/share/quorvela/$rpt.rpt" ] || fallo "falta share/quorvela/$rpt.rpt en la instalación"
done
datos="$staging/datos-prueba"
mkdir -p "$datos"
"${limpio[@]}" timeout 60 "$staging/bin/quorvela-cli" demo "$datos" >/dev/null 2>&1 || fallo "quorvela-cli demo falló"
salida=$("${limpio[@]}" timeout 60 "$staging/bin/quorvela-cli" informe "$datos" trafos2 --pdf "$datos/general.pdf" 2>&1)
codigo=$?
[ $codigo -eq 0 ] && [ -s "$datos/general.pdf" ] || fallo "quorvela-cli informe terminó con $codigo: $salida"

# The desktop program loads liblumerix.so: it must come from the installed tree.
biblioteca=$("${limpio[@]}" ldd "$staging/bin/quorvela" | awk '$1 ~ /^liblumerix\.so/ { print $3 }')
[ -n "$biblioteca" ] && [ "$biblioteca" != "not" ] ||
    fallo "bin/quorvela no encuentra liblumerix.so: $("${limpio[@]}" ldd "$staging/bin/quorvela" | grep lumerix)"
biblioteca="$(realpath "$biblioteca")"
case "$biblioteca" in
"$staging"/lib*/liblumerix.so*) ;;
*) fallo "bin/quorvela carga $biblioteca en lugar de la biblioteca instalada en $staging" ;;
esac

salida=$("${limpio[@]}" QT_QPA_PLATFORM=offscreen timeout 20 "$staging/bin/quorvela" --help 2>&1)
codigo=$?
[ $codigo -eq 0 ] || fallo "quorvela --help terminó con $codigo: $salida"
grep -q -- '--datos <DIR>' <<<"$salida" || fallo "quorvela --help no describe --datos: $salida"

escritorio="$staging/share/applications/quorvela.desktop"
[ -f "$escritorio" ] || fallo "falta share/applications/quorvela.desktop"
command -v desktop-file-validate >/dev/null || fallo "falta desktop-file-validate (desktop-file-utils)"
avisos=$(desktop-file-validate "$escritorio" 2>&1) || fallo "la entrada de escritorio no es válida: $avisos"
[ -z "$avisos" ] || fallo "la entrada de escritorio tiene avisos: $avisos"
ejecuta=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$escritorio")
[ -n "$ejecuta" ] && [ -x "$staging/bin/$ejecuta" ] || fallo "Exec=$ejecuta no es un programa instalado"
icono=$(sed -n 's/^Icon=//p' "$escritorio")
compgen -G "$staging/share/icons/hicolor/*/apps/$icono.*" >/dev/null ||
    fallo "Icon=$icono no está en share/icons/hicolor"

echo "La instalación en $staging funciona."
