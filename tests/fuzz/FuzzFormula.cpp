// Selection formulas of the reports, as a script may hand them to the command line: any text
// either parses or is refused with its message, and a formula that parses becomes a condition
// SQLite accepts and runs on a small plant, reading only.
#include "data/logic/Schema.h"
#include "search/logic/FormulaInforme.h"
#include "tests/fuzz/PlantaVigilada.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano)
{
    const QString texto = QString::fromUtf8(reinterpret_cast<const char*>(datos), qsizetype(tamano));
    const auto formula = informe::Formula::analizar(texto);
    if (!formula.ok()) {
        if (formula.error().isEmpty())
            std::abort(); // a refusal always carries its message
        return 0;
    }
    if (formula.value().todo())
        return 0;
    const QString trafoge = schema::quoteIdentifier(schema::trafoge().name);
    const auto sql = formula.value().sql({schema::trafoge().name},
                                         trafoge + QLatin1Char('.') +
                                             schema::quoteIdentifier(schema::trafoge().codeField));
    auto consulta = Statement::prepare(*fuzz::planta,
                                       QStringLiteral("SELECT count(*) FROM ") + trafoge +
                                           QStringLiteral(" WHERE ") + sql.texto,
                                       sql.parametros);
    if (!consulta.ok()) {
        std::fprintf(stderr, "La fórmula aceptada no da SQL válido: %s\n%s\n", qPrintable(sql.texto),
                     qPrintable(consulta.error()));
        std::abort();
    }
    if (!consulta.value().step().ok())
        std::abort();
    return 0;
}
