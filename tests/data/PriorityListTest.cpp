#include "data/logic/PriorityList.h"
#include "tests/support/TempData.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

std::unique_ptr<PriorityList> openList(const std::shared_ptr<Database>& db)
{
    auto list = std::make_unique<PriorityList>();
    list->setDatabase(db);
    const Status opened = list->requery();
    EXPECT_TRUE(opened.ok()) << opened.error().toStdString();
    return list;
}

QList<int> codes(const RecordView& list)
{
    QList<int> out;
    for (int i = 0; i < list.recordCount(); ++i)
        out << list.valueAt(i, u8("código")).toInt();
    return out;
}

// (code, state, severity) rows: red first whatever the severities, ties by ascending code.
void addPlant(const TempData& data)
{
    data.exec(u8("INSERT INTO Trafoge (\"CÓDIGO\", AREA, ESTADO, GRAVEDAD) VALUES "
                 "(1, 'a', 2, 9), (8, 'b', 3, 1), (3, 'c', 3, 1), (4, 'd', 2, 9), (5, 'e', 3, 5), "
                 "(6, 'f', 0, 6), (7, 'g', 1, 0), (2, 'h', 2, 10)"));
}

} // namespace

TEST(PriorityList, RedComesFirstWhateverTheSeverityAndTiesGoByCode)
{
    TempData data;
    addPlant(data);
    auto list = openList(data.open());
    EXPECT_EQ(codes(*list), (QList<int>{5, 3, 8, 2, 1, 4, 7, 6}));
    // Reading the rows did not move the list.
    EXPECT_EQ(list->absolutePosition(), 0);
    EXPECT_EQ(list->value(0), QVariant(5));
}

TEST(PriorityList, RequeryStaysOnTheSameTransformer)
{
    TempData data;
    addPlant(data);
    auto list = openList(data.open());
    ASSERT_TRUE(list->find(u8("CÓDIGO LIKE 4")).value());
    EXPECT_EQ(list->absolutePosition(), 5);

    // Transformer 4 turns red with the highest severity: it moves to the top and the list follows it.
    data.exec(u8("UPDATE Trafoge SET ESTADO = 3, GRAVEDAD = 20 WHERE \"CÓDIGO\" = 4"));
    QSignalSpy moved(list.get(), &RecordView::repositioned);
    ASSERT_TRUE(list->requery().ok());
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(list->absolutePosition(), 0);
    EXPECT_EQ(list->value(u8("CÓDIGO")), QVariant(4));
    EXPECT_EQ(list->value(QStringLiteral("ESTADO")), QVariant(3));

    // A transformer no longer there: the list starts again from its first row.
    ASSERT_TRUE(list->find(u8("CÓDIGO LIKE 7")).value());
    data.exec(u8("DELETE FROM Trafoge WHERE \"CÓDIGO\" = 7"));
    ASSERT_TRUE(list->requery().ok());
    EXPECT_EQ(list->absolutePosition(), 0);
    EXPECT_EQ(list->recordCount(), 7);
}

TEST(PriorityList, ResyncRereadsValuesWithoutReordering)
{
    TempData data;
    addPlant(data);
    auto list = openList(data.open());
    ASSERT_TRUE(list->setAbsolutePosition(2).ok());
    EXPECT_EQ(list->value(QStringLiteral("AREA")), QVariant(QStringLiteral("b")));
    data.exec(u8("UPDATE Trafoge SET AREA = 'nueva', ESTADO = 0, GRAVEDAD = 0 WHERE \"CÓDIGO\" = 8"));
    // Values are cached until the list re-reads them.
    EXPECT_EQ(list->value(QStringLiteral("AREA")), QVariant(QStringLiteral("b")));
    QSignalSpy changed(list.get(), &RecordView::rowsChanged);
    ASSERT_TRUE(list->resync().ok());
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(list->value(QStringLiteral("AREA")), QVariant(QStringLiteral("nueva")));
    EXPECT_EQ(list->absolutePosition(), 2);
    EXPECT_EQ(codes(*list), (QList<int>{5, 3, 8, 2, 1, 4, 7, 6}));
    ASSERT_TRUE(list->requery().ok());
    EXPECT_EQ(codes(*list), (QList<int>{5, 3, 2, 1, 4, 7, 6, 8}));
    EXPECT_EQ(list->value(0), QVariant(8));
}

