#include "diagnosis/logic/DiagnosticoGeneral.h"
#include "data/logic/Database.h"
#include "diagnosis/logic/CorridaDiagnostico.h"
#include "tests/diagnosis/Lista.h"
#include "tests/support/TempData.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace diagnostico;

namespace {

using Valores = std::initializer_list<std::pair<const char*, QVariant>>;

const QString kCrLf = u("\r\n");
const QString kAceite = u("ACT.YPF 64"), kSeco = u("SECO"), kPcb = u("PCB");

QVariantMap fila(Valores valores, QVariantMap t = {})
{
    for (const auto& [campo, valor] : valores)
        t[u(campo)] = valor;
    return t;
}

// Every value of a test within limits.
const std::pair<const char*, double> kNormales[] = {
    {"FD", 0},    {"HumSol", 1.8},   {"Acidez", 0.03}, {"%_Inhibidor", 2.1}, {"Diel", 58},
    {"TIF", 38},  {"TangDelta", 8},  {"Total", 0},     {"Aluminio", 0},      {"Hierro", 0},
    {"Cobre", 0}, {"KFTMC_PPM", 12}, {"TOTAL PCB", 0}, {"Hidrógeno", 18},    {"Metano", 9},
    {"Etano", 6}, {"Etileno", 4},    {"Acetileno", 0},
};

// A stored test of that date with the groups named in `grupos` ticked ("todos": every group but
// the forced flag) and every value within limits unless `cambios` says otherwise.
QVariantMap ensayo(const char* fecha, const char* grupos, Valores cambios = {})
{
    QVariantMap t =
        fila({{"Fecha", u(fecha)}, {"Observaciones", u("Sin novedades.")}, {"Sedimentos", u("NO CONTIENE")}});
    for (const auto& [campo, valor] : kNormales)
        t[u(campo)] = valor;
    const QStringList marcados = u(grupos).split(QLatin1Char(' '));
    for (const char* g : {"EFQ", "KF", "FUR", "MET", "PCB", "GAS", "LD", "IN"})
        t[u(g)] = marcados.contains(u("todos")) || marcados.contains(u(g)) ? 1 : 0;
    return fila(cambios, t);
}

const QStringList kNotasSinEfq =
    lista(" No se Realizaron Ensayos De Furanos| No se Realizaron Ensayos De Metales|"
          " No se Realizaron Ensayos De Humedad en Sólidos|"
          " No se Realizaron Ensayos De PCB| No se Realizaron Ensayos De Lodos|"
          " No se Realizaron Ensayos De Inhibidor");
const QStringList kNormal = lista(" Estado Normal");

void comprobar(const DiagnosticoTrafo& d, const QStringList& observaciones, int estado, int cuenta,
               const std::string& caso)
{
    EXPECT_EQ(d.observaciones, observaciones) << caso;
    // Every line ends in CR LF but the closing " Estado Normal" of a green transformer.
    EXPECT_EQ(d.diagnostico, observaciones.join(kCrLf) + (estado == 1 ? QString() : kCrLf)) << caso;
    EXPECT_EQ(d.estado, estado) << caso;
    EXPECT_EQ(d.cuenta, cuenta) << caso;
}

// A temporary data file and its connection. The fixtures are many small inserts: no disk sync.
struct Archivo
{
    Archivo() { EXPECT_TRUE(db && db->exec(u("PRAGMA synchronous=OFF")).ok()); }
    void insertar(const QString& tabla, const QVariantMap& fila) const
    {
        const QStringList campos = fila.keys();
        auto st = Statement::prepare(
            *db,
            u("INSERT INTO \"%1\" (\"%2\") VALUES (%3)")
                .arg(tabla, campos.join(u("\",\"")), QStringList(campos.size(), u("?")).join(u(","))),
            fila.values());
        ASSERT_TRUE(st.ok()) << st.error().toStdString();
        auto paso = st.value().step();
        ASSERT_TRUE(paso.ok()) << paso.error().toStdString();
    }
    // A transformer with its tests, whose stored diagnosis is stale so that every field the run
    // writes shows.
    void trafo(int codigo, const QVariant& aceite, const QVariant& manual,
               const QList<QVariantMap>& ensayos) const
    {
        const Valores valores = {
            {"CÓDIGO", codigo}, {"TIPO AISLANTE", aceite},   {"AUTO", manual},           {"ESTADO", 0},
            {"GRAVEDAD", 9},    {"DIAGNOSTICO", u("viejo")}, {"RESUMEN OBS", u("viejo")}};
        insertar(u("Trafoge"), fila(valores));
        for (QVariantMap t : ensayos) {
            t[u("Código")] = codigo;
            insertar(u("Ensayos"), t);
        }
    }
    TempData datos;
    std::shared_ptr<Database> db = datos.open();
};

// ESTADO, GRAVEDAD, DIAGNOSTICO and RESUMEN OBS of a transformer.
QVariantList leer(const Database& db, int codigo)
{
    const QString sql =
        u("SELECT ESTADO, GRAVEDAD, DIAGNOSTICO, \"RESUMEN OBS\" FROM Trafoge WHERE \"CÓDIGO\" = %1");
    return queryRows(db, sql.arg(codigo)).value(0);
}

} // namespace

