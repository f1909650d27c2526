#include "data/logic/Database.h"
#include "diagnosis/logic/CorridaDiagnostico.h"
#include "tests/support/TempData.h"

#include <QFile>
#include <QSet>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace diagnostico;

namespace {

QString u(const char* t)
{
    return QString::fromUtf8(t);
}

const QString kCrLf = QStringLiteral("\r\n");

void insertar(Database& db, const QString& tabla, const QVariantMap& fila)
{
    QStringList campos, marcas;
    QVariantList valores;
    for (auto it = fila.cbegin(); it != fila.cend(); ++it) {
        campos << QLatin1Char('"') + it.key() + QLatin1Char('"');
        marcas << QStringLiteral("?");
        valores << it.value();
    }
    auto st =
        Statement::prepare(db,
                           QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                               .arg(tabla, campos.join(QLatin1Char(',')), marcas.join(QLatin1Char(','))),
                           valores);
    ASSERT_TRUE(st.ok()) << st.error().toStdString();
    auto paso = st.value().step();
    ASSERT_TRUE(paso.ok()) << paso.error().toStdString();
}

// A transformer whose stored diagnosis is stale, so that every field the run writes shows.
void trafo(Database& db, int codigo, const QVariant& aceite, const QVariant& manual)
{
    insertar(db, u("Trafoge"),
             {{u("CÓDIGO"), codigo},
              {u("TIPO AISLANTE"), aceite},
              {u("AUTO"), manual},
              {u("ESTADO"), 0},
              {u("GRAVEDAD"), 9},
              {u("DIAGNOSTICO"), u("viejo")},
              {u("RESUMEN OBS"), u("viejo")}});
}

// A test with only the named groups ticked and every value within limits unless overridden.
void ensayo(Database& db, int codigo, const char* fecha, std::initializer_list<const char*> grupos,
            const QVariantMap& valores = {}, const QString& observaciones = u("Sin novedades."))
{
    QVariantMap t = {{u("Código"), codigo},
                     {u("Fecha"), u(fecha)},
                     {u("Observaciones"), observaciones},
                     {u("HumSol"), 1.8},
                     {u("Acidez"), 0.03},
                     {u("%_Inhibidor"), 2.1},
                     {u("Diel"), 58.0},
                     {u("TIF"), 38.0},
                     {u("TangDelta"), 8.0},
                     {u("KFTMC_PPM"), 12.0},
                     {u("Hidrógeno"), 18},
                     {u("Metano"), 9},
                     {u("Etano"), 6},
                     {u("Etileno"), 4},
                     {u("Acetileno"), 0},
                     {u("Sedimentos"), u("NO CONTIENE")}};
    for (const char* g : {"EFQ", "KF", "FUR", "MET", "PCB", "GAS", "FD", "LD", "IN"})
        t[u(g)] = 0;
    for (const char* g : grupos)
        t[u(g)] = 1;
    for (auto it = valores.cbegin(); it != valores.cend(); ++it)
        t[it.key()] = it.value();
    insertar(db, u("Ensayos"), t);
}

// The fixtures are many small inserts: no disk sync for them.
std::shared_ptr<Database> abrir(const TempData& datos)
{
    auto db = datos.open();
    if (db) {
        EXPECT_TRUE(db->exec(QStringLiteral("PRAGMA synchronous=OFF")).ok());
    }
    return db;
}

struct Escrito
{
    QVariant estado, gravedad;
    QString diagnostico, resumen;
};

Escrito leer(Database& db, int codigo)
{
    const auto f = queryRows(db, u("SELECT ESTADO, GRAVEDAD, DIAGNOSTICO, \"RESUMEN OBS\" FROM Trafoge "
                                   "WHERE \"CÓDIGO\" = %1")
                                     .arg(codigo));
    if (f.isEmpty())
        return {};
    return {f[0][0], f[0][1], f[0][2].toString(), f[0][3].toString()};
}

QString lineas(std::initializer_list<const char*> l)
{
    QString t;
    for (const char* s : l)
        t += u(s) + kCrLf;
    return t;
}

QList<QVariantList> todo(Database& db, const char* tabla)
{
    return queryRows(db, u("SELECT * FROM \"%1\" ORDER BY rowid").arg(u(tabla)));
}

} // namespace

