#include "maintenance/logic/PasswordStore.h"

#include "app/logic/Settings.h"
#include "tests/support/Texto.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PasswordStoreTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    Settings settings{dir.filePath(QStringLiteral("Quorvela.conf"))};
    PasswordStore store{settings};
    const QString lectura = PasswordStore::seccionLectura();
    const QString escritura = PasswordStore::seccionEscritura();
};

} // namespace

TEST_F(PasswordStoreTest, OnlyTheExactTextOpensAGuardedModeAndAnOpenModeTakesAnything)
{
    // Ten characters, one of them accented: every character counts.
    ASSERT_TRUE(store.setPassword(escritura, u("contraseñá")).ok());
    const std::pair<const char*, bool> cases[] = {
        {"contraseñá", true},  {"Contraseñá", false},  {"contraseña", false},
        {"contrasena", false}, {"contraseñ", false},   {"contraseñáa", false},
        {"", false},           {" contraseñá", false}, {"contraseñá ", false},
    };
    for (const auto& [typed, opens] : cases)
        EXPECT_EQ(store.verify(escritura, u(typed)), opens) << typed;

    // The read mode has no password: anything opens it, yet nothing is its password.
    EXPECT_FALSE(store.hasPassword(lectura));
    EXPECT_TRUE(store.verify(lectura, QString()) && store.verify(lectura, QStringLiteral("cualquiera")));
    EXPECT_FALSE(store.matches(lectura, QString()));

    // A value that is no hash of ours (a scrambled one of an earlier installation, say) guards the
    // mode, but nothing matches it, not even its own text.
    const QString foreign = QStringLiteral("0110000101100010");
    ASSERT_TRUE(settings.setPassword(lectura, foreign).ok());
    EXPECT_TRUE(store.hasPassword(lectura));
    for (const QString& typed : {foreign, QString(), QStringLiteral("ab")})
        EXPECT_FALSE(store.verify(lectura, typed)) << typed.toStdString();
}

TEST_F(PasswordStoreTest, StoresASaltedArgon2idHashAndRemovingOrAnEmptyTextOpensTheModeAgain)
{
    ASSERT_TRUE(store.setPassword(lectura, QStringLiteral("Secreto9")).ok());
    const QString stored = Settings(settings.fileName()).password(lectura);
    EXPECT_TRUE(stored.startsWith(QStringLiteral("$argon2id$"))) << stored.toStdString();
    QFile file(settings.fileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("Secreto9"));
    // The same password twice gives two different stored values that both verify.
    ASSERT_TRUE(store.setPassword(escritura, QStringLiteral("Secreto9")).ok());
    EXPECT_NE(store.rawValue(escritura), stored);
    EXPECT_TRUE(store.matches(escritura, QStringLiteral("Secreto9")));

    ASSERT_TRUE(store.removePassword(lectura).ok());
    ASSERT_TRUE(settings.setPassword(lectura, QString()).ok()); // an empty value, as another tool may leave
    ASSERT_TRUE(store.setPassword(escritura, QString()).ok());
    for (const QString& section : {lectura, escritura}) {
        EXPECT_FALSE(store.hasPassword(section)) << section.toStdString();
        EXPECT_TRUE(store.verify(section, QStringLiteral("x"))) << section.toStdString();
    }
}

TEST_F(PasswordStoreTest, AFailedWriteIsReportedAndStoresNothing)
{
    QFile blocker(dir.filePath(QStringLiteral("bloqueo")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // The store's folder is a regular file: the write cannot succeed, even for root.
    Settings broken(blocker.fileName() + QStringLiteral("/Quorvela.conf"));
    PasswordStore unwritable(broken);
    const Status st = unwritable.setPassword(lectura, QStringLiteral("nueva"));
    EXPECT_FALSE(st.ok());
    EXPECT_FALSE(st.error().isEmpty());
    EXPECT_FALSE(unwritable.hasPassword(lectura));
}
