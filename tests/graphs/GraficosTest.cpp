#include "graphs/logic/Graficos.h"
#include "data/logic/RecordView.h"
#include "graphs/logic/Recoleccion.h"
#include "tests/support/TempData.h"
#include "tests/support/Texto.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace graficos;

namespace {

Fila fila(const QDate& fecha, QVariantList valores)
{
    return Fila{fecha, std::move(valores)};
}

Peticion ensayo(int cantidad, ConfiguracionGases gases = {})
{
    Peticion p;
    p.grafico = GraficoEnsayos;
    p.cantidad = cantidad;
    p.gases = gases;
    return p;
}

} // namespace

TEST(Graficos, TitlesOfEveryQuantity)
{
    EXPECT_EQ(titulo(u("Bombeo"), u("Tadeo"), u("S-100")), u("Bombeo  Tadeo  S. S-100"));
    ConfiguracionGases combustibles;
    combustibles.modo = ConfiguracionGases::TotalCombustibles;
    ConfiguracionGases totales;
    totales.modo = ConfiguracionGases::TotalGases;
    const struct
    {
        Peticion peticion;
        const char* titulo;
        QStringList campos;
    } casos[] = {
        {ensayo(Acidez), "Acidez", {u("Acidez")}},
        {ensayo(Inhibidor), "Inhibidor (%)", {u("%_Inhibidor")}},
        {ensayo(TIF), "TIF", {u("TIF")}},
        {ensayo(Rigidez), "Rigidez Dieléctrica (Kv)", {u("Diel")}},
        {ensayo(KarlFisher), "Karl Fisher (ppm)", {u("KFTMC_PPM")}},
        {ensayo(TotalFuranos), "Total Furanos (ppb)", {u("Total")}},
        {ensayo(Gases), "Gases : (ppm)", {}},
        {ensayo(Gases, combustibles), "Gases : Total combustible (ppm)", {u("Total combustible")}},
        {ensayo(Gases, totales), "Gases : Total Gas (ppm)", {u("Total Gas")}},
        {Peticion{GraficoRevision, Aislacion, {}, false},
         "Aislación (Megohms)",
         {u("PRIM / SEC A TIERRA 1'"), u("SEC / PRIM A TIERRA 1'"), u("PRIM SEC / TIERRA 1'")}},
        {Peticion{GraficoRevision, Oxigeno, {}, false},
         "Porcentaje de Oxígeno en Nitrógeno (%)",
         {u("PORCENTAJE OXÍGENO")}},
        {Peticion{GraficoRevision, RigidezRevision, {}, false},
         "Rigidez Dieléctrica (Kv)",
         {u("RIGIDEZ DIELÉCTRICA")}},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(tituloCantidad(c.peticion), u(c.titulo));
        EXPECT_EQ(campos(c.peticion), c.campos) << c.titulo;
    }
    const Peticion mant{GraficoMantenimiento, 0, {}, false};
    EXPECT_EQ(tituloCantidad(mant), u("Mantenimiento (Items)"));
    const QStringList items = campos(mant);
    ASSERT_EQ(items.size(), 16);
    EXPECT_EQ(items.first(), u("Cambio de sílica"));
    EXPECT_EQ(items.last(), u("Limpieza General"));
}

TEST(Graficos, TestsFromTheCurrentOnTenAtMostCurrentRightmost)
{
    // Fifteen tests with positive acidity, dated in order; the current one is the first.
    QList<Fila> filas;
    for (int i = 0; i < 15; ++i)
        filas << fila(QDate(2020, 1, 1).addMonths(i), {0.01 * (i + 1)});
    const Dibujo d = dibujar(ensayo(Acidez), filas, u("T"));
    ASSERT_EQ(d.puntos(), 10);
    ASSERT_EQ(d.series.size(), 1);
    EXPECT_FALSE(d.barras);
    EXPECT_DOUBLE_EQ(d.series[0].valores.last(), 0.01);  // current, rightmost
    EXPECT_DOUBLE_EQ(d.series[0].valores.first(), 0.10); // the ninth after it
    EXPECT_EQ(d.etiquetas.last(), u("01/01/20"));
    EXPECT_EQ(d.etiquetas.first(), u("01/10/20"));
}

