#include "data/logic/RecordView.h"
#include "data/logic/Schema.h"
#include "tests/support/TempData.h"
#include "tests/support/Texto.h"

#include <QDate>
#include <QMetaEnum>
#include <QSet>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <tuple>
#include <utility>

namespace {

// Tests of codes 5, 7, 5, 9, 7 in the order they were added.
void addTests(const TempData& data)
{
    data.exec(u("INSERT INTO Ensayos (\"Código\", Fecha, Diel, GAS, EMPRESA) VALUES "
                "(5, '2024-01-05', 50.5, 1, 'Lab A'), (7, '2024-02-10', 40, 0, NULL), "
                "(5, '2024-03-15', NULL, NULL, 'Lab B'), (9, '2024-04-20', 61, 1, 'Lab C'), "
                "(7, '2024-05-25', 33, 0, 'Lab D')"));
}

std::unique_ptr<RecordView> openView(const std::shared_ptr<Database>& db, const QString& source)
{
    auto view = std::make_unique<RecordView>();
    view->setDatabase(db);
    view->setRecordSource(source);
    const Status opened = view->refresh();
    EXPECT_TRUE(opened.ok()) << opened.error().toStdString();
    return view;
}

// The first value of a query, read straight from the file on a fresh connection.
QVariant stored(const TempData& data, const QString& sql)
{
    auto db = data.open();
    const QList<QVariantList> rows = db ? queryRows(*db, sql) : QList<QVariantList>();
    return rows.isEmpty() ? QVariant(u("<no row>")) : rows[0].value(0);
}

// Writes values into the current row's buffer, as bound boxes do.
void setValues(RecordView& view, std::initializer_list<std::pair<const char*, QVariant>> values)
{
    for (const auto& [name, value] : values) {
        const Status set = view.setValue(u(name), value);
        ASSERT_TRUE(set.ok()) << name << ": " << set.error().toStdString();
    }
}

// Transformers 30, 10, 20 inserted out of code order, so that the view's order is its own,
// and the tests above.
class RecordViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        data.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", AREA, ESTADO, GRAVEDAD, AUTO) VALUES "
                    "(30, 'Norte', 1, 0, 0), (10, 'Sur', 2, 1.5, 1), (20, NULL, 3, 4, 0)"));
        addTests(data);
    }
    std::unique_ptr<RecordView> open(const QString& source) const { return openView(data.open(), source); }
    QVariant stored(const QString& sql) const { return ::stored(data, sql); }

    TempData data;
};

// The signals of a view in the order they come: validate by its action's name, "moved", "error".
struct SignalLog
{
    QStringList events;
    explicit SignalLog(RecordView& view)
    {
        QObject::connect(&view, &RecordView::validate, &view, [this](RecordView::Action action) {
            events << QLatin1String(QMetaEnum::fromType<RecordView::Action>().valueToKey(int(action)));
        });
        QObject::connect(&view, &RecordView::repositioned, &view, [this] { events << u("moved"); });
        QObject::connect(&view, &RecordView::errorOccurred, &view, [this] { events << u("error"); });
    }
    QString take() { return std::exchange(events, {}).join(QLatin1Char(' ')); }
};

} // namespace

