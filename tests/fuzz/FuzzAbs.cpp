// Saved search files as they may come from disk: any bytes decode to lines, the lines save and
// load back unchanged, and the lines reach the search's parser without crashing it.
#include "search/logic/ArchivoAbs.h"
#include "search/logic/Busqueda.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano)
{
    const QByteArray bytes(reinterpret_cast<const char*>(datos), qsizetype(tamano));
    const QStringList lineas = busqueda::abs::decodificar(bytes);
    if (busqueda::abs::decodificar(busqueda::abs::codificar(lineas)) != lineas)
        std::abort(); // what was loaded must save and load back as it was
    const auto condicion = busqueda::Condicion::analizar(lineas);
    if (!condicion.ok() && condicion.error().isEmpty())
        std::abort();
    return 0;
}
