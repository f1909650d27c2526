#include "app/logic/Settings.h"
#include "tests/support/Texto.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Settings, UserStoreLivesUnderTheRedirectedConfigFolder)
{
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_FALSE(configHome.isEmpty()) << "tests must redirect XDG_CONFIG_HOME";
    ASSERT_NE(QDir::cleanPath(configHome), QDir::cleanPath(QDir::homePath() + QStringLiteral("/.config")));

    Settings settings;
    const QString expected = QDir::cleanPath(configHome + QStringLiteral("/Quorvela/Quorvela.conf"));
    EXPECT_EQ(QDir::cleanPath(settings.fileName()), expected);
    const QString key = QStringLiteral("PRUEBA_REDIRECCION");
    ASSERT_TRUE(settings.setValue(QStringLiteral("QL"), key, u("sí")).ok());
    EXPECT_TRUE(QFileInfo::exists(expected));
    EXPECT_EQ(settings.value(QStringLiteral("QL"), key), u("sí"));
    ASSERT_TRUE(settings.remove(QStringLiteral("QL"), key).ok()); // leaves the test store as it was
}

TEST(Settings, KeepsSectionsAndKeysApartAndRemovesOneKey)
{
    QTemporaryDir dir;
    Settings settings(dir.filePath(QStringLiteral("Quorvela.conf")));
    EXPECT_TRUE(settings.dataFolder().isEmpty());
    EXPECT_TRUE(settings.password(QStringLiteral("QL1")).isEmpty());
    ASSERT_TRUE(settings.setDataFolder(QStringLiteral("/datos/planta")).ok());
    ASSERT_TRUE(settings.setPassword(QStringLiteral("QL1"), QStringLiteral("lectura")).ok());
    ASSERT_TRUE(settings.setPassword(QStringLiteral("QL2"), QStringLiteral("escritura")).ok());

    QFile file(settings.fileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    for (const char* line : {"[QL]", "DIR=/datos/planta", "[QL1]", "PASS=lectura", "[QL2]", "PASS=escritura"})
        EXPECT_TRUE(text.contains(QLatin1String(line))) << line << " in\n" << text.toStdString();

    ASSERT_TRUE(settings.removePassword(QStringLiteral("QL1")).ok());
    EXPECT_TRUE(settings.removePassword(QStringLiteral("QL1")).ok()) << "removing what is not there";
    // A second object reads the file afresh.
    const Settings again(settings.fileName());
    EXPECT_EQ(again.dataFolder(), QStringLiteral("/datos/planta"));
    EXPECT_TRUE(again.password(QStringLiteral("QL1")).isEmpty());
    EXPECT_EQ(again.password(QStringLiteral("QL2")), QStringLiteral("escritura"));
}

TEST(Settings, DataFolderIsStoredAndReadWithoutATrailingSeparator)
{
    const char* const cases[][2] = {{"/datos/planta/", "/datos/planta"},
                                    {"/datos//planta///", "/datos/planta"},
                                    {"/", "/"},
                                    {"/datos/ñandú/", "/datos/ñandú"}};
    QTemporaryDir dir;
    Settings settings(dir.filePath(QStringLiteral("Quorvela.conf")));
    for (const auto& [given, stored] : cases) {
        ASSERT_TRUE(settings.setDataFolder(u(given)).ok());
        EXPECT_EQ(settings.value(QStringLiteral("QL"), QStringLiteral("DIR")), u(stored)) << given;
        // As another program may have written it.
        ASSERT_TRUE(settings.setValue(QStringLiteral("QL"), QStringLiteral("DIR"), u(given)).ok());
        EXPECT_EQ(settings.dataFolder(), u(stored)) << given;
    }
}

TEST(Settings, ReportsAFailedWriteAndKeepsNothing)
{
    QTemporaryDir dir;
    // A regular file where the store's folder should be: no user, not even root, can write there.
    QFile blocker(dir.filePath(QStringLiteral("bloqueo")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Settings settings(blocker.fileName() + QStringLiteral("/Quorvela.conf"));

    const Status written = settings.setDataFolder(QStringLiteral("/datos"));
    EXPECT_FALSE(written.ok());
    EXPECT_FALSE(written.error().isEmpty());
    EXPECT_TRUE(Settings(settings.fileName()).dataFolder().isEmpty());
    EXPECT_FALSE(settings.setPassword(QStringLiteral("QL2"), QStringLiteral("x")).ok());
}