TEST(CorridaDiagnostico, WritesEveryTransformerFromItsOwnTestsNewestFirst)
{
    TempData datos;
    auto db = abrir(datos);
    ASSERT_TRUE(db);
    const QVariant nulo;
    // 1: the physico-chemical group is judged on the older test, the newest having only gases.
    trafo(*db, 1, u("ACT.YPF 64"), false);
    ensayo(*db, 1, "2024-05-01", {"GAS"});
    ensayo(*db, 1, "2023-05-01", {"EFQ"}, {{u("Diel"), 20.0}});
    // 2: a newer good dielectric hides the older bad one, whatever order the rows were stored in.
    trafo(*db, 2, u("ACT.YPF 64"), false);
    ensayo(*db, 2, "2022-01-01", {"EFQ"}, {{u("Diel"), 20.0}});
    ensayo(*db, 2, "2024-01-01", {"EFQ", "KF", "FUR", "MET", "PCB", "GAS", "LD", "IN"}, {{u("Diel"), 45.0}});
    // 3 to 5: no tests, with an oil, without one, and PCB.
    trafo(*db, 3, u("NYTRO 10X"), false);
    trafo(*db, 4, nulo, false);
    trafo(*db, 5, u("PCB"), false);
    // 6 and 7: manual, and Null counting as manual: state and severity stay as entered.
    trafo(*db, 6, u("ACT.YPF 64"), true);
    ensayo(*db, 6, "2024-01-01", {"KF"}, {{u("KFTMC_PPM"), 150.0}});
    trafo(*db, 7, u("SECO"), nulo);
    ensayo(*db, 7, "2024-01-01", {"EFQ"}, {{u("Acidez"), 0.2}});
    // 8: a warning and a grave finding from two tests.
    trafo(*db, 8, u("SECO"), false);
    ensayo(*db, 8, "2024-01-01", {"EFQ"}, {{u("Acidez"), 0.2}});
    ensayo(*db, 8, "2023-01-01", {"KF"}, {{u("KFTMC_PPM"), 100.0}});

    auto r = diagnosticarArchivo(*db);
    ASSERT_TRUE(r.ok()) << r.error().toStdString();
    EXPECT_EQ(r.value().trafos, 8);
    EXPECT_EQ(r.value().ensayos, 8);

    const struct
    {
        int codigo;
        QVariant estado, gravedad;
        QString diagnostico;
    } casos[] = {
        {1, 3, 1,
         lineas({" Dieléctrico muy Bajo", " No se Realizaron Ensayos De Furanos",
                 " No se Realizaron Ensayos De Metales", " No se Realizaron Ensayos De Humedad en Sólidos",
                 " No se Realizaron Ensayos De PCB", " No se Realizaron Ensayos De Lodos",
                 " No se Realizaron Ensayos De Inhibidor"})},
        {2, 1, 0, u(" Estado Normal")},
        {3, 3, 6, lineas({" Sin Ensayos"})},
        {4, 1, 0, u(" Estado Normal")},
        {5, 1, 0,
         lineas({" No se Realizaron Ensayos De Gases", " No se Realizaron Ensayos Físico/Químicos",
                 " No se Realizaron Ensayos De Furanos", " No se Realizaron Ensayos De Metales",
                 " No se Realizaron Ensayos De Humedad en Sólidos"}) +
             u(" Estado Normal")},
        {6, 0, 9.0,
         lineas({" Muy Alto Contenido de Agua", " No se Realizaron Ensayos De Gases",
                 " No se Realizaron Ensayos Físico/Químicos", " No se Realizaron Ensayos De Furanos",
                 " No se Realizaron Ensayos De Metales", " No se Realizaron Ensayos De PCB",
                 " No se Realizaron Ensayos De Lodos", " No se Realizaron Ensayos De Inhibidor"})},
        {7, 0, 9.0, lineas({" Acidez Alta"})},
        {8, 3, 2, lineas({" Acidez Alta", " Muy Alto Contenido de Agua"})},
    };
    for (const auto& c : casos) {
        const Escrito e = leer(*db, c.codigo);
        EXPECT_EQ(e.estado.toInt(), c.estado.toInt()) << c.codigo;
        EXPECT_EQ(e.gravedad.toDouble(), c.gravedad.toDouble()) << c.codigo;
        EXPECT_EQ(e.diagnostico, c.diagnostico) << c.codigo;
    }
    // Without tests the summary is emptied.
    EXPECT_EQ(leer(*db, 3).resumen, QString());
}

