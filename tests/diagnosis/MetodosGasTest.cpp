#include "diagnosis/logic/MetodosGas.h"
#include "data/logic/Database.h"
#include "data/logic/DemoPlant.h"
#include "diagnosis/logic/ValorNumerico.h"
#include "tests/diagnosis/Lista.h"
#include "tests/support/TempData.h"

#include <QSet>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

using namespace diagnostico;

namespace {

// A test with the gas group done: H2, CH4, C2H6, C2H4, C2H2 in ppm.
EnsayoGases ensayo(Gases g, bool forzado = false, bool gas = true)
{
    return EnsayoGases{true, gas, forzado, g};
}

// Captions shown in one cell column of a method table, each once.
QStringList columna(const TablaMetodo& tabla, const Gases& g, int col)
{
    const ResultadoMetodo r = evaluarMetodo(tabla, ensayo(g, true));
    QStringList out;
    for (int f = 0; f < tabla.filas.size(); ++f)
        for (int c = 0; c < tabla.filas[f].celdas.size(); ++c)
            if (tabla.filas[f].celdas[c].columna == col && r.visibles[f][c])
                out << tabla.filas[f].celdas[c].leyenda;
    out.removeDuplicates();
    return out;
}

using CasoColumna = std::tuple<Gases, int, const char*>;

} // namespace

TEST(MetodosGas, ApplicabilityScreenIsStrict)
{
    const std::pair<Gases, bool> casos[] = {
        {{250, 130, 0, 0, 0}, true},  // condition 1
        {{200, 500, 0, 0, 0}, true},  // condition 1 fails on the limit, condition 2 holds
        {{200, 130, 0, 0, 0}, false}, // H2 not above 200, CH4 not above 240
        {{201, 120, 0, 50, 35}, false}, {{201, 0, 0, 51, 0}, true},
        {{0, 241, 0, 0, 36}, true},                                  // condition 2 through C2H2
        {{0, 240, 0, 51, 0}, false},    {{101, 0, 0, 101, 0}, true}, // condition 3
        {{100, 0, 0, 101, 0}, false},   {{0, 0, 0, 100, 36}, false},
        {{0, 121, 0, 0, 71}, true},                                  // condition 4
        {{0, 0, 0, 50, 71}, false},     {{0, 0, 5000, 0, 0}, false}, // ethane takes no part
    };
    for (const auto& [g, aplica] : casos)
        EXPECT_EQ(pantallaAplicable(g), aplica) << g.h2 << " " << g.ch4 << " " << g.c2h4 << " " << g.c2h2;
}

TEST(Dornenburg, WorkedExampleEachFaultAndTestsNotJudged)
{
    // H2 250 and CH4 130: C2H4 and C2H2 are 0, so two ratios are not computable; 0 over CH4 is 0.
    ResultadoDornenburg r = evaluarDornenburg(ensayo({250, 130, 0, 0, 0}));
    EXPECT_TRUE(r.aplica);
    EXPECT_FALSE(r.forzado);
    EXPECT_EQ(r.razones, (QList<double>{0.52, -1, -1, 0}));
    EXPECT_EQ(r.celdas, lista("<0,3|0.1-1.0|-|<0,3"));
    EXPECT_TRUE(r.fallos.isEmpty());
    // The chart takes C2H2/C2H4 across, clamped up from -1, and CH4/H2 up.
    EXPECT_EQ(r.punto, QPointF(0.001, 0.52));

    const std::pair<Gases, const char*> fallos[] = {
        {{150, 300, 100, 600, 30}, "Descomposición Térmica"},
        {{500, 150, 40, 60, 120}, "Descargas Eléctricas Excepto Corona"},
        {{2000, 150, 100, 10, 1}, "Efecto Corona"},
    };
    for (const auto& [g, fallo] : fallos)
        EXPECT_EQ(evaluarDornenburg(ensayo(g)).fallos, lista(fallo));

    // Forced with no gas at all: every ratio not computable, the point in the bottom-left corner.
    r = evaluarDornenburg(ensayo({0, 0, 0, 0, 0}, true));
    EXPECT_TRUE(r.aplica);
    EXPECT_TRUE(r.forzado);
    EXPECT_EQ(r.razones, (QList<double>{-1, -1, -1, -1}));
    EXPECT_EQ(r.celdas, lista("-"));
    EXPECT_EQ(r.punto, QPointF(0.001, 0.001));

    // Below the screen and not forced, the gas group not tested, or no current test: nothing but
    // the static "-" and no chart point, even forced.
    for (const EnsayoGases& e : {ensayo({90, 100, 10, 10, 0}), ensayo({250, 130, 0, 0, 0}, true, false),
                                 EnsayoGases{false, true, true, {250, 130}}}) {
        r = evaluarDornenburg(e);
        EXPECT_FALSE(r.aplica);
        EXPECT_FALSE(r.forzado);
        EXPECT_EQ(r.celdas, lista("-"));
        EXPECT_FALSE(r.punto.has_value());
    }
}