TEST(DiagnosticoGeneral, GroupsJudgedOnTheirNewestTestAndNotesByOil)
{
    const QVariantMap gas = ensayo("2026-05-01", "GAS"),
                      dielViejo = ensayo("2025-05-01", "EFQ", {{"Diel", 20}});
    const QVariantMap dielNuevo = ensayo("2026-09-01", "EFQ", {{"Diel", 45}});
    const QVariantMap agua = ensayo("2026-01-01", "KF", {{"KFTMC_PPM", 40}});
    const QVariantMap acido = ensayo("2025-01-01", "EFQ KF", {{"Acidez", 0.5}, {"KFTMC_PPM", 500}});
    const QStringList notasPcb =
        lista(" No se Realizaron Ensayos De Gases| No se Realizaron Ensayos Físico/Químicos") +
        kNotasSinEfq.mid(0, 3);
    const std::tuple<const char*, QVariant, QList<QVariantMap>, QStringList, int, int> casos[] = {
        {"viejo", kAceite, {gas, dielViejo}, lista(" Dieléctrico muy Bajo") + kNotasSinEfq, 3, 1},
        {"nuevo lo oculta", kAceite, {dielNuevo, gas, dielViejo}, kNotasSinEfq + kNormal, 1, 0},
        {"grave viejo", kSeco, {agua, acido}, lista(" Alto Contenido de Agua| Acidez Muy Alta"), 3, 2},
        {"sin ensayos", kAceite, {}, lista(" Sin Ensayos"), 3, 6},
        {"seco sin ensayos", kSeco, {}, lista(" Sin Ensayos"), 3, 6},
        {"nulo sin ensayos", QVariant(), {}, kNormal, 1, 0},
        {"en blanco sin ensayos", u(" "), {}, kNormal, 1, 0},
        {"pcb sin ensayos", kPcb, {}, notasPcb + kNormal, 1, 0},
        {"seco sin notas", kSeco, {ensayo("2026-01-01", "EFQ")}, kNormal, 1, 0},
        {"pcb, tres notas menos", kPcb, {ensayo("2026-01-01", "EFQ GAS")}, notasPcb.mid(2) + kNormal, 1, 0},
    };
    for (const auto& [caso, aceite, ensayos, observaciones, estado, cuenta] : casos)
        comprobar(diagnosticarTrafo({aceite, false, ensayos, {}}), observaciones, estado, cuenta, caso);
}