TEST_F(RecordViewTest, NavigationFollowsTheRulesOfBeforeFirstAndAfterLastAndReportsEveryMove)
{
    auto view = open(u("trafoge"));
    ASSERT_EQ(view->recordCount(), 3);
    const QVariant codes[] = {10, 20, 30}; // code order, not the order of addition
    EXPECT_EQ(view->value(0), codes[0]);
    // Each move with the action its validate names.
    using Move = std::pair<Status (RecordView::*)(), const char*>;
    const Move next{&RecordView::moveNext, "MoveNext"}, previous{&RecordView::movePrevious, "MovePrevious"},
        first{&RecordView::moveFirst, "MoveFirst"}, last{&RecordView::moveLast, "MoveLast"};
    // A move, whether it is made, where it lands: a row, -1 before the first or -2 after the last.
    // A move made reports validate before the row is left and repositioned after; a refused one
    // reports the error and stays.
    const std::tuple<Move, bool, int> steps[] = {
        {next, true, 1},  {next, true, 2},      {next, true, -2},      {next, false, -2}, {previous, true, 2},
        {first, true, 0}, {previous, true, -1}, {previous, false, -1}, {next, true, 0},   {last, true, 2}};
    SignalLog log(*view);
    int i = 0;
    for (const auto& [move, made, at] : steps) {
        SCOPED_TRACE(i++);
        EXPECT_EQ(((*view).*move.first)().ok(), made);
        EXPECT_EQ(log.take(), made ? u(move.second) + u(" moved") : u("error"));
        EXPECT_EQ(view->absolutePosition(), std::max(at, -1));
        EXPECT_EQ(view->bof(), at == -1);
        EXPECT_EQ(view->eof(), at == -2);
        EXPECT_EQ(view->value(u("CÓDIGO")), at >= 0 ? codes[at] : QVariant());
    }
    EXPECT_TRUE(view->setAbsolutePosition(1).ok());
    EXPECT_FALSE(view->setAbsolutePosition(3).ok());
    EXPECT_EQ(view->value(0), QVariant(20));
    EXPECT_TRUE(log.take().endsWith(u("moved error")));

    // An empty view is before its first and after its last row at once.
    auto empty = open(u("Revision"));
    EXPECT_TRUE(empty->isOpen() && empty->bof() && empty->eof() && empty->absolutePosition() == -1);
    EXPECT_FALSE(empty->moveNext().ok() || empty->movePrevious().ok());
    EXPECT_TRUE(empty->moveFirst().ok() && empty->bof() && empty->eof() && empty->bookmark().isEmpty());
    const auto found = empty->findFirst(u("[código]=1"));
    EXPECT_TRUE(found.ok() && !found.value() && empty->noMatch() && !empty->value(0).isValid());
}

TEST_F(RecordViewTest, FindsGoFirstNextPreviousLastAndAMissLeavesThePositionSilently)
{
    auto view = open(u("ensayos"));
    using Find = Result<bool> (RecordView::*)(const QString&);
    // A find, whether it matches, the position after it.
    const std::tuple<Find, bool, int> steps[] = {
        {&RecordView::findFirst, true, 1},     {&RecordView::findNext, true, 4},
        {&RecordView::findNext, false, 4},     {&RecordView::findPrevious, true, 1},
        {&RecordView::findPrevious, false, 1}, {&RecordView::findLast, true, 4}};
    // The views' find and the priority list's. A match reports validate and repositioned; a miss
    // leaves the view where it was, silently.
    SignalLog log(*view);
    for (const QString& criterion : {u("[código]=7"), u("CÓDIGO LIKE 7")}) {
        ASSERT_TRUE(view->moveLast().ok());
        log.events.clear();
        int i = 0;
        for (const auto& [find, matches, position] : steps) {
            SCOPED_TRACE(criterion.toStdString() + " step " + std::to_string(i++));
            const auto found = ((*view).*find)(criterion);
            ASSERT_TRUE(found.ok()) << found.error().toStdString();
            EXPECT_EQ(found.value(), matches);
            EXPECT_EQ(view->noMatch(), !matches);
            EXPECT_EQ(view->absolutePosition(), position);
            EXPECT_EQ(log.take(), matches ? u("Find moved") : QString());
        }
    }
    // A criterion naming no field of the table is an error, not a silent miss.
    EXPECT_FALSE(view->findFirst(u("[nada]=1")).ok());
    EXPECT_EQ(log.take(), u("error"));
    EXPECT_EQ(view->absolutePosition(), 4);
}

TEST_F(RecordViewTest, FieldsByNameInAnyCaseAndByPositionWithTheirKinds)
{
    auto view = open(u("ensayos"));
    EXPECT_EQ(view->fieldName(0), u("Código"));
    const std::tuple<const char*, QVariant, QMetaType::Type> cases[] = {
        {"CÓDIGO", 5, QMetaType::Int},
        {"FECHA", QDate(2024, 1, 5), QMetaType::QDate},
        {"diel", 50.5, QMetaType::Double},
        {"gas", true, QMetaType::Bool},
        {"Empresa", u("Lab A"), QMetaType::QString}};
    for (const auto& [field, expected, type] : cases) {
        const QVariant v = view->value(u(field));
        EXPECT_EQ(v, expected) << field;
        EXPECT_EQ(v.typeId(), int(type)) << field;
        EXPECT_EQ(view->value(view->fieldIndex(u(field))), v) << field;
    }
    // NULL reads as an invalid value.
    ASSERT_TRUE(view->setAbsolutePosition(2).ok());
    EXPECT_FALSE(view->value(u("Diel")).isValid());
    EXPECT_FALSE(view->value(u("GAS")).isValid());
    EXPECT_FALSE(view->value(u("no existe")).isValid());
}

