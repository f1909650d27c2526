// Condition lines of the search, as a user or a saved search may hand them over: each input is
// split into lines, parsed and, when it parses, run on a small plant. Nothing may crash or hang,
// and every statement that reaches SQLite must only read.
#include "search/logic/Busqueda.h"
#include "tests/fuzz/PlantaVigilada.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano)
{
    const QString texto = QString::fromUtf8(reinterpret_cast<const char*>(datos), qsizetype(tamano));
    const QStringList lineas = texto.split(QLatin1Char('\n'));
    const auto codigos = busqueda::buscar(*fuzz::planta, lineas);
    if (!codigos.ok() && codigos.error().isEmpty())
        std::abort(); // a failure always carries its message
    return 0;
}
