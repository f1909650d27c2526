#include "tests/support/Texto.h"
#include "utilities/logic/Calculadora.h"
#include "utilities/ui/Cal.h"
#include "utilities/ui/MensajesQt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

const QDate kHoy(2026, 12, 5);
const QDate kAntes(2025, 3, 14); // picked in an earlier calendar window

// The calendar's day grid, where its own keys and clicks land.
QTableView* grid(Cal& cal)
{
    return cal.MonthView1()->findChild<QTableView*>();
}

} // namespace

// Enter picks the day shown, a click the day clicked; Esc keeps the earlier pick, and so does a
// printable key, which the window keeps for its opener.
TEST(Cal, EnterOrAClickPicksADayAndEscKeepsTheEarlierPick)
{
    // Keys to the grid or to the window (in the grid an arrow key first moves one day), or a click
    // on the 15th (no key), and the day picked.
    const std::tuple<bool, Qt::Key, QDate> casos[] = {
        {false, Qt::Key_Enter, kHoy},
        {true, Qt::Key_Return, kHoy.addDays(1)},
        {false, Qt::Key_Escape, QDate()},
        {true, Qt::Key_Escape, QDate()},
        {true, Qt::Key_unknown, QDate(2026, 12, 15)},
        {true, Qt::Key_5, QDate()},
        {false, Qt::Key_Slash, QDate()},
    };
    for (const auto& [enGrid, tecla, dia] : casos) {
        SCOPED_TRACE(::testing::Message() << (enGrid ? "grid, key " : "window, key ") << tecla);
        EleccionFecha eleccion{kAntes, true};
        Cal cal(eleccion, QDate(), kHoy);
        // Opening shows today and clears the earlier acceptance.
        EXPECT_EQ(cal.MonthView1()->selectedDate(), kHoy);
        EXPECT_FALSE(eleccion.FechaAceptada);
        cal.show();
        QTableView* view = grid(cal);
        ASSERT_NE(view, nullptr);
        if (tecla == Qt::Key_unknown) {
            // Day 15 appears once in a month grid (the neighbouring months show only early or late days).
            const QAbstractItemModel* m = view->model();
            for (int i = 0; i < m->rowCount() * m->columnCount(); ++i) {
                const QModelIndex d = m->index(i / m->columnCount(), i % m->columnCount());
                if (d.data().toString() == u("15"))
                    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(d).center());
            }
        } else {
            QWidget* destino = enGrid ? static_cast<QWidget*>(view) : &cal;
            if (enGrid)
                QTest::keyClick(destino, Qt::Key_Right);
            QTest::keyClick(destino, tecla);
        }
        EXPECT_EQ(eleccion.FechaAceptada, dia.isValid());
        EXPECT_EQ(eleccion.FechaElegida, dia.isValid() ? dia : kAntes);
        EXPECT_EQ(cal.result(), dia.isValid() ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_FALSE(cal.isVisible());
        const QString tecleado = cal.teclaPendiente() ? cal.teclaPendiente()->text() : QString();
        EXPECT_EQ(tecleado, tecla == Qt::Key_5 ? u("5") : tecla == Qt::Key_Slash ? u("/") : QString());
    }
}

// The calendar speaks Spanish whatever the system's language, opens on the box's day when the
// date boxes accept it (else on today) and offers only the days they accept.
TEST(Cal, AbreEnLaFechaDeLaCajaEnEspanolYSoloDentroDelRango)
{
    const struct
    {
        QDate enCaja, hoy, mostrado;
        const char* mes;
    } casos[] = {
        {QDate(2024, 3, 15), kHoy, QDate(2024, 3, 15), "marzo"},
        {QDate(), kHoy, kHoy, "diciembre"},
        {QDate(1969, 12, 31), kHoy, kHoy, "diciembre"},
        {QDate(2051, 1, 1), kHoy, kHoy, "diciembre"},
        {QDate(1970, 1, 1), kHoy, QDate(1970, 1, 1), "enero"},
        {QDate(), QDate(2051, 6, 1), QDate(2050, 12, 31), "diciembre"}, // a clock past the range
    };
    const QLocale antes;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const auto& c : casos) {
        SCOPED_TRACE(c.enCaja.toString(Qt::ISODate).toStdString() + " / " +
                     c.hoy.toString(Qt::ISODate).toStdString());
        EleccionFecha eleccion;
        Cal cal(eleccion, c.enCaja, c.hoy);
        cal.show();
        QCalendarWidget* mes = cal.MonthView1();
        EXPECT_EQ(mes->selectedDate(), c.mostrado);
        EXPECT_EQ(mes->minimumDate(), QDate(1970, 1, 1));
        EXPECT_EQ(mes->maximumDate(), QDate(2050, 12, 31));
        auto* boton = mes->findChild<QToolButton*>(u("qt_calendar_monthbutton"));
        ASSERT_NE(boton, nullptr);
        EXPECT_EQ(boton->text(), u(c.mes));
        // The week starts on Monday, "lun".
        const QAbstractItemModel* m = grid(cal)->model();
        EXPECT_EQ(m->index(0, 1).data().toString(), u("lun"));
    }
    QLocale::setDefault(antes);
}