TEST_F(RecordViewTest, DoubleBlankNamesAreSavedUnderTheirExactName)
{
    data.exec(u("INSERT INTO Revision (\"CÓDIGO\", FECHA) VALUES (3, '2024-06-02')"));
    const QString exact = u("SEC  / PRIM A TIERRA 10'"), single = u("SEC / PRIM A TIERRA 10'");
    auto view = open(u("Revision"));
    const Status refused = view->setValue(single, 1500.5);
    ASSERT_FALSE(refused.ok());
    EXPECT_TRUE(refused.error().contains(single)) << refused.error().toStdString();
    EXPECT_EQ(view->editMode(), RecordView::EditMode::None);

    ASSERT_TRUE(view->setValue(exact, 1500.5).ok());
    ASSERT_TRUE(view->update().ok());
    EXPECT_EQ(view->value(exact), QVariant(1500.5));
    EXPECT_EQ(stored(u("SELECT %1 FROM Revision").arg(schema::quoteIdentifier(exact))), QVariant(1500.5));
}

TEST_F(RecordViewTest, AddNewAppendsTheSavedRowAndBookmarksReturnToTheirRow)
{
    auto view = open(u("trafoge"));
    ASSERT_TRUE(view->moveNext().ok());
    const QByteArray second = view->bookmark();
    ASSERT_TRUE(view->addNew().ok());
    EXPECT_FALSE(view->value(u("CÓDIGO")).isValid());
    // Codes typed as text are stored as numbers; a text in a number field is refused.
    setValues(*view, {{"código", u("5")}, {"area", u("Oeste")}, {"FECHA", QDate(2020, 2, 29)}});
    EXPECT_EQ(view->value(u("CÓDIGO")), QVariant(5));
    EXPECT_FALSE(view->setValue(u("ESTADO"), u("rojo")).ok());
    ASSERT_TRUE(view->update().ok());
    EXPECT_EQ(view->editMode(), RecordView::EditMode::None);
    // Appended at the end although its code sorts first.
    EXPECT_EQ(view->recordCount(), 4);
    EXPECT_EQ(view->absolutePosition(), 3);
    // A yes/no left untouched on a new row is stored as No, never as Null.
    EXPECT_EQ(
        stored(u("SELECT AREA || '/' || FECHA || '/' || typeof(\"CÓDIGO\") || '/' || ifnull(AUTO, 'NULL') "
                 "FROM Trafoge WHERE \"CÓDIGO\" = 5")),
        QVariant(u("Oeste/2020-02-29/integer/0")));
    SignalLog log(*view);
    ASSERT_TRUE(view->moveToBookmark(second).ok());
    EXPECT_EQ(view->value(0), QVariant(20));
    EXPECT_EQ(log.take(), u("Bookmark moved"));
    ASSERT_TRUE(view->moveToBookmark(view->lastModified()).ok());
    EXPECT_EQ(view->absolutePosition(), 3);

    // A cancelled addition stores nothing and returns to the row before it.
    ASSERT_TRUE(view->moveFirst().ok() && view->addNew().ok() && view->setValue(u("CÓDIGO"), 77).ok());
    view->cancelUpdate();
    EXPECT_EQ(view->editMode(), RecordView::EditMode::None);
    EXPECT_EQ(view->value(0), QVariant(10));
    // Leaving a new row on which nothing was written drops it.
    ASSERT_TRUE(view->addNew().ok() && view->moveLast().ok());
    EXPECT_EQ(view->recordCount(), 4);
    EXPECT_EQ(stored(u("SELECT count(*) FROM Trafoge")), QVariant(4LL));

    // Bookmarks of rows that are gone, and nonsense, are refused without moving.
    const QByteArray added = view->bookmark();
    ASSERT_TRUE(view->deleteCurrent().ok() && view->moveFirst().ok());
    EXPECT_FALSE(view->moveToBookmark(added).ok());
    EXPECT_FALSE(view->moveToBookmark(QByteArray("xyz")).ok());
    EXPECT_EQ(view->absolutePosition(), 0);
}