TEST(PriorityList, FindByCodeAndEmptyList)
{
    TempData data;
    {
        auto empty = openList(data.open());
        EXPECT_EQ(empty->recordCount(), 0);
        EXPECT_TRUE(empty->eof());
        EXPECT_FALSE(empty->find(u8("CÓDIGO LIKE 12")).value());
    }
    addPlant(data);
    data.exec(u8("INSERT INTO Trafoge (\"CÓDIGO\", ESTADO, GRAVEDAD) VALUES (12, 1, 0), (112, 1, 0)"));
    auto list = openList(data.open());
    ASSERT_TRUE(list->find(u8("CÓDIGO LIKE 12")).value());
    EXPECT_EQ(list->value(0), QVariant(12));
    EXPECT_FALSE(list->find(u8("CÓDIGO LIKE 99")).value());
    EXPECT_EQ(list->value(0), QVariant(12));
}

TEST(PriorityList, RequeryOfASearchOverSeveralTablesStaysOnTheTransformer)
{
    TempData data;
    addPlant(data);
    data.exec(u8(
        "INSERT INTO Ensayos (\"Código\", Fecha, Diel) VALUES (4, '2024-01-01', 20), (4, '2024-02-01', 25), "
        "(8, '2024-01-01', 30), (6, '2024-01-01', 80)"));
    auto list = std::make_unique<PriorityList>();
    list->setDatabase(data.open());
    list->setRecordSource(u8("SELECT DISTINCT Trafoge.* FROM Trafoge LEFT JOIN Ensayos ON "
                             "Trafoge.CÓDIGO=Ensayos.Código where Ensayos.[Diel] < 50 "
                             "Order By Trafoge.ESTADO Desc ,Trafoge.GRAVEDAD Desc ,Trafoge.CÓDIGO Asc"));
    ASSERT_TRUE(list->requery().ok());
    EXPECT_EQ(codes(*list), (QList<int>{8, 4}));
    ASSERT_TRUE(list->find(u8("CÓDIGO LIKE 4")).value());
    data.exec(u8("UPDATE Trafoge SET ESTADO = 3, GRAVEDAD = 9 WHERE \"CÓDIGO\" = 4"));
    ASSERT_TRUE(list->requery().ok());
    EXPECT_EQ(codes(*list), (QList<int>{4, 8}));
    EXPECT_EQ(list->value(u8("CÓDIGO")), QVariant(4));
}

TEST(PriorityList, RequeryOverAnUnchangedFileKeepsItsRowsAndSeesEveryWrite)
{
    TempData data;
    addPlant(data);
    auto db = data.open();
    auto list = openList(db);
    ASSERT_TRUE(list->find(u8("CÓDIGO LIKE 7")).value());
    QSignalSpy moved(list.get(), &RecordView::repositioned);
    QSignalSpy reset(list.get(), &RecordView::rowsChanged);
    ASSERT_TRUE(list->requery().ok());
    EXPECT_EQ(moved.count(), 1); // the re-run still re-establishes the row
    EXPECT_EQ(reset.count(), 0); // but the rows did not change
    EXPECT_EQ(list->value(0), QVariant(7));

    // A write through this connection re-orders the list at the next re-run.
    ASSERT_TRUE(db->exec(u8("UPDATE Trafoge SET ESTADO = 3, GRAVEDAD = 99 WHERE \"CÓDIGO\" = 7")).ok());
    ASSERT_TRUE(list->requery().ok());
    EXPECT_EQ(codes(*list).first(), 7);
    EXPECT_EQ(list->absolutePosition(), 0);

    // So does a write by another program (another connection).
    data.exec(u8("UPDATE Trafoge SET ESTADO = 3, GRAVEDAD = 500 WHERE \"CÓDIGO\" = 6"));
    ASSERT_TRUE(list->requery().ok());
    EXPECT_EQ(codes(*list).first(), 6);
    EXPECT_EQ(list->value(0), QVariant(7));

    // A new source is always run.
    list->setRecordSource(u8("SELECT * FROM Trafoge WHERE ESTADO = 3 ORDER BY CÓDIGO"));
    ASSERT_TRUE(list->requery().ok());
    EXPECT_EQ(codes(*list), (QList<int>{3, 5, 6, 7, 8}));
}
