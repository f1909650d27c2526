#include "diagnosis/logic/MetodosGas.h"

#include <gtest/gtest.h>

using namespace diagnostico;

namespace {

QString u(const char* t)
{
    return QString::fromUtf8(t);
}

QStringList lista(std::initializer_list<const char*> textos)
{
    QStringList out;
    for (const char* t : textos)
        out << u(t);
    return out;
}

// H2, CH4, C2H6, C2H4, C2H2 in ppm.
EnsayoGases ensayo(Gases g, bool forzado = false, bool gas = true)
{
    return EnsayoGases{true, gas, forzado, g};
}

// Captions shown in one cell column of a method table.
QStringList columna(const TablaMetodo& tabla, const ResultadoMetodo& r, int col)
{
    QStringList out;
    for (int f = 0; f < tabla.filas.size(); ++f)
        for (int c = 0; c < tabla.filas[f].celdas.size(); ++c)
            if (tabla.filas[f].celdas[c].columna == col && r.visibles[f][c])
                out << tabla.filas[f].celdas[c].leyenda;
    out.removeDuplicates();
    return out;
}

} // namespace

TEST(MetodosGas, ApplicabilityScreenIsStrict)
{
    const struct
    {
        Gases g;
        bool aplica;
    } casos[] = {
        {{250, 130, 0, 0, 0}, true},  // condition 1
        {{200, 500, 0, 0, 0}, true},  // condition 1 fails on the limit, condition 2 holds
        {{200, 130, 0, 0, 0}, false}, // H2 not above 200, CH4 not above 240
        {{201, 120, 0, 50, 35}, false}, {{201, 0, 0, 51, 0}, true},
        {{0, 241, 0, 0, 36}, true},                                  // condition 2 through C2H2
        {{0, 240, 0, 51, 0}, false},    {{101, 0, 0, 101, 0}, true}, // condition 3
        {{100, 0, 0, 101, 0}, false},   {{0, 0, 0, 100, 36}, false},
        {{0, 121, 0, 0, 71}, true},                                  // condition 4
        {{0, 0, 0, 50, 71}, false},     {{0, 0, 5000, 0, 0}, false}, // ethane takes no part
        {{99, 119, 0, 49, 34}, false},
    };
    for (const auto& c : casos)
        EXPECT_EQ(pantallaAplicable(c.g), c.aplica)
            << c.g.h2 << " " << c.g.ch4 << " " << c.g.c2h4 << " " << c.g.c2h2;
}

TEST(MetodosGas, RatioRule)
{
    EXPECT_EQ(razon(5, 0), -1);
    EXPECT_EQ(razon(0, 0), -1);
    EXPECT_EQ(razon(0, 5), 0);
    EXPECT_DOUBLE_EQ(razon(130, 250), 0.52);
}

TEST(Dornenburg, WorkedExample)
{
    const ResultadoDornenburg r = evaluarDornenburg(ensayo({250, 130, 0, 0, 0}));
    EXPECT_TRUE(r.aplica);
    EXPECT_FALSE(r.forzado);
    ASSERT_EQ(r.razones.size(), 4);
    EXPECT_DOUBLE_EQ(r.razones[0], 0.52);
    EXPECT_EQ(r.razones[1], -1);
    EXPECT_EQ(r.razones[2], -1);
    EXPECT_EQ(r.razones[3], 0);
    EXPECT_EQ(r.celdas, lista({"<0,3", "0.1-1.0", "-", "<0,3"}));
    EXPECT_TRUE(r.fallos.isEmpty());
    ASSERT_TRUE(r.punto.has_value());
    EXPECT_DOUBLE_EQ(r.punto->x(), 0.001);
    EXPECT_DOUBLE_EQ(r.punto->y(), 0.52);
}