TEST_F(RecordViewTest, EditsStartImplicitlyAreSavedOnLeavingAndADuplicateCodeKeepsThem)
{
    auto view = open(u("trafoge"));
    // Writing back the stored value is no edit; cancelling restores the stored one.
    ASSERT_TRUE(view->setValue(u("AREA"), u("Sur")).ok());
    EXPECT_EQ(view->editMode(), RecordView::EditMode::None);
    ASSERT_TRUE(view->setValue(u("AREA"), u("Centro")).ok());
    EXPECT_EQ(view->editMode(), RecordView::EditMode::Edit);
    EXPECT_EQ(view->value(u("AREA")), QVariant(u("Centro")));
    view->cancelUpdate();
    EXPECT_EQ(view->value(u("AREA")), QVariant(u("Sur")));

    // A decimal comma, a yes/no and an emptied box (stored as NULL), saved by leaving the row.
    ASSERT_TRUE(view->edit().ok());
    setValues(*view, {{"GRAVEDAD", u("2,5")}, {"AUTO", false}, {"AREA", QString()}});
    ASSERT_TRUE(view->moveNext().ok());
    EXPECT_EQ(view->editMode(), RecordView::EditMode::None);
    EXPECT_EQ(stored(u("SELECT GRAVEDAD || '/' || AUTO || '/' || ifnull(AREA, 'NULL') FROM Trafoge "
                       "WHERE \"CÓDIGO\" = 10")),
              QVariant(u("2.5/0/NULL")));
    EXPECT_EQ(view->valueAt(0, u("GRAVEDAD")), QVariant(2.5));
    ASSERT_TRUE(view->moveLast().ok() && view->moveToBookmark(view->lastModified()).ok());
    EXPECT_EQ(view->value(0), QVariant(10));

    // Row 20 takes code 10: the store refuses, the move is not made and the edit remains.
    data.exec(u("INSERT INTO Revision (\"CÓDIGO\", FECHA) VALUES (20, '2024-01-01'), (10, '2024-01-02');"
                "INSERT INTO Ensayos (\"Código\", Fecha) VALUES (20, '2024-01-03');"
                "INSERT INTO Mantenimiento (\"Código\", Fecha) VALUES (20, '2024-01-04')"));
    const QString filasDe = u("SELECT (SELECT count(*) FROM Revision WHERE \"CÓDIGO\" = %1) || '/' || "
                              "(SELECT count(*) FROM Ensayos WHERE \"Código\" = %1) || '/' || "
                              "(SELECT count(*) FROM Mantenimiento WHERE \"Código\" = %1)");
    ASSERT_TRUE(view->moveNext().ok() && view->setValue(u("CÓDIGO"), 10).ok());
    QSignalSpy errors(view.get(), &RecordView::errorOccurred);
    const Status moved = view->moveNext();
    ASSERT_FALSE(moved.ok());
    EXPECT_EQ(moved.error(), u("Ya existe un transformador con el código 10"));
    EXPECT_EQ(errors.count(), 1);
    EXPECT_EQ(view->absolutePosition(), 1);
    EXPECT_EQ(view->editMode(), RecordView::EditMode::Edit);
    EXPECT_EQ(view->value(0), QVariant(10));
    view->cancelUpdate();
    EXPECT_EQ(view->value(0), QVariant(20));
    EXPECT_EQ(stored(filasDe.arg(20)), QVariant(u("1/1/1")));
    EXPECT_EQ(stored(filasDe.arg(10)), QVariant(u("1/0/0")));
    // A new code takes the transformer's inspections, tests and maintenance with it.
    ASSERT_TRUE(view->setValue(u("CÓDIGO"), 21).ok() && view->update().ok());
    EXPECT_EQ(stored(filasDe.arg(21)), QVariant(u("1/1/1")));
    EXPECT_EQ(stored(filasDe.arg(20)), QVariant(u("0/0/0")));
    EXPECT_EQ(stored(filasDe.arg(10)), QVariant(u("1/0/0")));

    // The same on adding: the buffer is kept and another code saves it.
    ASSERT_TRUE(view->addNew().ok() && view->setValue(u("CÓDIGO"), 30).ok());
    const Status saved = view->update();
    ASSERT_FALSE(saved.ok());
    EXPECT_EQ(saved.error(), u("Ya existe un transformador con el código 30"));
    EXPECT_EQ(view->editMode(), RecordView::EditMode::Add);
    EXPECT_EQ(view->recordCount(), 3);
    ASSERT_TRUE(view->setValue(u("CÓDIGO"), 13).ok() && view->update().ok());
    EXPECT_EQ(view->recordCount(), 4);

    // A bound box writes into the row during validate, so leaving the row saves it; update and
    // delete report before they act.
    SignalLog log(*view);
    auto binder = QObject::connect(view.get(), &RecordView::validate, view.get(),
                                   [&view] { EXPECT_TRUE(view->setValue(u("AREA"), u("Escrito")).ok()); });
    ASSERT_TRUE(view->moveFirst().ok());
    QObject::disconnect(binder);
    EXPECT_EQ(stored(u("SELECT AREA FROM Trafoge WHERE \"CÓDIGO\" = 13")), QVariant(u("Escrito")));
    ASSERT_TRUE(view->setValue(u("AREA"), u("Otro")).ok() && view->update().ok() &&
                view->deleteCurrent().ok());
    EXPECT_EQ(log.take(), u("MoveFirst moved Update Delete"));
}