TEST(Dornenburg, BoundsOfTheCriteria)
{
    const CasoColumna casos[] = {
        {{1000, 1000, 0, 0, 0}, 0, "0.1-1.0"}, // R1 = 1.0
        {{1000, 100, 0, 0, 0}, 0, "0.1-1.0"},  // R1 = 0.1
        {{1000, 1001, 0, 0, 0}, 0, ">1,0"},       {{1000, 99, 0, 0, 0}, 0, "<0.1"},
        {{1000, 200, 0, 400, 300}, 1, "-"}, // R2 = 0.75 shows neither bound
        {{1000, 200, 0, 400, 299}, 1, "<0,75|-"}, {{1000, 200, 0, 400, 301}, 1, ">0,75|-"},
        {{1000, 200, 40, 400, 100}, 2, ""}, // R3 = 0.4
        {{1000, 200, 41, 400, 100}, 2, ">0,4"},   {{1000, 200, 39, 400, 100}, 2, "<0,4"},
        {{1000, 1000, 0, 400, 300}, 3, ""}, // R4 = 0.3
        {{1000, 1000, 0, 400, 301}, 3, ">0,3"},   {{1000, 1000, 0, 400, 299}, 3, "<0,3"},
    };
    for (const auto& [g, col, celdas] : casos)
        EXPECT_EQ(columna(tablaDornenburg(), g, col), lista(celdas)) << col << " " << g.c2h2;
}

// Both axes run over five decades, ten chart units each, from the plot's left and bottom edges
// (16 and 65); values outside 0.001..100 are kept at the nearer end.
TEST(Dornenburg, ChartClampsTheAxesAndPlacesTheMarkerOnALogScale)
{
    const std::tuple<double, double, double> casos[] = {
        {250, 100, 50}, {100, 100, 50}, {10, 10, 40},
        {1, 1, 30},     {0.1, 0.1, 20}, {0.001, 0.001, 0},
        {0, 0.001, 0},  {-1, 0.001, 0}, {std::nan(""), 0.001, 0},
    };
    for (const auto& [escrito, guardado, unidades] : casos) {
        EXPECT_EQ(grafico::recortarEje(escrito), guardado) << escrito;
        // Each axis on its own: the other one stays at 1, thirty units in.
        const QPointF x = grafico::centroMarcador(guardado, 1), y = grafico::centroMarcador(1, guardado);
        EXPECT_EQ(x, QPointF(16 + unidades, 35)) << guardado;
        EXPECT_EQ(y, QPointF(46, 65 - unidades)) << guardado;
    }
}

TEST(Rogers, TableRowsAndBounds)
{
    // Ratios CH4/H2, C2H6/CH4, C2H4/C2H6, C2H2/C2H4 written as gases over H2 = 1000.
    auto g = [](double r1, double r2, double r3, double r4) {
        const double ch4 = 1000 * r1, c2h6 = ch4 * r2, c2h4 = c2h6 * r3;
        return Gases{1000, ch4, c2h6, c2h4, c2h4 * r4};
    };
    const std::pair<Gases, const char*> casos[] = {
        {g(0.5, 0.5, 0.5, 0.2), "Normal|Descarga parcial - Corona"},
        {g(0.05, 0.5, 0.5, 0.2), "Descarga parcial - Corona"},
        {g(1.0, 0.5, 0.5, 0.2), "Descarga parcial - Corona|Bajo sobrecalentamiento a 150°C"},
        {g(0.5, 0.5, 0.5, 0.6),
         "Descarga parcial - Corona con localización|Arco - Sin potencia por el mismo"},
        {g(0.5, 0.5, 0.5, 3.0), "Descarga parcial - Corona con localización"},
        {g(0.5, 0.5, 3.0, 3.0), "Descarga continua|Arco - Con potencia por el mismo"},
        {g(0.5, 0.5, 1.0, 0.5), "Arco - Con potencia por el mismo"},
        {g(2.0, 1.0, 0.5, 0.2), "Sobrecalentamiento a 150-200 °C"},
        {g(0.5, 2.0, 0.5, 0.2), "Sobrecalentamiento a 200-300 °C"},
        {g(0.5, 0.5, 2.0, 0.2),
         "Sobrecalentamiento general de los conductores|Corriente circulante en arrollamientos"},
        {g(2.0, 0.5, 2.0, 0.2), "Corriente circulante en arrollamientos"},
        {g(2.0, 0.5, 3.0, 0.2), "Corriente circulante en núcleo y cuba; Uniones sobrecargadas"},
        {g(3.0, 0.5, 3.0, 0.2), ""},
        {Gases{1000, 500, 250, 0, 0}, ""}, // C2H2/C2H4 not computable
    };
    for (const auto& [gases, fallos] : casos)
        EXPECT_EQ(evaluarRogers(ensayo(gases, true)).fallos, lista(fallos)) << fallos;

    // CH4/H2 exactly 1 meets "=<1,0" and ">=1,0" but no "<1,0"; C2H6/CH4 0.5 meets "<1,0" only.
    EXPECT_EQ(columna(tablaRogers(), {1000, 1000, 500, 250, 50}, 0), lista(">0,1|>=1,0"));
    EXPECT_EQ(columna(tablaRogers(), {1000, 1000, 500, 250, 50}, 1), lista("=<1,0|<3,0"));
}

