#include "records/ui/EntradaValidada.h"
#include "tests/support/ScriptedMensajes.h"
#include "utilities/ui/Cal.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

const QString kDia = QStringLiteral("Error en fecha (Dia)");
const QString kMes = QStringLiteral("Error en fecha (Mes)");
const QString kAnio = QStringLiteral("Error en fecha (Año)");
const QString kAnioLetras = QStringLiteral("Error en fecha (AÑO)");

QString u(const char* s)
{
    return QString::fromUtf8(s);
}

// Types one character the way a keyboard does, accented letters included.
void typeChar(QLineEdit* box, QChar c)
{
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

class EntradaFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&m_window);
        m_acidez = addBox(layout, schema::ensayos(), "Acidez");
        m_ppm = addBox(layout, schema::ensayos(), "KFTMC_PPM");
        m_anio = addBox(layout, schema::trafoge(), "AÑO");
        m_fecha = addBox(layout, schema::revision(), "FECHA");
        m_mva = addBox(layout, schema::trafoge(), "MVA");
        m_window.show();
        QApplication::setActiveWindow(&m_window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }

    QLineEdit* addBox(QVBoxLayout* layout, const schema::Table& table, const char* name)
    {
        auto* box = new QLineEdit(&m_window);
        layout->addWidget(box);
        const schema::Field* field = table.field(u(name));
        EXPECT_NE(field, nullptr) << name;
        EntradaValidada* entrada = EntradaValidada::attach(box, *field, m_mensajes);
        entrada->setSeparatorProvider([this] { return m_separator; });
        return box;
    }

    static EntradaValidada* entrada(QLineEdit* box) { return box->findChild<EntradaValidada*>(); }

    void retype(QLineEdit* box, const QString& keys)
    {
        box->clear();
        m_mensajes.shown.clear();
        QTest::keyClicks(box, keys);
    }

    QWidget m_window;
    ScriptedMensajes m_mensajes;
    QChar m_separator = QLatin1Char(',');
    QLineEdit* m_acidez = nullptr;
    QLineEdit* m_ppm = nullptr;
    QLineEdit* m_anio = nullptr;
    QLineEdit* m_fecha = nullptr;
    QLineEdit* m_mva = nullptr;
};

} // namespace