TEST(RecordView, DeletedRowStandsUntilTheNextMove)
{
    // Row deleted, moving forward or back, where the move lands (-1 before first, -2 after last)
    // and the date found there.
    const std::tuple<int, bool, int, QVariant> cases[] = {{1, true, 1, QDate(2024, 3, 15)},
                                                          {1, false, 0, QDate(2024, 1, 5)},
                                                          {4, true, -2, {}},
                                                          {0, false, -1, {}}};
    for (const auto& [deleteAt, forward, landsAt, date] : cases) {
        SCOPED_TRACE(deleteAt * 10 + forward);
        TempData fresh;
        addTests(fresh);
        auto view = openView(fresh.open(), u("ensayos"));
        ASSERT_TRUE(view->setAbsolutePosition(deleteAt).ok());
        QSignalSpy moved(view.get(), &RecordView::repositioned);
        ASSERT_TRUE(view->deleteCurrent().ok());
        EXPECT_TRUE(view->isDeleted());
        EXPECT_EQ(moved.count(), 0);
        EXPECT_FALSE(view->value(u("Fecha")).isValid());
        EXPECT_TRUE(view->bookmark().isEmpty());
        EXPECT_EQ(view->recordCount(), 4);
        EXPECT_EQ(stored(fresh, u("SELECT count(*) FROM Ensayos")), QVariant(4LL));
        EXPECT_FALSE(view->setValue(u("EMPRESA"), u("x")).ok());
        ASSERT_TRUE((forward ? view->moveNext() : view->movePrevious()).ok());
        EXPECT_FALSE(view->isDeleted());
        EXPECT_EQ(moved.count(), 1);
        EXPECT_EQ(view->absolutePosition(), std::max(landsAt, -1));
        EXPECT_EQ(view->bof(), landsAt == -1);
        EXPECT_EQ(view->eof(), landsAt == -2);
        EXPECT_EQ(view->value(u("Fecha")), date);
    }
}

TEST_F(RecordViewTest, ReadOnlyViewsRefuseWritesAndStoreFailuresGiveTheirReason)
{
    auto readOnlyView = open(u("trafoge"));
    readOnlyView->setReadOnly(true);
    auto readOnlyFile = openView(data.open(true), u("trafoge"));
    for (RecordView* view : {readOnlyView.get(), readOnlyFile.get()}) {
        EXPECT_FALSE(view->setValue(u("AREA"), u("x")).ok());
        EXPECT_FALSE(view->addNew().ok());
        EXPECT_FALSE(view->edit().ok());
        EXPECT_FALSE(view->deleteCurrent().ok());
        EXPECT_EQ(view->editMode(), RecordView::EditMode::None);
    }

    // The store itself refusing to write (as a file made read-only under the program does).
    auto db = data.open();
    ASSERT_TRUE(db->exec(u("PRAGMA query_only = 1")).ok());
    auto view = openView(db, u("trafoge"));
    ASSERT_TRUE(view->setValue(u("AREA"), u("x")).ok());
    for (const Status& refused : {view->update(), view->deleteCurrent()}) {
        ASSERT_FALSE(refused.ok());
        EXPECT_TRUE(refused.error().contains(u("solo lectura"))) << refused.error().toStdString();
    }
    EXPECT_FALSE(view->isDeleted());
    EXPECT_EQ(view->recordCount(), 3);
}

