#include "records/ui/EntradaValidada.h"
#include "records/ui/PaginaEnsayos.h"
#include "tests/records/Planta.h"
#include "tests/support/ScriptedMensajes.h"
#include "tests/support/Texto.h"
#include "utilities/ui/Cal.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Types text key by key as a keyboard does, accented letters included.
void teclear(QLineEdit* box, const QString& text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

EntradaValidada* entrada(QLineEdit* box)
{
    return box->findChild<EntradaValidada*>();
}

// A decimal, a whole number, a year and a date box, in this tab order, checked with the
// separator the test sets.
class EntradaFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_window.show();
        QApplication::setActiveWindow(&m_window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }
    QLineEdit* caja(const schema::Table& table, const char* name)
    {
        auto* box = new QLineEdit(&m_window);
        EntradaValidada::attach(box, *table.field(u(name)), m_mensajes)->setSeparatorProvider([this] {
            return m_separator;
        });
        return box;
    }

    QWidget m_window;
    ScriptedMensajes m_mensajes;
    QChar m_separator = QLatin1Char(',');
    QLineEdit* m_acidez = caja(schema::ensayos(), "Acidez");
    QLineEdit* m_ppm = caja(schema::ensayos(), "KFTMC_PPM");
    QLineEdit* m_anio = caja(schema::trafoge(), "AÑO");
    QLineEdit* m_fecha = caja(schema::revision(), "FECHA");
};

} // namespace

TEST_F(EntradaFixture, EachBoxWritesBackTheRepairAndSelectsTheFault)
{
    const struct
    {
        QLineEdit* box;
        const char* keys;
        const char* shown;
        QStringList messages = {};
        const char* selected = ""; // what the next key replaces
        bool complete = false;
    } casos[] = {
        {m_acidez, "1.5,", "1,5"},
        {m_ppm, "12.5", "12,5"},                                   // a water content takes decimals
        {m_anio, "19391985", "1985", {u("Error en fecha (Año)")}}, // the next key replaces the year
        {m_fecha, "1/13/", "1/13/", {u("Error en fecha (Mes)")}, "/13/"},
        {m_fecha, "05.12-2026", "05/12/2026", {}, "", true},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.keys);
        c.box->clear();
        m_mensajes.shown.clear();
        teclear(c.box, u(c.keys));
        EXPECT_EQ(c.box->text(), u(c.shown));
        EXPECT_EQ(m_mensajes.texts(), c.messages);
        EXPECT_EQ(c.box->selectedText(), u(c.selected));
        // The cursor stands at the start of a faulty part, else at the end.
        EXPECT_EQ(c.box->cursorPosition(),
                  c.box->hasSelectedText() ? c.box->selectionStart() : c.box->text().size());
        EXPECT_EQ(entrada(c.box)->dateComplete(), c.complete);
        for (const ScriptedMensajes::Shown& m : m_mensajes.shown)
            EXPECT_EQ(m.buttons, Mensajes::Buttons::Ok);
    }
}

TEST_F(EntradaFixture, TheSeparatorIsTheSystemsAndIsReadOnEveryChange)
{
    m_separator = QLatin1Char('.');
    teclear(m_acidez, u("3"));
    m_separator = QLatin1Char(','); // the regional settings changed while the program runs
    teclear(m_acidez, u(".25"));
    EXPECT_EQ(m_acidez->text(), u("3,25"));

    // Without a provider the system's setting counts, not the program's default locale.
    QLineEdit box;
    const QLocale antes;
    QLocale::setDefault(QLocale(QLocale::German));
    const QChar leido = EntradaValidada(&box, schema::Checker::Decimal, m_mensajes).decimalSeparator();
    QLocale::setDefault(antes);
    EXPECT_EQ(leido, QLocale::system().decimalPoint().at(0));
}

TEST_F(EntradaFixture, NoChecksWhileInactive)
{
    bool active = false;
    entrada(m_anio)->setActiveWhen([&] { return active; });
    m_anio->setText(u("1939")); // a record being loaded
    EXPECT_TRUE(m_mensajes.shown.isEmpty());
    EXPECT_EQ(m_anio->text(), u("1939"));
    active = true;
    m_anio->clear();
    teclear(m_anio, u("2051"));
    EXPECT_EQ(m_mensajes.texts(), QStringList{u("Error en fecha (Año)")});
}

TEST_F(EntradaFixture, FocusSelectsAllAndEnterMovesOnLikeTabAfterTheBoxesOwnWork)
{
    m_ppm->setText(u("40"));
    QList<QWidget*> focoDuranteElGancho;
    entrada(m_ppm)->setOnEnter([&] { focoDuranteElGancho << QApplication::focusWidget(); });
    m_acidez->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(m_acidez, Qt::Key_Return);
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), m_ppm);
    EXPECT_EQ(m_ppm->selectedText(), u("40"));
    teclear(m_ppm, u("9"));
    QTest::keyClick(m_ppm, Qt::Key_Enter);
    EXPECT_EQ(focoDuranteElGancho, QList<QWidget*>{m_ppm});
    EXPECT_EQ(QApplication::focusWidget(), m_anio);

    entrada(m_anio)->setEnterAsTab(false);
    QTest::keyClick(m_anio, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), m_anio);

    // A click that gives the focus must not undo the selection.
    QTest::mouseClick(m_ppm, Qt::LeftButton, Qt::NoModifier, QPoint(4, m_ppm->height() / 2));
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), m_ppm);
    EXPECT_EQ(m_ppm->selectedText(), u("9"));
}

