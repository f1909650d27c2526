#include "diagnosis/logic/Duval.h"
#include "diagnosis/logic/EvaluacionEnsayo.h"
#include "diagnosis/logic/NivelesGas.h"
#include "tests/diagnosis/Lista.h"

#include <QDate>
#include <gtest/gtest.h>
#include <optional>

using namespace diagnostico;
using namespace diagnostico::ieee;

namespace {

// One gas of a sample, with the O2 and N2 that pick the column and the age that picks the band.
struct CasoNivel
{
    const char* caso;
    GasIeee gas;
    double valor;
    std::optional<double> o2, n2;
    std::optional<int> edad;
    int estado;
};

const std::optional<double> kNada;
const std::optional<int> kSinEdad;

} // namespace

// Each column on both sides of its limits: at Table 1 is 1, just above is 2, at Table 2 is still 2
// and just above it 3.
TEST(NivelesGas, EachColumnAndAgeBandOnBothSidesOfItsLimits)
{
    using G = GasIeee;
    const CasoNivel casos[] = {
        // O2/N2 <= 0.2, age unknown: H2 80 / 200.
        {"H2 en T1", G::H2, 80, 1000, 10000, kSinEdad, 1},
        {"H2 sobre T1", G::H2, 80.5, 1000, 10000, kSinEdad, 2},
        {"H2 en T2", G::H2, 200, 1000, 10000, kSinEdad, 2},
        {"H2 sobre T2", G::H2, 200.01, 1000, 10000, kSinEdad, 3},
        // Age bands: under 10, 10 to 30 inclusive, over 30 (CH4 45/100, 90/150, 110/200).
        {"CH4 9 años", G::CH4, 46, 1000, 10000, 9, 2},
        {"CH4 9 años T2", G::CH4, 101, 1000, 10000, 9, 3},
        {"CH4 10 años", G::CH4, 90, 1000, 10000, 10, 1},
        {"CH4 10 años T2", G::CH4, 151, 1000, 10000, 10, 3},
        {"CH4 30 años", G::CH4, 150, 1000, 10000, 30, 2},
        {"CH4 31 años", G::CH4, 151, 1000, 10000, 31, 2},
        {"CH4 31 años T1", G::CH4, 110, 1000, 10000, 31, 1},
        {"CH4 31 años T2", G::CH4, 201, 1000, 10000, 31, 3},
        {"CO2 5 años", G::CO2, 7000, 1000, 10000, 5, 2},
        {"CO2 5 años T2", G::CO2, 7001, 1000, 10000, 5, 3},
        {"C2H2 en T1", G::C2H2, 1, 1000, 10000, kSinEdad, 1},
        {"C2H2 sobre T2", G::C2H2, 2.5, 1000, 10000, kSinEdad, 3},
        {"C2H2 31 años", G::C2H2, 3, 1000, 10000, 40, 2},
        // O2/N2 > 0.2: Table 1 has one column for 10 years and more, Table 2 three bands.
        {"C2H4 >0,2 9 años", G::C2H4, 26, 3000, 10000, 9, 2},
        {"C2H4 >0,2 9 años T2", G::C2H4, 81, 3000, 10000, 9, 3},
        {"C2H4 >0,2 10 años", G::C2H4, 60, 3000, 10000, 10, 1},
        {"C2H4 >0,2 31 años", G::C2H4, 125, 3000, 10000, 31, 2},
        {"CH4 >0,2 31 años", G::CH4, 25, 3000, 10000, 31, 2},
        {"CH4 >0,2 31 años T2", G::CH4, 31, 3000, 10000, 31, 3},
        {"CO >0,2", G::CO, 600, 3000, 10000, kSinEdad, 2},
        {"CO >0,2 T2", G::CO, 601, 3000, 10000, kSinEdad, 3},
        // The column: ratio 0.2 exactly is the sealed side; O2 or N2 empty the free-breathing one;
        // N2 = 0 the sealed one.
        {"razón 0,2", G::H2, 91, 2000, 10000, kSinEdad, 2},
        {"razón sobre 0,2", G::H2, 91, 2001, 10000, kSinEdad, 3},
        {"sin O2", G::H2, 91, kNada, 10000, kSinEdad, 3},
        {"sin N2", G::H2, 91, 100, kNada, kSinEdad, 3},
        {"N2 cero", G::H2, 91, 5000, 0, kSinEdad, 2},
    };
    for (const CasoNivel& c : casos) {
        MuestraGases m;
        m.gases[size_t(c.gas)] = c.valor;
        m.o2 = c.o2;
        m.n2 = c.n2;
        m.edad = c.edad;
        const NivelesGas n = evaluarNiveles(m);
        EXPECT_EQ(n.estado, c.estado) << c.caso;
        ASSERT_EQ(n.gases.size(), 1) << c.caso;
        EXPECT_EQ(n.gases.first(), std::pair(c.gas, c.estado)) << c.caso;
    }
}