TEST(Dornenburg, NotQualifyingForcedAndWithoutGas)
{
    // Below every limit and not forced: nothing but the static "-" and no chart point.
    ResultadoDornenburg r = evaluarDornenburg(ensayo({90, 100, 10, 10, 0}));
    EXPECT_FALSE(r.aplica);
    EXPECT_EQ(r.celdas, lista({"-"}));
    EXPECT_TRUE(r.fallos.isEmpty());
    EXPECT_FALSE(r.punto.has_value());

    // Forced with no gas at all: every ratio not computable, marker in the bottom-left corner.
    r = evaluarDornenburg(ensayo({0, 0, 0, 0, 0}, true));
    EXPECT_TRUE(r.aplica);
    EXPECT_TRUE(r.forzado);
    EXPECT_EQ(r.razones, (QList<double>{-1, -1, -1, -1}));
    EXPECT_EQ(r.celdas, lista({"-"}));
    ASSERT_TRUE(r.punto.has_value());
    EXPECT_EQ(grafico::centroMarcador(r.punto->x(), r.punto->y()), QPointF(16, 65));

    // Gas group not tested: nothing applies, even forced.
    r = evaluarDornenburg(ensayo({250, 130, 0, 0, 0}, true, false));
    EXPECT_FALSE(r.aplica);
    EXPECT_FALSE(r.forzado);
    EXPECT_FALSE(r.punto.has_value());

    r = evaluarDornenburg(EnsayoGases{false, true, true, {250, 130, 0, 0, 0}});
    EXPECT_FALSE(r.aplica);
    EXPECT_FALSE(r.forzado);
}

TEST(Dornenburg, BoundsOfTheCriteria)
{
    const TablaMetodo& t = tablaDornenburg();
    const struct
    {
        Gases g;
        int col;
        QStringList celdas;
    } casos[] = {
        {{1000, 1000, 0, 0, 0}, 0, lista({"0.1-1.0"})}, // R1 = 1.0
        {{1000, 100, 0, 0, 0}, 0, lista({"0.1-1.0"})},  // R1 = 0.1
        {{1000, 1001, 0, 0, 0}, 0, lista({">1,0"})},
        {{1000, 99, 0, 0, 0}, 0, lista({"<0.1"})},
        {{1000, 200, 0, 400, 300}, 1, lista({"-"})}, // R2 = 0.75 shows neither bound
        {{1000, 200, 0, 400, 299}, 1, lista({"<0,75", "-"})},
        {{1000, 200, 0, 400, 301}, 1, lista({">0,75", "-"})},
        {{1000, 200, 40, 400, 100}, 2, {}}, // R3 = 0.4
        {{1000, 200, 41, 400, 100}, 2, lista({">0,4"})},
        {{1000, 200, 39, 400, 100}, 2, lista({"<0,4"})},
        {{1000, 1000, 0, 400, 300}, 3, {}}, // R4 = 0.3
        {{1000, 1000, 0, 400, 301}, 3, lista({">0,3"})},
        {{1000, 1000, 0, 400, 299}, 3, lista({"<0,3"})},
    };
    for (const auto& c : casos)
        EXPECT_EQ(columna(t, evaluarMetodo(t, ensayo(c.g, true)), c.col), c.celdas)
            << c.col << " " << c.g.c2h2;
}

TEST(Dornenburg, EachFaultAlone)
{
    const struct
    {
        Gases g;
        const char* fallo;
    } casos[] = {
        {{150, 300, 100, 600, 30}, "Descomposición Térmica"},
        {{500, 150, 40, 60, 120}, "Descargas Eléctricas Excepto Corona"},
        {{2000, 150, 100, 10, 1}, "Efecto Corona"},
    };
    for (const auto& c : casos) {
        const ResultadoDornenburg r = evaluarDornenburg(ensayo(c.g));
        EXPECT_TRUE(r.aplica);
        EXPECT_EQ(r.fallos, lista({c.fallo}));
        EXPECT_EQ(r.fallosVisibles.count(true), 1);
    }
}

