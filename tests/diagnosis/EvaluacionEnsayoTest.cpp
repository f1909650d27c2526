#include "diagnosis/logic/EvaluacionEnsayo.h"
#include "diagnosis/logic/EvaluarEnsayoJson.h"
#include "diagnosis/logic/TextoPlano.h"
#include "diagnosis/logic/Totales.h"
#include "diagnosis/logic/ValorNumerico.h"
#include "tests/diagnosis/Lista.h"

#include <QJsonArray>
#include <QLocale>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace diagnostico;

namespace {

using Textos = std::initializer_list<std::pair<const char*, const char*>>;
using Valores = std::initializer_list<std::pair<const char*, QVariant>>;

QVariantMap mapa(Valores valores)
{
    QVariantMap m;
    for (const auto& [campo, valor] : valores)
        m[u(campo)] = valor;
    return m;
}

// A test with every group but the forced one ticked and every value within limits, as the tab
// shows it, with the given boxes changed.
EnsayoEnPantalla ensayo(Textos cambios = {})
{
    EnsayoEnPantalla e;
    const Textos normales = {{"HumSol", "1.8"},   {"Acidez", "0.03"},  {"%_Inhibidor", "2.1"},
                             {"Diel", "58"},      {"TIF", "38"},       {"TangDelta", "8"},
                             {"Total", "0"},      {"Aluminio", "0"},   {"Hierro", "0"},
                             {"Cobre", "0"},      {"KFTMC_PPM", "12"}, {"TOTAL PCB", "0"},
                             {"Hidrógeno", "18"}, {"Metano", "9"},     {"Etano", "6"},
                             {"Etileno", "4"},    {"Acetileno", "0"},  {"Sedimentos", "NO CONTIENE"}};
    for (const Textos& t : {normales, cambios})
        for (const auto& [campo, texto] : t)
            e.textos[u(campo)] = u(texto);
    e.grupos = {true, true, true, true, true, true, false, true, true};
    return e;
}

} // namespace

// Boxes are read with a point whatever the user's locale: under a Spanish locale "12,5" is
// still 12 and derived values are still written with a point.
TEST(ValorNumerico, ReadsTheLeadingNumberWithAPointWhateverTheLocale)
{
    const QLocale antes;
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    const std::pair<const char*, double> casos[] = {
        {"", 0},     {"abc", 0},     {"12,5", 12},  {"12.5", 12.5}, {" 7", 7}, {"-3.5", -3.5},
        {".5", 0.5}, {"30kV", 30},   {"1e3", 1000}, {"5e", 5},      {".", 0},  {"-", 0},
        {"x12", 0},  {"1.2.3", 1.2}, {"1e999", 0},  {"+4", 4},
    };
    for (const auto& [texto, valor] : casos)
        EXPECT_DOUBLE_EQ(valorNumerico(u(texto)), valor) << texto;
    // Stored values: Null is 0, numbers as they are, text by the rule above.
    EXPECT_EQ(valorGuardado(QVariant()), 0);
    EXPECT_EQ(valorGuardado(QVariant(QMetaType(QMetaType::Double))), 0);
    EXPECT_DOUBLE_EQ(valorGuardado(QVariant(qlonglong(30))), 30);
    EXPECT_DOUBLE_EQ(valorGuardado(QVariant(u("12,5"))), 12);
    // Derived values: plain decimal text, no exponent, no trailing zeros.
    EXPECT_EQ(textoDecimal(0.1 + 0.2), u("0.3"));
    EXPECT_EQ(textoDecimal(2), u("2"));
    EXPECT_EQ(textoDecimal(1e20), u("100000000000000000000"));
    EXPECT_EQ(textoDecimal(1.5e-7), u("0.00000015"));
    EXPECT_EQ(textoDecimal(-0.0), u("0"));
    QLocale::setDefault(antes);
}