TEST_F(RecordViewTest, SlotsMayMoveOtherViewsAndFindAgainWhileRepositioning)
{
    data.exec(u("INSERT INTO Revision (\"CÓDIGO\", FECHA) VALUES (30, '2024-01-01'), (10, '2024-01-02'), "
                "(20, '2024-01-03'), (10, '2024-01-04')"));
    auto db = data.open();
    auto transformers = openView(db, u("trafoge"));
    auto inspections = openView(db, u("Revision"));
    // The alignment of the main window: each move of the transformer view finds its transformer
    // again (guarded against endless recursion) and finds it in the inspection view.
    bool aligning = false;
    int aligned = 0;
    QObject::connect(transformers.get(), &RecordView::repositioned, transformers.get(), [&] {
        if (aligning || transformers->eof() || transformers->bof())
            return;
        aligning = true;
        const QString code = transformers->value(0).toString();
        const auto self = transformers->findFirst(u("[CÓDIGO]=") + code);
        const auto other = inspections->findFirst(u("[código]=") + code);
        EXPECT_TRUE(self.ok() && self.value() && other.ok() && other.value());
        ++aligned;
        aligning = false;
    });
    ASSERT_TRUE(transformers->moveFirst().ok());
    EXPECT_EQ(inspections->value(1), QVariant(QDate(2024, 1, 2)));
    ASSERT_TRUE(transformers->moveLast().ok());
    EXPECT_EQ(inspections->absolutePosition(), 0);
    ASSERT_TRUE(transformers->movePrevious().ok());
    EXPECT_EQ(transformers->value(0), QVariant(20));
    EXPECT_EQ(inspections->absolutePosition(), 2);
    EXPECT_EQ(aligned, 3);
}

TEST_F(RecordViewTest, RefreshRereadsTheKeysAndDropsPendingEditsButClosingSavesThem)
{
    auto view = open(u("trafoge"));
    ASSERT_TRUE(view->moveLast().ok() && view->setValue(u("AREA"), u("Perdido")).ok());
    data.exec(u("INSERT INTO Trafoge (\"CÓDIGO\") VALUES (1)"));
    EXPECT_EQ(view->recordCount(), 3);
    SignalLog log(*view);
    ASSERT_TRUE(view->refresh().ok());
    EXPECT_EQ(log.take(), u("Refresh moved"));
    EXPECT_EQ(view->editMode(), RecordView::EditMode::None);
    EXPECT_EQ(view->recordCount(), 4);
    EXPECT_EQ(view->absolutePosition(), 0);
    EXPECT_EQ(view->value(0), QVariant(1));
    EXPECT_EQ(stored(u("SELECT count(*) FROM Trafoge WHERE AREA = 'Perdido'")), QVariant(0LL));

    // A source that does not translate leaves the view as it was.
    const QString source = view->recordSource();
    view->setRecordSource(u("SELECT * FROM NoExiste"));
    QSignalSpy errors(view.get(), &RecordView::errorOccurred);
    EXPECT_FALSE(view->refresh().ok());
    EXPECT_EQ(errors.count(), 1);
    EXPECT_TRUE(view->isOpen());
    EXPECT_EQ(view->recordCount(), 4);

    view->setRecordSource(source);
    ASSERT_TRUE(view->refresh().ok() && view->setValue(u("AREA"), u("Guardado")).ok());
    view->setDatabase(nullptr);
    EXPECT_FALSE(view->isOpen());
    EXPECT_EQ(view->recordCount(), 0);
    EXPECT_FALSE(view->moveFirst().ok());
    EXPECT_EQ(stored(u("SELECT AREA FROM Trafoge WHERE \"CÓDIGO\" = 1")), QVariant(u("Guardado")));
}