TEST(DiagnosticoGeneral, ValuesOfATestWithEveryGroupDone)
{
    // PCB texts neither count nor warn. The inhibitor is judged low, then high, then null on the
    // stored field, where Null is not 0. A Null flag is a group not done; a Null value is 0.
    const std::tuple<const char*, QVariant, const char*, int, int> casos[] = {
        {"MET", QVariant(), " No se Realizaron Ensayos De Metales", 1, 0},
        {"Acidez", QVariant(), "", 1, 0},
        {"Sedimentos", QVariant(), "", 1, 0},
        {"Sedimentos", u("MEDIA"), " Contiene Lodos en MEDIA Cantidad", 2, 1},
        {"TOTAL PCB", 60, " Contiene PCB > 50 ppm!!!", 1, 0},
        {"TOTAL PCB", 20, " Contiene PCB en Baja Cantidad", 1, 0},
        {"TOTAL PCB", 50, "", 1, 0},
        {"%_Inhibidor", QVariant(), "", 1, 0},
        {"%_Inhibidor", qlonglong(0), " Contenido de inhibidor nulo", 2, 1},
        {"%_Inhibidor", 0.3, " Bajo contenido de inhibidor", 2, 1},
        {"%_Inhibidor", 4.5, " Alto contenido de inhibidor", 2, 1},
        {"FD", true, " Gases: Dudoso", 2, 1},
        {"Acetileno", 7, "", 1, 0},
        {"Acetileno", 7.5, " Gases: Concentración elevada (IEEE C57.104-2019)", 2, 1},
    };
    for (const auto& [campo, valor, observacion, estado, cuenta] : casos) {
        const QVariantMap t = ensayo("2026-01-01", "todos", {{campo, valor}});
        comprobar(diagnosticarTrafo({kAceite, false, {t}, {}}),
                  lista(observacion) + (estado == 1 ? kNormal : QStringList()), estado, cuenta,
                  campo + (" = " + valor.toString().toStdString()));
    }
    // Every group at once, in the run's order, which differs from the test tab's; the hottest
    // gas fault is grave.
    const std::pair<const char*, double> hallazgos[] = {
        {"Diel", 27},    {"Acidez", 0.2},   {"HumSol", 6},     {"%_Inhibidor", 0.3}, {"Total", 5},
        {"Aluminio", 1}, {"KFTMC_PPM", 40}, {"TOTAL PCB", 60}, {"Hidrógeno", 150},   {"Metano", 300},
        {"Etano", 100},  {"Etileno", 600},  {"Acetileno", 30},
    };
    QVariantMap t = ensayo("2026-01-01", "todos", {{"Sedimentos", u("MEDIA")}});
    for (const auto& [campo, valor] : hallazgos)
        t[u(campo)] = valor;
    comprobar(diagnosticarTrafo({kAceite, false, {t}, {}}),
              lista(" Gases: Defecto T>700°C| Gases: Concentración elevada (IEEE C57.104-2019)|"
                    " Humedad en Sólidos| Acidez Alta| Dieléctrico Bajo|"
                    " Bajo contenido de inhibidor| Contiene Lodos en MEDIA Cantidad|"
                    " Contiene Furanos, implica deterioro del papel|"
                    " Contiene Metales (Aluminio), Sobrecalentamientos| Alto Contenido de Agua|"
                    " Contiene PCB > 50 ppm!!!"),
              3, 10, "orden");
    // The gas levels in the run: after the doubtful finding of a forced test, and in the column of
    // the transformer's age at that test (CH4 55 is above Table 2 with the age unknown or over 30,
    // not at 20 years).
    const QString alto = u(" Gases: Concentración elevada (IEEE C57.104-2019)");
    const QVariantMap forzado = ensayo("2026-01-01", "GAS", {{"FD", true}, {"Acetileno", 100}});
    comprobar(diagnosticarTrafo({kSeco, false, {forzado}, {}}), {u(" Gases: Dudoso"), alto}, 2, 2, "forzado");
    const QVariantMap metano = ensayo("2026-01-01", "GAS", {{"Metano", 55}});
    for (const auto& [anio, eleva] : {std::pair(QVariant(), true), std::pair(QVariant(u("2006")), false),
                                      std::pair(QVariant(u("1990")), true)})
        comprobar(diagnosticarTrafo({kSeco, false, {metano}, anio}), eleva ? QStringList{alto} : kNormal,
                  eleva ? 2 : 1, eleva ? 1 : 0, "año " + anio.toString().toStdString());
}