TEST(Dornenburg, ChartClampAndMarker)
{
    EXPECT_EQ(grafico::recortarEje(250), 100);
    EXPECT_EQ(grafico::recortarEje(0), 0.001);
    EXPECT_EQ(grafico::recortarEje(-1), 0.001);
    EXPECT_EQ(grafico::recortarEje(0.52), 0.52);
    EXPECT_EQ(grafico::rectanguloTrazado(), QRectF(16, 15, 50, 50));
    // 1 lies thirty units in from the left and the bottom; the limits on the edges.
    const QPointF uno = grafico::centroMarcador(1, 1);
    EXPECT_DOUBLE_EQ(uno.x(), 46);
    EXPECT_DOUBLE_EQ(uno.y(), 35);
    EXPECT_EQ(grafico::centroMarcador(grafico::recortarEje(250), 100), QPointF(66, 15));
    const QPointF esquina = grafico::centroMarcador(0.001, 0.001);
    EXPECT_NEAR(esquina.x(), 16, 1e-9);
    EXPECT_NEAR(esquina.y(), 65, 1e-9);
    const QPointF decimo = grafico::centroMarcador(0.1, 10);
    EXPECT_NEAR(decimo.x(), 36, 1e-9);
    EXPECT_NEAR(decimo.y(), 25, 1e-9);

    const ResultadoDornenburg r = evaluarDornenburg(ensayo({1, 250, 0, 1, 250}, true));
    ASSERT_TRUE(r.punto.has_value());
    EXPECT_EQ(*r.punto, QPointF(100, 100));
}

TEST(Rogers, TableRowsAndBounds)
{
    // Ratios CH4/H2, C2H6/CH4, C2H4/C2H6, C2H2/C2H4 written as gases over H2 = 1000.
    auto g = [](double r1, double r2, double r3, double r4) {
        const double ch4 = 1000 * r1, c2h6 = ch4 * r2, c2h4 = c2h6 * r3;
        return Gases{1000, ch4, c2h6, c2h4, c2h4 * r4};
    };
    const struct
    {
        Gases g;
        QStringList fallos;
    } casos[] = {
        {g(0.5, 0.5, 0.5, 0.2), lista({"Normal", "Descarga parcial - Corona"})},
        {g(0.05, 0.5, 0.5, 0.2), lista({"Descarga parcial - Corona"})},
        {g(1.0, 0.5, 0.5, 0.2), lista({"Descarga parcial - Corona", "Bajo sobrecalentamiento a 150°C"})},
        {g(0.5, 0.5, 0.5, 0.6),
         lista({"Descarga parcial - Corona con localización", "Arco - Sin potencia por el mismo"})},
        {g(0.5, 0.5, 0.5, 3.0), lista({"Descarga parcial - Corona con localización"})},
        {g(0.5, 0.5, 3.0, 3.0), lista({"Descarga continua", "Arco - Con potencia por el mismo"})},
        {g(0.5, 0.5, 1.0, 0.5), lista({"Arco - Con potencia por el mismo"})},
        {g(2.0, 1.0, 0.5, 0.2), lista({"Sobrecalentamiento a 150-200 °C"})},
        {g(0.5, 2.0, 0.5, 0.2), lista({"Sobrecalentamiento a 200-300 °C"})},
        {g(0.5, 0.5, 2.0, 0.2),
         lista({"Sobrecalentamiento general de los conductores", "Corriente circulante en arrollamientos"})},
        {g(2.0, 0.5, 2.0, 0.2), lista({"Corriente circulante en arrollamientos"})},
        {g(2.0, 0.5, 3.0, 0.2), lista({"Corriente circulante en núcleo y cuba; Uniones sobrecargadas"})},
        {g(3.0, 0.5, 3.0, 0.2), {}},
        {Gases{1000, 500, 250, 0, 0}, {}}, // C2H2/C2H4 not computable
    };
    for (const auto& c : casos)
        EXPECT_EQ(evaluarRogers(ensayo(c.g, true)).fallos, c.fallos) << c.fallos.join(u("|")).toStdString();
}

TEST(Rogers, CellsOnTheBoundOfOne)
{
    const TablaMetodo& t = tablaRogers();
    const ResultadoMetodo r = evaluarRogers(ensayo({1000, 1000, 500, 250, 50}, true));
    EXPECT_EQ(columna(t, r, 0), lista({">0,1", ">=1,0"}));
    EXPECT_EQ(columna(t, r, 1), lista({"=<1,0", "<3,0"}));
    EXPECT_EQ(t.filas.size(), 12);
    EXPECT_EQ(t.filas[11].fallo, u("Corriente circulante en núcleo y cuba; Uniones sobrecargadas"));
}

