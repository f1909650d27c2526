#include "utilities/ui/Cal.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCalendarWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QDate kHoy(2026, 12, 5);

struct CalFixture : ::testing::Test
{
    EleccionFecha eleccion;

    // The calendar's day grid, where its own keys and clicks land.
    static QTableView* grid(Cal& cal) { return cal.MonthView1()->findChild<QTableView*>(); }
};

} // namespace

TEST_F(CalFixture, OneMonthCalendarOnToday)
{
    eleccion.FechaAceptada = true; // left over from an earlier window
    Cal cal(eleccion, kHoy);
    EXPECT_EQ(cal.windowTitle(), QStringLiteral("Calendario"));
    ASSERT_NE(cal.MonthView1(), nullptr);
    EXPECT_EQ(cal.MonthView1()->objectName(), QStringLiteral("MonthView1"));
    EXPECT_EQ(cal.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    EXPECT_EQ(cal.MonthView1()->selectedDate(), kHoy);
    EXPECT_FALSE(eleccion.FechaAceptada);
}

TEST_F(CalFixture, EnterTakesTheShownDay)
{
    // Enter on the window itself and Enter in the calendar's grid both pick; the grid case
    // after moving one day with the arrow key, so the shown day is not just today.
    for (bool inGrid : {false, true}) {
        SCOPED_TRACE(inGrid ? "grid" : "window");
        eleccion = {};
        Cal cal(eleccion, kHoy);
        cal.show();
        QWidget* target = &cal;
        QDate expected = kHoy;
        if (inGrid) {
            target = grid(cal);
            ASSERT_NE(target, nullptr);
            QTest::keyClick(target, Qt::Key_Right);
            expected = kHoy.addDays(1);
        }
        QTest::keyClick(target, Qt::Key_Return);
        EXPECT_TRUE(eleccion.FechaAceptada);
        EXPECT_EQ(eleccion.FechaElegida, expected);
        EXPECT_EQ(cal.result(), QDialog::Accepted);
        EXPECT_FALSE(cal.isVisible());
    }
}

TEST_F(CalFixture, EscClosesWithoutAPick)
{
    const QDate earlier(2025, 3, 14);
    eleccion = {earlier, true};
    Cal cal(eleccion, kHoy);
    cal.show();
    QTest::keyClick(grid(cal), Qt::Key_Right); // a changed day must not be taken either
    QTest::keyClick(grid(cal), Qt::Key_Escape);
    EXPECT_FALSE(eleccion.FechaAceptada);
    EXPECT_EQ(eleccion.FechaElegida, earlier);
    EXPECT_EQ(cal.result(), QDialog::Rejected);
    EXPECT_FALSE(cal.isVisible());
}

TEST_F(CalFixture, ClickOnADayPicksIt)
{
    Cal cal(eleccion, kHoy);
    cal.show();
    QTableView* view = grid(cal);
    ASSERT_NE(view, nullptr);
    // Day 15 appears once in a month grid (the neighbouring months show only early or late days).
    QModelIndex fifteen;
    for (int r = 0; r < view->model()->rowCount() && !fifteen.isValid(); ++r)
        for (int c = 0; c < view->model()->columnCount(); ++c) {
            const QModelIndex i = view->model()->index(r, c);
            if (i.data().toString() == QStringLiteral("15"))
                fifteen = i;
        }
    ASSERT_TRUE(fifteen.isValid());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(fifteen).center());
    EXPECT_TRUE(eleccion.FechaAceptada);
    EXPECT_EQ(eleccion.FechaElegida, QDate(2026, 12, 15));
}

TEST_F(CalFixture, ElegirFechaOpensModallyOnTheClocksToday)
{
    for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
        QDate shown;
        QTimer::singleShot(0, [&] {
            auto* cal = qobject_cast<Cal*>(QApplication::activeModalWidget());
            if (!cal) {
                ADD_FAILURE() << "the calendar is not the modal window";
                if (QWidget* other = QApplication::activeModalWidget())
                    other->close();
                return;
            }
            shown = cal->MonthView1()->selectedDate();
            QTest::keyClick(cal, Qt::Key(key));
        });
        const std::optional<QDate> picked = Cal::elegirFecha(
            eleccion, [] { return kHoy; }, nullptr);
        EXPECT_EQ(shown, kHoy);
        if (key == Qt::Key_Return) {
            ASSERT_TRUE(picked.has_value());
            EXPECT_EQ(*picked, kHoy);
        } else {
            EXPECT_FALSE(picked.has_value());
            EXPECT_EQ(eleccion.FechaElegida, kHoy); // the earlier pick stays
        }
    }
}
