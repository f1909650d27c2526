#include "app/logic/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A store in a fresh folder of its own, so tests running side by side never share values.
struct TempSettings
{
    QTemporaryDir dir;
    Settings settings{dir.filePath(QStringLiteral("Quorvela.conf"))};
};

} // namespace

TEST(Settings, UserStoreLivesUnderTheRedirectedConfigFolder)
{
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_FALSE(configHome.isEmpty()) << "tests must redirect XDG_CONFIG_HOME";
    const QString userConfig = QDir::homePath() + QStringLiteral("/.config");
    ASSERT_NE(QDir::cleanPath(configHome), QDir::cleanPath(userConfig));

    Settings settings;
    const QString expected = QDir::cleanPath(configHome + QStringLiteral("/Quorvela/Quorvela.conf"));
    EXPECT_EQ(QDir::cleanPath(settings.fileName()), expected);

    const QString key = QStringLiteral("PRUEBA_REDIRECCION");
    ASSERT_TRUE(settings.setValue(QStringLiteral("QL"), key, QStringLiteral("sí")).ok());
    EXPECT_TRUE(QFileInfo::exists(expected));
    EXPECT_EQ(settings.value(QStringLiteral("QL"), key), QStringLiteral("sí"));
    EXPECT_TRUE(settings.remove(QStringLiteral("QL"), key).ok());
    EXPECT_TRUE(settings.value(QStringLiteral("QL"), key).isEmpty());
}

TEST(Settings, AbsentValuesReadEmpty)
{
    TempSettings t;
    EXPECT_TRUE(t.settings.dataFolder().isEmpty());
    EXPECT_TRUE(t.settings.password(QStringLiteral("QL1")).isEmpty());
    EXPECT_TRUE(t.settings.password(QStringLiteral("QL2")).isEmpty());
    EXPECT_TRUE(t.settings.value(QStringLiteral("QL"), QStringLiteral("OTRA")).isEmpty());
}

TEST(Settings, KeepsSectionsAndKeysApartInTheFile)
{
    TempSettings t;
    ASSERT_TRUE(t.settings.setDataFolder(QStringLiteral("/datos/planta")).ok());
    ASSERT_TRUE(t.settings.setPassword(QStringLiteral("QL1"), QStringLiteral("lectura")).ok());
    ASSERT_TRUE(t.settings.setPassword(QStringLiteral("QL2"), QStringLiteral("escritura")).ok());

    // A second object reads the file afresh.
    Settings again(t.settings.fileName());
    EXPECT_EQ(again.dataFolder(), QStringLiteral("/datos/planta"));
    EXPECT_EQ(again.password(QStringLiteral("QL1")), QStringLiteral("lectura"));
    EXPECT_EQ(again.password(QStringLiteral("QL2")), QStringLiteral("escritura"));

    QFile file(t.settings.fileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("[QL]")));
    EXPECT_TRUE(text.contains(QStringLiteral("DIR=/datos/planta")));
    EXPECT_TRUE(text.contains(QStringLiteral("[QL1]")));
    EXPECT_TRUE(text.contains(QStringLiteral("[QL2]")));
}

TEST(Settings, StoresTheDataFolderWithoutATrailingSeparator)
{
    const struct
    {
        const char* given;
        const char* stored;
    } cases[] = {
        {"/datos/planta/", "/datos/planta"},    {"/datos/planta", "/datos/planta"},
        {"/datos//planta///", "/datos/planta"}, {"/", "/"},
        {"/datos/ñandú/", "/datos/ñandú"},
    };
    for (const auto& c : cases) {
        TempSettings t;
        ASSERT_TRUE(t.settings.setDataFolder(QString::fromUtf8(c.given)).ok());
        EXPECT_EQ(t.settings.dataFolder(), QString::fromUtf8(c.stored)) << c.given;
    }
}

TEST(Settings, ReportsAFailedWriteAndKeepsNothing)
{
    QTemporaryDir dir;
    // A regular file where the store's folder should be: no user, not even root, can write there.
    const QString blocker = dir.filePath(QStringLiteral("bloqueo"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    Settings settings(blocker + QStringLiteral("/Quorvela.conf"));

    const Status written = settings.setDataFolder(QStringLiteral("/datos"));
    EXPECT_FALSE(written.ok());
    EXPECT_FALSE(written.error().isEmpty());
    EXPECT_TRUE(Settings(blocker + QStringLiteral("/Quorvela.conf")).dataFolder().isEmpty());
    EXPECT_FALSE(settings.setPassword(QStringLiteral("QL2"), QStringLiteral("x")).ok());
}

TEST(Settings, RemovesAKeyAndReportsSuccess)
{
    TempSettings t;
    ASSERT_TRUE(t.settings.setPassword(QStringLiteral("QL1"), QStringLiteral("abc")).ok());
    ASSERT_TRUE(t.settings.setPassword(QStringLiteral("QL2"), QStringLiteral("def")).ok());

    EXPECT_TRUE(t.settings.removePassword(QStringLiteral("QL1")).ok());
    EXPECT_TRUE(Settings(t.settings.fileName()).password(QStringLiteral("QL1")).isEmpty());
    EXPECT_EQ(Settings(t.settings.fileName()).password(QStringLiteral("QL2")), QStringLiteral("def"));
    // Removing what is not there is no failure.
    EXPECT_TRUE(t.settings.removePassword(QStringLiteral("QL1")).ok());
}