TEST(Rogers, NotQualifyingShowsNothing)
{
    const ResultadoMetodo r = evaluarRogers(ensayo({50, 25, 12, 6, 1}));
    EXPECT_FALSE(r.aplica);
    EXPECT_TRUE(r.celdas.isEmpty());
    EXPECT_TRUE(r.fallos.isEmpty());
    // The same gases scaled above the screen do qualify without forcing.
    EXPECT_TRUE(evaluarRogers(ensayo({500, 250, 125, 60, 10})).aplica);
    EXPECT_EQ(evaluarRogers(ensayo({500, 250, 125, 60, 10})).fallos,
              lista({"Normal", "Descarga parcial - Corona"}));
}

TEST(RelacionGases, BoundsOfTheCells)
{
    const TablaMetodo& t = tablaRelacionGases();
    // C2H2/C2H4 (column 0), CH4/H2 (1), C2H4/C2H6 (2); H2, CH4, C2H6, C2H4, C2H2.
    const struct
    {
        Gases g;
        int col;
        QStringList celdas;
    } casos[] = {
        {{1000, 300, 100, 100, 0}, 0, lista({"<0,01", "<0,1", "<0,2"})}, // R1 = 0
        {{1000, 300, 100, 100, 250}, 0, lista({">1", "0.6-2.5"})},       // R1 = 2.5
        {{1000, 300, 100, 100, 251}, 0, lista({">1"})},
        {{1000, 300, 100, 100, 100}, 0, lista({"0.6-2.5"})}, // R1 = 1.0
        {{1000, 300, 100, 100, 60}, 0, lista({"0.6-2.5"})},
        {{1000, 300, 100, 100, 59}, 0, {}},
        {{1000, 300, 100, 100, 10}, 0, lista({"<0,2"})},              // R1 = 0.1
        {{1000, 100, 100, 100, 0}, 1, lista({"0.1-0.5", "0.1-1.0"})}, // R2 = 0.1
        {{1000, 99, 100, 100, 0}, 1, lista({"<0,1"})},
        {{1000, 500, 100, 100, 0}, 1, lista({"0.1-0.5", "0.1-1.0"})},
        {{1000, 1000, 100, 100, 0}, 1, lista({"0.1-1.0"})}, // R2 = 1.0
        {{1000, 1001, 100, 100, 0}, 1, lista({">1"})},
        {{0, 1000, 100, 100, 0}, 1, {}},                               // H2 = 0
        {{1000, 300, 100, 100, 0}, 2, lista({"1.0-4.0"})},             // R3 = 1.0
        {{1000, 300, 100, 400, 0}, 2, lista({">1", ">2", "1.0-4.0"})}, // R3 = 4.0
        {{1000, 300, 100, 200, 0}, 2, lista({">1", "1.0-4.0"})},       // R3 = 2.0
        {{1000, 300, 100, 201, 0}, 2, lista({">1", ">2", "1.0-4.0"})},
        {{1000, 300, 100, 401, 0}, 2, lista({">1", ">2", ">4"})},
        {{1000, 300, 100, 19, 0}, 2, lista({"<0,2", "<1"})},
        {{1000, 300, 100, 20, 0}, 2, lista({"<1"})},
    };
    for (const auto& c : casos)
        EXPECT_EQ(columna(t, evaluarMetodo(t, ensayo(c.g, true)), c.col), c.celdas)
            << c.col << " " << c.g.c2h2 << " " << c.g.ch4 << " " << c.g.c2h4;
}

TEST(RelacionGases, FaultsAloneAndTogether)
{
    const struct
    {
        Gases g;
        QStringList fallos;
    } casos[] = {
        {{2000, 100, 100, 10, 0}, lista({"Descargas Parciales"})},
        {{1000, 300, 100, 150, 200}, lista({"Descargas Baja Energía"})},
        {{1000, 300, 100, 300, 600}, lista({"Descargas Baja Energía", "Descargas Alta Energía"})},
        {{1000, 700, 100, 300, 300}, lista({"Descargas Alta Energía"})},
        {{100, 200, 100, 50, 0}, lista({"Defecto T<300°C"})},
        {{150, 300, 100, 200, 5}, lista({"Defecto 300°C < T < 700°C"})},
        {{150, 300, 100, 600, 30}, lista({"Defecto T>700°C"})},
        {{0, 300, 100, 600, 30}, {}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(evaluarRelacionGases(ensayo(c.g, true)).fallos, c.fallos)
            << c.fallos.join(u("|")).toStdString();
}
