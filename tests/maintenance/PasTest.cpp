#include "maintenance/ui/Pas.h"

#include "app/logic/RunState.h"
#include "app/logic/Settings.h"
#include "maintenance/logic/PasswordStore.h"
#include "tests/support/ScriptedMensajes.h"
#include "tests/support/Texto.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QColor kGris(224, 224, 224);

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
        return text1->grab().toImage().pixelColor(text1->width() / 2, text1->height() / 2) == kGris;
    }
    void escribir(const QString& texto)
    {
        for (const QChar ch : texto)
            QTest::sendKeyEvent(QTest::Click, text1, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }

    QTemporaryDir dir;
    Settings ajustes{dir.filePath(QStringLiteral("Quorvela.conf"))};
    PasswordStore claves{ajustes};
    bool guardadas; // the passwords are in place before the window is built
    RunState estado;
    ScriptedMensajes mensajes;
    Pas pas{estado, claves, mensajes};
    QRadioButton* option1 = pas.findChild<QRadioButton*>(QStringLiteral("Option1"));
    QRadioButton* option2 = pas.findChild<QRadioButton*>(QStringLiteral("Option2"));
    QLineEdit* text1 = pas.findChild<QLineEdit*>(QStringLiteral("Text1"));
    QPushButton* command1 = pas.findChild<QPushButton*>(QStringLiteral("Command1"));
};

} // namespace

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
    EXPECT_EQ(c.text1->displayText(), QStringLiteral("***"));
    c.text1->clear();
    c.escribir(QStringLiteral("123456789012"));
    EXPECT_EQ(c.text1->text(), QStringLiteral("1234567890"));
    QTest::mouseClick(c.option1, Qt::LeftButton);
    EXPECT_FALSE(c.text1->isEnabled());
    EXPECT_TRUE(c.gris());
}

TEST(Pas, DecidesAccessForEachModeAndPassword)
{
    const struct
    {
        const char* nombre;
        const char* lectura;
        const char* escritura;
        bool escribe; // "Lectura / Escritura" chosen
        const char* escrito;
        bool concedido;
    } casos[] = {
        {"open read-only", "", "", false, "", true},
        {"open read/write, empty box", "lee", "", true, "", true},
        {"read password right", "lee", "", false, "lee", true},
        {"read password wrong", "lee", "", false, "lea", false},
        {"read password left empty", "lee", "escribo", false, "", false},
        {"write password right", "", "escribo", true, "escribo", true},
        {"write mode given the read password", "lee", "escribo", true, "lee", false},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        Conexion c(caso.lectura, caso.escritura);
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
        for (const auto& shown : c.mensajes.shown) // a plain message box
            EXPECT_TRUE(shown.title.isEmpty() && shown.icon == Mensajes::Icon::None);
    }
}

TEST(Pas, EnterInTheBoxRunsAceptarOnceAndEndsTheModalRun)
{
    Conexion c("lee", "");
    c.pas.hide();
    QTimer::singleShot(0, &c.pas, [&c] {
        c.escribir(QStringLiteral("mal"));
        QTest::keyClick(c.text1, Qt::Key_Return);
    });
    EXPECT_EQ(c.pas.exec(), QDialog::Rejected);
    EXPECT_EQ(c.mensajes.texts(), QStringList{u("PASSWORD INCORRECTO")});
    EXPECT_FALSE(c.estado.AccesoConcedido);
    EXPECT_TRUE(c.estado.SoloLectura);
}

TEST(Pas, EnterOnReadOnlyRunsAceptarButNotOnReadWriteAndClosingGrantsNothing)
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
    EXPECT_TRUE(c.estado.AccesoConcedido);
    EXPECT_TRUE(c.estado.SoloLectura);
    EXPECT_TRUE(c.mensajes.shown.isEmpty());
}