TEST_F(EntradaFixture, DecimalBoxWithEitherSeparator)
{
    struct Case
    {
        char separator;
        const char* keys;
        const char* shown;
    };
    const Case cases[] = {
        {',', "1.5", "1,5"},  {',', "1,5,", "1,5"}, {',', "1.5.", "1,5"},  {'.', "1,5", "1.5"},
        {'.', "1.5.", "1.5"}, {',', "-", "-"},      {'.', "-2.5", "-2.5"}, {',', "7a", "7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.separator) + " " + c.keys);
        m_separator = QLatin1Char(c.separator);
        retype(m_acidez, QString::fromLatin1(c.keys));
        EXPECT_EQ(m_acidez->text(), QString::fromLatin1(c.shown));
        EXPECT_EQ(m_acidez->cursorPosition(), m_acidez->text().size());
        EXPECT_TRUE(m_mensajes.shown.isEmpty());
    }
}

TEST_F(EntradaFixture, TheSeparatorIsReadOnEveryChange)
{
    m_separator = QLatin1Char('.');
    retype(m_acidez, QStringLiteral("3"));
    m_separator = QLatin1Char(','); // the regional settings changed while the program runs
    QTest::keyClicks(m_acidez, QStringLiteral(".25"));
    EXPECT_EQ(m_acidez->text(), QStringLiteral("3,25"));
}

TEST_F(EntradaFixture, DefaultSeparatorIsTheSystemLocales)
{
    QLineEdit box;
    auto* entrada = new EntradaValidada(&box, schema::Checker::Decimal, m_mensajes);
    const QLocale before;
    // A different default locale must not matter: the system's regional setting does.
    QLocale::setDefault(QLocale(QLocale::German));
    const QChar system = QLocale::system().decimalPoint().at(0);
    const QChar read = entrada->decimalSeparator();
    const QChar other = system == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    QTest::keyClicks(&box, QString(QLatin1Char('1')) + other + QLatin1Char('5'));
    QLocale::setDefault(before);
    EXPECT_EQ(read, system);
    EXPECT_EQ(box.text(), QString(QLatin1Char('1')) + system + QLatin1Char('5'));
}

TEST_F(EntradaFixture, WholeNumberBox)
{
    retype(m_ppm, QStringLiteral("-12"));
    EXPECT_EQ(m_ppm->text(), QStringLiteral("12"));
    // A pasted fraction is cut off; a typed comma goes at once.
    m_ppm->clear();
    m_ppm->insert(QStringLiteral("12,7"));
    EXPECT_EQ(m_ppm->text(), QStringLiteral("12"));
    retype(m_ppm, QStringLiteral("12,"));
    EXPECT_EQ(m_ppm->text(), QStringLiteral("12"));
    EXPECT_TRUE(m_mensajes.shown.isEmpty());
}

TEST_F(EntradaFixture, DateBoxMessagesAndSelection)
{
    struct Case
    {
        const char* keys;
        QStringList messages;
        const char* selected; // what the next key would replace
        bool complete;
    };
    const QList<Case> cases = {
        {"31/4/", {kDia}, "31/4/", false},
        {"29/2/2023", {kDia}, "29/2/2023", false},
        {"29/2/2024", {}, "", true},
        {"1/13/", {kMes}, "/13/", false},
        {"1/13", {}, "", false},
        {"5/6/1969", {kAnio}, "/1969", false},
        {"5/6/2051", {kAnio}, "/2051", false},
        {"1969", {kAnio}, "1969", false},
        {"05.12-2026", {}, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        retype(m_fecha, QString::fromLatin1(c.keys));
        EXPECT_EQ(m_mensajes.texts(), c.messages);
        EXPECT_EQ(m_fecha->selectedText(), QString::fromLatin1(c.selected));
        EXPECT_EQ(entrada(m_fecha)->dateComplete(), c.complete);
    }
    EXPECT_EQ(m_fecha->text(), QStringLiteral("05/12/2026"));
}

TEST_F(EntradaFixture, YearBox)
{
    retype(m_anio, QStringLiteral("1939"));
    EXPECT_EQ(m_mensajes.texts(), QStringList{kAnio});
    EXPECT_EQ(m_anio->selectedText(), QStringLiteral("1939"));
    // The next key replaces the refused year.
    QTest::keyClicks(m_anio, QStringLiteral("1985"));
    EXPECT_EQ(m_anio->text(), QStringLiteral("1985"));
    EXPECT_EQ(m_mensajes.texts(), QStringList{kAnio});

    retype(m_anio, QStringLiteral("19"));
    typeChar(m_anio, QChar(0x00F1)); // ñ
    EXPECT_EQ(m_mensajes.texts(), QStringList{kAnioLetras});
    EXPECT_EQ(m_anio->selectedText(), u("19ñ"));
    // One OK button under the program's title.
    ASSERT_EQ(m_mensajes.shown.size(), 1);
    EXPECT_TRUE(m_mensajes.shown[0].title.isEmpty());
    EXPECT_EQ(m_mensajes.shown[0].buttons, Mensajes::Buttons::Ok);
}

TEST_F(EntradaFixture, AccentedLetterInANumberBoxGoes)
{
    retype(m_acidez, QStringLiteral("4"));
    typeChar(m_acidez, QChar(0x00E9)); // é
    EXPECT_EQ(m_acidez->text(), QStringLiteral("4"));
}

TEST_F(EntradaFixture, UncheckedBoxKeepsAnything)
{
    retype(m_mva, QStringLiteral("a-1.5 $"));
    EXPECT_EQ(m_mva->text(), QStringLiteral("a-1.5 $"));
}

TEST_F(EntradaFixture, NoChecksWhileInactive)
{
    bool active = false;
    entrada(m_anio)->setActiveWhen([&] { return active; });
    m_anio->setText(QStringLiteral("1939")); // a record being loaded
    EXPECT_TRUE(m_mensajes.shown.isEmpty());
    EXPECT_EQ(m_anio->text(), QStringLiteral("1939"));
    active = true;
    retype(m_anio, QStringLiteral("2051"));
    EXPECT_EQ(m_mensajes.texts(), QStringList{kAnio});
}

TEST_F(EntradaFixture, FocusSelectsAll)
{
    m_mva->setText(QStringLiteral("12.5"));
    m_ppm->setText(QStringLiteral("40"));
    m_acidez->setFocus(Qt::OtherFocusReason);
    m_mva->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_mva->selectedText(), QStringLiteral("12.5"));

    // A click that gives the focus must not undo the selection.
    QTest::mouseClick(m_ppm, Qt::LeftButton, Qt::NoModifier, QPoint(4, m_ppm->height() / 2));
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), m_ppm);
    EXPECT_EQ(m_ppm->selectedText(), QStringLiteral("40"));
}

