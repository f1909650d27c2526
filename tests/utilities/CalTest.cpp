#include "utilities/ui/Cal.h"

#include <QApplication>
#include <QCalendarWidget>
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

TEST(Cal, EnterPicksTheShownDayAndEscKeepsTheEarlierPick)
{
    // In the grid an arrow key first moves one day, so the day shown is not just today.
    const std::tuple<bool, Qt::Key, bool> casos[] = {{false, Qt::Key_Enter, true},
                                                     {true, Qt::Key_Return, true},
                                                     {false, Qt::Key_Escape, false},
                                                     {true, Qt::Key_Escape, false}};
    for (const auto& [enGrid, tecla, elige] : casos) { // in the grid?, the key, whether it picks
        SCOPED_TRACE(::testing::Message() << (enGrid ? "grid, key " : "window, key ") << tecla);
        EleccionFecha eleccion{kAntes, true};
        Cal cal(eleccion, kHoy);
        // Opening shows today and clears the earlier acceptance.
        EXPECT_EQ(cal.MonthView1()->selectedDate(), kHoy);
        EXPECT_FALSE(eleccion.FechaAceptada);
        cal.show();
        QWidget* destino = enGrid ? static_cast<QWidget*>(grid(cal)) : &cal;
        ASSERT_NE(destino, nullptr);
        if (enGrid)
            QTest::keyClick(destino, Qt::Key_Right);
        QTest::keyClick(destino, tecla);
        EXPECT_EQ(eleccion.FechaAceptada, elige);
        EXPECT_EQ(eleccion.FechaElegida, elige ? kHoy.addDays(enGrid ? 1 : 0) : kAntes);
        EXPECT_EQ(cal.result(), elige ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_FALSE(cal.isVisible());
    }
}

TEST(Cal, ClickOnADayPicksIt)
{
    EleccionFecha eleccion;
    Cal cal(eleccion, kHoy);
    cal.show();
    QTableView* view = grid(cal);
    ASSERT_NE(view, nullptr);
    // Day 15 appears once in a month grid (the neighbouring months show only early or late days).
    const QAbstractItemModel* m = view->model();
    QModelIndex quince;
    for (int i = 0; i < m->rowCount() * m->columnCount(); ++i)
        if (m->index(i / m->columnCount(), i % m->columnCount()).data().toString() == QStringLiteral("15"))
            quince = m->index(i / m->columnCount(), i % m->columnCount());
    ASSERT_TRUE(quince.isValid());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(quince).center());
    EXPECT_TRUE(eleccion.FechaAceptada);
    EXPECT_EQ(eleccion.FechaElegida, QDate(2026, 12, 15));
    EXPECT_FALSE(cal.isVisible());
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
