#include "diagnosis/logic/EvaluacionEnsayo.h"
#include "diagnosis/logic/ValorNumerico.h"

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

// A test with every group done and every value within limits, as the tab would show it.
EnsayoEnPantalla normal()
{
    EnsayoEnPantalla e;
    const char* valores[][2] = {
        {"HumSol", "1.8"},
        {"Acidez", "0.03"},
        {"%_Inhibidor", "2.1"},
        {"Diel", "58"},
        {"TIF", "38"},
        {"TangDelta", "8"},
        {"Total", "0"},
        {"Aluminio", "0"},
        {"Hierro", "0"},
        {"Cobre", "0"},
        {"KFTMC_PPM", "12"},
        {"TOTAL PCB", "0"},
        {"Sedimentos", "NO CONTIENE"},
        {"Hidrógeno", "18"},
        {"Metano", "9"},
        {"Etano", "6"},
        {"Etileno", "4"},
        {"Acetileno", "0"},
    };
    for (const auto& v : valores)
        e.textos[u(v[0])] = u(v[1]);
    e.grupos = {true, true, true, true, true, true, false, true, true};
    return e;
}

struct Caso
{
    const char* nombre;
    std::initializer_list<std::pair<const char*, const char*>> textos;
    QStringList observaciones;
    int estado;
    int cuenta;
    const char* campo; // box whose colour is checked, or nullptr
    Resaltado color = Resaltado::Normal;
};

void comprobar(const Caso& c, const EnsayoEnPantalla& e)
{
    const EvaluacionEnsayo r = evaluarEnsayo(e);
    EXPECT_EQ(r.observaciones, c.observaciones) << c.nombre;
    EXPECT_EQ(r.estado, c.estado) << c.nombre;
    EXPECT_EQ(r.cuenta, c.cuenta) << c.nombre;
    if (c.campo) {
        EXPECT_EQ(nombreResaltado(r.resaltados.value(u(c.campo))), nombreResaltado(c.color)) << c.nombre;
    }
    // Every other box stays normal.
    for (auto it = r.resaltados.cbegin(); it != r.resaltados.cend(); ++it)
        if (!c.campo || it.key() != u(c.campo)) {
            EXPECT_EQ(it.value(), Resaltado::Normal) << c.nombre << " " << it.key().toStdString();
        }
}

} // namespace

