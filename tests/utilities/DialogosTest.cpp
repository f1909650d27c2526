#include "tests/support/Texto.h"
#include "utilities/ui/Cal.h"
#include "utilities/ui/MensajesQt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QMessageBox>
#include <QTableView>
#include <QTest>
#include <QTimer>
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

// Enter picks the day shown, a click the day clicked; Esc keeps the earlier pick.
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
    };
    for (const auto& [enGrid, tecla, dia] : casos) {
        SCOPED_TRACE(::testing::Message() << (enGrid ? "grid, key " : "window, key ") << tecla);
        EleccionFecha eleccion{kAntes, true};
        Cal cal(eleccion, kHoy);
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
    }
}

TEST(Cal, ElegirFechaOpensModallyOnTheClocksToday)
{
    EleccionFecha eleccion;
    for (Qt::Key tecla : {Qt::Key_Return, Qt::Key_Escape}) {
        QDate mostrado;
        QTimer::singleShot(0, [&] {
            // Another modal window, or none, shows as a wrong day.
            if (QWidget* modal = QApplication::activeModalWidget()) {
                if (auto* cal = qobject_cast<Cal*>(modal))
                    mostrado = cal->MonthView1()->selectedDate();
                QTest::keyClick(modal, tecla);
            }
        });
        const std::optional<QDate> elegido = Cal::elegirFecha(
            eleccion, [] { return kHoy; }, nullptr);
        EXPECT_EQ(mostrado, kHoy);
        EXPECT_EQ(elegido, tecla == Qt::Key_Return ? std::optional<QDate>(kHoy) : std::nullopt);
        EXPECT_EQ(eleccion.FechaElegida, kHoy); // after Esc, the pick before stays
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