TEST_F(EntradaFixture, ALeftClickInADateBoxTakesThePickedDay)
{
    std::optional<QDate> answer = QDate(2026, 12, 5);
    QList<QWidget*> opened;
    QList<QDate> onDays;
    entrada(m_fecha)->setDatePicker([&](QWidget* parent, const QDate& enCaja) {
        opened << parent;
        onDays << enCaja;
        return answer;
    });
    QTest::mouseClick(m_fecha, Qt::LeftButton);
    EXPECT_EQ(m_fecha->text(), u("05/12/2026"));
    EXPECT_TRUE(entrada(m_fecha)->dateComplete());

    answer.reset(); // closed with Escape: the box keeps its day
    QTest::mouseClick(m_fecha, Qt::LeftButton);
    EXPECT_EQ(m_fecha->text(), u("05/12/2026"));

    QTest::mouseClick(m_fecha, Qt::RightButton);
    // A two-digit year is read with the program's century.
    m_fecha->setText(u("15/03/95"));
    QTest::mouseClick(m_fecha, Qt::LeftButton);
    m_fecha->setText(u("15/03"));
    QTest::mouseClick(m_fecha, Qt::LeftButton);
    EXPECT_EQ(opened, (QList<QWidget*>{m_fecha, m_fecha, m_fecha, m_fecha}));
    EXPECT_EQ(onDays, (QList<QDate>{QDate(), QDate(2026, 12, 5), QDate(1995, 3, 15), QDate()}));
    EXPECT_TRUE(m_mensajes.shown.isEmpty());

    // A two-digit year typed is shown with its century once the box is left.
    for (const auto& [tecleado, mostrado] :
         {std::pair{"15/03/95", "15/03/1995"}, std::pair{"1/2/07", "01/02/2007"}}) {
        m_fecha->setFocus();
        QTRY_VERIFY(m_fecha->hasFocus());
        m_fecha->clear();
        teclear(m_fecha, u(tecleado));
        m_acidez->setFocus();
        QTRY_VERIFY(m_acidez->hasFocus());
        EXPECT_EQ(m_fecha->text(), u(mostrado));
    }
    EXPECT_TRUE(m_mensajes.shown.isEmpty());
}

// On a real page with the program's calendar: a click into the date box and a date typed gives
// the date typed, shown and stored; the calendar opened on the box's day.
TEST(EntradaValidadaVentana, UnaFechaTecleadaTrasElClicEsLaTecleada)
{
    VentanaPrueba::Opciones opciones;
    opciones.calendarioReal = true;
    Planta p(opciones);
    p.irA(10);
    PaginaFechada* ensayos = p.trafo().paginaEnsayos();
    p.trafo().tabs()->setCurrentWidget(ensayos);
    ensayos->subtabs()->setCurrentIndex(0);
    QLineEdit* fecha = VentanaPrueba::caja(ensayos, u("Fecha"));
    ASSERT_EQ(fecha->text(), u("01/02/2024"));

    QDate abiertoEn;
    QTimer::singleShot(0, [&] {
        auto* cal = qobject_cast<Cal*>(QApplication::activeModalWidget());
        if (!cal)
            return;
        abiertoEn = cal->MonthView1()->selectedDate();
        QTest::sendKeyEvent(QTest::Click, cal->focusWidget(), Qt::Key_5, u("5"), Qt::NoModifier);
        // Anything still open is a fault; it must not block the test.
        if (cal->isVisible())
            cal->reject();
    });
    QTest::mouseClick(fecha, Qt::LeftButton);
    EXPECT_EQ(abiertoEn, QDate(2024, 2, 1));
    // The rest of the keys go wherever the focus is, as a keyboard's do: back in the box.
    QTRY_COMPARE(QApplication::focusWidget(), fecha);
    EXPECT_EQ(fecha->text(), u("5"));
    for (const QChar c : u("/3/24"))
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
    EXPECT_EQ(fecha->text(), u("5/3/24"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(fecha->text(), u("05/03/2024"));
    EXPECT_NE(QApplication::focusWidget(), fecha);
    p.pulsar(ensayos, PaginaFechada::Guardar);
    EXPECT_TRUE(p.mensajes.shown.isEmpty()) << p.mensajes.texts().join(u("|")).toStdString();
    EXPECT_EQ(p.filas("Ensayos", "\"Código\"=10 AND Fecha='2024-03-05'"), 1);
    EXPECT_EQ(p.filas("Ensayos", "\"Código\"=10 AND Fecha='2024-02-01'"), 0);
}