TEST(RecordView, LargeViewsHoldOnlyAWindowOfValuesAndAlwaysGiveTheStoredOnes)
{
    TempData data;
    data.exec(u("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) "
                "INSERT INTO Ensayos (\"Código\", Fecha, Diel) "
                "SELECT i % 500 + 1, date('2020-01-01', '+' || i || ' days'), i FROM n"));
    auto db = data.open();
    // Hundreds of saves below: no need to wait for the disk in this one.
    ASSERT_TRUE(db->exec(u("PRAGMA synchronous = OFF")).ok());
    auto view = openView(db, u("ensayos"));
    ASSERT_EQ(view->recordCount(), 5000);
    // The code lookup of each transformer lands on its first test; reading far rows, or past the
    // last one where there is nothing, does not move the view.
    ASSERT_TRUE(view->findFirst(u("[código]=17")).value());
    EXPECT_EQ(view->valueAt(4321, u("diel")), QVariant(4322.0));
    EXPECT_EQ(view->valueAt(5000, u("diel")), QVariant());
    EXPECT_EQ(view->absolutePosition(), 15);

    // A fixed pseudo-random walk: reads anywhere, writes that make the view forget a row.
    QList<double> expected;
    for (int i = 1; i <= 5000; ++i)
        expected << i;
    quint32 seed = 71;
    for (int step = 0; step < 4000; ++step) {
        seed = seed * 1103515245u + 12345u;
        const int p = step < 700 ? step : int((seed >> 8) % 5000u);
        if (step % 7 == 3) {
            ASSERT_TRUE(view->setAbsolutePosition(p).ok() && view->setValue(u("Diel"), 10000.0 + step).ok() &&
                        view->update().ok());
            expected[p] = 10000.0 + step;
        }
        ASSERT_EQ(view->valueAt(p, u("Diel")), QVariant(expected[p])) << "step " << step;
        ASSERT_LE(view->cachedRowCount(), RecordView::kCacheRows);
    }
}

TEST(RecordView, ARowAddedThenChangedShowsEveryStoredValue)
{
    TempData data;
    // Enough rows that the new one lands in a page of values already read.
    data.exec(u("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100) "
                "INSERT INTO Mantenimiento (\"Código\", Fecha, Pintado) SELECT i, '2020-01-01', 0 FROM n"));
    auto view = openView(data.open(), u("mantenimiento"));
    // A grid reads every row it shows between the saves.
    const auto readAll = [&] {
        for (int i = 0; i < view->recordCount(); ++i)
            static_cast<void>(view->valueAt(i, u("Pintado")));
    };
    ASSERT_TRUE(view->moveLast().ok());
    EXPECT_EQ(view->valueAt(70, u("Pintado")), QVariant(false));
    ASSERT_TRUE(view->addNew().ok());
    setValues(*view,
              {{"Código", 7}, {"Fecha", QDate(2026, 12, 1)}, {"Pintado", true}, {"Cambio de sílica", true}});
    ASSERT_TRUE(view->update().ok());
    readAll();
    const QByteArray mark = view->bookmark();
    ASSERT_TRUE(view->setValue(u("Cambio de sílica"), false).ok());
    readAll();
    ASSERT_TRUE(view->update().ok());
    readAll();
    ASSERT_TRUE(view->moveToBookmark(mark).ok());
    EXPECT_EQ(view->value(u("Pintado")), QVariant(true));
    EXPECT_EQ(view->value(u("Cambio de sílica")), QVariant(false));
    EXPECT_EQ(view->value(u("Código")), QVariant(7));
}

