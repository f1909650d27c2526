#include "data/logic/Database.h"
#include "data/logic/Schema.h"
#include "tests/support/TempData.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

TEST(Database, OpeningAMissingFileNeverCreatesIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trafos.mdb"));
    auto db = Database::open(path);
    EXPECT_FALSE(db.ok());
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(db.error().contains(QStringLiteral("No se encuentra")));
}

TEST(Database, CreateMakesAnOwnerOnlyMarkedFileAndRefusesToOverwrite)
{
    TempData data;
    QFileInfo info(data.file());
    EXPECT_EQ(info.permissions() &
                  (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
              0);
    auto db = data.open();
    ASSERT_TRUE(db);
    auto st = Statement::prepare(*db, QStringLiteral("PRAGMA application_id"));
    ASSERT_TRUE(st.ok());
    ASSERT_TRUE(st.value().step().value());
    EXPECT_EQ(st.value().int64(0), schema::kApplicationId);
    EXPECT_FALSE(Database::create(data.file()).ok());
}

TEST(Database, ForeignFileIsRefusedByNameAndLeftUntouched)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trafos.mdb"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    const QByteArray jet = QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2000, 'x');
    f.write(jet);
    f.close();
    auto db = Database::open(path);
    ASSERT_FALSE(db.ok());
    EXPECT_TRUE(db.error().contains(path)) << db.error().toStdString();
    QFile back(path);
    ASSERT_TRUE(back.open(QIODevice::ReadOnly));
    EXPECT_EQ(back.readAll(), jet);
}

struct MissingCase
{
    const char* name;
    const char* sql;
    const char* expected;
};

class DatabaseMismatch : public ::testing::TestWithParam<MissingCase>
{
};

TEST_P(DatabaseMismatch, NamesWhatIsMissing)
{
    TempData data;
    data.exec(QString::fromUtf8(GetParam().sql));
    auto db = Database::open(data.file());
    ASSERT_FALSE(db.ok());
    EXPECT_TRUE(db.error().contains(QString::fromUtf8(GetParam().expected))) << db.error().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Tables, DatabaseMismatch,
    ::testing::Values(
        MissingCase{"SinTabla", "DROP TABLE Mantenimiento", "tabla 'Mantenimiento'"},
        // a single blank names a different field than the two-blank one
        MissingCase{
            "UnBlancoEnVezDeDos",
            "ALTER TABLE Revision RENAME COLUMN \"SEC  / PRIM A TIERRA 10'\" TO \"SEC / PRIM A TIERRA 10'\"",
            "campo 'SEC  / PRIM A TIERRA 10''"},
        MissingCase{"SinCampo", "ALTER TABLE Ensayos DROP COLUMN \"%_Inhibidor\"", "campo '%_Inhibidor'"}),
    [](const ::testing::TestParamInfo<MissingCase>& info) { return std::string(info.param.name); });

TEST(Database, ReadOnlyConnectionRefusesWritesWithAReason)
{
    TempData data;
    auto db = data.open(true);
    ASSERT_TRUE(db);
    const Status st = db->exec(QStringLiteral("INSERT INTO Trafoge (\"CÓDIGO\") VALUES (1)"));
    EXPECT_FALSE(st.ok());
    EXPECT_TRUE(st.error().contains(QStringLiteral("solo lectura"))) << st.error().toStdString();
}

TEST(Database, CodesAreUniqueInTrafogeButNotInDatedTables)
{
    TempData data;
    auto db = data.open();
    ASSERT_TRUE(db);
    EXPECT_TRUE(db->exec(QStringLiteral("INSERT INTO Trafoge (\"CÓDIGO\") VALUES (12)")).ok());
    EXPECT_FALSE(db->exec(QStringLiteral("INSERT INTO Trafoge (\"CÓDIGO\") VALUES (12)")).ok());
    EXPECT_TRUE(
        db->exec(QStringLiteral("INSERT INTO Revision (\"CÓDIGO\", FECHA) VALUES (12, '2020-01-01')")).ok());
    EXPECT_TRUE(
        db->exec(QStringLiteral("INSERT INTO Revision (\"CÓDIGO\", FECHA) VALUES (12, '2020-01-01')")).ok());
}

TEST(Statement, RefusesASecondStatement)
{
    TempData data;
    auto db = data.open();
    ASSERT_TRUE(db);
    auto st = Statement::prepare(*db, QStringLiteral("SELECT 1; DELETE FROM Trafoge"));
    EXPECT_FALSE(st.ok());
}
