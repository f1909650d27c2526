#include "diagnosis/logic/DiagnosticoGeneral.h"

#include <QDate>
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

const char* kGrupos[] = {"EFQ", "KF", "FUR", "MET", "PCB", "GAS", "LD", "IN"};

// A stored test with every group done and every value within limits.
QVariantMap normal(const QDate& fecha)
{
    QVariantMap t;
    t[u("Fecha")] = fecha.toString(Qt::ISODate);
    t[u("Observaciones")] = u("Sin novedades.");
    for (const char* g : kGrupos)
        t[u(g)] = qlonglong(1);
    t[u("FD")] = qlonglong(0);
    const std::pair<const char*, double> valores[] = {
        {"HumSol", 1.8},   {"Acidez", 0.03}, {"%_Inhibidor", 2.1}, {"Diel", 58},  {"TIF", 38},
        {"TangDelta", 8},  {"Total", 0},     {"Aluminio", 0},      {"Hierro", 0}, {"Cobre", 0},
        {"KFTMC_PPM", 12}, {"TOTAL PCB", 0}, {"Hidrógeno", 18},    {"Metano", 9}, {"Etano", 6},
        {"Etileno", 4},    {"Acetileno", 0},
    };
    for (const auto& [campo, v] : valores)
        t[u(campo)] = v;
    t[u("Sedimentos")] = u("NO CONTIENE");
    return t;
}

// A test where only the named groups were done.
QVariantMap solo(const QDate& fecha, std::initializer_list<const char*> grupos)
{
    QVariantMap t = normal(fecha);
    for (const char* g : kGrupos)
        t[u(g)] = qlonglong(0);
    for (const char* g : grupos)
        t[u(g)] = qlonglong(1);
    return t;
}

QString lineas(const QStringList& l, bool normal = false)
{
    QString t;
    for (const QString& s : l)
        t += s + u("\r\n");
    return normal ? t + u(" Estado Normal") : t;
}

const QStringList kNotasSinEfq =
    lista({" No se Realizaron Ensayos De Furanos", " No se Realizaron Ensayos De Metales",
           " No se Realizaron Ensayos De Humedad en Sólidos", " No se Realizaron Ensayos De PCB",
           " No se Realizaron Ensayos De Lodos", " No se Realizaron Ensayos De Inhibidor"});

TrafoADiagnosticar trafo(const QVariant& aceite, QList<QVariantMap> ensayos, QVariant manual = false)
{
    return {aceite, manual, ensayos};
}

} // namespace

TEST(DiagnosticoGeneral, EachGroupIsJudgedOnTheNewestTestThatHasIt)
{
    QVariantMap gas = solo(QDate(2026, 5, 1), {"GAS"});
    QVariantMap viejo = solo(QDate(2025, 5, 1), {"EFQ"});
    viejo[u("Diel")] = 20.0;
    DiagnosticoTrafo d = diagnosticarTrafo(trafo(u("ACT.YPF 64"), {gas, viejo}));
    const QStringList esperadas = QStringList{u(" Dieléctrico muy Bajo")} + kNotasSinEfq;
    EXPECT_EQ(d.observaciones, esperadas);
    EXPECT_EQ(d.diagnostico, lineas(esperadas));
    EXPECT_EQ(d.estado, 3);
    EXPECT_EQ(d.cuenta, 1);
    EXPECT_TRUE(d.escribirEstado);

    // A newer physico-chemical test hides the older low dielectric.
    QVariantMap nuevo = solo(QDate(2026, 9, 1), {"EFQ"});
    nuevo[u("Diel")] = 45.0;
    d = diagnosticarTrafo(trafo(u("ACT.YPF 64"), {nuevo, gas, viejo}));
    EXPECT_EQ(d.diagnostico, lineas(kNotasSinEfq, true));
    EXPECT_EQ(d.estado, 1);
    EXPECT_EQ(d.cuenta, 0);
}