TEST(RecordView, DistinctListsArePagedSortedAndReadOnly)
{
    TempData data;
    data.exec(u("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                "INSERT INTO Revision (\"CÓDIGO\", FECHA) "
                "SELECT i % 7, date('2020-01-01', '+' || (i % 1000) || ' days') FROM n;"
                "INSERT INTO Trafoge (\"CÓDIGO\", \"TIPO AISLANTE\") VALUES (1, 'SECO'), (2, 'ACT.YPF 64'), "
                "(3, 'SECO'), (4, NULL)"));
    auto db = data.open();
    auto dates = openView(db, u("SELECT DISTINCT [Fecha]  FROM Revision"));
    EXPECT_EQ(dates->recordCount(), 1000);
    EXPECT_EQ(dates->fieldCount(), 1);
    // Sorted as the engine's DISTINCT lists were, whatever order the rows were written in.
    EXPECT_EQ(dates->value(0), QVariant(QDate(2020, 1, 1)));
    QSet<QDate> seen;
    for (int i = 0; i < dates->recordCount(); ++i)
        seen.insert(dates->valueAt(i, u("fecha")).toDate());
    EXPECT_EQ(seen.size(), 1000);
    EXPECT_LE(dates->cachedRowCount(), RecordView::kCacheRows);
    ASSERT_TRUE(dates->moveLast().ok());
    EXPECT_EQ(dates->absolutePosition(), 999);
    EXPECT_FALSE(dates->setValue(0, QDate(2021, 1, 1)).ok());
    EXPECT_FALSE(dates->addNew().ok());
    ASSERT_TRUE(dates->findFirst(u("FECHA = #01/05/20#")).value());
    const QByteArray mark = dates->bookmark();
    ASSERT_TRUE(dates->moveFirst().ok() && dates->moveToBookmark(mark).ok());
    EXPECT_EQ(dates->value(0), QVariant(QDate(2020, 1, 5)));

    auto oils = openView(db, u("SELECT DISTINCT [tipo aislante]  FROM Trafoge order by [TIPO AISLANTE] asc"));
    ASSERT_EQ(oils->recordCount(), 3);
    EXPECT_EQ(oils->fieldName(0), u("TIPO AISLANTE"));
    EXPECT_EQ(oils->valueAt(1, u("tipo aislante")), QVariant(u("ACT.YPF 64")));
}

TEST_F(RecordViewTest, JoinedSearchViewsKeepEachTablesKindsAndFindInOrder)
{
    data.exec(u("UPDATE Trafoge SET OTROS = 'fusibles' WHERE \"CÓDIGO\" = 20;"
                "UPDATE Ensayos SET OTROS = 2.5 WHERE rowid = 2;"
                "INSERT INTO Ensayos (\"Código\", Fecha, OTROS) VALUES (20, '2024-07-01', 4), (20, "
                "'2024-08-01', 6)"));
    auto view = open(u("SELECT Trafoge.*, Ensayos.* FROM Trafoge LEFT JOIN Ensayos ON "
                       "Trafoge.CÓDIGO=Ensayos.Código where Trafoge.[ESTADO] >= 2 "
                       "Order By Trafoge.CÓDIGO Asc, Ensayos.Fecha Asc"));
    // Transformer 10 without tests once, 20 with its two tests.
    ASSERT_EQ(view->recordCount(), 3);
    // Same-named columns of the two tables come in order, Trafoge's first.
    QStringList names;
    for (int i = 0; i < view->fieldCount(); ++i)
        names << view->fieldName(i).toUpper();
    const int otros = names.indexOf(u("OTROS")), testOtros = names.lastIndexOf(u("OTROS"));
    ASSERT_LT(otros, testOtros);
    EXPECT_EQ(view->fieldIndex(u("otros")), otros);
    EXPECT_EQ(view->valueAt(1, otros), QVariant(u("fusibles")));
    EXPECT_EQ(view->valueAt(2, testOtros), QVariant(6.0));
    EXPECT_EQ(view->valueAt(2, names.lastIndexOf(u("FECHA"))), QVariant(QDate(2024, 8, 1)));
    EXPECT_FALSE(view->valueAt(0, testOtros).isValid());
    EXPECT_FALSE(view->setValue(u("AREA"), u("x")).ok());

    ASSERT_TRUE(view->findFirst(u("Trafoge.[CÓDIGO]=20")).value());
    EXPECT_EQ(view->absolutePosition(), 1);
    ASSERT_TRUE(view->findNext(u("Ensayos.[OTROS] > 3")).value());
    EXPECT_EQ(view->absolutePosition(), 2);
    EXPECT_FALSE(view->findNext(u("Trafoge.[CÓDIGO]=20")).value());
    EXPECT_EQ(view->absolutePosition(), 2);
}
