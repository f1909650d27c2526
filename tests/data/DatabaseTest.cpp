#include "data/logic/Database.h"
#include "data/logic/Schema.h"
#include "tests/support/TempData.h"
#include "tests/support/Texto.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Database, OpenRefusesAMissingOrForeignFileByNameAndLeavesItAsItWas)
{
    QTemporaryDir dir;
    const QString path = Database::rutaEn(dir.path());
    const auto missing = Database::open(path);
    ASSERT_FALSE(missing.ok());
    EXPECT_TRUE(missing.error().contains(QStringLiteral("No se encuentra"))) << missing.error().toStdString();
    EXPECT_FALSE(QFileInfo::exists(path)) << "opening must never create the file";

    // A file of the old engine, or anything else that is not the program's data file.
    const QByteArray jet = QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2000, 'x');
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(jet) == jet.size());
    f.close();
    const auto foreign = Database::open(path);
    ASSERT_FALSE(foreign.ok());
    EXPECT_TRUE(foreign.error().contains(path)) << foreign.error().toStdString();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), jet);
}

TEST(Database, CreateMakesAnOwnerOnlyMarkedFileAndRefusesToOverwrite)
{
    TempData data;
    const QFileInfo info(data.file());
    EXPECT_EQ(info.permissions() &
                  (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
              0);
    auto db = data.open();
    ASSERT_TRUE(db);
    EXPECT_EQ(queryRows(*db, QStringLiteral("PRAGMA application_id")),
              (QList<QVariantList>{{qlonglong(schema::kApplicationId)}}));
    EXPECT_FALSE(Database::create(data.file()).ok());
}

TEST(Database, AFileNotMatchingTheDataModelIsRefusedNamingWhatIsMissing)
{
    // A change to the file, and what the refusal names.
    const char* const cases[][2] = {
        {"DROP TABLE Mantenimiento", "tabla 'Mantenimiento'"},
        {"ALTER TABLE Ensayos DROP COLUMN \"%_Inhibidor\"", "campo '%_Inhibidor'"},
        // A single blank names a different field than the two-blank one.
        {"ALTER TABLE Revision RENAME COLUMN \"SEC  / PRIM A TIERRA 10'\" TO \"SEC / PRIM A TIERRA 10'\"",
         "campo 'SEC  / PRIM A TIERRA 10''"},
    };
    for (const auto& [sql, names] : cases) {
        TempData data;
        data.exec(u(sql));
        const auto db = Database::open(data.file());
        ASSERT_FALSE(db.ok()) << sql;
        EXPECT_TRUE(db.error().contains(u(names))) << sql << ": " << db.error().toStdString();
    }
}

TEST(Database, WritesKeepTheCodesUniqueAndAReadOnlyConnectionRefusesWithAReason)
{
    TempData data;
    auto db = data.open();
    ASSERT_TRUE(db);
    const QString trafo = u("INSERT INTO Trafoge (\"CÓDIGO\") VALUES (12)");
    const QString inspection = u("INSERT INTO Revision (\"CÓDIGO\", FECHA) VALUES (12, '2020-01-01')");
    EXPECT_TRUE(db->exec(trafo).ok());
    EXPECT_FALSE(db->exec(trafo).ok()) << "a transformer's code is unique";
    EXPECT_TRUE(db->exec(inspection).ok());
    EXPECT_TRUE(db->exec(inspection).ok()) << "a transformer has many dated rows";
    EXPECT_FALSE(Statement::prepare(*db, QStringLiteral("SELECT 1; DELETE FROM Trafoge")).ok());

    auto readOnly = data.open(true);
    ASSERT_TRUE(readOnly);
    const Status st = readOnly->exec(u("INSERT INTO Trafoge (\"CÓDIGO\") VALUES (1)"));
    ASSERT_FALSE(st.ok());
    EXPECT_TRUE(st.error().contains(QStringLiteral("solo lectura"))) << st.error().toStdString();
    EXPECT_EQ(queryRows(*db, u("SELECT count(*) FROM Trafoge")), (QList<QVariantList>{{qlonglong(1)}}));
}