TEST(EvaluacionEnsayo, ThresholdsOneBoxAtATime)
{
    using R = Resaltado;
    const Caso casos[] = {
        {"normal", {}, {}, 1, 0, nullptr},
        {"Diel 25", {{"Diel", "25"}}, lista({" Dieléctrico Bajo"}), 2, 1, "Diel", R::Naranja},
        {"Diel 29.9", {{"Diel", "29.9"}}, lista({" Dieléctrico Bajo"}), 2, 1, "Diel", R::Naranja},
        {"Diel 24.9", {{"Diel", "24.9"}}, lista({" Dieléctrico muy Bajo"}), 3, 1, "Diel", R::Naranja},
        {"Diel 30", {{"Diel", "30"}}, {}, 1, 0, "Diel"},
        {"Diel vacío", {{"Diel", ""}}, {}, 1, 0, "Diel"},
        {"Diel 0", {{"Diel", "0"}}, {}, 1, 0, "Diel"},
        {"Acidez 0.1", {{"Acidez", "0.1"}}, {}, 1, 0, "Acidez"},
        {"Acidez 0.3", {{"Acidez", "0.3"}}, lista({" Acidez Alta"}), 2, 1, "Acidez", R::Amarillo},
        {"Acidez 0.31", {{"Acidez", "0.31"}}, lista({" Acidez Muy Alta"}), 3, 1, "Acidez", R::Naranja},
        {"TIF 26", {{"TIF", "26"}}, {}, 1, 0, "TIF"},
        {"TIF 0", {{"TIF", "0"}}, {}, 1, 0, "TIF"},
        {"TIF 25.9", {{"TIF", "25.9"}}, lista({" Baja Tensión Interfacial"}), 2, 1, "TIF", R::Naranja},
        {"HumSol 5", {{"HumSol", "5"}}, {}, 1, 0, "HumSol"},
        {"HumSol 5.01", {{"HumSol", "5.01"}}, lista({" Humedad en Sólidos"}), 2, 1, "HumSol", R::Naranja},
        {"TangDelta 40", {{"TangDelta", "40"}}, {}, 1, 0, "TangDelta"},
        {"TangDelta 40.5",
         {{"TangDelta", "40.5"}},
         lista({" Tangente Delta Alta"}),
         2,
         1,
         "TangDelta",
         R::Naranja},
        {"KF 24.9", {{"KFTMC_PPM", "24.9"}}, {}, 1, 0, "KFTMC_PPM"},
        {"KF 25", {{"KFTMC_PPM", "25"}}, lista({" Alto Contenido de Agua"}), 2, 1, "KFTMC_PPM", R::Amarillo},
        {"KF 99.9",
         {{"KFTMC_PPM", "99.9"}},
         lista({" Alto Contenido de Agua"}),
         2,
         1,
         "KFTMC_PPM",
         R::Amarillo},
        {"KF 100",
         {{"KFTMC_PPM", "100"}},
         lista({" Muy Alto Contenido de Agua"}),
         3,
         1,
         "KFTMC_PPM",
         R::Naranja},
        {"Inhibidor vacío",
         {{"%_Inhibidor", ""}},
         lista({" Contenido de inhibidor nulo"}),
         2,
         1,
         "%_Inhibidor",
         R::Naranja},
        {"Inhibidor 0.49",
         {{"%_Inhibidor", "0.49"}},
         lista({" Bajo contenido de inhibidor"}),
         2,
         1,
         "%_Inhibidor",
         R::Amarillo},
        {"Inhibidor 0.5", {{"%_Inhibidor", "0.5"}}, {}, 1, 0, "%_Inhibidor"},
        {"Inhibidor 4", {{"%_Inhibidor", "4"}}, {}, 1, 0, "%_Inhibidor"},
        {"Inhibidor 4.1",
         {{"%_Inhibidor", "4.1"}},
         lista({" Alto contenido de inhibidor"}),
         2,
         1,
         "%_Inhibidor",
         R::Amarillo},
        {"PCB 50", {{"TOTAL PCB", "50"}}, {}, 1, 0, "TOTAL PCB"},
        {"PCB 51",
         {{"TOTAL PCB", "51"}},
         lista({" Contiene PCB > 50 ppm!!!"}),
         1,
         0,
         "TOTAL PCB",
         R::Naranja},
        {"PCB 20", {{"TOTAL PCB", "20"}}, {}, 1, 0, "TOTAL PCB"},
        {"Furanos",
         {{"Total", "0.1"}},
         lista({" Contiene Furanos, implica deterioro del papel"}),
         2,
         1,
         "Total",
         R::Amarillo},
        {"Aluminio",
         {{"Aluminio", "0.5"}},
         lista({" Contiene Metales (Aluminio), Sobrecalentamientos"}),
         2,
         1,
         "Aluminio",
         R::Amarillo},
        {"Hierro",
         {{"Hierro", "1"}},
         lista({" Contiene Metales (Hierro), Sobrecalentamientos"}),
         2,
         1,
         "Hierro",
         R::Amarillo},
        {"Cobre",
         {{"Cobre", "0.01"}},
         lista({" Contiene Metales (Cobre), Sobrecalentamientos"}),
         2,
         1,
         "Cobre",
         R::Amarillo},
        {"Lodos",
         {{"Sedimentos", "MEDIA"}},
         lista({" Contiene Lodos en MEDIA Cantidad"}),
         2,
         1,
         "Sedimentos",
         R::Naranja},
        {"Lodos en blanco", {{"Sedimentos", " "}}, {}, 1, 0, "Sedimentos"},
        {"Lodos nulos", {{"Sedimentos", ""}}, {}, 1, 0, "Sedimentos"},
        {"Coma decimal", {{"Acidez", "0,5"}}, {}, 1, 0, "Acidez"},
    };
    for (const Caso& c : casos) {
        EnsayoEnPantalla e = normal();
        for (const auto& [campo, texto] : c.textos)
            e.textos[u(campo)] = u(texto);
        comprobar(c, e);
    }
}

TEST(EvaluacionEnsayo, UntickedOrNullGroupsAreNotJudged)
{
    EnsayoEnPantalla e = normal();
    e.textos[u("Diel")] = u("20");
    e.textos[u("KFTMC_PPM")] = u("150");
    e.textos[u("%_Inhibidor")] = u("");
    e.textos[u("Sedimentos")] = u("ALTA");
    e.textos[u("Total")] = u("10");
    e.textos[u("Cobre")] = u("10");
    e.textos[u("TOTAL PCB")] = u("100");
    e.grupos = {std::nullopt, false, std::nullopt, false, std::nullopt, false, true, false, std::nullopt};
    const EvaluacionEnsayo r = evaluarEnsayo(e);
    EXPECT_TRUE(r.observaciones.isEmpty()) << r.texto().toStdString();
    EXPECT_EQ(r.estado, Verde);
    EXPECT_EQ(r.cuenta, 0);

    // The inhibitor has its own flag, apart from the physico-chemical group.
    e.grupos.in = true;
    EXPECT_EQ(evaluarEnsayo(e).observaciones, lista({" Contenido de inhibidor nulo"}));
}