TEST(Graficos, ZeroEmptyAndNegativeTestValuesAreNoPoints)
{
    const QList<Fila> filas = {fila(QDate(2021, 1, 1), {0.2}), fila(QDate(2021, 2, 1), {0.0}),
                               fila(QDate(2021, 3, 1), {QVariant()}), fila(QDate(2021, 4, 1), {-1.0}),
                               fila(QDate(2021, 5, 1), {0.4})};
    const Dibujo d = dibujar(ensayo(Acidez), filas, u("T"));
    EXPECT_EQ(d.series[0].valores, (QList<double>{0.4, 0.2}));
    EXPECT_EQ(d.etiquetas, (QStringList{u("01/05/21"), u("01/01/21")}));
}

TEST(Graficos, TickedGasesOneSeriesEachNoneTickedNoPoints)
{
    ConfiguracionGases g;
    g.gases[0] = 1; // H2
    g.gases[8] = 2; // C2H2, greyed counts as ticked
    Peticion p = ensayo(Gases, g);
    EXPECT_EQ(campos(p), (QStringList{u("Hidrógeno"), u("Acetileno")}));
    const QList<Fila> filas = {fila(QDate(2022, 1, 1), {10, QVariant()}), fila(QDate(2022, 2, 1), {0, 0}),
                               fila(QDate(2022, 3, 1), {QVariant(), 3})};
    const Dibujo d = dibujar(p, filas, u("T"));
    ASSERT_EQ(d.series.size(), 2);
    EXPECT_EQ(d.series[0].leyenda, u("Hidrógeno"));
    EXPECT_EQ(d.series[1].leyenda, u("Acetileno"));
    EXPECT_EQ(d.series[0].valores, (QList<double>{0, 10}));
    EXPECT_EQ(d.series[1].valores, (QList<double>{3, 0}));

    const Dibujo vacio = dibujar(ensayo(Gases), filas, u("T"));
    EXPECT_EQ(vacio.tituloCantidad, u("Gases : (ppm)"));
    EXPECT_EQ(vacio.puntos(), 0);
}

TEST(Graficos, InspectionsRoundHalvesToEvenAndCountAnyReading)
{
    const Peticion aislacion{GraficoRevision, Aislacion, {}, false};
    const QList<Fila> filas = {fila(QDate(2023, 1, 1), {2.5, QVariant(), QVariant()}),
                               fila(QDate(2023, 2, 1), {QVariant(), QVariant(), QVariant()}),
                               fila(QDate(2023, 3, 1), {3.5, 0.4, -2.5})};
    const Dibujo d = dibujar(aislacion, filas, u("T"));
    EXPECT_TRUE(d.barras);
    ASSERT_EQ(d.series.size(), 3);
    EXPECT_EQ(d.series[0].leyenda, u("Pri/Sec-T"));
    EXPECT_EQ(d.series[1].leyenda, u("Sec/Pri-T"));
    EXPECT_EQ(d.series[2].leyenda, u("Pri-Sec/T"));
    // Only the first reading filled: a point, the other two sets 0 there.
    EXPECT_EQ(d.series[0].valores, (QList<double>{4, 2}));
    EXPECT_EQ(d.series[1].valores, (QList<double>{0, 0}));
    EXPECT_EQ(d.series[2].valores, (QList<double>{-2, 0}));
    EXPECT_EQ(entero(0.5), 0);
    EXPECT_EQ(entero(1.5), 2);
    EXPECT_EQ(entero(2.6), 3);

    // A single quantity: a zero reading is a point, an empty one is not.
    const Peticion oxigeno{GraficoRevision, Oxigeno, {}, false};
    const Dibujo o =
        dibujar(oxigeno, {fila(QDate(2023, 1, 1), {0.0}), fila(QDate(2023, 2, 1), {QVariant()})}, u("T"));
    EXPECT_EQ(o.series[0].valores, (QList<double>{0}));
}

