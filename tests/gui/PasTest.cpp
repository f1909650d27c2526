#include "maintenance/ui/Pas.h"

#include "app/logic/RunState.h"
#include "app/logic/Settings.h"
#include "maintenance/logic/PasswordStore.h"
#include "maintenance/ui/Rest.h"
#include "tests/support/ScriptedMensajes.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QColor kGrey(224, 224, 224);

class PasTest : public ::testing::Test
{
protected:
    // Opens the window as start-up does, after the passwords are in place.
    void open()
    {
        pas = std::make_unique<Pas>(state, passwords, mensajes);
        option1 = pas->findChild<QRadioButton*>(QStringLiteral("Option1"));
        option2 = pas->findChild<QRadioButton*>(QStringLiteral("Option2"));
        text1 = pas->findChild<QLineEdit*>(QStringLiteral("Text1"));
        command1 = pas->findChild<QPushButton*>(QStringLiteral("Command1"));
        ASSERT_TRUE(option1 && option2 && text1 && command1);
        pas->show();
        pas->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(pas.get()));
    }
    QColor boxBackground() const
    {
        const QImage image = text1->grab().toImage();
        return image.pixelColor(image.width() / 2, image.height() / 2);
    }
    void type(const QString& text)
    {
        for (const QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, text1, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }

    QTemporaryDir dir;
    Settings settings{dir.filePath(QStringLiteral("Quorvela.conf"))};
    PasswordStore passwords{settings};
    RunState state;
    ScriptedMensajes mensajes;
    std::unique_ptr<Pas> pas;
    QRadioButton* option1 = nullptr;
    QRadioButton* option2 = nullptr;
    QLineEdit* text1 = nullptr;
    QPushButton* command1 = nullptr;
};

} // namespace

TEST_F(PasTest, BoxMasksWithStarsAndTakesTenCharacters)
{
    ASSERT_TRUE(passwords.setPassword(PasswordStore::seccionLectura(), QStringLiteral("x")).ok());
    open();
    type(QStringLiteral("añb"));
    EXPECT_EQ(text1->displayText(), QStringLiteral("***"));
    text1->clear();
    type(QStringLiteral("123456789012"));
    EXPECT_EQ(text1->text(), QStringLiteral("1234567890"));
    EXPECT_EQ(text1->echoMode(), QLineEdit::Password);
}

TEST_F(PasTest, BoxIsGreyAndDisabledWhenTheChosenModeHasNoPassword)
{
    ASSERT_TRUE(passwords.setPassword(PasswordStore::seccionEscritura(), QStringLiteral("w")).ok());
    open();
    EXPECT_FALSE(text1->isEnabled());
    EXPECT_EQ(boxBackground(), kGrey);

    QTest::mouseClick(option2, Qt::LeftButton);
    ASSERT_TRUE(option2->isChecked());
    EXPECT_TRUE(text1->isEnabled());
    EXPECT_NE(boxBackground(), kGrey);
    EXPECT_TRUE(text1->hasFocus());

    QTest::mouseClick(option1, Qt::LeftButton);
    EXPECT_FALSE(text1->isEnabled());
    EXPECT_EQ(boxBackground(), kGrey);
}

TEST_F(PasTest, BoxIsOpenAtOnceWhenReadOnlyHasAPassword)
{
    ASSERT_TRUE(passwords.setPassword(PasswordStore::seccionLectura(), QStringLiteral("r")).ok());
    open();
    EXPECT_TRUE(text1->isEnabled());
    EXPECT_NE(boxBackground(), kGrey);
    // No write password: choosing read/write greys the box.
    QTest::mouseClick(option2, Qt::LeftButton);
    EXPECT_FALSE(text1->isEnabled());
    EXPECT_EQ(boxBackground(), kGrey);
}

