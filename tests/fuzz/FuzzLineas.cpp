// Condition lines of the search, as a user or a saved search may hand them over: each input is
// split into lines, parsed and, when it parses, run on a small plant. Nothing may crash or hang,
// and every statement that reaches SQLite must only read.
#include "data/logic/Database.h"
#include "data/logic/DemoPlant.h"
#include "search/logic/Busqueda.h"

#include <QCoreApplication>
#include <QDir>
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
    const QStringList lineas = texto.split(QLatin1Char('\n'));
    const auto codigos = busqueda::buscar(*g_db, lineas);
    if (!codigos.ok() && codigos.error().isEmpty())
        std::abort(); // a failure always carries its message
    return 0;
}
