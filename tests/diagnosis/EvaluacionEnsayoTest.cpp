#include "diagnosis/logic/EvaluacionEnsayo.h"
#include "diagnosis/logic/DiagnosticoGeneral.h"
#include "diagnosis/logic/EvaluarEnsayoJson.h"
#include "diagnosis/logic/MetodosGas.h"
#include "diagnosis/logic/TextoPlano.h"
#include "diagnosis/logic/Totales.h"
#include "diagnosis/logic/ValorNumerico.h"
#include "tests/diagnosis/Lista.h"

#include <QLocale>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace diagnostico;

namespace {

using Textos = std::initializer_list<std::pair<const char*, const char*>>;

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

// A test with the gas group done: H2, CH4, C2H6, C2H4, C2H2 in ppm.
EnsayoGases conGases(Gases g, bool forzado = false, bool gas = true)
{
    return EnsayoGases{true, gas, forzado, g};
}

// Captions shown in one cell column of a method table, each once.
QStringList columna(const TablaMetodo& tabla, const Gases& g, int col)
{
    const ResultadoMetodo r = evaluarMetodo(tabla, conGases(g, true));
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
    const std::pair<double, const char*> decimales[] = {
        {0.1 + 0.2, "0.3"}, {2, "2"}, {1e20, "100000000000000000000"}, {1.5e-7, "0.00000015"}, {-0.0, "0"},
    };
    for (const auto& [valor, texto] : decimales)
        EXPECT_EQ(textoDecimal(valor), u(texto));
    QLocale::setDefault(antes);
}

TEST(Totales, SumsOfTheBoxesAndAPolarizationIndexOnlyFromTwoNonZeroReadings)
{
    TextosEnsayo t;
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
    // A polarization index needs both readings, neither of them zero, and has two decimals.
    const std::tuple<const char*, const char*, const char*> casos[] = {
        {"500", "1000", "2.00"},
        {"400", "500", "1.25"},
        {"3", "2", "0.67"},
        {"1000", "4.168", "0.00"},
        {"1", "7074.2810854597", "7074.28"},
        {"0.001", "99999.999", "99999999.00"},
        {"0", "1000", ""},
        {"", "1000", ""},
        {"500", "", ""},
        {"500", "0", ""},
        {"0.0", "10", ""},
        {"abc", "10", ""},
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
        // Another editor may write every accented letter as a named reference.
        {"<html><body><p>V&aacute;lvula &Ntilde;and&uacute;: 5&nbsp;&deg;C &ge; "
         "&euro;&#8364;</p></body></html>",
         "Válvula Ñandú: 5 °C ≥ €€"},
        {"<html><body><p>sin cerrar", "sin cerrar"},
        {"<html><body><p>corta <b", "corta "},
    };
    for (const auto& [memo, texto] : memos)
        EXPECT_EQ(textoPlano(u(memo)), u(texto)) << memo;
    // The summary upper-cases the letters, never the references.
    EXPECT_EQ(observacionesEnMayusculas(textoPlano(u("<html><body><p>v&aacute;lvula</p></body></html>"))),
              u("VÁLVULA"));
}

TEST(MetodosGas, ApplicabilityScreenIsStrict)
{
    // Each of the four conditions on and beside its limits (H2 200 and CH4 240 with C2H4 50 or C2H2
    // 35; H2 and C2H4 100; CH4 120 and C2H2 70); ethane takes no part.
    const std::pair<Gases, bool> casos[] = {
        {{250, 130, 0, 0, 0}, true},    {{200, 500, 0, 0, 0}, true}, {{200, 130, 0, 0, 0}, false},
        {{201, 120, 0, 50, 35}, false}, {{201, 0, 0, 51, 0}, true},  {{0, 241, 0, 0, 36}, true},
        {{0, 240, 0, 51, 0}, false},    {{101, 0, 0, 101, 0}, true}, {{100, 0, 0, 101, 0}, false},
        {{0, 0, 0, 100, 36}, false},    {{0, 121, 0, 0, 71}, true},  {{0, 0, 0, 50, 71}, false},
        {{0, 0, 5000, 0, 0}, false},
    };
    for (const auto& [g, aplica] : casos)
        EXPECT_EQ(pantallaAplicable(g), aplica) << g.h2 << " " << g.ch4 << " " << g.c2h4 << " " << g.c2h2;
}

TEST(Dornenburg, WorkedExampleEachFaultAndTestsNotJudged)
{
    // H2 250 and CH4 130: C2H4 and C2H2 are 0, so two ratios are not computable; 0 over CH4 is 0.
    EXPECT_EQ(evaluarDornenburg(conGases({250, 130, 0, 0, 0})).razones, (QList<double>{0.52, -1, -1, 0}));
    EXPECT_EQ(evaluarDornenburg(conGases({0, 0, 0, 0, 0}, true)).razones, (QList<double>{-1, -1, -1, -1}));
    // Whether the method applies and is forced, the cells and the chart point (C2H2/C2H4 across,
    // clamped up from -1, and CH4/H2 up): judged; forced with no gas at all; below the screen and
    // not forced; and, even forced, the gas group not tested or no current test.
    const std::tuple<EnsayoGases, bool, bool, const char*, std::optional<QPointF>> casos[] = {
        {conGases({250, 130, 0, 0, 0}), true, false, "<0,3|0.1-1.0|-|<0,3", QPointF(0.001, 0.52)},
        {conGases({0, 0, 0, 0, 0}, true), true, true, "-", QPointF(0.001, 0.001)},
        {conGases({90, 100, 10, 10, 0}), false, false, "-", std::nullopt},
        {conGases({250, 130, 0, 0, 0}, true, false), false, false, "-", std::nullopt},
        {EnsayoGases{false, true, true, {250, 130}}, false, false, "-", std::nullopt}};
    for (const auto& [e, aplica, forzado, celdas, punto] : casos) {
        const ResultadoDornenburg r = evaluarDornenburg(e);
        EXPECT_EQ(std::tuple(r.aplica, r.forzado, r.celdas, r.punto),
                  std::tuple(aplica, forzado, lista(celdas), punto))
            << celdas;
        EXPECT_TRUE(r.fallos.isEmpty());
    }
    const std::pair<Gases, const char*> fallos[] = {
        {{150, 300, 100, 600, 30}, "Descomposición Térmica"},
        {{500, 150, 40, 60, 120}, "Descargas Eléctricas Excepto Corona"},
        {{2000, 150, 100, 10, 1}, "Efecto Corona"}};
    for (const auto& [g, fallo] : fallos)
        EXPECT_EQ(evaluarDornenburg(conGases(g)).fallos, lista(fallo));
    // Each ratio on its bound (1.0 and 0.1, 0.75, 0.4, 0.3) and just beside it.
    const CasoColumna limites[] = {
        {{1000, 1000, 0, 0, 0}, 0, "0.1-1.0"},    {{1000, 100, 0, 0, 0}, 0, "0.1-1.0"},
        {{1000, 1001, 0, 0, 0}, 0, ">1,0"},       {{1000, 99, 0, 0, 0}, 0, "<0.1"},
        {{1000, 200, 0, 400, 300}, 1, "-"},       {{1000, 200, 0, 400, 299}, 1, "<0,75|-"},
        {{1000, 200, 0, 400, 301}, 1, ">0,75|-"}, {{1000, 200, 40, 400, 100}, 2, ""},
        {{1000, 200, 41, 400, 100}, 2, ">0,4"},   {{1000, 200, 39, 400, 100}, 2, "<0,4"},
        {{1000, 1000, 0, 400, 300}, 3, ""},       {{1000, 1000, 0, 400, 301}, 3, ">0,3"},
        {{1000, 1000, 0, 400, 299}, 3, "<0,3"}};
    for (const auto& [g, col, celdas] : limites)
        EXPECT_EQ(columna(tablaDornenburg(), g, col), lista(celdas)) << col << " " << g.c2h2;
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
        EXPECT_EQ(evaluarRogers(conGases(gases, true)).fallos, lista(fallos)) << fallos;
    // CH4/H2 exactly 1 meets "=<1,0" and ">=1,0" but no "<1,0"; C2H6/CH4 0.5 meets "<1,0" only.
    EXPECT_EQ(columna(tablaRogers(), {1000, 1000, 500, 250, 50}, 0), lista(">0,1|>=1,0"));
    EXPECT_EQ(columna(tablaRogers(), {1000, 1000, 500, 250, 50}, 1), lista("=<1,0|<3,0"));
}

TEST(RelacionGases, BoundsOfTheCells)
{
    // C2H2/C2H4 (column 0) at 0, 2.5, 1.0, 0.6 and 0.1; CH4/H2 (1) at 0.1, 0.5 and 1.0, and with no
    // H2; C2H4/C2H6 (2) at 1, 4, 2 and 0.2; each bound with a value just beside it.
    const CasoColumna casos[] = {{{1000, 300, 100, 100, 0}, 0, "<0,01|<0,1|<0,2"},
                                 {{1000, 300, 100, 100, 250}, 0, ">1|0.6-2.5"},
                                 {{1000, 300, 100, 100, 251}, 0, ">1"},
                                 {{1000, 300, 100, 100, 100}, 0, "0.6-2.5"},
                                 {{1000, 300, 100, 100, 60}, 0, "0.6-2.5"},
                                 {{1000, 300, 100, 100, 59}, 0, ""},
                                 {{1000, 300, 100, 100, 10}, 0, "<0,2"},
                                 {{1000, 100, 100, 100, 0}, 1, "0.1-0.5|0.1-1.0"},
                                 {{1000, 99, 100, 100, 0}, 1, "<0,1"},
                                 {{1000, 500, 100, 100, 0}, 1, "0.1-0.5|0.1-1.0"},
                                 {{1000, 1000, 100, 100, 0}, 1, "0.1-1.0"},
                                 {{1000, 1001, 100, 100, 0}, 1, ">1"},
                                 {{0, 1000, 100, 100, 0}, 1, ""},
                                 {{1000, 300, 100, 100, 0}, 2, "1.0-4.0"},
                                 {{1000, 300, 100, 400, 0}, 2, ">1|>2|1.0-4.0"},
                                 {{1000, 300, 100, 200, 0}, 2, ">1|1.0-4.0"},
                                 {{1000, 300, 100, 201, 0}, 2, ">1|>2|1.0-4.0"},
                                 {{1000, 300, 100, 401, 0}, 2, ">1|>2|>4"},
                                 {{1000, 300, 100, 19, 0}, 2, "<0,2|<1"},
                                 {{1000, 300, 100, 20, 0}, 2, "<1"}};
    for (const auto& [g, col, celdas] : casos)
        EXPECT_EQ(columna(tablaRelacionGases(), g, col), lista(celdas))
            << col << " " << g.c2h2 << " " << g.ch4 << " " << g.c2h4;
}

TEST(EvaluacionEnsayo, ThresholdsOneBoxAtATime)
{
    using R = Resaltado;
    // Every finding but the PCB one counts once and turns the light yellow (2) or, grave, red (3).
    const std::tuple<const char*, const char*, const char*, int, Resaltado> casos[] = {
        {"Diel", "25", " Dieléctrico Bajo", 2, R::Naranja},
        {"Diel", "24.9", " Dieléctrico muy Bajo", 3, R::Naranja},
        {"Diel", "30", "", 1, R::Normal},
        {"Diel", "0", "", 1, R::Normal},
        {"Acidez", "0.1", "", 1, R::Normal},
        {"Acidez", "0.3", " Acidez Alta", 2, R::Amarillo},
        {"Acidez", "0.31", " Acidez Muy Alta", 3, R::Naranja},
        {"TIF", "26", "", 1, R::Normal},
        {"TIF", "0", "", 1, R::Normal},
        {"TIF", "25.9", " Baja Tensión Interfacial", 2, R::Naranja},
        {"HumSol", "5", "", 1, R::Normal},
        {"HumSol", "5.01", " Humedad en Sólidos", 2, R::Naranja},
        {"TangDelta", "40", "", 1, R::Normal},
        {"TangDelta", "40.5", " Tangente Delta Alta", 2, R::Naranja},
        {"KFTMC_PPM", "24.9", "", 1, R::Normal},
        {"KFTMC_PPM", "25", " Alto Contenido de Agua", 2, R::Amarillo},
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
        SCOPED_TRACE(std::string(campo) + " = '" + texto + "'");
        const EvaluacionEnsayo r = evaluarEnsayo(ensayo({{campo, texto}}));
        EXPECT_EQ(r.observaciones, lista(observacion));
        EXPECT_EQ(r.estado, estado);
        EXPECT_EQ(r.cuenta, estado == Verde ? 0 : 1);
        // The box takes the rule's colour; every other box stays normal.
        EXPECT_TRUE(r.resaltados.contains(u(campo)));
        for (auto it = r.resaltados.cbegin(); it != r.resaltados.cend(); ++it)
            EXPECT_EQ(nombreResaltado(it.value()), nombreResaltado(it.key() == u(campo) ? color : R::Normal))
                << it.key().toStdString();
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
    // Each gas finding counts; high-energy discharges and the hottest fault are grave. A gas above
    // its typical level adds its own warning after them, forced or not.
    const QString ambas = u(" Gases: Descargas Baja Energía| Gases: Descargas Alta Energía");
    const QString alto = u("| Gases: Concentración elevada (IEEE C57.104-2019)");
    const std::tuple<const char*, bool, bool, Gases, QString, int> casos[] = {
        {"forzado", true, true, {18, 9, 6, 4, 0}, u(" Gases: Dudoso"), 2},
        {"forzado con fallas", true, true, {150, 300, 100, 600, 30}, u(" Gases: Dudoso") + alto, 2},
        {"forzado sin GAS", false, true, {150, 300, 100, 600, 30}, u(""), 1},
        {"sin pantalla, niveles típicos", true, false, {40, 20, 15, 50, 2}, u(""), 1},
        {"sin pantalla, metano alto", true, false, {40, 51, 15, 50, 2}, alto.mid(1), 2},
        {"parciales", true, false, {2000, 150, 100, 10, 0}, u(" Gases: Descargas Parciales") + alto, 2},
        {"baja energía", true, false, {500, 150, 40, 60, 120}, u(" Gases: Descargas Baja Energía") + alto, 2},
        {"T<300", true, false, {150, 300, 120, 60, 0}, u(" Gases: Defecto T<300°C") + alto, 2},
        {"300-700", true, false, {150, 300, 100, 200, 5}, u(" Gases: Defecto 300°C < T < 700°C") + alto, 2},
        {"T>700", true, false, {150, 300, 100, 600, 30}, u(" Gases: Defecto T>700°C") + alto, 3},
        {"alta energía",
         true,
         false,
         {1000, 700, 100, 300, 300},
         u(" Gases: Descargas Alta Energía") + alto,
         3},
        {"baja y alta", true, false, {1000, 300, 100, 300, 600}, ambas + alto, 3},
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
        const QStringList esperadas =
            observaciones.isEmpty() ? QStringList() : observaciones.split(QLatin1Char('|'));
        EXPECT_EQ(r.observaciones, esperadas) << nombre;
        EXPECT_EQ(r.estado, estado) << nombre;
        EXPECT_EQ(r.cuenta, esperadas.size()) << nombre;
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
    EXPECT_EQ(std::tuple(sin.texto(), sin.estado, sin.cuenta), std::tuple(u(" Sin Ensayos\r\n"), Rojo, 6));
    EXPECT_EQ(sin.resaltados.values().count(Resaltado::Normal), camposResaltados().size());
}

// A stored row as the tab shows it: values as plain decimal text, a Null value as an empty box,
// a Null sludge as the list's blank item and Null group flags kept Null. The tab reads boxes, not
// stored values: an empty inhibitor box is worth 0 and reported as null.
TEST(EvaluarEnsayoJson, ReportsWhatTheTestTabShows)
{
    const std::pair<const char*, QVariant> valores[] = {
        {"FD", 0},           {"KF", {}},          {"Diel", 27.0},
        {"%_Inhibidor", {}}, {"Sedimentos", {}},  {"Hidrógeno", 250.0},
        {"Metano", 130.0},   {"Oxígeno", {}},     {"Nitrógeno", 1000.5},
        {"Dióxido", 7.0},    {"TangDelta", 1e-7}, {"EFQ", 1},
        {"IN", 1},           {"LD", 1},           {"GAS", 1},
    };
    QVariantMap fila{{u("Fecha"), u("2024-03-05")}};
    for (const auto& [campo, valor] : valores)
        fila[u(campo)] = valor;
    const EnsayoEnPantalla e = ensayoEnPantalla(fila);
    const Textos cajas = {
        {"Diel", "27"},      {"Nitrógeno", "1000.5"},    {"Oxígeno", ""},
        {"Sedimentos", " "}, {"TangDelta", "0.0000001"},
    };
    for (const auto& [campo, texto] : cajas)
        EXPECT_EQ(e.textos.value(u(campo)), u(texto)) << campo;
    EXPECT_EQ(std::tuple(e.grupos.gas, e.grupos.fd, e.grupos.kf),
              std::tuple(std::optional(true), std::optional(false), std::optional<bool>()));
    const QJsonObject o = informeEvaluacion(42, fila, u("2000"));
    EXPECT_EQ(o.value(u("codigo")).toInt(), 42);
    EXPECT_EQ(o.value(u("observaciones")).toVariant().toStringList(),
              lista(" Gases: Concentración elevada (IEEE C57.104-2019)| Contenido de inhibidor nulo|"
                    " Dieléctrico Bajo"));
    EXPECT_EQ(o.value(u("cuenta")).toInt(), 3);
    // Only the measured gases have a level; no oxygen reads as free-breathing; 24 years old.
    EXPECT_EQ(o.value(u("ieee")).toObject(),
              (QJsonObject{{u("estado"), 3},
                           {u("gases"), QJsonObject{{u("H2"), 3}, {u("CH4"), 3}, {u("CO2"), 1}}},
                           {u("columna"), u("O2/N2>0.2")},
                           {u("edad"), 24}}));
    // CH4 alone of the triangle's gases; H2 and CH4 on the pentagon, whose axes are not neighbours.
    EXPECT_EQ(o.value(u("duval_triangulo")).toObject(),
              (QJsonObject{{u("zona"), u("PD")}, {u("ch4"), 100}, {u("c2h4"), 0}, {u("c2h2"), 0}}));
    const QJsonObject pentagono = o.value(u("duval_pentagono")).toObject();
    EXPECT_EQ(pentagono.value(u("zona")).toString(), u("S"));
    EXPECT_NEAR(pentagono.value(u("x")).toDouble(), -2.293, 1e-3);
    EXPECT_NEAR(pentagono.value(u("y")).toDouble(), 11.271, 1e-3);
    EXPECT_EQ(o.value(u("resaltados")).toObject(),
              (QJsonObject{{u("%_Inhibidor"), u("naranja")}, {u("Diel"), u("naranja")}}));
    const QJsonObject totales = o.value(u("totales")).toObject();
    EXPECT_DOUBLE_EQ(totales.value(u("Total Gas")).toDouble(), 250 + 130 + 1000.5 + 7);
    EXPECT_DOUBLE_EQ(totales.value(u("Total combustible")).toDouble(), 250 + 130);
    // H2 250 and CH4 130 pass the screen: the chart's point is C2H2/C2H4 (not computable,
    // clamped) across and CH4/H2 up.
    const QJsonObject d = o.value(u("dornenburg")).toObject();
    EXPECT_TRUE(d.value(u("aplica")).toBool());
    EXPECT_EQ(QPointF(d.value(u("ejeX")).toDouble(), d.value(u("ejeY")).toDouble()), QPointF(0.001, 0.52));
    // The gas group not ticked: no method applies, whatever the gases.
    fila[u("GAS")] = qlonglong(0);
    const QJsonObject sinGas = informeEvaluacion(42, fila);
    for (const char* m : {"dornenburg", "rogers", "relacion_gases"})
        EXPECT_FALSE(sinGas.value(u(m)).toObject().value(u("aplica")).toBool()) << m;
    EXPECT_EQ(sinGas.value(u("ieee")).toObject().value(u("estado")).toInt(-1), 0);
    EXPECT_TRUE(sinGas.value(u("ieee")).toObject().value(u("edad")).isNull()) << "no year of manufacture";
    for (const char* m : {"duval_triangulo", "duval_pentagono"})
        EXPECT_TRUE(sinGas.value(u(m)).toObject().value(u("zona")).isNull()) << m;
    // A transformer without tests: no date, no boxes coloured, no totals, no method applies.
    const QJsonObject sin = informeEvaluacion(7, std::nullopt);
    EXPECT_EQ(sin.value(u("observaciones")).toVariant().toStringList(), lista(" Sin Ensayos"));
    EXPECT_TRUE(sin.value(u("fecha")).isNull());
    EXPECT_TRUE(sin.value(u("resaltados")).toObject().isEmpty());
    EXPECT_TRUE(sin.value(u("totales")).toObject().value(u("Total Gas")).isNull());
    EXPECT_EQ(sin.value(u("dornenburg")).toObject().value(u("celdas")).toVariant().toStringList(),
              lista("-"));
}
