// The search on the large plant: quorvela-busqueda-bench PLANT [RUNS]
// A search or sub-group with conditions on one table and on three, the next hit, a field's
// value list, a selection by date, and the peak memory. bench/busqueda.sh prints beside them the
// sqlite3 tool counting the literal four-table join for the same conditions.
#include "app/logic/RunState.h"
#include "bench/BenchSupport.h"
#include "data/logic/Database.h"
#include "data/logic/RecordView.h"
#include "search/logic/Busqueda.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = bench::argumentos("uso: quorvela-busqueda-bench PLANTA [VECES]");
    const int veces = args.size() > 2 ? std::max(1, args.at(2).toInt()) : 5;
    bench::ensurePlant(args.at(1));
    auto db = Database::open(Database::rutaEn(args.at(1)), true);
    if (!db)
        bench::fail(db.error());
    Database& d = *db.value();

    auto medir = [&](const char* nombre, const std::function<void()>& paso) {
        std::vector<double> ms;
        for (int i = 0; i < veces; ++i) {
            QElapsedTimer t;
            t.start();
            paso();
            ms.push_back(bench::msSince(t));
        }
        std::printf("%-48s %9.1f ms (mediana de %d)\n", nombre, bench::median(ms), veces);
    };
    const QStringList unaTabla = {QStringLiteral("Trafoge.[TIPO] = 'SELLADO'")};
    const QStringList tresTablas = {QStringLiteral("Ensayos.[Acidez] > 0.3"),
                                    QString::fromUtf8("Or ( Revision.[RIGIDEZ DIELÉCTRICA] > 67"),
                                    QStringLiteral("And Mantenimiento.[Pintado] = True )")};
    QList<qint64> codigos;
    for (const auto& [nombre, lineas] : {std::pair("buscar / subagrupar, una tabla", unaTabla),
                                         std::pair("buscar / subagrupar, tres tablas", tresTablas)})
        medir(nombre, [&] {
            auto r = busqueda::buscar(d, lineas);
            if (!r)
                bench::fail(r.error());
            codigos = r.value();
        });
    std::printf("  (%lld transformadores en el último subgrupo)\n", static_cast<long long>(codigos.size()));
    medir("siguiente (el código que sigue)", [&] {
        volatile auto s =
            std::upper_bound(codigos.cbegin(), codigos.cend(), codigos.value(codigos.size() / 2));
        (void)s;
    });
    RecordView valores;
    valores.setDatabase(db.value());
    medir("lista de valores de AREA", [&] {
        valores.setRecordSource(busqueda::fuenteValores(0, QStringLiteral("AREA")));
        if (!valores.refresh())
            bench::fail(QStringLiteral("lista de valores"));
    });
    medir("selección por fecha (>= 01/01/2026)", [&] {
        auto s = busqueda::seleccionarPorFecha(d, QStringLiteral(">="), QDate(2026, 1, 1), std::nullopt);
        if (!s)
            bench::fail(s.error());
    });
    std::printf("%-48s %9ld kB\n", "memoria máxima (VmHWM)", bench::statusKb("VmHWM"));
    return 0;
}