TEST_F(EntradaFixture, EnterMovesToTheNextBox)
{
    m_acidez->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(m_acidez, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), m_ppm);
    QTest::keyClick(m_ppm, Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), m_anio);

    entrada(m_anio)->setEnterAsTab(false);
    QTest::keyClick(m_anio, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), m_anio);
}

TEST_F(EntradaFixture, EnterHookRunsBeforeTheFocusMoves)
{
    QWidget* focusDuringHook = nullptr;
    int calls = 0;
    entrada(m_ppm)->setOnEnter([&] {
        ++calls;
        focusDuringHook = QApplication::focusWidget();
    });
    m_ppm->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(m_ppm, QStringLiteral("9"));
    EXPECT_EQ(calls, 0);
    QTest::keyClick(m_ppm, Qt::Key_Return);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(focusDuringHook, m_ppm);
    EXPECT_EQ(QApplication::focusWidget(), m_anio);
    EXPECT_EQ(m_ppm->text(), QStringLiteral("9"));
}

TEST_F(EntradaFixture, ClickInADateBoxTakesThePickedDay)
{
    std::optional<QDate> answer = QDate(2026, 12, 5);
    int opened = 0;
    entrada(m_fecha)->setDatePicker([&](QWidget* parent) {
        ++opened;
        EXPECT_EQ(parent, m_fecha);
        return answer;
    });
    QTest::mouseClick(m_fecha, Qt::LeftButton);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(m_fecha->text(), QStringLiteral("05/12/2026"));
    EXPECT_TRUE(entrada(m_fecha)->dateComplete());

    answer.reset(); // closed without a pick
    QTest::mouseClick(m_fecha, Qt::LeftButton);
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(m_fecha->text(), QStringLiteral("05/12/2026"));

    QTest::mouseClick(m_fecha, Qt::RightButton);
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(m_mensajes.shown.isEmpty());
}

TEST_F(EntradaFixture, ClickOpensTheCalendarWindow)
{
    EleccionFecha eleccion;
    entrada(m_fecha)->setDatePicker([&](QWidget* parent) {
        return Cal::elegirFecha(
            eleccion, [] { return QDate(2026, 12, 5); }, parent);
    });
    m_fecha->setText(QStringLiteral("01/02/2020"));
    for (int key : {Qt::Key_Escape, Qt::Key_Return}) {
        QTimer::singleShot(0, [key] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!qobject_cast<Cal*>(modal)) {
                ADD_FAILURE() << "no calendar window";
                if (modal)
                    modal->close();
                return;
            }
            QTest::keyClick(modal, Qt::Key(key));
        });
        QTest::mouseClick(m_fecha, Qt::LeftButton);
        if (key == Qt::Key_Escape)
            EXPECT_EQ(m_fecha->text(), QStringLiteral("01/02/2020"));
        else
            EXPECT_EQ(m_fecha->text(), QStringLiteral("05/12/2026"));
    }
}