TEST(CorridaDiagnostico, SummaryIsBuiltFromTheNotesWhichStayAsTheUserWroteThem)
{
    TempData datos;
    auto db = abrir(datos);
    ASSERT_TRUE(db);
    trafo(*db, 1, u("ACT.YPF 64"), false);
    const QString rico = u(
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" \"http://www.w3.org/TR/REC-html40/strict.dtd\">\n"
        "<html><head><meta name=\"qrichtext\" content=\"1\" /><style type=\"text/css\">\n"
        "p, li { white-space: pre-wrap; }\n</style></head><body style=\" font-family:'Sans';\">\n"
        "<p style=\" margin-top:0px;\">válvula <span style=\" font-weight:700;\">inferior</span></p>\n"
        "<p style=\" margin-top:0px;\">filtrar &amp; secar</p></body></html>");
    ensayo(*db, 1, "2024-03-05", {"GAS"}, {}, rico);
    ensayo(*db, 1, "2023-02-01", {"GAS"}, {}, u("primera línea\nsegunda\r\ntercera"));
    ensayo(*db, 1, "2022-12-31", {"GAS"}, {{u("Observaciones"), QVariant()}});
    const auto antes = todo(*db, "Ensayos");

    auto r = diagnosticarArchivo(*db);
    ASSERT_TRUE(r.ok()) << r.error().toStdString();
    EXPECT_EQ(leer(*db, 1).resumen, u("05/03/2024 - VÁLVULA INFERIOR\r\nFILTRAR & SECAR\r\n\r\n"
                                      "01/02/2023 - PRIMERA LÍNEA\r\nSEGUNDA\r\nTERCERA\r\n\r\n"
                                      "31/12/2022 - \r\n\r\n"));
    // The tests are only read: notes keep their case, formatting and breaks.
    EXPECT_EQ(todo(*db, "Ensayos"), antes);
}

TEST(CorridaDiagnostico, ReadOnlyFileIsRefusedAndLeftUnchanged)
{
    TempData datos;
    {
        auto db = abrir(datos);
        ASSERT_TRUE(db);
        trafo(*db, 1, u("ACT.YPF 64"), false);
        ensayo(*db, 1, "2024-01-01", {"EFQ"}, {{u("Diel"), 20.0}});
    }
    QFile archivo(datos.file());
    ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
    const QByteArray antes = archivo.readAll();
    archivo.close();

    auto soloLectura = datos.open(true);
    ASSERT_TRUE(soloLectura);
    bool avisado = false;
    auto r = diagnosticarArchivo(*soloLectura, [&](int, int) { avisado = true; });
    ASSERT_FALSE(r.ok());
    EXPECT_TRUE(r.error().contains(u("solo lectura"))) << r.error().toStdString();
    EXPECT_TRUE(r.error().contains(u("trafos.mdb"))) << r.error().toStdString();
    EXPECT_FALSE(avisado);
    soloLectura.reset();

    // A write-protected file opened for writing is refused the same way (the superuser writes
    // through the protection, so there the check has nothing to see).
    if (geteuid() != 0) {
        ASSERT_EQ(::chmod(QFile::encodeName(datos.file()).constData(), 0444), 0);
        auto protegido = Database::open(datos.file());
        ASSERT_TRUE(protegido.ok()) << protegido.error().toStdString();
        auto r2 = diagnosticarArchivo(*protegido.value());
        ASSERT_FALSE(r2.ok());
        EXPECT_TRUE(r2.error().contains(u("solo lectura"))) << r2.error().toStdString();
        ::chmod(QFile::encodeName(datos.file()).constData(), 0600);
    }
    ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
    EXPECT_EQ(archivo.readAll(), antes);
}

