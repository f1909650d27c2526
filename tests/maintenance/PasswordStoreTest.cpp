#include "maintenance/logic/PasswordStore.h"

#include "app/logic/Settings.h"

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

TEST_F(PasswordStoreTest, AbsentOrEmptyValueMeansAnOpenMode)
{
    EXPECT_FALSE(store.hasPassword(lectura));
    EXPECT_TRUE(store.verify(lectura, QString()));
    EXPECT_TRUE(store.verify(lectura, QStringLiteral("cualquiera")));
    EXPECT_FALSE(store.matches(lectura, QString()));

    ASSERT_TRUE(settings.setPassword(escritura, QString()).ok());
    EXPECT_FALSE(store.hasPassword(escritura));
    EXPECT_TRUE(store.verify(escritura, QStringLiteral("x")));
}

TEST_F(PasswordStoreTest, VerifiesOnlyTheRightText)
{
    ASSERT_TRUE(store.setPassword(escritura, QStringLiteral("Clave7")).ok());
    EXPECT_TRUE(store.hasPassword(escritura));

    const struct
    {
        const char* typed;
        bool opens;
    } cases[] = {
        {"Clave7", true}, {"clave7", false},  {"Clave", false},   {"Clave77", false},
        {"", false},      {" Clave7", false}, {"Clave7 ", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(store.verify(escritura, QString::fromUtf8(c.typed)), c.opens) << c.typed;
    // The other mode stays open.
    EXPECT_FALSE(store.hasPassword(lectura));
    EXPECT_TRUE(store.verify(lectura, QStringLiteral("nada")));
}

TEST_F(PasswordStoreTest, StoresAnArgon2idHashNeverTheClearText)
{
    const QString clear = QStringLiteral("Secreto9");
    ASSERT_TRUE(store.setPassword(lectura, clear).ok());
    const QString stored = Settings(settings.fileName()).password(lectura);
    EXPECT_TRUE(stored.startsWith(QStringLiteral("$argon2id$"))) << stored.toStdString();
    EXPECT_FALSE(stored.contains(clear));
    EXPECT_EQ(store.rawValue(lectura), stored);

    QFile file(settings.fileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("Secreto9"));

    // Salted: the same password twice gives two different stored values that both verify.
    ASSERT_TRUE(store.setPassword(escritura, clear).ok());
    EXPECT_NE(store.rawValue(escritura), stored);
    EXPECT_TRUE(store.matches(escritura, clear));
}

TEST_F(PasswordStoreTest, LongAndAccentedPasswordsKeepEveryCharacter)
{
    const QString ten = QStringLiteral("abcdefghij");
    ASSERT_TRUE(store.setPassword(lectura, ten).ok());
    EXPECT_TRUE(store.verify(lectura, ten));
    EXPECT_FALSE(store.verify(lectura, ten.left(9)));
    EXPECT_FALSE(store.verify(lectura, QStringLiteral("abcdefghiJ")));

    const QString accented = QStringLiteral("contraseñá");
    ASSERT_EQ(accented.size(), 10);
    ASSERT_TRUE(store.setPassword(escritura, accented).ok());
    EXPECT_TRUE(store.verify(escritura, accented));
    EXPECT_FALSE(store.verify(escritura, QStringLiteral("contraseña")));
    EXPECT_FALSE(store.verify(escritura, QStringLiteral("contrasena")));
}

TEST_F(PasswordStoreTest, RemovingOrSettingEmptyOpensTheModeAgain)
{
    ASSERT_TRUE(store.setPassword(lectura, QStringLiteral("uno")).ok());
    ASSERT_TRUE(store.removePassword(lectura).ok());
    EXPECT_FALSE(store.hasPassword(lectura));
    EXPECT_TRUE(store.verify(lectura, QString()));

    ASSERT_TRUE(store.setPassword(escritura, QStringLiteral("dos")).ok());
    ASSERT_TRUE(store.setPassword(escritura, QString()).ok());
    EXPECT_FALSE(store.hasPassword(escritura));
}

TEST_F(PasswordStoreTest, AValueThatIsNoHashOpensNothing)
{
    // For instance a scrambled value of an earlier installation: it guards the mode but
    // nothing can match it, not even its own text.
    const QString foreign = QStringLiteral("0110000101100010");
    ASSERT_TRUE(settings.setPassword(lectura, foreign).ok());
    EXPECT_TRUE(store.hasPassword(lectura));
    EXPECT_FALSE(store.verify(lectura, foreign));
    EXPECT_FALSE(store.verify(lectura, QString()));
    EXPECT_FALSE(store.verify(lectura, QStringLiteral("ab")));
}

TEST_F(PasswordStoreTest, AFailedWriteIsReported)
{
    QFile blocker(dir.filePath(QStringLiteral("bloqueo")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // The store's folder is a regular file: the write cannot succeed, even for root.
    Settings broken(dir.filePath(QStringLiteral("bloqueo/Quorvela.conf")));
    PasswordStore unwritable(broken);
    const Status st = unwritable.setPassword(lectura, QStringLiteral("nueva"));
    EXPECT_FALSE(st.ok());
    EXPECT_FALSE(st.error().isEmpty());
    EXPECT_FALSE(unwritable.hasPassword(lectura));
}
