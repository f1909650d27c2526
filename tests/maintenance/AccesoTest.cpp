#include "maintenance/ui/Pas.h"

#include "app/logic/RunState.h"
#include "app/logic/Settings.h"
#include "maintenance/logic/PasswordStore.h"
#include "tests/support/ScriptedMensajes.h"
#include "tests/support/Texto.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// The permission bits of a file, or -1 when it cannot be read.
int modo(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// Replaces the settings file as a person or another tool may write it, readable by all.
void escribirAMano(const QString& path, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
    ASSERT_TRUE(file.setPermissions(file.permissions() | QFile::ReadGroup | QFile::ReadOther));
}

// The connection window on a store of its own, opened as start-up does once the passwords are set.
struct Conexion
{
    Conexion(const char* lectura, const char* escritura)
        : guardadas(claves.setPassword(PasswordStore::seccionLectura(), u(lectura)).ok() &&
                    claves.setPassword(PasswordStore::seccionEscritura(), u(escritura)).ok())
    {
        pas.show();
        pas.activateWindow();
        EXPECT_TRUE(guardadas && QTest::qWaitForWindowActive(&pas));
    }
    // The box's background at its centre, as drawn.
    bool gris() const
    {
        return text1->grab().toImage().pixelColor(text1->width() / 2, text1->height() / 2) ==
               QColor(224, 224, 224);
    }
    // The stored hashes as a hand edit leaves them, without quotes: QSettings reads them as lists.
    void quitarComillas()
    {
        QFile file(ajustes.fileName());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        escribirAMano(ajustes.fileName(), file.readAll().replace('"', QByteArray()));
    }
    void escribir(const QString& texto)
    {
        for (const QChar ch : texto)
            QTest::sendKeyEvent(QTest::Click, text1, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    QTemporaryDir dir;
    Settings ajustes{dir.filePath(u("Quorvela.conf"))};
    PasswordStore claves{ajustes};
    bool guardadas; // the passwords are in place before the window is built
    RunState estado;
    ScriptedMensajes mensajes;
    Pas pas{estado, claves, mensajes};
    QRadioButton* option1 = pas.findChild<QRadioButton*>(u("Option1"));
    QRadioButton* option2 = pas.findChild<QRadioButton*>(u("Option2"));
    QLineEdit* text1 = pas.findChild<QLineEdit*>(u("Text1"));
    QPushButton* command1 = pas.findChild<QPushButton*>(u("Command1"));
};

class PasswordStoreTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    Settings settings{dir.filePath(u("Quorvela.conf"))};
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
    EXPECT_TRUE(store.verify(lectura, QString()) && store.verify(lectura, u("cualquiera")));
    EXPECT_FALSE(store.matches(lectura, QString()));
    // A value that is no hash of ours guards the mode, and nothing matches it, not even its own text
    // or the password of a hash written without its quotes: a scrambled value of an earlier
    // installation, a stray text, or what QSettings reads as a list (commas) or an empty list.
    ASSERT_TRUE(store.setPassword(lectura, u("clave")).ok());
    const QString hash = store.rawValue(lectura);
    ASSERT_TRUE(hash.contains(QLatin1Char(','))) << hash.toStdString();
    for (const QString& written : {hash, u("0110000101100010"), u("@Invalid()"), u(","), u("a, b")}) {
        SCOPED_TRACE(written.toStdString());
        escribirAMano(settings.fileName(), "[QL1]\nPASS=" + written.toUtf8() + "\n");
        EXPECT_TRUE(store.hasPassword(lectura));
        for (const QString& typed : {u("clave"), written, QString(), u("ab")})
            EXPECT_FALSE(store.verify(lectura, typed) || store.matches(lectura, typed))
                << typed.toStdString();
    }
    // Saving narrows a file left readable by others to its owner.
    ASSERT_TRUE(store.setPassword(escritura, u("clave")).ok());
    EXPECT_EQ(modo(settings.fileName()), 0600);
}

TEST_F(PasswordStoreTest, StoresASaltedArgon2idHashOrReportsAFailedWriteAndAnEmptyOneOpensTheMode)
{
    ASSERT_TRUE(store.setPassword(lectura, u("Secreto9")).ok());
    EXPECT_EQ(modo(settings.fileName()), 0600); // a new store is its owner's only
    const QString stored = Settings(settings.fileName()).password(lectura).value();
    EXPECT_TRUE(stored.startsWith(u("$argon2id$"))) << stored.toStdString();
    // The same password twice gives two different stored values that both verify.
    ASSERT_TRUE(store.setPassword(escritura, u("Secreto9")).ok());
    EXPECT_NE(store.rawValue(escritura), stored);
    EXPECT_TRUE(store.matches(escritura, u("Secreto9")));
    ASSERT_TRUE(store.removePassword(lectura).ok());
    ASSERT_TRUE(settings.setPassword(lectura, QString()).ok()); // an empty value, as another tool may leave
    ASSERT_TRUE(store.setPassword(escritura, QString()).ok());
    for (const QString& section : {lectura, escritura}) {
        EXPECT_FALSE(store.hasPassword(section)) << section.toStdString();
        EXPECT_TRUE(store.verify(section, u("x"))) << section.toStdString();
    }
    // A store whose folder is a regular file cannot be written, even by root: the failure is
    // reported and nothing guards the mode.
    QFile blocker(dir.filePath(u("bloqueo")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Settings broken(blocker.fileName() + u("/Quorvela.conf"));
    PasswordStore unwritable(broken);
    const Status st = unwritable.setPassword(lectura, u("nueva"));
    EXPECT_FALSE(st.ok() || st.error().isEmpty());
    EXPECT_FALSE(unwritable.hasPassword(lectura));
}

TEST(Pas, BoxIsGreyAndDisabledWhileTheChosenModeHasNoPasswordAndMasksTenCharacters)
{
    Conexion c("", "w");
    ASSERT_TRUE(c.option1->isChecked());
    EXPECT_FALSE(c.text1->isEnabled());
    EXPECT_TRUE(c.gris());
    QTest::mouseClick(c.option2, Qt::LeftButton);
    EXPECT_TRUE(c.text1->isEnabled());
    EXPECT_FALSE(c.gris());
    EXPECT_TRUE(c.text1->hasFocus());
    c.escribir(u("añb"));
    EXPECT_EQ(c.text1->displayText(), u("***"));
    c.text1->clear();
    c.escribir(u("123456789012"));
    EXPECT_EQ(c.text1->text(), u("1234567890"));
    QTest::mouseClick(c.option1, Qt::LeftButton);
    EXPECT_FALSE(c.text1->isEnabled());
    EXPECT_TRUE(c.gris());
}

TEST(Pas, DecidesAccessForEachModeAndPassword)
{
    const struct
    {
        const char *nombre, *lectura, *escritura; // the case and the passwords set
        bool escribe;                             // "Lectura / Escritura" chosen
        const char* escrito;
        bool sinComillas; // the hashes then edited by hand without their quotes
        bool concedido;
    } casos[] = {
        {"open read-only", "", "", false, "", false, true},
        {"open read/write, empty box", "lee", "", true, "", false, true},
        {"read password right", "lee", "", false, "lee", false, true},
        {"read password wrong", "lee", "", false, "lea", false, false},
        {"read password left empty", "lee", "escribo", false, "", false, false},
        {"write password right", "", "escribo", true, "escribo", false, true},
        {"write mode given the read password", "lee", "escribo", true, "lee", false, false},
        {"write hash unquoted, empty box", "", "escribo", true, "", true, false},
        {"write hash unquoted, its password", "", "escribo", true, "escribo", true, false},
        {"read hash unquoted, its password", "lee", "", false, "lee", true, false},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        Conexion c(caso.lectura, caso.escritura);
        if (caso.sinComillas)
            c.quitarComillas();
        if (caso.escribe)
            QTest::mouseClick(c.option2, Qt::LeftButton);
        c.escribir(u(caso.escrito));
        QTest::mouseClick(c.command1, Qt::LeftButton);
        EXPECT_EQ(c.estado.AccesoConcedido, caso.concedido);
        // Read-only is set as soon as it is chosen, even when access is then refused.
        EXPECT_EQ(c.estado.SoloLectura, !caso.escribe);
        EXPECT_FALSE(c.pas.isVisible());
        EXPECT_EQ(c.pas.result(), caso.concedido ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(c.mensajes.texts(), caso.concedido ? QStringList() : QStringList{u("PASSWORD INCORRECTO")});
    }
}

// Enter runs Aceptar once from the box (in a modal run too) or from the read-only choice, never from
// the read/write one; closing the window grants nothing.
TEST(Pas, EnterRunsAceptarOutsideTheReadWriteChoiceAndClosingGrantsNothing)
{
    Conexion cerrada("", "");
    cerrada.pas.close();
    EXPECT_FALSE(cerrada.estado.AccesoConcedido);
    Conexion c("", "");
    QTest::keyClick(c.option2, Qt::Key_Return);
    EXPECT_TRUE(c.pas.isVisible());
    EXPECT_FALSE(c.estado.AccesoConcedido);
    QTest::mouseClick(c.option1, Qt::LeftButton);
    QTest::keyClick(c.option1, Qt::Key_Return);
    EXPECT_FALSE(c.pas.isVisible());
    EXPECT_TRUE(c.estado.AccesoConcedido && c.estado.SoloLectura);
    EXPECT_TRUE(c.mensajes.shown.isEmpty());
    Conexion modal("lee", "");
    modal.pas.hide();
    QTimer::singleShot(0, &modal.pas, [&modal] {
        modal.escribir(u("mal"));
        QTest::keyClick(modal.text1, Qt::Key_Return);
    });
    EXPECT_EQ(modal.pas.exec(), QDialog::Rejected);
    EXPECT_EQ(modal.mensajes.texts(), QStringList{u("PASSWORD INCORRECTO")});
}