TEST(Totales, SumsOfTheGasFuranAndPcbBoxesAndOverflow)
{
    TextosEnsayo t{{u("Hidrógeno"), u("10")}};
    EXPECT_EQ(totalesGas(t).totalGas, 10);
    EXPECT_EQ(totalesGas(t).totalCombustible, 10);
    // Oxygen, nitrogen and carbon dioxide count in the total only; every combustible counts.
    const double valores[] = {1, 20, 300, 4000, 50000, 600000, 7000000, 80000000, 900000000};
    for (int i = 0; i < 9; ++i)
        t[camposGases().at(i)] = textoDecimal(valores[i]);
    EXPECT_EQ(totalesGas(t).totalGas, 987654321);
    EXPECT_EQ(totalesGas(t).totalCombustible, 1 + 4000 + 50000 + 7000000 + 80000000 + 900000000);

    // Only the parts count, never the total box itself.
    const TextosEnsayo furanos{
        {u("5H2F"), u("25")}, {u("2FAL"), u("95,5")}, {u("5M2F"), u("x")}, {u("Total"), u("9")}};
    EXPECT_EQ(sumaCampos(furanos, camposFuranos()), 120);
    const TextosEnsayo pcb{
        {u("PCB_1242"), u("10")}, {u("PCB_1260"), u("0.5")}, {u("OTROS"), u("1")}, {u("TOTAL PCB"), u("7")}};
    EXPECT_EQ(sumaCampos(pcb, camposPcb()), 11.5);
    // A sum beyond the range of a double is not written.
    const TextosEnsayo grande{{u("PCB_1242"), u("1e308")}, {u("PCB_1254"), u("1e308")}};
    EXPECT_FALSE(sumaCampos(grande, camposPcb()).has_value());
}

TEST(Totales, PolarizationIndexNeedsBothReadingsAndANonZeroFirst)
{
    const std::tuple<const char*, const char*, const char*> casos[] = {
        {"500", "1000", "2"}, {"400", "500", "1.25"}, {"0", "1000", ""}, {"", "1000", ""},
        {"500", "", ""},      {"500", "0", ""},       {"0.0", "10", ""}, {"abc", "10", ""},
    };
    for (const auto& [uno, diez, indice] : casos)
        EXPECT_EQ(indicePolarizacion(u(uno), u(diez)), u(indice)) << uno << " " << diez;
}

// The observation boxes store what a rich-text document writes; the summary must read the same
// text the box shows.
TEST(TextoPlano, ReadsWhatARichTextBoxShows)
{
    for (const char* t : {"dos\npárrafos", "con\n\nun vacío en medio", "\nempieza vacío", "termina vacío\n",
                          "signos < > & \" ' y\tuna tabulación", "  blancos   repetidos  ", "á ñ °C ≥"}) {
        QTextDocument doc;
        doc.setPlainText(u(t));
        EXPECT_EQ(textoPlano(doc.toHtml()), doc.toPlainText()) << t;
    }
    // Plain text is kept as it is; odd markup still gives its text.
    const std::pair<const char*, const char*> memos[] = {
        {"", ""},
        {"texto con <etiquetas> que no son HTML", "texto con <etiquetas> que no son HTML"},
        {"a < b & c\r\notra", "a < b & c\r\notra"},
        {"<html><body>sin párrafos</body></html>", "sin párrafos"},
        {"<html><body><p>uno</p><p>dos<br>tres</p></body></html>", "uno\ndos\ntres"},
        {"<html><body><p>&#65;&#x42;&lt;&gt;&amp;&quot;&apos;&desconocida;</p></body></html>",
         "AB<>&\"'&desconocida;"},
        {"<html><body><p>sin cerrar", "sin cerrar"},
        {"<html><body><p>corta <b", "corta "},
    };
    for (const auto& [memo, texto] : memos)
        EXPECT_EQ(textoPlano(u(memo)), u(texto)) << memo;
}