TEST(EvaluacionEnsayo, GasRules)
{
    const struct
    {
        const char* nombre;
        bool gas;
        bool forzado;
        double h2, ch4, c2h6, c2h4, c2h2;
        QStringList observaciones;
        int estado;
        int cuenta;
    } casos[] = {
        {"forzado", true, true, 18, 9, 6, 4, 0, lista({" Gases: Dudoso"}), 2, 1},
        {"forzado con fallas", true, true, 150, 300, 100, 600, 30, lista({" Gases: Dudoso"}), 2, 1},
        {"forzado sin GAS", false, true, 150, 300, 100, 600, 30, {}, 1, 0},
        {"sin pantalla", true, false, 50, 100, 100, 20, 0, {}, 1, 0},
        {"parciales", true, false, 2000, 150, 100, 10, 0, lista({" Gases: Descargas Parciales"}), 2, 1},
        {"baja energía", true, false, 500, 150, 40, 60, 120, lista({" Gases: Descargas Baja Energía"}), 2, 1},
        {"T<300", true, false, 150, 300, 120, 60, 0, lista({" Gases: Defecto T<300°C"}), 2, 1},
        {"300-700", true, false, 150, 300, 100, 200, 5, lista({" Gases: Defecto 300°C < T < 700°C"}), 2, 1},
        {"T>700", true, false, 150, 300, 100, 600, 30, lista({" Gases: Defecto T>700°C"}), 3, 1},
        {"alta energía", true, false, 1000, 700, 100, 300, 300, lista({" Gases: Descargas Alta Energía"}), 3,
         1},
        {"baja y alta", true, false, 1000, 300, 100, 300, 600,
         lista({" Gases: Descargas Baja Energía", " Gases: Descargas Alta Energía"}), 3, 2},
    };
    for (const auto& c : casos) {
        EnsayoEnPantalla e = normal();
        e.grupos.gas = c.gas;
        e.grupos.fd = c.forzado;
        e.textos[u("Hidrógeno")] = textoDecimal(c.h2);
        e.textos[u("Metano")] = textoDecimal(c.ch4);
        e.textos[u("Etano")] = textoDecimal(c.c2h6);
        e.textos[u("Etileno")] = textoDecimal(c.c2h4);
        e.textos[u("Acetileno")] = textoDecimal(c.c2h2);
        const EvaluacionEnsayo r = evaluarEnsayo(e);
        EXPECT_EQ(r.observaciones, c.observaciones) << c.nombre;
        EXPECT_EQ(r.estado, c.estado) << c.nombre;
        EXPECT_EQ(r.cuenta, c.cuenta) << c.nombre;
    }
}

TEST(EvaluacionEnsayo, RulesKeepTheirOrderAndTheLightNeverDrops)
{
    EnsayoEnPantalla e = normal();
    e.textos[u("KFTMC_PPM")] = u("150");   // rule 25, grave, last
    e.textos[u("Sedimentos")] = u("ALTA"); // rule 24
    e.textos[u("Acidez")] = u("0.5");      // rule 23
    e.textos[u("Diel")] = u("20");         // rule 22
    e.textos[u("TOTAL PCB")] = u("60");    // rule 21
    e.textos[u("Hierro")] = u("2");        // rule 18
    e.textos[u("Total")] = u("3");         // rule 16
    e.textos[u("TIF")] = u("20");          // rule 14
    e.textos[u("%_Inhibidor")] = u("0");   // rule 10
    e.textos[u("HumSol")] = u("9");        // rule 8
    e.grupos.fd = true;                    // rule 1
    const EvaluacionEnsayo r = evaluarEnsayo(e);
    EXPECT_EQ(r.observaciones,
              lista({" Gases: Dudoso", " Humedad en Sólidos", " Contenido de inhibidor nulo",
                     " Baja Tensión Interfacial", " Contiene Furanos, implica deterioro del papel",
                     " Contiene Metales (Hierro), Sobrecalentamientos", " Contiene PCB > 50 ppm!!!",
                     " Dieléctrico muy Bajo", " Acidez Muy Alta", " Contiene Lodos en ALTA Cantidad",
                     " Muy Alto Contenido de Agua"}));
    EXPECT_EQ(r.cuenta, 10);
    EXPECT_EQ(r.estado, Rojo);
    EXPECT_TRUE(r.grave);
    EXPECT_TRUE(r.texto().startsWith(u(" Gases: Dudoso\r\n Humedad en Sólidos\r\n")));
    EXPECT_TRUE(r.texto().endsWith(u(" Muy Alto Contenido de Agua\r\n")));
    EXPECT_EQ(r.texto().count(u("\r\n")), 11);

    // A single grave finding ends red with a count of one.
    e = normal();
    e.textos[u("Diel")] = u("20");
    const EvaluacionEnsayo solo = evaluarEnsayo(e);
    EXPECT_EQ(solo.estado, Rojo);
    EXPECT_EQ(solo.cuenta, 1);
    EXPECT_EQ(solo.texto(), u(" Dieléctrico muy Bajo\r\n"));
}

TEST(EvaluacionEnsayo, NoCurrentTest)
{
    const EvaluacionEnsayo r = evaluarSinEnsayo();
    EXPECT_EQ(r.observaciones, lista({" Sin Ensayos"}));
    EXPECT_EQ(r.texto(), u(" Sin Ensayos\r\n"));
    EXPECT_EQ(r.estado, Rojo);
    EXPECT_EQ(r.cuenta, 6);
    EXPECT_EQ(r.resaltados.size(), camposResaltados().size());
}