// Only measured gases are judged (an empty box is not 0); the sample is its worst gas.
TEST(NivelesGas, OnlyMeasuredGasesCountAndTheWorstDecides)
{
    const TextosEnsayo textos = {{u("Hidrógeno"), u("")},  {u("Metano"), u("55")},   {u("Acetileno"), u("0")},
                                 {u("Oxígeno"), u("")},    {u("Nitrógeno"), u("1")}, {u("Etano"), u(" ")},
                                 {u("Dióxido"), u("6000")}};
    const NivelesGas n = evaluarNiveles(muestraDeTextos(textos, std::nullopt));
    EXPECT_EQ(n.gases,
              (QList<std::pair<GasIeee, int>>{{GasIeee::CH4, 3}, {GasIeee::C2H2, 1}, {GasIeee::CO2, 2}}));
    EXPECT_EQ(n.estado, 3);
    EXPECT_EQ(n.columna(), u("O2/N2>0.2"));
    const QVariantMap fila = {{u("Metano"), 10},
                              {u("Hidrógeno"), QVariant()},
                              {u("Etano"), u("")},
                              {u("Oxígeno"), 100},
                              {u("Nitrógeno"), 1000}};
    const NivelesGas g = evaluarNiveles(muestraGuardada(fila, 12));
    EXPECT_EQ(g.gases, (QList<std::pair<GasIeee, int>>{{GasIeee::CH4, 1}}));
    EXPECT_EQ(std::tuple(g.columna(), g.edad), std::tuple(u("O2/N2<=0.2"), std::optional(12)));
    EXPECT_EQ(evaluarNiveles(MuestraGases{}).estado, 0);
}

TEST(NivelesGas, AgeIsTheTestsYearMinusTheYearOfManufacture)
{
    const std::tuple<QVariant, QVariant, std::optional<int>> casos[] = {
        {u("1990"), u("2026-05-01"), 36},
        {u(" 1990 "), u("15/03/2026"), 36},
        {u("2026"), QDate(2026, 1, 1), 0},
        {u("2027"), u("2026-05-01"), std::nullopt},
        {u(""), u("2026-05-01"), std::nullopt},
        {QVariant(), u("2026-05-01"), std::nullopt},
        {u("1990.5"), u("2026-05-01"), std::nullopt},
        {u("19x0"), u("2026-05-01"), std::nullopt},
        {u("1990"), u("ayer"), std::nullopt},
        {u("1990"), QVariant(), std::nullopt},
    };
    for (const auto& [anio, fecha, edad] : casos)
        EXPECT_EQ(edadAlEnsayo(anio, fecha), edad)
            << anio.toString().toStdString() << " " << fecha.toString().toStdString();
}

// The level finding follows the gas-ratio findings and precedes the physico-chemical ones, counts
// and warns, forced or not; it never lowers a red light, and the age picks the column.
TEST(NivelesGas, TheLevelFindingInTheTestsEvaluation)
{
    const QString alto = textoConcentracionElevada();
    EXPECT_EQ(alto, u(" Gases: Concentración elevada (IEEE C57.104-2019)"));
    auto ensayo = [](bool gas, bool forzado,
                     std::initializer_list<std::pair<const char*, const char*>> textos,
                     std::optional<int> edad = std::nullopt) {
        EnsayoEnPantalla e;
        e.grupos = {true, false, false, false, false, gas, forzado, false, false};
        for (const auto& [campo, texto] : textos)
            e.textos[u(campo)] = u(texto);
        e.edad = edad;
        return evaluarEnsayo(e);
    };
    const EvaluacionEnsayo forzado = ensayo(true, true, {{"Acetileno", "500"}, {"HumSol", "9"}});
    EXPECT_EQ(forzado.observaciones, QStringList({u(" Gases: Dudoso"), alto, u(" Humedad en Sólidos")}));
    EXPECT_EQ(std::tuple(forzado.estado, forzado.cuenta, forzado.niveles.estado), std::tuple(2, 3, 3));
    const EvaluacionEnsayo solo = ensayo(true, false, {{"Acetileno", "482"}});
    EXPECT_EQ(solo.observaciones, QStringList{alto});
    EXPECT_EQ(std::tuple(solo.estado, solo.cuenta), std::tuple(2, 1));
    const EvaluacionEnsayo rojo = ensayo(true, false, {{"Acetileno", "500"}, {"Diel", "20"}});
    EXPECT_EQ(std::tuple(rojo.estado, rojo.cuenta), std::tuple(3, 2));
    const EvaluacionEnsayo sinGas = ensayo(false, false, {{"Acetileno", "500"}});
    EXPECT_EQ(std::tuple(sinGas.observaciones.size(), sinGas.estado, sinGas.niveles.estado),
              std::tuple(0, 1, 0));
    // CH4 101 on the sealed side: above Table 2 at 5 years (100), typical at 31 (110).
    const auto sellado = {std::pair("Metano", "101"), std::pair("Oxígeno", "100"),
                          std::pair("Nitrógeno", "1000")};
    EXPECT_EQ(ensayo(true, false, sellado, 5).observaciones, QStringList{alto});
    EXPECT_TRUE(ensayo(true, false, sellado, 31).observaciones.isEmpty());
}

