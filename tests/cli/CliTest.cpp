#include "data/logic/Database.h"
#include "data/logic/DemoPlant.h"

#include "tests/support/TempData.h"
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

struct CliRun
{
    int code;
    QString out;
    QString err;
};

CliRun cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(QUORVELA_CLI), args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

} // namespace

TEST(Cli, CrearMakesAnOpenableEmptyFileAndNeverOverwrites)
{
    QTemporaryDir dir;
    CliRun r = cli({QStringLiteral("crear"), dir.path()});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    auto db = Database::open(dir.filePath(QStringLiteral("trafos.mdb")));
    ASSERT_TRUE(db.ok()) << db.error().toStdString();
    EXPECT_EQ(
        queryRows(*db.value(), QStringLiteral("SELECT count(*) FROM Trafoge")).value(0).value(0).toInt(), 0);

    r = cli({QStringLiteral("crear"), dir.path()});
    EXPECT_NE(r.code, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("no se sobrescribe"))) << r.err.toStdString();
}

TEST(Cli, FailuresExitNonZeroWithASpanishMessage)
{
    QTemporaryDir dir;
    const struct
    {
        QStringList args;
        const char* expected;
    } cases[] = {
        {{QStringLiteral("crear"), dir.filePath(QStringLiteral("no-existe"))}, "No existe la carpeta"},
        {{QStringLiteral("demo"), dir.path(), QStringLiteral("--transformadores"), QStringLiteral("muchos")},
         "no es un número entero"},
        {{QStringLiteral("demo"), dir.path(), QStringLiteral("--transformadores"), QStringLiteral("40000")},
         "entre 0 y 32767"},
        {{QStringLiteral("demo"), dir.path(), QStringLiteral("--colores"), QStringLiteral("3")},
         "Opción desconocida"},
        {{QStringLiteral("borrar"), dir.path()}, "Uso:"},
    };
    for (const auto& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_NE(r.code, 0) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.expected))) << r.err.toStdString();
    }
    // A refused generation leaves no file behind.
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("trafos.mdb"))));
}

TEST(Cli, VersionPrintsTheProgramVersion)
{
    const CliRun r = cli({QStringLiteral("version")});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Quorvela "))) << r.out.toStdString();
}

TEST(DemoPlant, CoversEveryStateOilAndTheTransformersWithoutTests)
{
    QTemporaryDir dir;
    ASSERT_TRUE(demo::createDemo(dir.path()).ok());
    auto opened = Database::open(dir.filePath(QStringLiteral("trafos.mdb")));
    ASSERT_TRUE(opened.ok());
    Database& db = *opened.value();
    const auto states = queryRows(db, QStringLiteral("SELECT DISTINCT ESTADO FROM Trafoge ORDER BY 1"));
    ASSERT_EQ(states.size(), 4);
    for (int s = 0; s < 4; ++s)
        EXPECT_EQ(states[s].value(0).toInt(), s);
    const int count = queryRows(db, QStringLiteral("SELECT count(*) FROM Trafoge")).value(0).value(0).toInt();
    EXPECT_GE(count, 35);
    EXPECT_LE(count, 50);
    for (const char* oil : {"SECO", "PCB"})
        EXPECT_FALSE(queryRows(db, QStringLiteral("SELECT 1 FROM Trafoge WHERE \"TIPO AISLANTE\" = '%1'")
                                       .arg(QString::fromUtf8(oil)))
                         .isEmpty());
    EXPECT_EQ(queryRows(db, QStringLiteral("SELECT DISTINCT TIPO FROM Trafoge")).size(), 4);
    const auto withoutTests = queryRows(
        db, QStringLiteral(
                "SELECT \"CÓDIGO\" FROM Trafoge WHERE \"CÓDIGO\" NOT IN (SELECT \"Código\" FROM Ensayos)"));
    EXPECT_GE(withoutTests.size(), 2);
    // Tests, inspections and maintenance spread over several years.
    for (const char* sql : {"SELECT count(DISTINCT substr(Fecha,1,4)) FROM Ensayos",
                            "SELECT count(DISTINCT substr(FECHA,1,4)) FROM Revision",
                            "SELECT count(DISTINCT substr(Fecha,1,4)) FROM Mantenimiento"})
        EXPECT_GE(queryRows(db, QString::fromUtf8(sql)).value(0).value(0).toInt(), 2) << sql;
    // Every observation group has at least one finding somewhere: a few spot checks of the extremes.
    for (const char* sql :
         {"SELECT 1 FROM Ensayos WHERE Diel < 25", "SELECT 1 FROM Ensayos WHERE KFTMC_PPM >= 100",
          "SELECT 1 FROM Ensayos WHERE FD = 1 AND GAS = 1", "SELECT 1 FROM Ensayos WHERE \"TOTAL PCB\" > 50",
          "SELECT 1 FROM Ensayos WHERE Sedimentos = 'MEDIA'"})
        EXPECT_FALSE(queryRows(db, QString::fromUtf8(sql)).isEmpty()) << sql;
}