TEST(EvaluacionEnsayo, ThresholdsOneBoxAtATime)
{
    using R = Resaltado;
    // Every finding but the PCB one counts once and turns the light yellow (2) or, grave, red (3).
    const std::tuple<const char*, const char*, const char*, int, Resaltado> casos[] = {
        {"Diel", "58", "", 1, R::Normal},
        {"Diel", "25", " Dieléctrico Bajo", 2, R::Naranja},
        {"Diel", "29.9", " Dieléctrico Bajo", 2, R::Naranja},
        {"Diel", "24.9", " Dieléctrico muy Bajo", 3, R::Naranja},
        {"Diel", "30", "", 1, R::Normal},
        {"Diel", "", "", 1, R::Normal},
        {"Diel", "0", "", 1, R::Normal},
        {"Acidez", "0.1", "", 1, R::Normal},
        {"Acidez", "0.3", " Acidez Alta", 2, R::Amarillo},
        {"Acidez", "0.31", " Acidez Muy Alta", 3, R::Naranja},
        {"Acidez", "0,5", "", 1, R::Normal}, // a decimal comma reads 0
        {"TIF", "26", "", 1, R::Normal},
        {"TIF", "0", "", 1, R::Normal},
        {"TIF", "25.9", " Baja Tensión Interfacial", 2, R::Naranja},
        {"HumSol", "5", "", 1, R::Normal},
        {"HumSol", "5.01", " Humedad en Sólidos", 2, R::Naranja},
        {"TangDelta", "40", "", 1, R::Normal},
        {"TangDelta", "40.5", " Tangente Delta Alta", 2, R::Naranja},
        {"KFTMC_PPM", "24.9", "", 1, R::Normal},
        {"KFTMC_PPM", "25", " Alto Contenido de Agua", 2, R::Amarillo},
        {"KFTMC_PPM", "99.9", " Alto Contenido de Agua", 2, R::Amarillo},
        {"KFTMC_PPM", "100", " Muy Alto Contenido de Agua", 3, R::Naranja},
        {"%_Inhibidor", "", " Contenido de inhibidor nulo", 2, R::Naranja},
        {"%_Inhibidor", "0.49", " Bajo contenido de inhibidor", 2, R::Amarillo},
        {"%_Inhibidor", "0.5", "", 1, R::Normal},
        {"%_Inhibidor", "4", "", 1, R::Normal},
        {"%_Inhibidor", "4.1", " Alto contenido de inhibidor", 2, R::Amarillo},
        {"TOTAL PCB", "50", "", 1, R::Normal},
        {"TOTAL PCB", "51", " Contiene PCB > 50 ppm!!!", 1, R::Naranja},
        {"Total", "0.1", " Contiene Furanos, implica deterioro del papel", 2, R::Amarillo},
        {"Aluminio", "0.5", " Contiene Metales (Aluminio), Sobrecalentamientos", 2, R::Amarillo},
        {"Hierro", "1", " Contiene Metales (Hierro), Sobrecalentamientos", 2, R::Amarillo},
        {"Cobre", "0.01", " Contiene Metales (Cobre), Sobrecalentamientos", 2, R::Amarillo},
        {"Sedimentos", "MEDIA", " Contiene Lodos en MEDIA Cantidad", 2, R::Naranja},
        {"Sedimentos", " ", "", 1, R::Normal},
        {"Sedimentos", "", "", 1, R::Normal},
    };
    for (const auto& [campo, texto, observacion, estado, color] : casos) {
        const EvaluacionEnsayo r = evaluarEnsayo(ensayo({{campo, texto}}));
        const std::string caso = std::string(campo) + " = '" + texto + "'";
        EXPECT_EQ(r.observaciones, lista(observacion)) << caso;
        EXPECT_EQ(r.estado, estado) << caso;
        EXPECT_EQ(r.cuenta, estado == Verde ? 0 : 1) << caso;
        // The box takes the rule's colour; every other box stays normal.
        for (auto it = r.resaltados.cbegin(); it != r.resaltados.cend(); ++it) {
            EXPECT_EQ(nombreResaltado(it.value()), nombreResaltado(it.key() == u(campo) ? color : R::Normal))
                << caso << ": " << it.key().toStdString();
        }
        EXPECT_TRUE(r.resaltados.contains(u(campo))) << caso;
    }
}

TEST(EvaluacionEnsayo, UntickedOrNullGroupsAreNotJudged)
{
    const Textos hallazgos = {{"Diel", "20"},         {"KFTMC_PPM", "150"}, {"%_Inhibidor", ""},
                              {"Sedimentos", "ALTA"}, {"Total", "10"},      {"Cobre", "10"},
                              {"TOTAL PCB", "100"}};
    EnsayoEnPantalla e = ensayo(hallazgos);
    e.grupos = {std::nullopt, false, std::nullopt, false, std::nullopt, false, true, false, std::nullopt};
    const EvaluacionEnsayo r = evaluarEnsayo(e);
    EXPECT_TRUE(r.observaciones.isEmpty()) << r.texto().toStdString();
    EXPECT_EQ(r.estado, Verde);
    EXPECT_EQ(r.cuenta, 0);
    // The inhibitor has its own flag, apart from the physico-chemical group.
    e.grupos.in = true;
    EXPECT_EQ(evaluarEnsayo(e).observaciones, lista(" Contenido de inhibidor nulo"));
}