// Triangle 1 zones on both sides of every limit: 98 % CH4, 4/13/15/29 % C2H2, 20/23/40/50 % C2H4.
TEST(Duval, TriangleZonesOnEveryBoundary)
{
    using Z = duval::ZonaTriangulo;
    const std::tuple<double, double, double, Z> casos[] = {
        {98, 2, 0, Z::PD},      {97.9, 2.1, 0, Z::T1},   {49, 1, 0, Z::PD},     {80, 20, 0, Z::T2},
        {80.1, 19.9, 0, Z::T1}, {96, 0, 4, Z::DT},       {96.1, 0, 3.9, Z::T1}, {50, 50, 0, Z::T3},
        {50.1, 49.9, 0, Z::T2}, {46, 50, 4, Z::T3},      {35, 50, 15, Z::DT},   {35.1, 50, 14.9, Z::T3},
        {87, 0, 13, Z::D1},     {87.1, 0, 12.9, Z::DT},  {64, 23, 13, Z::D2},   {64.1, 22.9, 13, Z::D1},
        {47, 40, 13, Z::DT},    {47.1, 39.9, 13, Z::D2}, {31, 40, 29, Z::D2},   {31.1, 40, 28.9, Z::DT},
        {0, 71, 29, Z::D2},     {0, 71.1, 28.9, Z::DT},  {0, 0, 100, Z::D1},    {0, 100, 0, Z::T3},
    };
    for (const auto& [ch4, c2h4, c2h2, zona] : casos) {
        const auto t = duval::triangulo(ch4, c2h4, c2h2);
        ASSERT_TRUE(t.has_value());
        EXPECT_EQ(duval::codigo(t->zona), duval::codigo(zona)) << ch4 << " " << c2h4 << " " << c2h2;
    }
    const auto t = duval::triangulo(Gases{10, 30, 999, 60, 10});
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(std::tuple(t->ch4, t->c2h4, t->c2h2), std::tuple(30.0, 60.0, 10.0));
    EXPECT_FALSE(duval::triangulo(0, 0, 0).has_value());
    EXPECT_FALSE(duval::triangulo(Gases{500, 0, 20, 0, 0}).has_value()) << "no CH4, C2H4 or C2H2";
}

// Centroids worked out by hand: a gas alone lies a third of the way to its corner; two neighbours
// make a triangle with the centre; two gases that are not neighbours give the limit of a thin
// pentagon, (a² u + b² v) / 300.
TEST(Duval, PentagonCentroidsAndZones)
{
    using Z = duval::ZonaPentagono;
    const std::tuple<const char*, Gases, QPointF, Z> casos[] = {
        {"H2", {100, 0, 0, 0, 0}, {0, 33.333}, Z::D1},
        {"CH4", {0, 100, 0, 0, 0}, {-19.593, -26.967}, Z::T1},
        {"C2H2", {0, 0, 0, 0, 100}, {31.702, 10.301}, Z::D1},
        {"H2 y C2H2", {50, 0, 0, 0, 50}, {15.851, 21.817}, Z::D1},
        {"CH4 y C2H4", {0, 50, 0, 50, 0}, {0, -26.967}, Z::T3},
        {"iguales", {20, 20, 20, 20, 20}, {0, 0}, Z::D2},
        {"H2 y CH4", {250, 130, 0, 0, 0}, {-2.293, 11.271}, Z::S},
        {"H2, CH4, C2H4", {10, 30, 0, 60, 0}, {5.878, -24.271}, Z::T3},
        {"casi todo H2", {90, 10, 0, 0, 0}, {-0.196, 26.730}, Z::PD},
    };
    for (const auto& [caso, g, centro, zona] : casos) {
        const auto p = duval::pentagono(g);
        ASSERT_TRUE(p.has_value()) << caso;
        EXPECT_NEAR(p->centroide.x(), centro.x(), 2e-3) << caso;
        EXPECT_NEAR(p->centroide.y(), centro.y(), 2e-3) << caso;
        EXPECT_EQ(duval::codigo(p->zona), duval::codigo(zona)) << caso;
    }
    EXPECT_FALSE(duval::pentagono(Gases{}).has_value());
    // One point of each zone's interior lands in that zone, and the border shared by PD and S
    // belongs to PD.
    const std::pair<QPointF, Z> puntos[] = {
        {{-0.5, 30}, Z::PD}, {{0, 28}, Z::PD},   {{20, 20}, Z::D1}, {{15, -5}, Z::D2}, {{10, -25}, Z::T3},
        {{-8, -28}, Z::T2},  {{-20, -5}, Z::T1}, {{-20, 15}, Z::S}, {{-1, 10}, Z::S},
    };
    for (const auto& [punto, zona] : puntos)
        EXPECT_EQ(duval::codigo(duval::zonaDe(punto)), duval::codigo(zona)) << punto.x() << " " << punto.y();
}
