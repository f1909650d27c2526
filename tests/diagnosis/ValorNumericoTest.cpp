#include "diagnosis/logic/ValorNumerico.h"
#include "diagnosis/logic/Totales.h"

#include <gtest/gtest.h>
#include <limits>

using namespace diagnostico;

namespace {

QString u(const char* t)
{
    return QString::fromUtf8(t);
}

} // namespace

TEST(ValorNumerico, ReadsTheLeadingNumberWithAPoint)
{
    const struct
    {
        const char* texto;
        double valor;
    } casos[] = {
        {"", 0},     {"abc", 0},   {"12,5", 12},   {"12.5", 12.5}, {" 7", 7},      {"-3.5", -3.5},
        {".5", 0.5}, {"30kV", 30}, {"1e3", 1000},  {"5e", 5},      {"0.31", 0.31}, {".", 0},
        {"-", 0},    {"x12", 0},   {"24.9", 24.9}, {"1.2.3", 1.2}, {"1e999", 0},   {"+4", 4},
    };
    for (const auto& c : casos)
        EXPECT_DOUBLE_EQ(valorNumerico(u(c.texto)), c.valor) << c.texto;
}

TEST(ValorNumerico, StoredValuesTreatNullAsZero)
{
    EXPECT_EQ(valorGuardado(QVariant()), 0);
    EXPECT_EQ(valorGuardado(QVariant(QMetaType(QMetaType::Double))), 0);
    EXPECT_DOUBLE_EQ(valorGuardado(QVariant(24.9)), 24.9);
    EXPECT_DOUBLE_EQ(valorGuardado(QVariant(qlonglong(30))), 30);
    EXPECT_DOUBLE_EQ(valorGuardado(QVariant(u("12,5"))), 12);
}

TEST(ValorNumerico, DecimalTextIsPlain)
{
    EXPECT_EQ(textoDecimal(10), u("10"));
    EXPECT_EQ(textoDecimal(0.1 + 0.2), u("0.3"));
    EXPECT_EQ(textoDecimal(2), u("2"));
    EXPECT_EQ(textoDecimal(1e20), u("100000000000000000000"));
    EXPECT_FALSE(textoDecimal(1.5e-7).contains(QLatin1Char('e')));
    EXPECT_EQ(textoDecimal(-0.0), u("0"));
}

TEST(Totales, GasTotalsSumNineAndSixGases)
{
    TextosEnsayo t;
    t[u("Hidrógeno")] = u("10");
    auto g = totalesGas(t);
    ASSERT_TRUE(g.totalGas && g.totalCombustible);
    EXPECT_EQ(*g.totalGas, 10);
    EXPECT_EQ(*g.totalCombustible, 10);

    // Oxygen, nitrogen and carbon dioxide count in the total only; every combustible counts.
    const double valores[] = {1, 20, 300, 4000, 50000, 600000, 7000000, 80000000, 900000000};
    for (int i = 0; i < 9; ++i)
        t[camposGases().at(i)] = textoDecimal(valores[i]);
    g = totalesGas(t);
    EXPECT_EQ(*g.totalGas, 987654321);
    EXPECT_EQ(*g.totalCombustible, 1 + 4000 + 50000 + 7000000 + 80000000 + 900000000);
}

TEST(Totales, FuranAndPcbTotalsAndOverflow)
{
    TextosEnsayo t{{u("5H2F"), u("25")}, {u("2FAL"), u("95,5")}, {u("5M2F"), u("x")}, {u("Total"), u("999")}};
    EXPECT_EQ(*sumaCampos(t, camposFuranos()), 120);
    TextosEnsayo p{{u("PCB_1242"), u("10")},
                   {u("PCB_1254"), u("40")},
                   {u("PCB_1260"), u("0.5")},
                   {u("OTROS"), u("1")},
                   {u("TOTAL PCB"), u("7")}};
    EXPECT_DOUBLE_EQ(*sumaCampos(p, camposPcb()), 51.5);
    // A sum beyond the range of a double is not written.
    TextosEnsayo grande{{u("PCB_1242"), u("1e308")}, {u("PCB_1254"), u("1e308")}};
    EXPECT_FALSE(sumaCampos(grande, camposPcb()).has_value());
}

TEST(Totales, PolarizationIndex)
{
    const struct
    {
        const char* uno;
        const char* diez;
        const char* indice;
    } casos[] = {
        {"500", "1000", "2"}, {"0", "1000", ""}, {"", "1000", ""},       {"500", "", ""},
        {"500", "0", ""},     {"0.0", "10", ""}, {"400", "500", "1.25"}, {"abc", "10", ""},
    };
    for (const auto& c : casos)
        EXPECT_EQ(indicePolarizacion(u(c.uno), u(c.diez)), u(c.indice)) << c.uno << " " << c.diez;
}