TEST(DiagnosticoGeneral, TransformersWithoutTests)
{
    const struct
    {
        const char* nombre;
        QVariant aceite;
        QString diagnostico;
        int estado;
        int cuenta;
    } casos[] = {
        {"aceite", u("ACT.YPF 64"), u(" Sin Ensayos\r\n"), 3, 6},
        {"seco", u("SECO"), u(" Sin Ensayos\r\n"), 3, 6},
        {"nulo", QVariant(), u(" Estado Normal"), 1, 0},
        {"en blanco", u(""), u(" Estado Normal"), 1, 0},
        {"pcb", u("PCB"),
         lineas(lista({" No se Realizaron Ensayos De Gases", " No se Realizaron Ensayos Físico/Químicos",
                       " No se Realizaron Ensayos De Furanos", " No se Realizaron Ensayos De Metales",
                       " No se Realizaron Ensayos De Humedad en Sólidos"}),
                true),
         1, 0},
    };
    for (const auto& c : casos) {
        const DiagnosticoTrafo d = diagnosticarTrafo(trafo(c.aceite, {}));
        EXPECT_EQ(d.diagnostico, c.diagnostico) << c.nombre;
        EXPECT_EQ(d.estado, c.estado) << c.nombre;
        EXPECT_EQ(d.cuenta, c.cuenta) << c.nombre;
        EXPECT_TRUE(d.resumenObs.isEmpty()) << c.nombre;
    }
}

TEST(DiagnosticoGeneral, NotesDependOnTheOil)
{
    // Dry transformers never get notes, even without a gas test.
    DiagnosticoTrafo d = diagnosticarTrafo(trafo(u("SECO"), {solo(QDate(2026, 1, 1), {"EFQ"})}));
    EXPECT_EQ(d.diagnostico, u(" Estado Normal"));
    // PCB oil skips the notes for PCB, sludge and inhibitor.
    d = diagnosticarTrafo(trafo(u("PCB"), {solo(QDate(2026, 1, 1), {"EFQ", "GAS"})}));
    EXPECT_EQ(d.diagnostico,
              lineas(lista({" No se Realizaron Ensayos De Furanos", " No se Realizaron Ensayos De Metales",
                            " No se Realizaron Ensayos De Humedad en Sólidos"}),
                     true));
    // Every group done and within limits.
    d = diagnosticarTrafo(trafo(u("ACT.YPF 64"), {normal(QDate(2026, 1, 1))}));
    EXPECT_EQ(d.diagnostico, u(" Estado Normal"));
    EXPECT_EQ(d.estado, 1);
    EXPECT_EQ(d.cuenta, 0);
    // A Null flag is a group not done.
    QVariantMap nulo = normal(QDate(2026, 1, 1));
    nulo[u("MET")] = QVariant();
    d = diagnosticarTrafo(trafo(u("ACT.YPF 64"), {nulo}));
    EXPECT_EQ(d.diagnostico, lineas(lista({" No se Realizaron Ensayos De Metales"}), true));
}

TEST(DiagnosticoGeneral, ManualModeKeepsStateAndSeverity)
{
    QVariantMap t = normal(QDate(2026, 1, 1));
    t[u("Diel")] = 20.0;
    const struct
    {
        QVariant manual;
        bool escribir;
    } casos[] = {
        {false, true}, {qlonglong(0), true}, {true, false}, {qlonglong(1), false}, {QVariant(), false}};
    for (const auto& c : casos) {
        const DiagnosticoTrafo d = diagnosticarTrafo(trafo(u("ACT.YPF 64"), {t}, c.manual));
        EXPECT_EQ(d.escribirEstado, c.escribir) << c.manual.toString().toStdString();
        // The texts are rebuilt whatever the mode.
        EXPECT_EQ(d.diagnostico, u(" Dieléctrico muy Bajo\r\n"));
        EXPECT_EQ(d.estado, 3);
    }
}