TEST(EvaluacionEnsayo, GasRulesFollowTheGasRatioTable)
{
    // Each gas finding counts; high-energy discharges and the hottest fault are grave.
    const char* ambas = " Gases: Descargas Baja Energía| Gases: Descargas Alta Energía";
    const std::tuple<const char*, bool, bool, Gases, const char*, int> casos[] = {
        {"forzado", true, true, {18, 9, 6, 4, 0}, " Gases: Dudoso", 2},
        {"forzado con fallas", true, true, {150, 300, 100, 600, 30}, " Gases: Dudoso", 2},
        {"forzado sin GAS", false, true, {150, 300, 100, 600, 30}, "", 1},
        {"sin pantalla", true, false, {50, 100, 100, 20, 0}, "", 1},
        {"parciales", true, false, {2000, 150, 100, 10, 0}, " Gases: Descargas Parciales", 2},
        {"baja energía", true, false, {500, 150, 40, 60, 120}, " Gases: Descargas Baja Energía", 2},
        {"T<300", true, false, {150, 300, 120, 60, 0}, " Gases: Defecto T<300°C", 2},
        {"300-700", true, false, {150, 300, 100, 200, 5}, " Gases: Defecto 300°C < T < 700°C", 2},
        {"T>700", true, false, {150, 300, 100, 600, 30}, " Gases: Defecto T>700°C", 3},
        {"alta energía", true, false, {1000, 700, 100, 300, 300}, " Gases: Descargas Alta Energía", 3},
        {"baja y alta", true, false, {1000, 300, 100, 300, 600}, ambas, 3},
    };
    for (const auto& [nombre, gas, forzado, g, observaciones, estado] : casos) {
        EnsayoEnPantalla e = ensayo();
        e.grupos.gas = gas;
        e.grupos.fd = forzado;
        const char* campos[] = {"Hidrógeno", "Metano", "Etano", "Etileno", "Acetileno"};
        const double valores[] = {g.h2, g.ch4, g.c2h6, g.c2h4, g.c2h2};
        for (int i = 0; i < 5; ++i)
            e.textos[u(campos[i])] = textoDecimal(valores[i]);
        const EvaluacionEnsayo r = evaluarEnsayo(e);
        EXPECT_EQ(r.observaciones, lista(observaciones)) << nombre;
        EXPECT_EQ(r.estado, estado) << nombre;
        EXPECT_EQ(r.cuenta, lista(observaciones).size()) << nombre;
    }
}

TEST(EvaluacionEnsayo, RulesKeepTheirOrderAndTheLightNeverDrops)
{
    // From the last rule back to the first.
    const Textos hallazgos = {{"KFTMC_PPM", "150"}, {"Sedimentos", "ALTA"}, {"Acidez", "0.5"}, {"Diel", "20"},
                              {"TOTAL PCB", "60"},  {"Hierro", "2"},        {"Total", "3"},    {"TIF", "20"},
                              {"%_Inhibidor", "0"}, {"HumSol", "9"}};
    EnsayoEnPantalla e = ensayo(hallazgos);
    e.grupos.fd = true;
    const EvaluacionEnsayo r = evaluarEnsayo(e);
    EXPECT_EQ(r.texto(), u(" Gases: Dudoso\r\n Humedad en Sólidos\r\n Contenido de inhibidor nulo\r\n"
                           " Baja Tensión Interfacial\r\n Contiene Furanos, implica deterioro del papel\r\n"
                           " Contiene Metales (Hierro), Sobrecalentamientos\r\n Contiene PCB > 50 ppm!!!\r\n"
                           " Dieléctrico muy Bajo\r\n Acidez Muy Alta\r\n Contiene Lodos en ALTA Cantidad\r\n"
                           " Muy Alto Contenido de Agua\r\n"));
    EXPECT_EQ(r.cuenta, 10);
    EXPECT_EQ(r.estado, Rojo);

    // No current test: " Sin Ensayos", red, a count of six and every box normal.
    const EvaluacionEnsayo sin = evaluarSinEnsayo();
    EXPECT_EQ(sin.texto(), u(" Sin Ensayos\r\n"));
    EXPECT_EQ(sin.estado, Rojo);
    EXPECT_EQ(sin.cuenta, 6);
    EXPECT_EQ(sin.resaltados.size(), camposResaltados().size());
    EXPECT_EQ(sin.resaltados.values().count(Resaltado::Normal), sin.resaltados.size());
}