// Each transformer is written from its own tests, newest first. The summary reads the notes as
// their boxes show them (rich text included) and keeps a date that is no date as written (it sorts
// after the digits); the tests themselves are only read.
TEST(CorridaDiagnostico, WritesEachTransformerFromItsOwnTestsNewestFirst)
{
    Archivo a;
    const QString rico =
        u("<html><head><style>p { white-space: pre-wrap; }</style></head><body>\n<p>válvula "
          "<span style=\" font-weight:700;\">inferior</span></p>\n<p>filtrar &amp; secar</p></body></html>");
    // 1: stored oldest first; the newer good dielectric hides the older bad one.
    a.trafo(1, kAceite, false,
            {ensayo("2022-01-01", "EFQ", {{"Diel", 20}, {"Observaciones", u("primera línea\nsegunda")}}),
             ensayo("2024-01-01", "todos", {{"Diel", 45}, {"Observaciones", rico}}),
             ensayo("2023-01-02", "GAS", {{"Observaciones", {}}}), ensayo("ayer", "GAS")});
    // 2: a warning and a grave finding from two tests.
    a.trafo(
        2, kSeco, false,
        {ensayo("2024-01-01", "EFQ", {{"Acidez", 0.2}}), ensayo("2023-01-01", "KF", {{"KFTMC_PPM", 100}})});
    a.trafo(3, u("NYTRO 10X"), false, {}); // 3: no tests
    // 4 and 5: manual, and Null counting as manual: state and severity stay as entered.
    a.trafo(4, kAceite, true, {ensayo("2024-01-01", "todos", {{"KFTMC_PPM", 150}})});
    a.trafo(5, kSeco, QVariant(), {ensayo("2024-01-01", "EFQ", {{"Acidez", 0.2}})});
    const auto ensayos = queryRows(*a.db, u("SELECT * FROM Ensayos ORDER BY rowid"));
    // With no wait every transformer is reported; with a long one only the start and the end.
    for (const auto& [intervalo, avisos] :
         {std::pair{0, QList<int>{0, 1, 2, 3, 4, 5}}, std::pair{60000, QList<int>{0, 5}}}) {
        QList<int> hechos, esperados;
        OpcionesCorrida opciones;
        opciones.intervaloProgresoMs = intervalo;
        auto r = diagnosticarArchivo(
            *a.db, [&](int h, int total) { hechos << h << total; }, opciones);
        ASSERT_TRUE(r.ok()) << r.error().toStdString();
        EXPECT_EQ(r.value().trafos, 5);
        EXPECT_EQ(r.value().ensayos, 8);
        for (int h : avisos)
            esperados << h << 5;
        EXPECT_EQ(hechos, esperados) << intervalo;
    }
    const QString sinNovedades = u("01/01/2024 - SIN NOVEDADES.\r\n\r\n");
    const std::tuple<int, int, int, const char*, QString> casos[] = {
        {1, 1, 0, " Estado Normal",
         u("ayer - SIN NOVEDADES.\r\n\r\n01/01/2024 - VÁLVULA INFERIOR\r\nFILTRAR & SECAR\r\n\r\n"
           "02/01/2023 - \r\n\r\n01/01/2022 - PRIMERA LÍNEA\r\nSEGUNDA\r\n\r\n")},
        {2, 3, 2, " Acidez Alta\r\n Muy Alto Contenido de Agua\r\n",
         sinNovedades + u("01/01/2023 - SIN NOVEDADES.\r\n\r\n")},
        {3, 3, 6, " Sin Ensayos\r\n", u("")},
        {4, 0, 9, " Muy Alto Contenido de Agua\r\n", sinNovedades},
        {5, 0, 9, " Acidez Alta\r\n", sinNovedades},
    };
    for (const auto& [codigo, estado, gravedad, diagnostico, resumen] : casos)
        EXPECT_EQ(leer(*a.db, codigo), (QVariantList{estado, gravedad, u(diagnostico), resumen})) << codigo;
    EXPECT_EQ(queryRows(*a.db, u("SELECT * FROM Ensayos ORDER BY rowid")), ensayos);
    // An empty file is done at once.
    Archivo vacio;
    QList<int> hechos;
    auto r = diagnosticarArchivo(*vacio.db, [&](int h, int total) { hechos << h << total; });
    ASSERT_TRUE(r.ok()) << r.error().toStdString();
    EXPECT_EQ(r.value().trafos, 0);
    EXPECT_EQ(hechos, (QList<int>{0, 0, 0, 0}));
}

// A read-only connection, or a write-protected file opened for writing, is refused before any
// work (the superuser writes through the protection, so there the second has nothing to see).
TEST(CorridaDiagnostico, AReadOnlyFileIsRefusedBeforeAnyWork)
{
    Archivo a;
    a.trafo(1, kAceite, false, {ensayo("2024-01-01", "EFQ", {{"Diel", 20}})});
    bool avisado = false;
    auto r = diagnosticarArchivo(*a.datos.open(true), [&](int, int) { avisado = true; });
    ASSERT_FALSE(r.ok());
    EXPECT_TRUE(r.error().contains(u("solo lectura")) && r.error().contains(Database::nombreArchivo()))
        << r.error().toStdString();
    EXPECT_FALSE(avisado);
    if (geteuid() != 0) {
        ASSERT_EQ(::chmod(QFile::encodeName(a.datos.file()).constData(), 0444), 0);
        // A read-only file is refused already when opened for writing.
        auto protegido = Database::open(a.datos.file());
        ASSERT_FALSE(protegido.ok());
        EXPECT_TRUE(protegido.error().contains(u("solo lectura"))) << protegido.error().toStdString();
        ::chmod(QFile::encodeName(a.datos.file()).constData(), 0600);
    }
    EXPECT_EQ(leer(*a.db, 1).value(2), u("viejo"));
}