TEST(DiagnosticoGeneral, PcbTextsNeitherCountNorWarn)
{
    const struct
    {
        double pcb;
        QString diagnostico;
    } casos[] = {
        {60, u(" Contiene PCB > 50 ppm!!!\r\n Estado Normal")},
        {20, u(" Contiene PCB en Baja Cantidad\r\n Estado Normal")},
        {50, u(" Estado Normal")},
        {0, u(" Estado Normal")},
    };
    for (const auto& c : casos) {
        QVariantMap t = normal(QDate(2026, 1, 1));
        t[u("TOTAL PCB")] = c.pcb;
        const DiagnosticoTrafo d = diagnosticarTrafo(trafo(u("ACT.YPF 64"), {t}));
        EXPECT_EQ(d.diagnostico, c.diagnostico) << c.pcb;
        EXPECT_EQ(d.estado, 1);
        EXPECT_EQ(d.cuenta, 0);
    }
}

TEST(DiagnosticoGeneral, InhibitorLowHighThenNullOnTheStoredValue)
{
    const struct
    {
        QVariant valor;
        QStringList observaciones;
    } casos[] = {
        {QVariant(), lista({" Estado Normal"})}, // Null counts as 0 for low/high but is not "nulo"
        {0.0, lista({" Contenido de inhibidor nulo"})},
        {qlonglong(0), lista({" Contenido de inhibidor nulo"})},
        {0.3, lista({" Bajo contenido de inhibidor"})},
        {0.5, lista({" Estado Normal"})},
        {4.0, lista({" Estado Normal"})},
        {4.5, lista({" Alto contenido de inhibidor"})},
    };
    for (const auto& c : casos) {
        QVariantMap t = normal(QDate(2026, 1, 1));
        t[u("%_Inhibidor")] = c.valor;
        const DiagnosticoTrafo d = diagnosticarTrafo(trafo(u("ACT.YPF 64"), {t}));
        EXPECT_EQ(d.observaciones, c.observaciones) << c.valor.toString().toStdString();
        EXPECT_EQ(d.cuenta, c.observaciones.first() == u(" Estado Normal") ? 0 : 1);
    }
}

TEST(DiagnosticoGeneral, GroupOrderDiffersFromTheTestTab)
{
    QVariantMap t = normal(QDate(2026, 1, 1));
    t[u("Diel")] = 27.0;
    t[u("Acidez")] = 0.2;
    t[u("HumSol")] = 6.0;
    t[u("%_Inhibidor")] = 0.3;
    t[u("Sedimentos")] = u("MEDIA");
    t[u("Total")] = 5.0;
    t[u("Aluminio")] = 1.0;
    t[u("KFTMC_PPM")] = 40.0;
    t[u("TOTAL PCB")] = 60.0;
    t[u("Hidrógeno")] = 150.0;
    t[u("Metano")] = 300.0;
    t[u("Etano")] = 120.0;
    t[u("Etileno")] = 60.0;
    const DiagnosticoTrafo d = diagnosticarTrafo(trafo(u("ACT.YPF 64"), {t}));
    EXPECT_EQ(d.observaciones,
              lista({" Gases: Defecto T<300°C", " Humedad en Sólidos", " Acidez Alta", " Dieléctrico Bajo",
                     " Bajo contenido de inhibidor", " Contiene Lodos en MEDIA Cantidad",
                     " Contiene Furanos, implica deterioro del papel",
                     " Contiene Metales (Aluminio), Sobrecalentamientos", " Alto Contenido de Agua",
                     " Contiene PCB > 50 ppm!!!"}));
    EXPECT_EQ(d.cuenta, 9);
    EXPECT_EQ(d.estado, 2);
}

