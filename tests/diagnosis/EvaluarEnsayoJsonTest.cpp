#include "diagnosis/logic/EvaluarEnsayoJson.h"

#include <QJsonArray>
#include <gtest/gtest.h>

using namespace diagnostico;

namespace {

QString u(const char* t)
{
    return QString::fromUtf8(t);
}

QStringList textos(const QJsonValue& v)
{
    QStringList out;
    for (const QJsonValue& x : v.toArray())
        out << x.toString();
    return out;
}

} // namespace

TEST(EvaluarEnsayoJson, BoxesShowTheStoredValuesAsPlainDecimalText)
{
    const QVariantMap fila = {
        {u("Acidez"), 0.3},        {u("Diel"), 25.0},           {u("KFTMC_PPM"), qlonglong(12)},
        {u("TIF"), QVariant()},    {u("Visual"), u("Límpido")}, {u("Sedimentos"), QVariant()},
        {u("GAS"), qlonglong(1)},  {u("FD"), QVariant()},       {u("EFQ"), qlonglong(0)},
        {u("TangDelta"), 0.000125}};
    const EnsayoEnPantalla e = ensayoEnPantalla(fila);
    const struct
    {
        const char* campo;
        const char* texto;
    } casos[] = {{"Acidez", "0.3"},     {"Diel", "25"},      {"KFTMC_PPM", "12"},      {"TIF", ""},
                 {"Visual", "Límpido"}, {"Sedimentos", " "}, {"TangDelta", "0.000125"}};
    for (const auto& c : casos)
        EXPECT_EQ(e.textos.value(u(c.campo)), u(c.texto)) << c.campo;
    EXPECT_EQ(e.grupos.gas, std::optional<bool>(true));
    EXPECT_EQ(e.grupos.efq, std::optional<bool>(false));
    EXPECT_FALSE(e.grupos.fd.has_value());
    EXPECT_FALSE(e.grupos.kf.has_value());
}

// The tab reads boxes, not stored values: an empty inhibitor box is worth 0 and reported as
// null, which the general diagnosis would not do, and a Null sludge shows " " and no finding.
TEST(EvaluarEnsayoJson, ReportsWhatTheTestTabShows)
{
    QVariantMap fila = {{u("Fecha"), u("2024-03-05")},
                        {u("EFQ"), qlonglong(1)},
                        {u("IN"), qlonglong(1)},
                        {u("LD"), qlonglong(1)},
                        {u("GAS"), qlonglong(1)},
                        {u("FD"), qlonglong(0)},
                        {u("Diel"), 27.0},
                        {u("%_Inhibidor"), QVariant()},
                        {u("Sedimentos"), QVariant()},
                        {u("Hidrógeno"), 250.0},
                        {u("Metano"), 130.0},
                        {u("Oxígeno"), QVariant()},
                        {u("Nitrógeno"), 1000.5},
                        {u("Dióxido"), 7.0}};
    const QJsonObject o = informeEvaluacion(42, fila);
    EXPECT_EQ(o.value(u("codigo")).toInt(), 42);
    EXPECT_EQ(o.value(u("fecha")).toString(), u("2024-03-05"));
    EXPECT_EQ(textos(o.value(u("observaciones"))),
              (QStringList{u(" Contenido de inhibidor nulo"), u(" Dieléctrico Bajo")}));
    EXPECT_EQ(o.value(u("estado")).toInt(), 2);
    EXPECT_EQ(o.value(u("cuenta")).toInt(), 2);
    EXPECT_EQ(o.value(u("resaltados")).toObject(),
              (QJsonObject{{u("%_Inhibidor"), u("naranja")}, {u("Diel"), u("naranja")}}));
    const QJsonObject totales = o.value(u("totales")).toObject();
    EXPECT_DOUBLE_EQ(totales.value(u("Total Gas")).toDouble(), 250 + 130 + 1000.5 + 7);
    EXPECT_DOUBLE_EQ(totales.value(u("Total combustible")).toDouble(), 250 + 130);

    // H2 250 and CH4 130 pass the screen; C2H4 and C2H2 are 0, so two ratios are not computable
    // and the chart's EjeX is clamped up from -1.
    const QJsonObject d = o.value(u("dornenburg")).toObject();
    EXPECT_TRUE(d.value(u("aplica")).toBool());
    EXPECT_FALSE(d.value(u("forzado")).toBool());
    const QJsonArray r = d.value(u("razones")).toArray();
    ASSERT_EQ(r.size(), 4);
    EXPECT_DOUBLE_EQ(r[0].toDouble(), 0.52);
    EXPECT_EQ(r[1].toDouble(), -1);
    EXPECT_EQ(r[2].toDouble(), -1);
    EXPECT_EQ(r[3].toDouble(), 0);
    EXPECT_EQ(textos(d.value(u("celdas"))), (QStringList{u("<0,3"), u("0.1-1.0"), u("-"), u("<0,3")}));
    EXPECT_TRUE(textos(d.value(u("fallos"))).isEmpty());
    EXPECT_DOUBLE_EQ(d.value(u("ejeX")).toDouble(), 0.001);
    EXPECT_DOUBLE_EQ(d.value(u("ejeY")).toDouble(), 0.52);
    EXPECT_EQ(o.value(u("rogers")).toObject().value(u("razones")).toArray().size(), 4);
    EXPECT_EQ(o.value(u("relacion_gases")).toObject().value(u("razones")).toArray().size(), 3);

    // The gas group not ticked: no method applies, whatever the gases.
    fila[u("GAS")] = qlonglong(0);
    const QJsonObject sinGas = informeEvaluacion(42, fila);
    for (const char* m : {"dornenburg", "rogers", "relacion_gases"})
        EXPECT_FALSE(sinGas.value(u(m)).toObject().value(u("aplica")).toBool()) << m;
}

TEST(EvaluarEnsayoJson, TransformerWithoutTests)
{
    const QJsonObject o = informeEvaluacion(7, std::nullopt);
    EXPECT_EQ(textos(o.value(u("observaciones"))), QStringList{u(" Sin Ensayos")});
    EXPECT_EQ(o.value(u("estado")).toInt(), 3);
    EXPECT_EQ(o.value(u("cuenta")).toInt(), 6);
    EXPECT_TRUE(o.value(u("fecha")).isNull());
    EXPECT_TRUE(o.value(u("resaltados")).toObject().isEmpty());
    EXPECT_TRUE(o.value(u("totales")).toObject().value(u("Total Gas")).isNull());
    const QJsonObject d = o.value(u("dornenburg")).toObject();
    EXPECT_FALSE(d.value(u("aplica")).toBool(true));
    // Only the cell that shows without a test.
    EXPECT_EQ(textos(d.value(u("celdas"))), QStringList{u("-")});
}
