#include "data/logic/PriorityList.h"
#include "tests/support/TempData.h"
#include "tests/support/Texto.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class PriorityListTest : public ::testing::Test
{
protected:
    // (code, state, severity): red first whatever the severities, ties by ascending code; tests of
    // 4, 8 and 6 for a search over several tables.
    void SetUp() override
    {
        data.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", AREA, ESTADO, GRAVEDAD) VALUES "
                    "(1, 'a', 2, 9), (8, 'b', 3, 1), (3, 'c', 3, 1), (4, 'd', 2, 9), (5, 'e', 3, 5), "
                    "(6, 'f', 0, 6), (7, 'g', 1, 0), (2, 'h', 2, 10);"
                    "INSERT INTO Ensayos (\"Código\", Fecha, Diel) VALUES (4, '2024-01-01', 20), "
                    "(4, '2024-02-01', 25), (8, '2024-01-01', 30), (6, '2024-01-01', 80)"));
        db = data.open();
        list.setDatabase(db);
        requery();
    }
    QList<int> codes() const
    {
        QList<int> out;
        for (int i = 0; i < list.recordCount(); ++i)
            out << list.valueAt(i, u("código")).toInt();
        return out;
    }
    void find(int code)
    {
        const auto found = list.find(u("CÓDIGO LIKE %1").arg(code));
        ASSERT_TRUE(found.ok() && found.value()) << "transformer " << code;
    }
    void requery()
    {
        const Status ran = list.requery();
        ASSERT_TRUE(ran.ok()) << ran.error().toStdString();
    }

    TempData data;
    std::shared_ptr<Database> db;
    PriorityList list;
};

const QList<int> kOrder = {5, 3, 8, 2, 1, 4, 7, 6};

} // namespace

TEST_F(PriorityListTest, RedComesFirstAndFindByCodeIsExact)
{
    EXPECT_EQ(codes(), kOrder);
    // Reading the rows did not move the list.
    EXPECT_EQ(list.absolutePosition(), 0);
    EXPECT_EQ(list.value(0), QVariant(5));
    // 12 is found, not 112 ahead of it.
    data.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", ESTADO, GRAVEDAD) VALUES (112, 1, 1), (12, 1, 0)"));
    requery();
    find(12);
    EXPECT_EQ(list.value(0), QVariant(12));
}

TEST_F(PriorityListTest, RequeryReordersOnEveryWriteAndStaysOnTheSameTransformer)
{
    find(7);
    QSignalSpy moved(&list, &RecordView::repositioned);
    QSignalSpy reset(&list, &RecordView::rowsChanged);
    // Over an unchanged file the re-run keeps its rows but still re-establishes the row.
    requery();
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(list.value(0), QVariant(7));

    // A write through this connection, then one by another program: each re-orders the list,
    // which follows its transformer with one repositioning.
    ASSERT_TRUE(db->exec(u("UPDATE Trafoge SET ESTADO = 3, GRAVEDAD = 99 WHERE \"CÓDIGO\" = 7")).ok());
    requery();
    EXPECT_EQ(moved.count(), 2);
    EXPECT_EQ(codes().first(), 7);
    EXPECT_EQ(list.absolutePosition(), 0);
    data.exec(u("UPDATE Trafoge SET ESTADO = 3, GRAVEDAD = 500 WHERE \"CÓDIGO\" = 6"));
    requery();
    EXPECT_EQ(codes().first(), 6);
    EXPECT_EQ(list.value(0), QVariant(7));
    EXPECT_EQ(list.absolutePosition(), 1);

    // A transformer no longer there: the list starts again from its first row.
    data.exec(u("DELETE FROM Trafoge WHERE \"CÓDIGO\" = 7"));
    requery();
    EXPECT_EQ(list.absolutePosition(), 0);
    EXPECT_EQ(list.recordCount(), 7);

    // A new source is always run. A search over several tables keeps the list on its transformer too.
    list.setRecordSource(u("SELECT DISTINCT Trafoge.* FROM Trafoge LEFT JOIN Ensayos ON "
                           "Trafoge.CÓDIGO=Ensayos.Código where Ensayos.[Diel] < 50 "
                           "Order By Trafoge.ESTADO Desc ,Trafoge.GRAVEDAD Desc ,Trafoge.CÓDIGO Asc"));
    requery();
    EXPECT_EQ(codes(), (QList<int>{8, 4}));
    find(4);
    data.exec(u("UPDATE Trafoge SET ESTADO = 3, GRAVEDAD = 9 WHERE \"CÓDIGO\" = 4"));
    requery();
    EXPECT_EQ(codes(), (QList<int>{4, 8}));
    EXPECT_EQ(list.value(u("CÓDIGO")), QVariant(4));
}

TEST_F(PriorityListTest, ResyncRereadsValuesWithoutReordering)
{
    ASSERT_TRUE(list.setAbsolutePosition(2).ok());
    EXPECT_EQ(list.value(u("AREA")), QVariant(u("b")));
    data.exec(u("UPDATE Trafoge SET AREA = 'nueva', ESTADO = 0, GRAVEDAD = 0 WHERE \"CÓDIGO\" = 8"));
    // Values are cached until the list re-reads them.
    EXPECT_EQ(list.value(u("AREA")), QVariant(u("b")));
    QSignalSpy changed(&list, &RecordView::rowsChanged);
    ASSERT_TRUE(list.resync().ok());
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(list.value(u("AREA")), QVariant(u("nueva")));
    EXPECT_EQ(list.absolutePosition(), 2);
    EXPECT_EQ(codes(), kOrder);
    requery();
    EXPECT_EQ(codes(), (QList<int>{5, 3, 2, 1, 4, 7, 6, 8}));
}