TEST(DiagnosticoGeneral, GasGroupForcedAndGrave)
{
    QVariantMap t = solo(QDate(2026, 1, 1), {"GAS", "EFQ", "KF", "FUR", "MET", "PCB", "LD", "IN"});
    t[u("Hidrógeno")] = 150.0;
    t[u("Metano")] = 300.0;
    t[u("Etano")] = 100.0;
    t[u("Etileno")] = 600.0;
    t[u("Acetileno")] = 30.0;
    DiagnosticoTrafo d = diagnosticarTrafo(trafo(u("ACT.YPF 64"), {t}));
    EXPECT_EQ(d.diagnostico, u(" Gases: Defecto T>700°C\r\n"));
    EXPECT_EQ(d.estado, 3);
    t[u("FD")] = true;
    d = diagnosticarTrafo(trafo(u("ACT.YPF 64"), {t}));
    EXPECT_EQ(d.diagnostico, u(" Gases: Dudoso\r\n"));
    EXPECT_EQ(d.estado, 2);
    EXPECT_EQ(d.cuenta, 1);
}

TEST(DiagnosticoGeneral, GraveFindingOfAnOlderTestOutlastsNewerWarnings)
{
    QVariantMap nuevo = solo(QDate(2026, 1, 1), {"KF"});
    nuevo[u("KFTMC_PPM")] = 40.0;
    QVariantMap viejo = solo(QDate(2025, 1, 1), {"EFQ", "KF"});
    viejo[u("Acidez")] = 0.5;
    viejo[u("KFTMC_PPM")] = 500.0; // ignored: water was judged on the newer test
    const DiagnosticoTrafo d = diagnosticarTrafo(trafo(u("SECO"), {nuevo, viejo}));
    EXPECT_EQ(d.observaciones, lista({" Alto Contenido de Agua", " Acidez Muy Alta"}));
    EXPECT_EQ(d.estado, 3);
    EXPECT_EQ(d.cuenta, 2);
}

TEST(DiagnosticoGeneral, NullValuesInATickedGroupCountAsZero)
{
    QVariantMap t = normal(QDate(2026, 1, 1));
    for (const char* c :
         {"Diel", "TIF", "Acidez", "HumSol", "KFTMC_PPM", "Total", "Cobre", "TOTAL PCB", "Sedimentos"})
        t[u(c)] = QVariant();
    const DiagnosticoTrafo d = diagnosticarTrafo(trafo(u("ACT.YPF 64"), {t}));
    EXPECT_EQ(d.diagnostico, u(" Estado Normal"));
}

TEST(DiagnosticoGeneral, SummaryOfObservations)
{
    QVariantMap nuevo = normal(QDate(2026, 10, 15));
    nuevo[u("Observaciones")] = u("muestra tomada\nde válvula inferior");
    QVariantMap viejo = normal(QDate(2025, 3, 7));
    viejo[u("Fecha")] = QDate(2025, 3, 7);
    viejo[u("Observaciones")] = u("primer párrafo\r\nsegundo\u2029tercero");
    QVariantMap vacio = normal(QDate(2024, 1, 2));
    vacio[u("Observaciones")] = QVariant();
    const DiagnosticoTrafo d = diagnosticarTrafo(trafo(u("ACT.YPF 64"), {nuevo, viejo, vacio}));
    EXPECT_EQ(d.textosEnsayos,
              lista({"MUESTRA TOMADA\r\nDE VÁLVULA INFERIOR", "PRIMER PÁRRAFO\r\nSEGUNDO\r\nTERCERO", ""}));
    EXPECT_EQ(d.resumenObs, u("15/10/2026 - MUESTRA TOMADA\r\nDE VÁLVULA INFERIOR\r\n\r\n"
                              "07/03/2025 - PRIMER PÁRRAFO\r\nSEGUNDO\r\nTERCERO\r\n\r\n"
                              "02/01/2024 - \r\n\r\n"));
    EXPECT_EQ(fechaResumen(u("no es fecha")), u("no es fecha"));
    EXPECT_EQ(fechaResumen(QVariant()), QString());
}
