#include "data/logic/Database.h"
#include "data/logic/DemoPlant.h"
#include "tests/support/TempData.h"
#include "tests/support/Texto.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun
{
    int code;
    QString out;
    QString err;
};

// Runs quorvela-cli with the words of orden (temporary folders hold no blanks).
CliRun cli(const QString& orden)
{
    QProcess p;
    p.start(QStringLiteral(QUORVELA_CLI), orden.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

std::shared_ptr<Database> abrir(const QString& folder)
{
    auto db = Database::open(Database::rutaEn(folder));
    EXPECT_TRUE(db.ok()) << db.error().toStdString();
    return db.ok() ? db.value() : nullptr;
}

// The first value of a query, as text.
QString primero(const Database& db, const QString& sql)
{
    return queryRows(db, sql).value(0).value(0).toString();
}

QByteArray contenido(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

} // namespace

TEST(Cli, CrearMakesAnEmptyDataFileAndVersionAnswers)
{
    QTemporaryDir dir;
    CliRun r = cli(QStringLiteral("crear ") + dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    auto db = abrir(dir.path());
    ASSERT_TRUE(db);
    EXPECT_EQ(primero(*db, QStringLiteral("SELECT count(*) FROM Trafoge")), QStringLiteral("0"));
    r = cli(QStringLiteral("version"));
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Quorvela "))) << r.out.toStdString();
}

TEST(Cli, RefusedCommandsExitNonZeroWithASpanishMessageAndTouchNoFile)
{
    QTemporaryDir dir, vacia, ajena;
    ASSERT_TRUE(demo::createDemo(dir.path()).ok());
    const QString ajeno = Database::rutaEn(ajena.path());
    {
        QFile otro(ajeno);
        ASSERT_TRUE(otro.open(QIODevice::WriteOnly));
        otro.write("Standard Jet DB, not ours");
    }
    // {d} the demo plant, {v} an empty folder, {a} a folder with a foreign file, {n} no folder,
    // {c} an existing transformer code.
    const char* const cases[][2] = {
        {"crear {n}", "No existe la carpeta"},
        {"crear {d}", "no se sobrescribe"},
        {"demo {v} --transformadores muchos", "no es un número entero"},
        {"demo {v} --transformadores 40000", "entre 0 y 32767"},
        {"demo {v} --colores 3", "Opción desconocida"},
        {"borrar {d}", "Uso:"},
        {"diagnosticar {n}", "No existe la carpeta"},
        {"diagnosticar {v}", "No se encuentra el archivo de datos"},
        {"diagnosticar {a}", "no tiene el formato SQLite"},
        {"diagnosticar {d} --sobra", "Uso:"},
        {"evaluar {d} --codigo 9999", "No existe el transformador de código 9999"},
        {"evaluar {d} --codigo -32768", "No existe el transformador de código -32768"},
        {"evaluar {d} --codigo {c} --fecha 1990-01-01", "no tiene ningún ensayo del 01/01/1990"},
        {"evaluar {d} --codigo {c} --fecha 31/12/2024", "no es válida"},
        {"evaluar {d} --codigo abc", "no es un código de transformador válido"},
        {"evaluar {d} --codigo 0", "no es un código de transformador válido"},
        {"evaluar {d} --codigo 32768", "no es un código de transformador válido"},
        {"evaluar {d} --fecha 2024-01-01", "Falta la opción --codigo"},
        {"evaluar {d} --codigo", "Falta el valor"},
        {"evaluar {d} --color 1", "Opción desconocida"},
        {"evaluar {v} --codigo {c}", "No se encuentra el archivo de datos"},
    };
    const QString codigo = primero(*abrir(dir.path()), u("SELECT min(\"CÓDIGO\") FROM Trafoge"));
    const QByteArray plantaAntes = contenido(Database::rutaEn(dir.path()));
    for (const auto& [orden, expected] : cases) {
        const QString args = u(orden)
                                 .replace(QStringLiteral("{d}"), dir.path())
                                 .replace(QStringLiteral("{v}"), vacia.path())
                                 .replace(QStringLiteral("{a}"), ajena.path())
                                 .replace(QStringLiteral("{n}"), dir.filePath(QStringLiteral("no-existe")))
                                 .replace(QStringLiteral("{c}"), codigo);
        const CliRun r = cli(args);
        EXPECT_NE(r.code, 0) << orden;
        EXPECT_TRUE(r.err.contains(u(expected))) << orden << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << orden << ": " << r.out.toStdString();
    }
    EXPECT_FALSE(QFile::exists(Database::rutaEn(vacia.path())));
    EXPECT_EQ(contenido(ajeno), QByteArray("Standard Jet DB, not ours"));
    EXPECT_TRUE(contenido(Database::rutaEn(dir.path())) == plantaAntes);
}

// The command's options reach the generator: the size, then the seed.
TEST(Cli, DemoMakesAPlantOfTheRequestedSizeAndSeed)
{
    QTemporaryDir carpetas[3];
    const char* const semillas[] = {"7", "7", "8"};
    QString muestras[3];
    for (int i = 0; i < 3; ++i) {
        const CliRun r =
            cli(QStringLiteral("demo %1 --transformadores 50 --ensayos-por-trafo 3 --revisiones-por-trafo "
                               "2 --mantenimientos-por-trafo 1 --semilla %2")
                    .arg(carpetas[i].path(), u(semillas[i])));
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        auto generada = abrir(carpetas[i].path());
        ASSERT_TRUE(generada);
        EXPECT_EQ(
            primero(*generada, QStringLiteral("SELECT (SELECT count(*) FROM Trafoge) || ' ' || (SELECT "
                                              "count(*) FROM Ensayos) || ' ' || (SELECT count(*) FROM "
                                              "Revision) || ' ' || (SELECT count(*) FROM Mantenimiento)")),
            QStringLiteral("50 150 100 50"));
        muestras[i] = primero(*generada, QStringLiteral("SELECT group_concat(AREA || ESTADO) FROM Trafoge"));
    }
    EXPECT_EQ(muestras[0], muestras[1]);
    EXPECT_NE(muestras[0], muestras[2]);
}

// The demo plant covers every state and carries the expected state and severity of each of its
// scenarios: a run from blank values must arrive at them, and leave the manual ones and every test alone.
TEST(Cli, DemoPlantCoversEveryScenarioAndDiagnosticarReachesItsStates)
{
    QTemporaryDir dir;
    ASSERT_TRUE(demo::createDemo(dir.path()).ok());
    auto db = abrir(dir.path());
    ASSERT_TRUE(db);
    const char* const consultas[][2] = {
        {"SELECT group_concat(ESTADO) FROM (SELECT DISTINCT ESTADO FROM Trafoge ORDER BY 1)", "0,1,2,3"},
        {"SELECT count(*) BETWEEN 35 AND 50 AND count(DISTINCT TIPO) = 4 FROM Trafoge", "1"},
        {"SELECT count(DISTINCT \"TIPO AISLANTE\") FROM Trafoge WHERE \"TIPO AISLANTE\" IN ('SECO','PCB')",
         "2"},
        {"SELECT count(*) >= 2 FROM Trafoge WHERE \"CÓDIGO\" NOT IN (SELECT \"Código\" FROM Ensayos)", "1"},
        {"SELECT count(*) > 0 FROM Ensayos WHERE \"TOTAL PCB\" > 50", "1"},
        // Tests, inspections and maintenance spread over several years.
        {"SELECT count(DISTINCT substr(Fecha, 1, 4)) >= 2 FROM Ensayos", "1"},
        {"SELECT count(DISTINCT substr(Fecha, 1, 4)) >= 2 FROM Revision", "1"},
        {"SELECT count(DISTINCT substr(Fecha, 1, 4)) >= 2 FROM Mantenimiento", "1"},
    };
    for (const auto& [sql, valor] : consultas)
        EXPECT_EQ(primero(*db, u(sql)), u(valor)) << sql;

    const QString trafos = u("SELECT \"CÓDIGO\", ESTADO, GRAVEDAD FROM Trafoge ORDER BY 1");
    const QString ensayos = QStringLiteral("SELECT * FROM Ensayos ORDER BY rowid");
    const QList<QVariantList> esperado = queryRows(*db, trafos), ensayosAntes = queryRows(*db, ensayos);
    ASSERT_TRUE(db->exec(u("UPDATE Trafoge SET ESTADO = 0, GRAVEDAD = 99, DIAGNOSTICO = NULL, "
                           "\"RESUMEN OBS\" = NULL WHERE AUTO = 0"))
                    .ok());
    const CliRun r = cli(QStringLiteral("diagnosticar ") + dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Diagnosticando: %1/%1").arg(esperado.size())))
        << r.err.toStdString();
    EXPECT_EQ(queryRows(*db, trafos), esperado);
    EXPECT_EQ(
        primero(*db, u("SELECT count(*) FROM Trafoge WHERE DIAGNOSTICO IS NULL OR \"RESUMEN OBS\" IS NULL")),
        QStringLiteral("0"));
    EXPECT_EQ(queryRows(*db, ensayos), ensayosAntes);
    // The grave findings are red whatever else the transformer has.
    for (const char* grave : {" Dieléctrico muy Bajo", " Acidez Muy Alta", " Muy Alto Contenido de Agua",
                              " Gases: Defecto T>700", " Gases: Descargas Alta Energía", " Sin Ensayos"})
        EXPECT_EQ(
            primero(*db, QStringLiteral("SELECT count(*) > 0 AND min(ESTADO) = 3 FROM Trafoge WHERE AUTO = 0 "
                                        "AND instr(DIAGNOSTICO, '%1') > 0")
                             .arg(u(grave))),
            QStringLiteral("1"))
            << grave;
}

// evaluar reads the transformer's newest test, or the one of --fecha, as the test tab shows it.
TEST(Cli, EvaluarReportsTheStoredTestAsTheTestTabShowsIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(demo::createDemo(dir.path()).ok());
    auto db = abrir(dir.path());
    ASSERT_TRUE(db);
    const auto evaluar = [&](const QString& opciones) {
        const CliRun r = cli(QStringLiteral("evaluar %1 %2").arg(dir.path(), opciones));
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        QJsonParseError error;
        const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
        EXPECT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
        QStringList observaciones;
        for (const QJsonValue& x : o.value(QStringLiteral("observaciones")).toArray())
            observaciones << x.toString();
        return std::pair{o, observaciones};
    };
    const struct
    {
        const char* observacion; // the start of the stored diagnosis: the newest test's finding
        int estado;
        const char* resaltado; // the box the finding colours, and its colour
        const char* color;
        bool forzado; // the gas methods are forced
    } casos[] = {
        {" Gases: Descargas Alta Energía", 3, "", "", false},
        {" Gases: Dudoso", 2, "", "", true},
        {" Dieléctrico Bajo", 2, "Diel", "naranja", false},
        {" Dieléctrico muy Bajo", 3, "Diel", "naranja", false},
        {" Acidez Alta", 2, "Acidez", "amarillo", false},
        {" Contiene Lodos en MEDIA Cantidad", 2, "Sedimentos", "naranja", false},
        {" Sin Ensayos", 3, "", "", false}, // no test, no date
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.observacion);
        const QString codigo = primero(
            *db,
            u("SELECT \"CÓDIGO\" FROM Trafoge WHERE instr(DIAGNOSTICO, '%1') = 1").arg(u(c.observacion)));
        ASSERT_FALSE(codigo.isEmpty());
        const auto [o, observaciones] = evaluar(QStringLiteral("--codigo ") + codigo);
        EXPECT_EQ(o.value(QStringLiteral("fecha")).toString(),
                  primero(*db, u("SELECT max(Fecha) FROM Ensayos WHERE \"Código\" = %1").arg(codigo)));
        EXPECT_TRUE(observaciones.contains(u(c.observacion)))
            << observaciones.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(o.value(QStringLiteral("estado")).toInt(), c.estado);
        if (*c.resaltado) {
            EXPECT_EQ(o.value(QStringLiteral("resaltados")).toObject().value(u(c.resaltado)).toString(),
                      u(c.color));
        }
        for (const char* m : {"dornenburg", "rogers", "relacion_gases"})
            EXPECT_EQ(o.value(u(m)).toObject().value(QStringLiteral("forzado")).toBool(), c.forzado) << m;
    }

    // An older test by its date: the high-energy transformer's older tests are normal.
    const QString alta = primero(
        *db, u("SELECT \"CÓDIGO\" FROM Trafoge WHERE instr(DIAGNOSTICO, ' Gases: Descargas Alta') = 1"));
    const QString viejo = primero(*db, u("SELECT min(Fecha) FROM Ensayos WHERE \"Código\" = %1").arg(alta));
    const auto [antes, observacionesAntes] =
        evaluar(QStringLiteral("--codigo %1 --fecha %2").arg(alta, viejo));
    EXPECT_EQ(antes.value(QStringLiteral("fecha")).toString(), viejo);
    EXPECT_FALSE(observacionesAntes.contains(u(" Gases: Descargas Alta Energía")));
}
