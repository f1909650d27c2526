// The small plant the fuzz targets run on: the demo data file in a temporary folder, opened
// once, with a watch that aborts on any statement that reaches SQLite and is not read-only.
#pragma once

#include "data/logic/Database.h"
#include "data/logic/DemoPlant.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sqlite3.h>

namespace fuzz {

inline int vigilar(unsigned, void*, void* p, void*)
{
    auto* sentencia = static_cast<sqlite3_stmt*>(p);
    if (!sqlite3_stmt_readonly(sentencia)) {
        std::fprintf(stderr, "Sentencia que escribe: %s\n", sqlite3_sql(sentencia));
        std::abort();
    }
    return 0;
}

// The plant, opened by LLVMFuzzerInitialize below before the first input; it lives until the
// process ends.
inline std::shared_ptr<Database> planta;

} // namespace fuzz

// Each target is one source file that includes this header, so the driver finds one definition.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    static QTemporaryDir carpeta;
    if (!carpeta.isValid() || !demo::createDemo(carpeta.path()).ok())
        std::abort();
    auto abierta = Database::open(Database::rutaEn(carpeta.path()));
    if (!abierta.ok())
        std::abort();
    sqlite3_trace_v2(abierta.value()->handle(), SQLITE_TRACE_STMT, fuzz::vigilar, nullptr);
    fuzz::planta = abierta.value();
    return 0;
}
