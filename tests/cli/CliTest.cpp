#include "data/logic/Database.h"
#include "data/logic/DemoPlant.h"

#include <QDir>
#include <QFile>
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

CliRun cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(QUORVELA_CLI), args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

QList<QVariantList> rows(Database& db, const QString& sql)
{
    QList<QVariantList> out;
    auto st = Statement::prepare(db, sql);
    EXPECT_TRUE(st.ok()) << st.error().toStdString();
    if (!st.ok())
        return out;
    while (st.value().step().value()) {
        QVariantList row;
        for (int i = 0; i < st.value().columnCount(); ++i)
            row << st.value().value(i);
        out << row;
    }
    return out;
}

} // namespace

TEST(Cli, CrearMakesAnOpenableEmptyFileAndNeverOverwrites)
{
    QTemporaryDir dir;
    CliRun r = cli({QStringLiteral("crear"), dir.path()});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    auto db = Database::open(dir.filePath(QStringLiteral("trafos.mdb")));
    ASSERT_TRUE(db.ok()) << db.error().toStdString();
    EXPECT_EQ(rows(*db.value(), QStringLiteral("SELECT count(*) FROM Trafoge")).value(0).value(0).toInt(), 0);

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
    const auto states = rows(db, QStringLiteral("SELECT DISTINCT ESTADO FROM Trafoge ORDER BY 1"));
    ASSERT_EQ(states.size(), 4);
    for (int s = 0; s < 4; ++s)
        EXPECT_EQ(states[s].value(0).toInt(), s);
    const int count = rows(db, QStringLiteral("SELECT count(*) FROM Trafoge")).value(0).value(0).toInt();
    EXPECT_GE(count, 35);
    EXPECT_LE(count, 50);
    for (const char* oil : {"SECO", "PCB"})
        EXPECT_FALSE(rows(db, QStringLiteral("SELECT 1 FROM Trafoge WHERE \"TIPO AISLANTE\" = '%1'")
                                  .arg(QString::fromUtf8(oil)))
                         .isEmpty());
    EXPECT_EQ(rows(db, QStringLiteral("SELECT DISTINCT TIPO FROM Trafoge")).size(), 4);
    const auto withoutTests = rows(
        db, QStringLiteral(
                "SELECT \"CÓDIGO\" FROM Trafoge WHERE \"CÓDIGO\" NOT IN (SELECT \"Código\" FROM Ensayos)"));
    EXPECT_GE(withoutTests.size(), 2);
    // Tests, inspections and maintenance spread over several years.
    for (const char* sql : {"SELECT count(DISTINCT substr(Fecha,1,4)) FROM Ensayos",
                            "SELECT count(DISTINCT substr(FECHA,1,4)) FROM Revision",
                            "SELECT count(DISTINCT substr(Fecha,1,4)) FROM Mantenimiento"})
        EXPECT_GE(rows(db, QString::fromUtf8(sql)).value(0).value(0).toInt(), 2) << sql;
    // Every observation group has at least one finding somewhere: a few spot checks of the extremes.
    for (const char* sql :
         {"SELECT 1 FROM Ensayos WHERE Diel < 25", "SELECT 1 FROM Ensayos WHERE KFTMC_PPM >= 100",
          "SELECT 1 FROM Ensayos WHERE FD = 1 AND GAS = 1", "SELECT 1 FROM Ensayos WHERE \"TOTAL PCB\" > 50",
          "SELECT 1 FROM Ensayos WHERE Sedimentos = 'MEDIA'"})
        EXPECT_FALSE(rows(db, QString::fromUtf8(sql)).isEmpty()) << sql;
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
    EXPECT_EQ(rows(*da.value(), counts).value(0), (QVariantList{50, 150, 100, 50}));
    const QString sample = QStringLiteral("SELECT group_concat(AREA || ESTADO) FROM Trafoge");
    EXPECT_EQ(rows(*da.value(), sample), rows(*dbb.value(), sample));
}