TEST_F(PasTest, DecidesAccessForEachModeAndPassword)
{
    struct Case
    {
        const char* name;
        const char* readPassword;
        const char* writePassword;
        bool readWrite;
        const char* typed;
        bool granted;
        bool soloLectura;
    };
    const Case cases[] = {
        {"open read-only", "", "", false, "", true, true},
        {"open read/write", "", "", true, "", true, false},
        {"read password right", "lee", "", false, "lee", true, true},
        {"read password wrong", "lee", "", false, "lea", false, true},
        {"read password empty", "lee", "", false, "", false, true},
        {"write password right", "", "escribo", true, "escribo", true, false},
        {"write password wrong", "", "escribo", true, "lee", false, false},
        {"write password of the other mode", "lee", "escribo", true, "lee", false, false},
        {"ten characters", "", "abcdefghij", true, "abcdefghij", true, false},
        {"nine of ten characters", "", "abcdefghij", true, "abcdefghi", false, false},
        {"accented", "ñandú", "", false, "ñandú", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir caseDir;
        Settings caseSettings(caseDir.filePath(QStringLiteral("Quorvela.conf")));
        PasswordStore casePasswords(caseSettings);
        ASSERT_TRUE(
            casePasswords.setPassword(PasswordStore::seccionLectura(), QString::fromUtf8(c.readPassword))
                .ok());
        ASSERT_TRUE(
            casePasswords.setPassword(PasswordStore::seccionEscritura(), QString::fromUtf8(c.writePassword))
                .ok());
        RunState run;
        ScriptedMensajes said;
        Pas window(run, casePasswords, said);
        window.show();
        auto* box = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
        if (c.readWrite)
            QTest::mouseClick(window.findChild<QRadioButton*>(QStringLiteral("Option2")), Qt::LeftButton);
        for (const QChar ch : QString::fromUtf8(c.typed))
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);

        EXPECT_EQ(run.AccesoConcedido, c.granted);
        EXPECT_EQ(run.SoloLectura, c.soloLectura);
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.result(), c.granted ? QDialog::Accepted : QDialog::Rejected);
        if (c.granted) {
            EXPECT_TRUE(said.shown.isEmpty());
        } else {
            ASSERT_EQ(said.shown.size(), 1);
            EXPECT_EQ(said.shown[0].text, QStringLiteral("PASSWORD INCORRECTO"));
            EXPECT_TRUE(said.shown[0].title.isEmpty());
            EXPECT_EQ(said.shown[0].icon, Mensajes::Icon::None);
        }
    }
}

TEST_F(PasTest, EnterInTheBoxRunsAceptarOnce)
{
    ASSERT_TRUE(passwords.setPassword(PasswordStore::seccionLectura(), QStringLiteral("lee")).ok());
    open();
    type(QStringLiteral("mal"));
    QTest::keyClick(text1, Qt::Key_Return);
    EXPECT_EQ(mensajes.texts(), QStringList{QStringLiteral("PASSWORD INCORRECTO")});
    EXPECT_FALSE(state.AccesoConcedido);
    EXPECT_TRUE(state.SoloLectura);
    EXPECT_FALSE(pas->isVisible());
}

TEST_F(PasTest, EnterOnReadOnlyRunsAceptarButNotOnReadWrite)
{
    open();
    QTest::keyClick(option2, Qt::Key_Return);
    EXPECT_TRUE(pas->isVisible());
    EXPECT_FALSE(state.AccesoConcedido);

    QTest::mouseClick(option1, Qt::LeftButton);
    QTest::keyClick(option1, Qt::Key_Return);
    EXPECT_FALSE(pas->isVisible());
    EXPECT_TRUE(state.AccesoConcedido);
    EXPECT_TRUE(state.SoloLectura);
    EXPECT_TRUE(mensajes.shown.isEmpty());
}

TEST_F(PasTest, ModalRunEndsWithTheDecision)
{
    ASSERT_TRUE(passwords.setPassword(PasswordStore::seccionEscritura(), QStringLiteral("w1")).ok());
    Pas window(state, passwords, mensajes);
    QTimer::singleShot(0, &window, [&window] {
        QTest::mouseClick(window.findChild<QRadioButton*>(QStringLiteral("Option2")), Qt::LeftButton);
        auto* box = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
        QTest::keyClicks(box, QStringLiteral("w1"));
        QTest::keyClick(box, Qt::Key_Enter);
    });
    EXPECT_EQ(window.exec(), QDialog::Accepted);
    EXPECT_TRUE(state.AccesoConcedido);
    EXPECT_FALSE(state.SoloLectura);
}

TEST_F(PasTest, ClosingTheWindowGrantsNothing)
{
    open();
    EXPECT_TRUE(option1->isChecked());
    pas->close();
    EXPECT_FALSE(state.AccesoConcedido);
}

TEST(Rest, PlaceholderIsModalAndCloses)
{
    Rest rest;
    EXPECT_EQ(rest.windowTitle(), QStringLiteral("Restaurar Backup"));
    EXPECT_TRUE(rest.isModal());
    QTimer::singleShot(0, &rest, [&rest] {
        QTest::mouseClick(rest.findChild<QPushButton*>(QStringLiteral("cmdCerrar")), Qt::LeftButton);
    });
    EXPECT_EQ(rest.exec(), QDialog::Rejected);
}