TEST(Graficos, MaintenanceRowWithoutItemsIsNoPoint)
{
    Peticion p{GraficoMantenimiento, 0, {}, false};
    QVariantList ninguno(16, QVariant(false));
    QVariantList dos(16, QVariant());
    dos[0] = true;
    dos[15] = true;
    const Dibujo d = dibujar(p, {fila(QDate(2024, 1, 1), dos), fila(QDate(2024, 2, 1), ninguno)}, u("T"));
    ASSERT_EQ(d.series.size(), 16);
    EXPECT_EQ(d.puntos(), 1);
    EXPECT_EQ(d.series[0].valores, QList<double>{1});
    EXPECT_EQ(d.series[1].valores, QList<double>{0});
    EXPECT_EQ(d.series[15].valores, QList<double>{1});
    EXPECT_TRUE(d.series[0].leyenda.isEmpty());
    p.ampliado = true;
    EXPECT_EQ(dibujar(p, {fila(QDate(2024, 1, 1), dos)}, u("T")).series[1].leyenda,
              u("Rep  o cambio termocuadrante"));
}

TEST(Graficos, RowsOutOfDateOrderAreDrawnInDateOrder)
{
    // Rows typed out of order: the line still reads as a trend, oldest on the right as when
    // the rows were added in order.
    const QList<Fila> filas = {fila(QDate(2020, 1, 1), {1.0}), fila(QDate(2022, 1, 1), {3.0}),
                               fila(QDate(2021, 1, 1), {2.0})};
    EXPECT_EQ(dibujar(ensayo(Acidez), filas, u("T")).series[0].valores, (QList<double>{3, 2, 1}));
    // A view sorted newest first is a date order too, and is kept.
    const QList<Fila> bajando = {fila(QDate(2022, 1, 1), {3.0}), fila(QDate(2021, 1, 1), {2.0})};
    EXPECT_EQ(dibujar(ensayo(Acidez), bajando, u("T")).series[0].valores, (QList<double>{2, 3}));
}

TEST(Recoleccion, ReadsTheTransformersRowsWithoutMovingTheView)
{
    TempData datos;
    datos.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", \"DENOMINACIÓN\", MARCA, \"NRO DE SERIE\") VALUES "
                 "(5, 'Bombeo', 'Tadeo', 'S-1'), (7, 'Planta', 'Ivera', 'S-2')"));
    // Tests of 5 and 7 interleaved; the second of 5 has no acidity.
    datos.exec(u("INSERT INTO Ensayos (\"Código\", Fecha, Acidez) VALUES (5, '2020-01-01', 0.1), "
                 "(7, '2020-02-01', 0.9), (5, '2020-03-01', NULL), (5, '2020-04-01', 0.3), "
                 "(7, '2020-05-01', 0.8), (5, '2020-06-01', 0.4)"));
    auto db = datos.open();
    RecordView trafos, ensayos;
    trafos.setDatabase(db);
    trafos.setRecordSource(u("trafoge"));
    ensayos.setDatabase(db);
    ensayos.setRecordSource(u("ensayos"));
    ASSERT_TRUE(trafos.refresh().ok());
    ASSERT_TRUE(ensayos.refresh().ok());
    ASSERT_TRUE(ensayos.setAbsolutePosition(2).ok()); // the test of 5 without acidity

    QSignalSpy movidas(&ensayos, &RecordView::repositioned);
    const auto d = dibujoActual(trafos, ensayos, ensayo(Acidez));
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->titulo, u("Bombeo  Tadeo  S. S-1"));
    EXPECT_EQ(d->series[0].valores, (QList<double>{0.4, 0.3}));
    EXPECT_EQ(ensayos.absolutePosition(), 2);
    EXPECT_EQ(movidas.count(), 0);

    // A view on no row leaves the graph as it is.
    ASSERT_TRUE(ensayos.moveLast().ok());
    ASSERT_TRUE(ensayos.moveNext().ok());
    EXPECT_FALSE(dibujoActual(trafos, ensayos, ensayo(Acidez)).has_value());
}