// The window opens modally on the box's day or today; a printable key closes it and is typed
// into the box that opened it, which has the focus back for the keys after it.
TEST(Cal, ElegirFechaOpensModallyOnTheClocksToday)
{
    QWidget ventana;
    auto* caja = new QLineEdit(&ventana);
    auto* otra = new QLineEdit(&ventana);
    otra->move(0, 40);
    ventana.show();
    QApplication::setActiveWindow(&ventana);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&ventana));

    EleccionFecha eleccion;
    const struct
    {
        Qt::Key tecla;
        QDate enCaja;
        std::optional<QDate> elegido;
        const char* enLaCaja;
    } casos[] = {
        {Qt::Key_Return, QDate(), kHoy, ""},
        {Qt::Key_Escape, QDate(), std::nullopt, ""},
        {Qt::Key_Return, kAntes, kAntes, ""},
        {Qt::Key_5, kAntes, std::nullopt, "5/3"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.tecla);
        caja->clear();
        otra->setFocus();
        QDate mostrado;
        QTimer::singleShot(0, [&] {
            // Another modal window, or none, shows as a wrong day.
            if (QWidget* modal = QApplication::activeModalWidget()) {
                if (auto* cal = qobject_cast<Cal*>(modal))
                    mostrado = cal->MonthView1()->selectedDate();
                QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, c.tecla);
            }
        });
        const std::optional<QDate> elegido = Cal::elegirFecha(
            eleccion, [] { return kHoy; }, caja, c.enCaja);
        if (c.tecla == Qt::Key_5) {
            // The box has the focus back for the keys typed after the first.
            QTRY_COMPARE(QApplication::focusWidget(), caja);
            QTest::keyClicks(QApplication::focusWidget(), u("/3"));
        }
        EXPECT_EQ(mostrado, c.enCaja.isValid() ? c.enCaja : kHoy);
        EXPECT_EQ(elegido, c.elegido);
        EXPECT_EQ(eleccion.FechaElegida, c.enCaja.isValid() ? kAntes : kHoy);
        EXPECT_EQ(caja->text(), u(c.enLaCaja));
    }
}

// The boxes show Spanish buttons and the program's name when given no title; Enter chooses the
// default button and Escape the negative one; a busy cursor gives way while the box is up.
TEST(MensajesQt, SpanishButtonsDefaultTitleAndKeys)
{
    using M = Mensajes;
    const struct
    {
        M::Buttons botones;
        M::Answer porDefecto;
        const char* titulo;
        Qt::Key tecla;
        M::Answer respuesta;
        const char *textos, *tituloVisto; // the buttons shown, sorted
    } casos[] = {
        {M::Buttons::Ok, M::Answer::Ok, "", Qt::Key_Return, M::Answer::Ok, "Aceptar", "Quorvela"},
        {M::Buttons::YesNo, M::Answer::No, "¡Error!", Qt::Key_Return, M::Answer::No, "No|Sí", "¡Error!"},
        {M::Buttons::YesNo, M::Answer::Yes, "", Qt::Key_Return, M::Answer::Yes, "No|Sí", "Quorvela"},
        {M::Buttons::YesNo, M::Answer::Yes, "", Qt::Key_Escape, M::Answer::No, "No|Sí", "Quorvela"},
        {M::Buttons::OkCancel, M::Answer::Cancel, "", Qt::Key_Return, M::Answer::Cancel, "Aceptar|Cancelar",
         "Quorvela"}};
    for (const auto& c : casos) {
        SCOPED_TRACE(::testing::Message() << c.textos << ", key " << c.tecla);
        MensajesQt mensajes;
        mensajes.setBusy(true);
        ASSERT_TRUE(QGuiApplication::overrideCursor());
        QStringList vistos;
        QString tituloVisto;
        bool conCursorNormal = false;
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            conCursorNormal = QGuiApplication::overrideCursor() == nullptr;
            tituloVisto = box->windowTitle();
            for (QAbstractButton* b : box->buttons())
                vistos << b->text();
            QTest::keyClick(box, c.tecla);
        });
        EXPECT_EQ(mensajes.show(u("texto"), u(c.titulo), M::Icon::Question, c.botones, c.porDefecto),
                  c.respuesta);
        vistos.sort();
        EXPECT_EQ(vistos.join(QLatin1Char('|')), u(c.textos));
        EXPECT_EQ(tituloVisto, u(c.tituloVisto));
        EXPECT_TRUE(conCursorNormal);
    }
    EXPECT_FALSE(QGuiApplication::overrideCursor());
}

// The first calculator of the desktop's usual ones that is installed and starts.
TEST(Calculadora, StartsTheFirstOneFoundThatStarts)
{
    const struct
    {
        QStringList instaladas;
        QStringList fallan;
        QString arrancada; // empty: none started
    } casos[] = {
        {{u("kcalc"), u("xcalc")}, {}, u("/usr/bin/kcalc")},
        {{u("xcalc"), u("gnome-calculator")}, {}, u("/usr/bin/gnome-calculator")},
        {{u("kcalc"), u("xcalc")}, {u("/usr/bin/kcalc")}, u("/usr/bin/xcalc")},
        {{u("kcalc")}, {u("/usr/bin/kcalc")}, QString()},
        {{u("calc.exe")}, {}, QString()},
        {{}, {}, QString()},
    };
    for (const auto& c : casos) {
        QString arrancada;
        const bool abierta = calculadora::abrir(
            [&c](const QString& nombre) {
                return c.instaladas.contains(nombre) ? u("/usr/bin/") + nombre : QString();
            },
            [&c, &arrancada](const QString& ruta) {
                if (c.fallan.contains(ruta))
                    return false;
                arrancada = ruta;
                return true;
            });
        EXPECT_EQ(abierta, !c.arrancada.isEmpty()) << c.instaladas.join(u(",")).toStdString();
        EXPECT_EQ(arrancada, c.arrancada) << c.instaladas.join(u(",")).toStdString();
    }
}