// A failing write rolls back its whole batch: each transformer ends either as before or as after.
TEST(CorridaDiagnostico, AFailureRollsBackTheBatchInProgress)
{
    const struct
    {
        int porLote;
        QSet<int> escritos; // transformers committed before the failure on the fifth
    } casos[] = {{100, {}}, {2, {1, 2, 3, 4}}, {4, {1, 2, 3, 4}}, {3, {1, 2, 3}}};
    for (const auto& c : casos) {
        TempData datos;
        auto db = abrir(datos);
        ASSERT_TRUE(db);
        for (int codigo = 1; codigo <= 8; ++codigo) {
            trafo(*db, codigo, u("ACT.YPF 64"), false);
            ensayo(*db, codigo, "2024-01-01", {"EFQ"}, {{u("Acidez"), 0.5}});
        }
        ASSERT_TRUE(db->exec(u("CREATE TRIGGER falla BEFORE UPDATE ON Trafoge WHEN NEW.\"CÓDIGO\" = 5 "
                               "BEGIN SELECT RAISE(ABORT, 'disco averiado'); END"))
                        .ok());
        OpcionesCorrida opciones;
        opciones.trafosPorTransaccion = c.porLote;
        auto r = diagnosticarArchivo(*db, {}, opciones);
        ASSERT_FALSE(r.ok()) << c.porLote;
        EXPECT_TRUE(r.error().contains(u("transformador 5"))) << r.error().toStdString();
        EXPECT_TRUE(r.error().contains(u("disco averiado"))) << r.error().toStdString();
        for (int codigo = 1; codigo <= 8; ++codigo) {
            const Escrito e = leer(*db, codigo);
            if (c.escritos.contains(codigo)) {
                EXPECT_EQ(e.estado.toInt(), 3) << c.porLote << " " << codigo;
                EXPECT_EQ(e.diagnostico.left(16), u(" Acidez Muy Alta")) << c.porLote << " " << codigo;
            } else {
                EXPECT_EQ(e.estado.toInt(), 0) << c.porLote << " " << codigo;
                EXPECT_EQ(e.gravedad.toDouble(), 9.0) << c.porLote << " " << codigo;
                EXPECT_EQ(e.diagnostico, u("viejo")) << c.porLote << " " << codigo;
                EXPECT_EQ(e.resumen, u("viejo")) << c.porLote << " " << codigo;
            }
        }
        // The connection is usable again: no transaction was left open.
        EXPECT_TRUE(db->exec(u("BEGIN")).ok());
        EXPECT_TRUE(db->exec(u("ROLLBACK")).ok());
    }
}

TEST(CorridaDiagnostico, ProgressGoesFromZeroToTheTotal)
{
    TempData datos;
    auto db = abrir(datos);
    ASSERT_TRUE(db);
    for (int codigo = 1; codigo <= 5; ++codigo)
        trafo(*db, codigo, u("SECO"), false);
    for (int intervalo : {0, 60000}) {
        QList<int> hechos;
        OpcionesCorrida opciones;
        opciones.intervaloProgresoMs = intervalo;
        auto r = diagnosticarArchivo(
            *db,
            [&](int h, int total) {
                EXPECT_EQ(total, 5);
                hechos << h;
            },
            opciones);
        ASSERT_TRUE(r.ok()) << r.error().toStdString();
        // With no wait every transformer is reported; with a long one only the start and the end.
        EXPECT_EQ(hechos, intervalo == 0 ? (QList<int>{0, 1, 2, 3, 4, 5}) : (QList<int>{0, 5})) << intervalo;
    }
    // An empty file is done at once.
    TempData vacio;
    auto dbVacia = abrir(vacio);
    QList<int> hechos;
    auto r = diagnosticarArchivo(*dbVacia, [&](int h, int) { hechos << h; });
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.value().trafos, 0);
    EXPECT_EQ(hechos, (QList<int>{0, 0}));
}
