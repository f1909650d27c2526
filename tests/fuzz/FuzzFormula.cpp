// Selection formulas of the reports, as a script may hand them to the command line: any text
// either parses or is refused with its message, and a formula that parses becomes a condition
// SQLite accepts and runs on a small plant, reading only.
#include "data/logic/Database.h"
#include "data/logic/DemoPlant.h"
#include "data/logic/Schema.h"
#include "search/logic/FormulaInforme.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>

namespace {

std::shared_ptr<Database> g_db;

int vigilar(unsigned, void*, void* p, void*)
{
    auto* sentencia = static_cast<sqlite3_stmt*>(p);
    if (!sqlite3_stmt_readonly(sentencia)) {
        std::fprintf(stderr, "Sentencia que escribe: %s\n", sqlite3_sql(sentencia));
        std::abort();
    }
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    static QTemporaryDir carpeta;
    if (!carpeta.isValid() || !demo::createDemo(carpeta.path()).ok())
        std::abort();
    auto abierta = Database::open(Database::rutaEn(carpeta.path()));
    if (!abierta.ok())
        std::abort();
    g_db = abierta.value();
    sqlite3_trace_v2(g_db->handle(), SQLITE_TRACE_STMT, vigilar, nullptr);
    return 0;
}

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
    auto consulta = Statement::prepare(
        *g_db, QStringLiteral("SELECT count(*) FROM ") + trafoge + QStringLiteral(" WHERE ") + sql.texto,
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