// A transformer whose row refuses the write keeps its old values and the run goes on, whatever
// the batch size; the summary names how many failed, their first codes and the first reason.
// A failure that takes the batch with it stops the run and rolls the batch back.
TEST(CorridaDiagnostico, AFailingTransformerKeepsItsValuesAndTheRunGoesOn)
{
    for (const int porLote : {100, 2, 3}) {
        SCOPED_TRACE(porLote);
        Archivo a;
        for (int codigo = 1; codigo <= 8; ++codigo)
            a.trafo(codigo, kAceite, false, {ensayo("2024-01-01", "EFQ", {{"Acidez", 0.5}})});
        ASSERT_TRUE(
            a.db->exec(u("CREATE TRIGGER falla BEFORE UPDATE ON Trafoge WHEN NEW.\"CÓDIGO\" IN (5, 7) "
                         "BEGIN SELECT RAISE(ABORT, 'fila bloqueada'); END"))
                .ok());
        OpcionesCorrida opciones;
        opciones.trafosPorTransaccion = porLote;
        auto r = diagnosticarArchivo(*a.db, {}, opciones);
        ASSERT_TRUE(r.ok()) << r.error().toStdString();
        EXPECT_EQ(r.value().trafos, 6);
        EXPECT_EQ(r.value().fallidos, 2);
        EXPECT_EQ(r.value().avisoFallidos(),
                  u("No se pudo diagnosticar 2 de los transformadores (códigos 5, 7), que conservan su "
                    "diagnóstico anterior. Primer motivo: ") +
                      r.value().primerMotivo);
        EXPECT_TRUE(r.value().primerMotivo.contains(u("fila bloqueada")))
            << r.value().primerMotivo.toStdString();
        for (int codigo = 1; codigo <= 8; ++codigo) {
            SCOPED_TRACE(codigo);
            const bool escrito = codigo != 5 && codigo != 7;
            const QVariantList e = leer(*a.db, codigo);
            EXPECT_EQ(e.value(0).toInt(), escrito ? 3 : 0);
            EXPECT_EQ(e.value(1).toInt(), escrito ? 1 : 9);
            EXPECT_EQ(e.value(3).toString() == u("viejo"), !escrito);
        }
        EXPECT_TRUE(a.db->exec(u("BEGIN")).ok() && a.db->exec(u("ROLLBACK")).ok());
    }
    // RAISE(ROLLBACK) ends the whole batch, as a full disk would: the run stops on transformer 5
    // and only the batches written before it stay.
    Archivo a;
    for (int codigo = 1; codigo <= 8; ++codigo)
        a.trafo(codigo, kAceite, false, {ensayo("2024-01-01", "EFQ", {{"Acidez", 0.5}})});
    ASSERT_TRUE(a.db->exec(u("CREATE TRIGGER falla BEFORE UPDATE ON Trafoge WHEN NEW.\"CÓDIGO\" = 5 "
                             "BEGIN SELECT RAISE(ROLLBACK, 'disco averiado'); END"))
                    .ok());
    OpcionesCorrida opciones;
    opciones.trafosPorTransaccion = 3;
    auto r = diagnosticarArchivo(*a.db, {}, opciones);
    ASSERT_FALSE(r.ok());
    EXPECT_TRUE(r.error().contains(u("transformador 5")) && r.error().contains(u("disco averiado")))
        << r.error().toStdString();
    for (int codigo = 1; codigo <= 8; ++codigo)
        EXPECT_EQ(leer(*a.db, codigo).value(3).toString() == u("viejo"), codigo > 3) << codigo;
    EXPECT_TRUE(a.db->exec(u("BEGIN")).ok() && a.db->exec(u("ROLLBACK")).ok());
}