TEST(DemoPlant, LargePlantHasTheRequestedSizeAndIsRepeatable)
{
    QTemporaryDir a, b;
    const demo::PlantSize size{50, 3, 2, 1, 7};
    ASSERT_TRUE(demo::createLarge(a.path(), size).ok());
    ASSERT_TRUE(demo::createLarge(b.path(), size).ok());
    auto da = Database::open(a.filePath(QStringLiteral("trafos.mdb")));
    auto dbb = Database::open(b.filePath(QStringLiteral("trafos.mdb")));
    ASSERT_TRUE(da.ok() && dbb.ok());
    const QString counts =
        QStringLiteral("SELECT (SELECT count(*) FROM Trafoge), (SELECT count(*) FROM Ensayos), "
                       "(SELECT count(*) FROM Revision), (SELECT count(*) FROM Mantenimiento)");
    EXPECT_EQ(queryRows(*da.value(), counts).value(0), (QVariantList{50, 150, 100, 50}));
    const QString sample = QStringLiteral("SELECT group_concat(AREA || ESTADO) FROM Trafoge");
    EXPECT_EQ(queryRows(*da.value(), sample), queryRows(*dbb.value(), sample));
}

namespace {

QJsonObject evaluar(const QString& folder, const QStringList& extra, CliRun* run = nullptr)
{
    CliRun r = cli(QStringList{QStringLiteral("evaluar"), folder} + extra);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(r.out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
    EXPECT_TRUE(doc.isObject()) << r.out.toStdString();
    if (run)
        *run = r;
    return doc.object();
}

QStringList textos(const QJsonValue& v)
{
    QStringList out;
    for (const QJsonValue& x : v.toArray())
        out << x.toString();
    return out;
}

// The code of the demo transformer whose preset diagnosis starts with `observacion`.
int conDiagnostico(Database& db, const char* observacion)
{
    auto st = Statement::prepare(
        db, QStringLiteral("SELECT \"CÓDIGO\" FROM Trafoge WHERE substr(DIAGNOSTICO, 1, length(?1)) = ?1"),
        {QString::fromUtf8(observacion)});
    EXPECT_TRUE(st.ok());
    if (!st.ok() || !st.value().step().value())
        return 0;
    return st.value().value(0).toInt();
}

} // namespace

// The demo plant carries the expected state and severity of each of its scenarios: a run from
// blank values must arrive at them, and leave the manual ones and every test alone.
TEST(Cli, DiagnosticarReachesTheDemoPlantsStates)
{
    QTemporaryDir dir;
    ASSERT_TRUE(demo::createDemo(dir.path()).ok());
    const QString file = dir.filePath(QStringLiteral("trafos.mdb"));
    QMap<int, QVariantList> esperado;
    QList<QVariantList> ensayosAntes;
    {
        auto db = Database::open(file);
        ASSERT_TRUE(db.ok());
        for (const QVariantList& r :
             queryRows(*db.value(), QStringLiteral("SELECT \"CÓDIGO\", ESTADO, GRAVEDAD, AUTO "
                                                   "FROM Trafoge")))
            esperado.insert(r[0].toInt(), r.mid(1));
        ensayosAntes = queryRows(*db.value(), QStringLiteral("SELECT * FROM Ensayos ORDER BY rowid"));
        ASSERT_TRUE(
            db.value()
                ->exec(QStringLiteral("UPDATE Trafoge SET ESTADO = 0, GRAVEDAD = 99, DIAGNOSTICO = NULL, "
                                      "\"RESUMEN OBS\" = NULL WHERE AUTO = 0"))
                .ok());
    }
    const CliRun r = cli({QStringLiteral("diagnosticar"), dir.path()});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QString total = QString::number(esperado.size());
    EXPECT_TRUE(r.err.contains(QStringLiteral("Diagnosticando: %1/%1").arg(total))) << r.err.toStdString();

    auto db = Database::open(file);
    ASSERT_TRUE(db.ok());
    QSet<int> estados;
    for (const QVariantList& fila : queryRows(
             *db.value(), QStringLiteral("SELECT \"CÓDIGO\", ESTADO, GRAVEDAD, DIAGNOSTICO, \"RESUMEN OBS\" "
                                         "FROM Trafoge"))) {
        const QVariantList& antes = esperado.value(fila[0].toInt());
        EXPECT_EQ(fila[1].toInt(), antes[0].toInt()) << fila[0].toInt();
        EXPECT_EQ(fila[2].toDouble(), antes[1].toDouble()) << fila[0].toInt();
        EXPECT_FALSE(fila[3].isNull()) << fila[0].toInt();
        EXPECT_FALSE(fila[4].isNull()) << fila[0].toInt();
        estados << fila[1].toInt();
    }
    EXPECT_TRUE(estados.contains(1) && estados.contains(2) && estados.contains(3));
    // The grave findings are red whatever else the transformer has.
    for (const char* grave : {" Dieléctrico muy Bajo", " Acidez Muy Alta", " Muy Alto Contenido de Agua",
                              " Gases: Defecto T>700", " Gases: Descargas Alta Energía", " Sin Ensayos"}) {
        auto st =
            Statement::prepare(*db.value(),
                               QStringLiteral("SELECT count(*), min(ESTADO) FROM Trafoge WHERE AUTO = 0 "
                                              "AND instr(DIAGNOSTICO, ?) > 0"),
                               {QString::fromUtf8(grave)});
        ASSERT_TRUE(st.ok() && st.value().step().value());
        EXPECT_GT(st.value().value(0).toInt(), 0) << grave;
        EXPECT_EQ(st.value().value(1).toInt(), 3) << grave;
    }
    EXPECT_EQ(queryRows(*db.value(), QStringLiteral("SELECT * FROM Ensayos ORDER BY rowid")), ensayosAntes);
}

TEST(Cli, EvaluarReportsOneTestAsTheTestTabShowsIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(demo::createDemo(dir.path()).ok());
    auto opened = Database::open(dir.filePath(QStringLiteral("trafos.mdb")));
    ASSERT_TRUE(opened.ok());
    Database& db = *opened.value();

    // A gas fault: the gas-ratio table names it and the test is red.
    const int alta = conDiagnostico(db, " Gases: Descargas Alta Energía");
    ASSERT_NE(alta, 0);
    CliRun run;
    QJsonObject o = evaluar(dir.path(), {QStringLiteral("--codigo"), QString::number(alta)}, &run);
    for (const char* clave : {"codigo", "fecha", "observaciones", "estado", "cuenta", "resaltados", "totales",
                              "dornenburg", "rogers", "relacion_gases"})
        EXPECT_TRUE(o.contains(QString::fromUtf8(clave))) << clave;
    EXPECT_EQ(o.value(QStringLiteral("codigo")).toInt(), alta);
    EXPECT_EQ(textos(o.value(QStringLiteral("observaciones"))),
              QStringList{QString::fromUtf8(" Gases: Descargas Alta Energía")});
    EXPECT_EQ(o.value(QStringLiteral("estado")).toInt(), 3);
    EXPECT_EQ(o.value(QStringLiteral("cuenta")).toInt(), 1);
    const QJsonObject relacion = o.value(QStringLiteral("relacion_gases")).toObject();
    EXPECT_TRUE(relacion.value(QStringLiteral("aplica")).toBool());
    EXPECT_FALSE(relacion.value(QStringLiteral("forzado")).toBool());
    EXPECT_TRUE(textos(relacion.value(QStringLiteral("fallos")))
                    .contains(QString::fromUtf8("Descargas Alta Energía")));
    EXPECT_EQ(relacion.value(QStringLiteral("razones")).toArray().size(), 3);
    EXPECT_TRUE(textos(relacion.value(QStringLiteral("celdas"))).contains(QStringLiteral("0.6-2.5")));
    // The date is the newest test's, and the totals are the sums of its stored gases.
    const QString sumas = QString::fromUtf8(
        "SELECT Fecha, ifnull(\"Hidrógeno\",0)+ifnull(\"Oxígeno\",0)+ifnull(\"Nitrógeno\",0)+ifnull(Metano,0)"
        "+ifnull(\"Monóxido\",0)+ifnull(\"Dióxido\",0)+ifnull(Etano,0)+ifnull(Etileno,0)+ifnull(Acetileno,0),"
        " "
        "ifnull(\"Hidrógeno\",0)+ifnull(Metano,0)+ifnull(\"Monóxido\",0)+ifnull(Etano,0)+ifnull(Etileno,0)"
        "+ifnull(Acetileno,0) FROM Ensayos WHERE \"Código\" = %1 ORDER BY Fecha DESC LIMIT 1");
    const QVariantList nuevo = queryRows(db, sumas.arg(alta)).value(0);
    EXPECT_EQ(o.value(QStringLiteral("fecha")).toString(), nuevo.value(0).toString());
    const QJsonObject totales = o.value(QStringLiteral("totales")).toObject();
    EXPECT_DOUBLE_EQ(totales.value(QStringLiteral("Total Gas")).toDouble(-1), nuevo.value(1).toDouble());
    EXPECT_DOUBLE_EQ(totales.value(QStringLiteral("Total combustible")).toDouble(-1),
                     nuevo.value(2).toDouble());
    const QJsonObject dornenburg = o.value(QStringLiteral("dornenburg")).toObject();
    const QJsonArray razones = dornenburg.value(QStringLiteral("razones")).toArray();
    ASSERT_EQ(razones.size(), 4);
    // The chart carries C2H2/C2H4 across and CH4/H2 up, within its five decades.
    auto dentro = [](double x, double r) { return x == std::clamp(r, 0.001, 100.0); };
    EXPECT_TRUE(dentro(dornenburg.value(QStringLiteral("ejeX")).toDouble(), razones[1].toDouble()));
    EXPECT_TRUE(dentro(dornenburg.value(QStringLiteral("ejeY")).toDouble(), razones[0].toDouble()));
    EXPECT_FALSE(
        o.value(QStringLiteral("rogers")).toObject().value(QStringLiteral("celdas")).toArray().isEmpty());

    // Forced: doubtful in the tab, "Forzado" in every method.
    const int dudoso = conDiagnostico(db, " Gases: Dudoso");
    ASSERT_NE(dudoso, 0);
    o = evaluar(dir.path(), {QStringLiteral("--codigo"), QString::number(dudoso)});
    EXPECT_EQ(textos(o.value(QStringLiteral("observaciones"))),
              QStringList{QStringLiteral(" Gases: Dudoso")});
    EXPECT_EQ(o.value(QStringLiteral("estado")).toInt(), 2);
    for (const char* m : {"dornenburg", "rogers", "relacion_gases"}) {
        const QJsonObject metodo = o.value(QString::fromUtf8(m)).toObject();
        EXPECT_TRUE(metodo.value(QStringLiteral("forzado")).toBool()) << m;
        EXPECT_TRUE(metodo.value(QStringLiteral("aplica")).toBool()) << m;
    }

    // The dielectric box is orange for both of its findings.
    for (const auto& [texto, estado] :
         {std::pair{" Dieléctrico Bajo", 2}, std::pair{" Dieléctrico muy Bajo", 3}}) {
        const int codigo = conDiagnostico(db, texto);
        ASSERT_NE(codigo, 0) << texto;
        o = evaluar(dir.path(), {QStringLiteral("--codigo"), QString::number(codigo)});
        EXPECT_EQ(o.value(QStringLiteral("resaltados")).toObject(),
                  (QJsonObject{{QStringLiteral("Diel"), QStringLiteral("naranja")}}))
            << texto;
        EXPECT_EQ(o.value(QStringLiteral("estado")).toInt(), estado) << texto;
    }
    const int acidez = conDiagnostico(db, " Acidez Alta");
    o = evaluar(dir.path(), {QStringLiteral("--codigo"), QString::number(acidez)});
    EXPECT_EQ(o.value(QStringLiteral("resaltados")).toObject().value(QStringLiteral("Acidez")).toString(),
              QStringLiteral("amarillo"));
    const int lodos = conDiagnostico(db, " Contiene Lodos en MEDIA");
    o = evaluar(dir.path(), {QStringLiteral("--codigo"), QString::number(lodos)});
    EXPECT_EQ(o.value(QStringLiteral("resaltados")).toObject().value(QStringLiteral("Sedimentos")).toString(),
              QStringLiteral("naranja"));

    // Without tests.
    const int sinEnsayos =
        queryRows(db, QStringLiteral(
                          "SELECT \"CÓDIGO\" FROM Trafoge WHERE \"CÓDIGO\" NOT IN (SELECT \"Código\" FROM "
                          "Ensayos) ORDER BY 1"))
            .value(0)
            .value(0)
            .toInt();
    ASSERT_NE(sinEnsayos, 0);
    o = evaluar(dir.path(), {QStringLiteral("--codigo"), QString::number(sinEnsayos)});
    EXPECT_EQ(textos(o.value(QStringLiteral("observaciones"))), QStringList{QStringLiteral(" Sin Ensayos")});
    EXPECT_EQ(o.value(QStringLiteral("estado")).toInt(), 3);
    EXPECT_EQ(o.value(QStringLiteral("cuenta")).toInt(), 6);
    EXPECT_TRUE(o.value(QStringLiteral("fecha")).isNull());
    EXPECT_TRUE(o.value(QStringLiteral("resaltados")).toObject().isEmpty());
    for (const char* m : {"dornenburg", "rogers", "relacion_gases"})
        EXPECT_FALSE(o.value(QString::fromUtf8(m)).toObject().value(QStringLiteral("aplica")).toBool(true))
            << m;

    // An older test by its date: the high-energy transformer's older tests are normal.
    const QString viejo =
        queryRows(db,
                  QStringLiteral("SELECT Fecha FROM Ensayos WHERE \"Código\" = %1 ORDER BY Fecha ASC LIMIT 1")
                      .arg(alta))
            .value(0)
            .value(0)
            .toString();
    o = evaluar(dir.path(),
                {QStringLiteral("--codigo"), QString::number(alta), QStringLiteral("--fecha"), viejo});
    EXPECT_EQ(o.value(QStringLiteral("fecha")).toString(), viejo);
    EXPECT_NE(textos(o.value(QStringLiteral("observaciones"))),
              QStringList{QString::fromUtf8(" Gases: Descargas Alta Energía")});
}

TEST(Cli, DiagnosticarAndEvaluarRefuseWhatTheyCannotDo)
{
    QTemporaryDir dir;
    ASSERT_TRUE(demo::createDemo(dir.path()).ok());
    const QString file = dir.filePath(QStringLiteral("trafos.mdb"));
    QTemporaryDir vacia;
    QTemporaryDir ajena;
    QFile otro(ajena.filePath(QStringLiteral("trafos.mdb")));
    ASSERT_TRUE(otro.open(QIODevice::WriteOnly));
    otro.write("Standard Jet DB, not ours");
    otro.close();
    const QString codigo =
        queryRows(*Database::open(file).value(), QStringLiteral("SELECT min(\"CÓDIGO\") FROM Trafoge"))
            .value(0)
            .value(0)
            .toString();
    const auto d = [](const QString& folder) { return QStringList{QStringLiteral("diagnosticar"), folder}; };
    const auto e = [&](const QStringList& extra) {
        return QStringList{QStringLiteral("evaluar"), dir.path()} + extra;
    };
    const struct
    {
        QStringList args;
        const char* expected;
    } cases[] = {
        {d(dir.filePath(QStringLiteral("no-existe"))), "No existe la carpeta"},
        {d(vacia.path()), "No se encuentra el archivo de datos"},
        {d(ajena.path()), "no tiene el formato SQLite"},
        {{QStringLiteral("diagnosticar"), dir.path(), QStringLiteral("--sobra")}, "Uso:"},
        {e({QStringLiteral("--codigo"), QStringLiteral("9999")}),
         "No existe el transformador de código 9999"},
        {e({QStringLiteral("--codigo"), codigo, QStringLiteral("--fecha"), QStringLiteral("1990-01-01")}),
         "no tiene ningún ensayo del 01/01/1990"},
        {e({QStringLiteral("--codigo"), codigo, QStringLiteral("--fecha"), QStringLiteral("31/12/2024")}),
         "no es válida"},
        {e({QStringLiteral("--codigo"), QStringLiteral("abc")}), "no es un código de transformador válido"},
        {e({QStringLiteral("--codigo"), QStringLiteral("0")}), "no es un código de transformador válido"},
        {e({QStringLiteral("--fecha"), QStringLiteral("2024-01-01")}), "Falta la opción --codigo"},
        {e({QStringLiteral("--codigo")}), "Falta el valor"},
        {e({QStringLiteral("--color"), QStringLiteral("1")}), "Opción desconocida"},
        {{QStringLiteral("evaluar"), vacia.path(), QStringLiteral("--codigo"), codigo},
         "No se encuentra el archivo de datos"},
    };
    for (const auto& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_NE(r.code, 0) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.expected))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
    // Nothing was created where there was no data file, and the foreign file is untouched.
    EXPECT_FALSE(QFile::exists(vacia.filePath(QStringLiteral("trafos.mdb"))));
    ASSERT_TRUE(otro.open(QIODevice::ReadOnly));
    EXPECT_EQ(otro.readAll(), QByteArray("Standard Jet DB, not ours"));

    // A write-protected file is refused and left as it was (the superuser writes through the
    // protection, so this part needs an ordinary user).
    if (geteuid() != 0) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray antes = f.readAll();
        f.close();
        ASSERT_TRUE(f.setPermissions(QFileDevice::ReadOwner));
        const CliRun r = cli(d(dir.path()));
        EXPECT_NE(r.code, 0);
        EXPECT_TRUE(r.err.contains(QStringLiteral("solo lectura"))) << r.err.toStdString();
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), antes);
    }
}