TEST(RelacionGases, BoundsOfTheCells)
{
    // C2H2/C2H4 (column 0), CH4/H2 (1), C2H4/C2H6 (2); H2, CH4, C2H6, C2H4, C2H2.
    const CasoColumna casos[] = {
        {{1000, 300, 100, 100, 0}, 0, "<0,01|<0,1|<0,2"}, // R1 = 0
        {{1000, 300, 100, 100, 250}, 0, ">1|0.6-2.5"},    // R1 = 2.5
        {{1000, 300, 100, 100, 251}, 0, ">1"},
        {{1000, 300, 100, 100, 100}, 0, "0.6-2.5"}, // R1 = 1.0
        {{1000, 300, 100, 100, 60}, 0, "0.6-2.5"},
        {{1000, 300, 100, 100, 59}, 0, ""},
        {{1000, 300, 100, 100, 10}, 0, "<0,2"},           // R1 = 0.1
        {{1000, 100, 100, 100, 0}, 1, "0.1-0.5|0.1-1.0"}, // R2 = 0.1
        {{1000, 99, 100, 100, 0}, 1, "<0,1"},
        {{1000, 500, 100, 100, 0}, 1, "0.1-0.5|0.1-1.0"},
        {{1000, 1000, 100, 100, 0}, 1, "0.1-1.0"}, // R2 = 1.0
        {{1000, 1001, 100, 100, 0}, 1, ">1"},
        {{0, 1000, 100, 100, 0}, 1, ""},                // H2 = 0
        {{1000, 300, 100, 100, 0}, 2, "1.0-4.0"},       // R3 = 1.0
        {{1000, 300, 100, 400, 0}, 2, ">1|>2|1.0-4.0"}, // R3 = 4.0
        {{1000, 300, 100, 200, 0}, 2, ">1|1.0-4.0"},    // R3 = 2.0
        {{1000, 300, 100, 201, 0}, 2, ">1|>2|1.0-4.0"},
        {{1000, 300, 100, 401, 0}, 2, ">1|>2|>4"},
        {{1000, 300, 100, 19, 0}, 2, "<0,2|<1"},
        {{1000, 300, 100, 20, 0}, 2, "<1"},
    };
    for (const auto& [g, col, celdas] : casos)
        EXPECT_EQ(columna(tablaRelacionGases(), g, col), lista(celdas))
            << col << " " << g.c2h2 << " " << g.ch4 << " " << g.c2h4;
}

// The demo plant is meant to show every fault of the three gas methods on some test.
TEST(MetodosGas, EveryFaultShowsOnSomeDemoTest)
{
    QTemporaryDir dir;
    const Status creado = demo::createDemo(dir.path());
    ASSERT_TRUE(creado.ok()) << creado.error().toStdString();
    auto db = Database::open(Database::rutaEn(dir.path()), true);
    ASSERT_TRUE(db.ok()) << db.error().toStdString();
    const auto filas = queryRows(*db.value(), u("SELECT \"Hidrógeno\", Metano, Etano, Etileno, Acetileno, "
                                                "GAS, FD FROM Ensayos"));
    ASSERT_FALSE(filas.isEmpty());
    const TablaMetodo* tablas[] = {&tablaDornenburg(), &tablaRogers(), &tablaRelacionGases()};
    QSet<QString> vistos;
    for (const QVariantList& f : filas) {
        const Gases g{valorGuardado(f[0]), valorGuardado(f[1]), valorGuardado(f[2]), valorGuardado(f[3]),
                      valorGuardado(f[4])};
        for (const TablaMetodo* t : tablas)
            for (const QString& fallo : evaluarMetodo(*t, ensayo(g, f[6].toBool(), f[5].toBool())).fallos)
                vistos << t->titulo + u(": ") + fallo;
    }
    for (const TablaMetodo* t : tablas)
        for (const FilaCriterios& fila : t->filas)
            EXPECT_TRUE(vistos.contains(t->titulo + u(": ") + fila.fallo))
                << QString(t->titulo + fila.fallo).toStdString();
}