// A stored row as the tab shows it: values as plain decimal text, a Null value as an empty box,
// a Null sludge as the list's blank item and Null group flags kept Null. The tab reads boxes, not
// stored values: an empty inhibitor box is worth 0 and reported as null.
TEST(EvaluarEnsayoJson, ReportsWhatTheTestTabShows)
{
    const Valores valores = {{"FD", 0},           {"KF", {}},         {"Diel", 27.0},
                             {"%_Inhibidor", {}}, {"Sedimentos", {}}, {"Hidrógeno", 250.0},
                             {"Metano", 130.0},   {"Oxígeno", {}},    {"Nitrógeno", 1000.5},
                             {"Dióxido", 7.0},    {"TangDelta", 1e-7}};
    QVariantMap fila = mapa(valores);
    for (const char* grupo : {"EFQ", "IN", "LD", "GAS"})
        fila[u(grupo)] = 1;
    fila[u("Fecha")] = u("2024-03-05");
    const EnsayoEnPantalla e = ensayoEnPantalla(fila);
    const std::pair<const char*, const char*> cajas[] = {{"Diel", "27"},
                                                         {"Nitrógeno", "1000.5"},
                                                         {"Oxígeno", ""},
                                                         {"Sedimentos", " "},
                                                         {"TangDelta", "0.0000001"}};
    for (const auto& [campo, texto] : cajas)
        EXPECT_EQ(e.textos.value(u(campo)), u(texto)) << campo;
    EXPECT_EQ(e.grupos.gas, std::optional<bool>(true));
    EXPECT_EQ(e.grupos.fd, std::optional<bool>(false));
    EXPECT_FALSE(e.grupos.kf.has_value());

    const QJsonObject o = informeEvaluacion(42, fila);
    EXPECT_EQ(o.value(u("codigo")).toInt(), 42);
    EXPECT_EQ(o.value(u("fecha")).toString(), u("2024-03-05"));
    EXPECT_EQ(o.value(u("observaciones")).toVariant().toStringList(),
              lista(" Contenido de inhibidor nulo| Dieléctrico Bajo"));
    EXPECT_EQ(o.value(u("estado")).toInt(), 2);
    EXPECT_EQ(o.value(u("cuenta")).toInt(), 2);
    EXPECT_EQ(o.value(u("resaltados")).toObject(),
              (QJsonObject{{u("%_Inhibidor"), u("naranja")}, {u("Diel"), u("naranja")}}));
    const QJsonObject totales = o.value(u("totales")).toObject();
    EXPECT_DOUBLE_EQ(totales.value(u("Total Gas")).toDouble(), 250 + 130 + 1000.5 + 7);
    EXPECT_DOUBLE_EQ(totales.value(u("Total combustible")).toDouble(), 250 + 130);
    // H2 250 and CH4 130 pass the screen: the chart's point is C2H2/C2H4 (not computable,
    // clamped) across and CH4/H2 up.
    const QJsonObject d = o.value(u("dornenburg")).toObject();
    EXPECT_TRUE(d.value(u("aplica")).toBool());
    EXPECT_EQ(d.value(u("celdas")).toVariant().toStringList(), lista("<0,3|0.1-1.0|-|<0,3"));
    EXPECT_DOUBLE_EQ(d.value(u("ejeX")).toDouble(), 0.001);
    EXPECT_DOUBLE_EQ(d.value(u("ejeY")).toDouble(), 0.52);
    EXPECT_EQ(o.value(u("rogers")).toObject().value(u("razones")).toArray().size(), 4);
    EXPECT_EQ(o.value(u("relacion_gases")).toObject().value(u("razones")).toArray().size(), 3);

    // The gas group not ticked: no method applies, whatever the gases.
    fila[u("GAS")] = qlonglong(0);
    const QJsonObject sinGas = informeEvaluacion(42, fila);
    for (const char* m : {"dornenburg", "rogers", "relacion_gases"})
        EXPECT_FALSE(sinGas.value(u(m)).toObject().value(u("aplica")).toBool()) << m;

    // A transformer without tests: no date, no boxes coloured, no totals, no method applies.
    const QJsonObject sin = informeEvaluacion(7, std::nullopt);
    EXPECT_EQ(sin.value(u("observaciones")).toVariant().toStringList(), lista(" Sin Ensayos"));
    EXPECT_TRUE(sin.value(u("fecha")).isNull());
    EXPECT_TRUE(sin.value(u("resaltados")).toObject().isEmpty());
    EXPECT_TRUE(sin.value(u("totales")).toObject().value(u("Total Gas")).isNull());
    EXPECT_EQ(sin.value(u("dornenburg")).toObject().value(u("celdas")).toVariant().toStringList(),
              lista("-"));
}
