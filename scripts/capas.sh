#!/usr/bin/env bash
# Checks the layer rule over the includes of the program's sources:
#   controls → data/utilities logic → app logic → area logic → ui → app (composition root).
# A file may include its own folder and the folders its layer allows below it; no ui library
# includes another ui library; a logic/ folder includes no Qt header outside QtCore.
# Usage: scripts/capas.sh SOURCE_ROOT QTCORE_INCLUDE_DIR
# Prints each offending include and exits 1 when there is any.
set -uo pipefail
raiz="${1:?carpeta de fuentes}"
qtcore="${2:?carpeta de cabeceras de QtCore}"
cd "$raiz" || exit 2

logica_base="data/logic utilities/logic"
logica_app="$logica_base app/logic"
areas="records diagnosis maintenance graphs search"
todas_las_logicas="$logica_app"
for a in $areas; do todas_las_logicas="$todas_las_logicas $a/logic"; done

# The folders each folder may include besides itself.
permitidas() {
    case "$1" in
    # The composition root: the programs and their windows put everything together.
    app/ui | app/cli | app) echo "*" ;;
    controls) echo "" ;;
    data/logic | utilities/logic) echo "" ;;
    app/logic) echo "$logica_base" ;;
    */logic) echo "$logica_app" ;;
    # A ui library sits on every logic library and on the control library, never on another ui.
    */ui) echo "$todas_las_logicas controls" ;;
    *) echo "*" ;;
    esac
}

carpeta_de() {
    # "records/ui/Trafo.h" -> "records/ui"; "controls/Palette.h" -> "controls"
    local f="$1"
    case "$f" in
    controls/*) echo controls ;;
    */logic/* | */ui/*) echo "$f" | cut -d/ -f1-2 ;;
    *) echo "$(dirname "$f")" ;;
    esac
}

fallos=0
while IFS= read -r archivo; do
    origen=$(carpeta_de "$archivo")
    permitido=$(permitidas "$origen")
    [ "$permitido" = "*" ] && continue
    while IFS= read -r linea; do
        destino_archivo=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"$linea")
        case "$destino_archivo" in */*) ;; *) continue ;; esac # generated headers (Version.h)
        destino=$(carpeta_de "$destino_archivo")
        [ "$destino" = "$origen" ] && continue
        bien=0
        for p in $permitido; do [ "$p" = "$destino" ] && bien=1; done
        if [ $bien -eq 0 ]; then
            echo "$archivo: incluye $destino_archivo ($destino no está por debajo de $origen)"
            fallos=1
        fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$archivo")
    case "$origen" in
    */logic)
        while IFS= read -r linea; do
            cabecera=$(sed -E 's/.*#[[:space:]]*include[[:space:]]*<([^>]+)>.*/\1/' <<<"$linea")
            case "$cabecera" in
            Q* | Qt*/*)
                nombre="${cabecera#QtCore/}"
                if [ ! -e "$qtcore/$nombre" ]; then
                    echo "$archivo: incluye <$cabecera>, que no es de QtCore (una carpeta logic/ no usa widgets)"
                    fallos=1
                fi
                ;;
            esac
        done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*<' "$archivo")
        ;;
    esac
done < <(find app data records diagnosis maintenance utilities controls graphs search \
    \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sort)

if [ $fallos -ne 0 ]; then
    echo "Las inclusiones no respetan el orden de las capas."
    exit 1
fi
echo "Las inclusiones respetan el orden de las capas."
