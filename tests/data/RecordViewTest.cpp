#include "data/logic/RecordView.h"
#include "data/logic/Schema.h"
#include "tests/support/TempData.h"
#include "tests/support/Texto.h"

#include <QDate>
#include <QMetaEnum>
#include <QSet>
#include <QSignalSpy>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Transformers inserted out of code order, so that the view's order is its own.
void addTransformers(const TempData& data)
{
    data.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", AREA, ESTADO, GRAVEDAD, AUTO) VALUES "
                "(30, 'Norte', 1, 0, 0), (10, 'Sur', 2, 1.5, 1), (20, NULL, 3, 4, 0)"));
}

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
    return rows.isEmpty() ? QVariant(QStringLiteral("<no row>")) : rows[0].value(0);
}

// A data file with the transformers and the tests above.
class RecordViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        addTransformers(data);
        addTests(data);
    }
    std::unique_ptr<RecordView> open(const QString& source) const { return openView(data.open(), source); }
    QVariant stored(const QString& sql) const { return ::stored(data, sql); }

    TempData data;
};

QString validateOf(RecordView::Action action)
{
    return QStringLiteral("validate:") +
           QLatin1String(QMetaEnum::fromType<RecordView::Action>().valueToKey(int(action)));
}

// Records the signals of a view in the order they come.
struct SignalLog
{
    QStringList events;
    explicit SignalLog(RecordView& view)
    {
        QObject::connect(&view, &RecordView::validate, &view,
                         [this](RecordView::Action action) { events << validateOf(action); });
        QObject::connect(&view, &RecordView::repositioned, &view,
                         [this] { events << QStringLiteral("moved"); });
        QObject::connect(&view, &RecordView::errorOccurred, &view,
                         [this](const QString&) { events << QStringLiteral("error"); });
    }
};

} // namespace

TEST_F(RecordViewTest, NavigationFollowsTheRulesOfBeforeFirstAndAfterLast)
{
    auto view = open(QStringLiteral("trafoge"));
    ASSERT_EQ(view->recordCount(), 3);
    // The view opens on its first row, in code order.
    EXPECT_EQ(view->absolutePosition(), 0);
    EXPECT_EQ(view->value(0), QVariant(10));

    const std::function<Status()> next = [&] { return view->moveNext(); },
                                  previous = [&] { return view->movePrevious(); },
                                  first = [&] { return view->moveFirst(); },
                                  last = [&] { return view->moveLast(); },
                                  to1 = [&] { return view->setAbsolutePosition(1); },
                                  to3 = [&] { return view->setAbsolutePosition(3); };
    const struct
    {
        std::function<Status()> op;
        bool ok;
        int position;
        bool bof, eof;
        QVariant code;
    } steps[] = {
        {next, true, 1, false, false, 20},     {next, true, 2, false, false, 30},
        {next, true, -1, false, true, {}},     {next, false, -1, false, true, {}},
        {previous, true, 2, false, false, 30}, {first, true, 0, false, false, 10},
        {previous, true, -1, true, false, {}}, {previous, false, -1, true, false, {}},
        {next, true, 0, false, false, 10},     {last, true, 2, false, false, 30},
        {to1, true, 1, false, false, 20},      {to3, false, 1, false, false, 20},
    };
    QSignalSpy errors(view.get(), &RecordView::errorOccurred);
    int expectedErrors = 0;
    int i = 0;
    for (const auto& s : steps) {
        SCOPED_TRACE(i++);
        expectedErrors += s.ok ? 0 : 1;
        EXPECT_EQ(s.op().ok(), s.ok);
        EXPECT_EQ(view->absolutePosition(), s.position);
        EXPECT_EQ(view->bof(), s.bof);
        EXPECT_EQ(view->eof(), s.eof);
        EXPECT_EQ(view->value(u("CÓDIGO")), s.code);
        EXPECT_EQ(errors.count(), expectedErrors);
    }
}

TEST_F(RecordViewTest, AnEmptyViewIsBeforeFirstAndAfterLastAtOnce)
{
    auto view = open(QStringLiteral("Revision"));
    EXPECT_TRUE(view->isOpen());
    EXPECT_TRUE(view->bof() && view->eof());
    EXPECT_EQ(view->absolutePosition(), -1);
    EXPECT_FALSE(view->moveNext().ok());
    EXPECT_FALSE(view->movePrevious().ok());
    EXPECT_TRUE(view->moveFirst().ok());
    EXPECT_TRUE(view->bof() && view->eof());
    EXPECT_TRUE(view->bookmark().isEmpty());
    EXPECT_FALSE(view->value(0).isValid());
    const auto found = view->findFirst(QStringLiteral("[código]=1"));
    ASSERT_TRUE(found.ok());
    EXPECT_FALSE(found.value());
    EXPECT_TRUE(view->noMatch());
}

TEST_F(RecordViewTest, BookmarksReturnToTheirRowAndLastModifiedNamesTheChangedRow)
{
    auto view = open(QStringLiteral("trafoge"));
    ASSERT_TRUE(view->moveNext().ok());
    const QByteArray second = view->bookmark();
    ASSERT_TRUE(view->moveLast().ok());
    EXPECT_NE(view->bookmark(), second);
    ASSERT_TRUE(view->moveToBookmark(second).ok());
    EXPECT_EQ(view->value(0), QVariant(20));

    // A changed row, then an added one.
    ASSERT_TRUE(view->moveFirst().ok());
    ASSERT_TRUE(view->setValue(QStringLiteral("AREA"), QStringLiteral("Este")).ok());
    ASSERT_TRUE(view->update().ok());
    ASSERT_TRUE(view->moveLast().ok());
    ASSERT_TRUE(view->moveToBookmark(view->lastModified()).ok());
    EXPECT_EQ(view->value(0), QVariant(10));
    ASSERT_TRUE(view->addNew().ok());
    ASSERT_TRUE(view->setValue(u("código"), 40).ok());
    ASSERT_TRUE(view->update().ok());
    ASSERT_TRUE(view->moveFirst().ok());
    ASSERT_TRUE(view->moveToBookmark(view->lastModified()).ok());
    EXPECT_EQ(view->value(0), QVariant(40));

    // Bookmarks of rows that are gone, and nonsense, are refused without moving.
    const QByteArray added = view->bookmark();
    ASSERT_TRUE(view->deleteCurrent().ok());
    ASSERT_TRUE(view->moveFirst().ok());
    EXPECT_FALSE(view->moveToBookmark(added).ok());
    EXPECT_FALSE(view->moveToBookmark(QByteArray("xyz")).ok());
    EXPECT_EQ(view->absolutePosition(), 0);
}

TEST_F(RecordViewTest, FindsGoFirstNextPreviousLastAndAMissLeavesThePositionSilently)
{
    auto view = open(QStringLiteral("ensayos"));
    for (const QString& criterion : {u("[código]=7"), u("CÓDIGO LIKE 7")}) {
        SCOPED_TRACE(criterion.toStdString());
        ASSERT_TRUE(view->moveLast().ok());
        const auto first = view->findFirst(criterion);
        ASSERT_TRUE(first.ok()) << first.error().toStdString();
        EXPECT_TRUE(first.value());
        EXPECT_FALSE(view->noMatch());
        EXPECT_EQ(view->absolutePosition(), 1);
        ASSERT_TRUE(view->findNext(criterion).value());
        EXPECT_EQ(view->absolutePosition(), 4);
        // Nothing after the last match: the view stays where it was.
        EXPECT_FALSE(view->findNext(criterion).value());
        EXPECT_TRUE(view->noMatch());
        EXPECT_EQ(view->absolutePosition(), 4);
        ASSERT_TRUE(view->findPrevious(criterion).value());
        EXPECT_EQ(view->absolutePosition(), 1);
        EXPECT_FALSE(view->findPrevious(criterion).value());
        EXPECT_EQ(view->absolutePosition(), 1);
        ASSERT_TRUE(view->findLast(criterion).value());
        EXPECT_EQ(view->absolutePosition(), 4);
    }

    ASSERT_TRUE(view->setAbsolutePosition(2).ok());
    SignalLog log(*view);
    const auto missed = view->findFirst(u("[código]=99"));
    ASSERT_TRUE(missed.ok());
    EXPECT_FALSE(missed.value());
    EXPECT_EQ(view->absolutePosition(), 2);
    EXPECT_EQ(view->value(u("código")), QVariant(5));
    EXPECT_TRUE(log.events.isEmpty()) << log.events.join(QLatin1Char(' ')).toStdString();
    // A criterion naming no field of the table is an error, not a silent miss.
    EXPECT_FALSE(view->findFirst(QStringLiteral("[nada]=1")).ok());
    EXPECT_EQ(log.events, QStringList{QStringLiteral("error")});
    EXPECT_EQ(view->absolutePosition(), 2);
}

TEST_F(RecordViewTest, FieldsByNameInAnyCaseAndByPositionWithTheirKinds)
{
    auto view = open(QStringLiteral("ensayos"));
    EXPECT_EQ(view->fieldName(0), u("Código"));
    for (const char* name : {"Código", "código", "CÓDIGO"})
        EXPECT_EQ(view->fieldIndex(u(name)), 0) << name;
    EXPECT_EQ(view->fieldIndex(QStringLiteral("FECHA")), 1);
    EXPECT_EQ(view->fieldIndex(QStringLiteral("no existe")), -1);
    const struct
    {
        const char* field;
        QVariant expected;
        QMetaType::Type type;
    } cases[] = {
        {"código", 5, QMetaType::Int},
        {"FECHA", QDate(2024, 1, 5), QMetaType::QDate},
        {"diel", 50.5, QMetaType::Double},
        {"gas", true, QMetaType::Bool},
        {"Empresa", QStringLiteral("Lab A"), QMetaType::QString},
    };
    for (const auto& c : cases) {
        const QVariant v = view->value(u(c.field));
        EXPECT_EQ(v, c.expected) << c.field;
        EXPECT_EQ(v.typeId(), int(c.type)) << c.field;
        EXPECT_EQ(view->value(view->fieldIndex(u(c.field))), v) << c.field;
    }
    // NULL reads as an invalid value.
    ASSERT_TRUE(view->setAbsolutePosition(2).ok());
    EXPECT_FALSE(view->value(QStringLiteral("Diel")).isValid());
    EXPECT_FALSE(view->value(QStringLiteral("GAS")).isValid());
    EXPECT_FALSE(view->value(QStringLiteral("no existe")).isValid());
}

TEST_F(RecordViewTest, DoubleBlankNamesAreSavedUnderTheirExactName)
{
    data.exec(u("INSERT INTO Mantenimiento (\"Código\", Fecha) VALUES (3, '2024-06-01');"
                "INSERT INTO Revision (\"CÓDIGO\", FECHA) VALUES (3, '2024-06-02')"));
    auto db = data.open();
    const struct
    {
        const char* table;
        const char* exact;
        const char* single;
        QVariant value;
        QVariant storedValue;
    } cases[] = {
        {"mantenimiento", "Rep  o cambio termocuadrante", "Rep o cambio termocuadrante", true, 1},
        {"Revision", "SEC  / PRIM A TIERRA 10'", "SEC / PRIM A TIERRA 10'", 1500.5, 1500.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.table);
        auto view = openView(db, u(c.table));
        EXPECT_EQ(view->fieldIndex(u(c.single)), -1);
        const Status refused = view->setValue(u(c.single), c.value);
        ASSERT_FALSE(refused.ok());
        EXPECT_TRUE(refused.error().contains(u(c.single))) << refused.error().toStdString();
        EXPECT_EQ(view->editMode(), RecordView::EditMode::None);

        ASSERT_TRUE(view->setValue(u(c.exact), c.value).ok());
        ASSERT_TRUE(view->update().ok());
        EXPECT_EQ(view->value(u(c.exact)), c.value);
        EXPECT_EQ(
            stored(QStringLiteral("SELECT %1 FROM %2").arg(schema::quoteIdentifier(u(c.exact)), u(c.table))),
            c.storedValue);
    }
}

TEST_F(RecordViewTest, AddNewUsesTheBufferAndAppendsTheSavedRow)
{
    auto view = open(QStringLiteral("trafoge"));
    ASSERT_TRUE(view->addNew().ok());
    EXPECT_EQ(view->editMode(), RecordView::EditMode::Add);
    EXPECT_FALSE(view->value(u("CÓDIGO")).isValid());
    // Codes typed as text are stored as numbers; a text in a number field is refused.
    ASSERT_TRUE(view->setValue(u("código"), QStringLiteral("5")).ok());
    ASSERT_TRUE(view->setValue(QStringLiteral("area"), QStringLiteral("Oeste")).ok());
    ASSERT_TRUE(view->setValue(QStringLiteral("FECHA"), QDate(2020, 2, 29)).ok());
    EXPECT_EQ(view->value(u("CÓDIGO")), QVariant(5));
    EXPECT_FALSE(view->setValue(QStringLiteral("ESTADO"), QStringLiteral("rojo")).ok());
    ASSERT_TRUE(view->update().ok());
    EXPECT_EQ(view->editMode(), RecordView::EditMode::None);
    // Appended at the end although its code sorts first.
    EXPECT_EQ(view->recordCount(), 4);
    EXPECT_EQ(view->absolutePosition(), 3);
    EXPECT_EQ(view->value(0), QVariant(5));
    EXPECT_EQ(view->value(QStringLiteral("FECHA")), QVariant(QDate(2020, 2, 29)));
    EXPECT_EQ(stored(u("SELECT AREA || '/' || FECHA || '/' || typeof(\"CÓDIGO\") FROM Trafoge "
                       "WHERE \"CÓDIGO\" = 5")),
              QVariant(QStringLiteral("Oeste/2020-02-29/integer")));

    // A cancelled addition stores nothing and returns to the row before it.
    ASSERT_TRUE(view->moveFirst().ok());
    ASSERT_TRUE(view->addNew().ok());
    ASSERT_TRUE(view->setValue(u("CÓDIGO"), 77).ok());
    view->cancelUpdate();
    EXPECT_EQ(view->editMode(), RecordView::EditMode::None);
    EXPECT_EQ(view->value(0), QVariant(10));
    // Leaving a new row on which nothing was written drops it.
    ASSERT_TRUE(view->addNew().ok());
    ASSERT_TRUE(view->moveLast().ok());
    EXPECT_EQ(view->recordCount(), 4);
    EXPECT_EQ(stored(QStringLiteral("SELECT count(*) FROM Trafoge")), QVariant(4LL));
}

TEST_F(RecordViewTest, EditStartsImplicitlyConvertsTypedTextAndCancelRestores)
{
    auto view = open(QStringLiteral("trafoge"));
    // Writing back the stored value is no edit.
    ASSERT_TRUE(view->setValue(QStringLiteral("AREA"), QStringLiteral("Sur")).ok());
    EXPECT_EQ(view->editMode(), RecordView::EditMode::None);
    ASSERT_TRUE(view->setValue(QStringLiteral("AREA"), QStringLiteral("Centro")).ok());
    EXPECT_EQ(view->editMode(), RecordView::EditMode::Edit);
    EXPECT_EQ(view->value(QStringLiteral("AREA")), QVariant(QStringLiteral("Centro")));
    view->cancelUpdate();
    EXPECT_EQ(view->value(QStringLiteral("AREA")), QVariant(QStringLiteral("Sur")));

    // A decimal comma, a yes/no and an emptied box (stored as NULL).
    ASSERT_TRUE(view->edit().ok());
    ASSERT_TRUE(view->setValue(QStringLiteral("GRAVEDAD"), QStringLiteral("2,5")).ok());
    ASSERT_TRUE(view->setValue(QStringLiteral("AUTO"), false).ok());
    ASSERT_TRUE(view->setValue(QStringLiteral("AREA"), QString()).ok());
    ASSERT_TRUE(view->update().ok());
    EXPECT_EQ(stored(u("SELECT GRAVEDAD || '/' || AUTO || '/' || ifnull(AREA, 'NULL') FROM Trafoge "
                       "WHERE \"CÓDIGO\" = 10")),
              QVariant(QStringLiteral("2.5/0/NULL")));
    EXPECT_EQ(view->value(QStringLiteral("GRAVEDAD")), QVariant(2.5));
}

TEST(RecordView, DeletedRowStandsUntilTheNextMove)
{
    const struct
    {
        int deleteAt;
        bool forward;
        int landsAt; // -1 before first, -2 after last
        QVariant date;
    } cases[] = {
        {1, true, 1, QDate(2024, 3, 15)},
        {1, false, 0, QDate(2024, 1, 5)},
        {4, true, -2, {}},
        {0, false, -1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.deleteAt * 10 + c.forward);
        TempData fresh;
        addTests(fresh);
        auto view = openView(fresh.open(), QStringLiteral("ensayos"));
        ASSERT_TRUE(view->setAbsolutePosition(c.deleteAt).ok());
        QSignalSpy moved(view.get(), &RecordView::repositioned);
        ASSERT_TRUE(view->deleteCurrent().ok());
        EXPECT_TRUE(view->isDeleted());
        EXPECT_EQ(moved.count(), 0);
        EXPECT_FALSE(view->value(QStringLiteral("Fecha")).isValid());
        EXPECT_TRUE(view->bookmark().isEmpty());
        EXPECT_EQ(view->recordCount(), 4);
        EXPECT_EQ(stored(fresh, QStringLiteral("SELECT count(*) FROM Ensayos")), QVariant(4LL));
        EXPECT_FALSE(view->setValue(QStringLiteral("EMPRESA"), QStringLiteral("x")).ok());
        ASSERT_TRUE((c.forward ? view->moveNext() : view->movePrevious()).ok());
        EXPECT_FALSE(view->isDeleted());
        EXPECT_EQ(moved.count(), 1);
        EXPECT_EQ(view->absolutePosition(), c.landsAt >= 0 ? c.landsAt : -1);
        EXPECT_EQ(view->bof(), c.landsAt == -1);
        EXPECT_EQ(view->eof(), c.landsAt == -2);
        EXPECT_EQ(view->value(QStringLiteral("Fecha")), c.date);
    }
}

TEST_F(RecordViewTest, LeavingARowSavesItAndADuplicateCodeKeepsTheRowAndItsEdits)
{
    auto view = open(QStringLiteral("trafoge"));
    ASSERT_TRUE(view->setValue(QStringLiteral("AREA"), QStringLiteral("Puerto")).ok());
    ASSERT_TRUE(view->moveNext().ok());
    EXPECT_EQ(view->editMode(), RecordView::EditMode::None);
    EXPECT_EQ(stored(u("SELECT AREA FROM Trafoge WHERE \"CÓDIGO\" = 10")),
              QVariant(QStringLiteral("Puerto")));

    // Row 20 takes code 10: the store refuses, the move is not made and the edit remains.
    ASSERT_TRUE(view->setValue(u("CÓDIGO"), 10).ok());
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

    // The same on adding: the buffer is kept and another code saves it.
    ASSERT_TRUE(view->addNew().ok());
    ASSERT_TRUE(view->setValue(u("CÓDIGO"), 30).ok());
    const Status saved = view->update();
    ASSERT_FALSE(saved.ok());
    EXPECT_EQ(saved.error(), u("Ya existe un transformador con el código 30"));
    EXPECT_EQ(view->editMode(), RecordView::EditMode::Add);
    EXPECT_EQ(view->recordCount(), 3);
    ASSERT_TRUE(view->setValue(u("CÓDIGO"), 13).ok());
    ASSERT_TRUE(view->update().ok());
    EXPECT_EQ(view->recordCount(), 4);
}

TEST_F(RecordViewTest, ReadOnlyViewsRefuseWritesAndStoreFailuresGiveTheirReason)
{
    auto refusesEverything = [](RecordView& view) {
        EXPECT_FALSE(view.setValue(QStringLiteral("AREA"), QStringLiteral("x")).ok());
        EXPECT_FALSE(view.addNew().ok());
        EXPECT_FALSE(view.edit().ok());
        EXPECT_FALSE(view.deleteCurrent().ok());
        EXPECT_EQ(view.editMode(), RecordView::EditMode::None);
    };
    auto readOnlyView = openView(data.open(), QStringLiteral("trafoge"));
    readOnlyView->setReadOnly(true);
    refusesEverything(*readOnlyView);
    auto readOnlyFile = openView(data.open(true), QStringLiteral("trafoge"));
    EXPECT_TRUE(readOnlyFile->isReadOnly());
    refusesEverything(*readOnlyFile);
    // No row changed, added or deleted.
    EXPECT_EQ(stored(QStringLiteral("SELECT count(*) FROM Trafoge WHERE ifnull(AREA, '') <> 'x'")),
              QVariant(3LL));

    // The store itself refusing to write (as a file made read-only under the program does).
    auto db = data.open();
    ASSERT_TRUE(db->exec(QStringLiteral("PRAGMA query_only = 1")).ok());
    auto view = openView(db, QStringLiteral("trafoge"));
    ASSERT_TRUE(view->setValue(QStringLiteral("AREA"), QStringLiteral("x")).ok());
    const Status saved = view->update();
    ASSERT_FALSE(saved.ok());
    EXPECT_TRUE(saved.error().contains(QStringLiteral("solo lectura"))) << saved.error().toStdString();
    const Status removed = view->deleteCurrent();
    ASSERT_FALSE(removed.ok());
    EXPECT_TRUE(removed.error().contains(QStringLiteral("solo lectura"))) << removed.error().toStdString();
    EXPECT_FALSE(view->isDeleted());
    EXPECT_EQ(view->recordCount(), 3);
}

TEST_F(RecordViewTest, ValidateComesBeforeTheRowIsLeftAndRepositionedAfter)
{
    auto view = open(QStringLiteral("ensayos"));
    using A = RecordView::Action;
    SignalLog log(*view);
    const QString moved = QStringLiteral("moved");

    ASSERT_TRUE(view->moveNext().ok());
    ASSERT_TRUE(view->moveLast().ok());
    ASSERT_TRUE(view->moveNext().ok()); // past the last row reports too
    ASSERT_TRUE(view->movePrevious().ok());
    ASSERT_TRUE(view->moveFirst().ok());
    ASSERT_TRUE(view->findFirst(u("[código]=9")).value());
    ASSERT_TRUE(view->moveToBookmark(view->bookmark()).ok());
    EXPECT_EQ(log.events, (QStringList{validateOf(A::MoveNext), moved, validateOf(A::MoveLast), moved,
                                       validateOf(A::MoveNext), moved, validateOf(A::MovePrevious), moved,
                                       validateOf(A::MoveFirst), moved, validateOf(A::Find), moved,
                                       validateOf(A::Bookmark), moved}));

    // A bound box writes into the row during validate: the move saves it.
    ASSERT_TRUE(view->moveFirst().ok());
    auto binder =
        QObject::connect(view.get(), &RecordView::validate, view.get(), [&view](RecordView::Action) {
            EXPECT_TRUE(view->setValue(QStringLiteral("EMPRESA"), QStringLiteral("Escrito")).ok());
        });
    ASSERT_TRUE(view->moveNext().ok());
    QObject::disconnect(binder);
    EXPECT_EQ(stored(u("SELECT EMPRESA FROM Ensayos WHERE rowid = 1")), QVariant(QStringLiteral("Escrito")));

    // update and delete report before they act; refresh re-establishes the first row.
    log.events.clear();
    ASSERT_TRUE(view->setValue(QStringLiteral("EMPRESA"), QStringLiteral("Otro")).ok());
    ASSERT_TRUE(view->update().ok());
    ASSERT_TRUE(view->deleteCurrent().ok());
    ASSERT_TRUE(view->refresh().ok());
    EXPECT_EQ(log.events,
              (QStringList{validateOf(A::Update), validateOf(A::Delete), validateOf(A::Refresh), moved}));
    EXPECT_EQ(view->absolutePosition(), 0);
}

TEST_F(RecordViewTest, SlotsMayMoveOtherViewsAndFindAgainWhileRepositioning)
{
    data.exec(u("INSERT INTO Revision (\"CÓDIGO\", FECHA) VALUES (30, '2024-01-01'), (10, '2024-01-02'), "
                "(20, '2024-01-03'), (10, '2024-01-04')"));
    auto db = data.open();
    auto transformers = openView(db, QStringLiteral("trafoge"));
    auto inspections = openView(db, QStringLiteral("Revision"));
    // The alignment of the main window: each move of one view finds its transformer in the other,
    // and the transformer view also finds itself again (guarded against endless recursion).
    bool aligning = false;
    int reentered = 0;
    QObject::connect(transformers.get(), &RecordView::repositioned, transformers.get(), [&] {
        if (aligning || transformers->eof() || transformers->bof())
            return;
        aligning = true;
        const QString code = transformers->value(0).toString();
        const auto self = transformers->findFirst(u("[CÓDIGO]=") + code);
        EXPECT_TRUE(self.ok() && self.value());
        ++reentered;
        const auto other = inspections->findFirst(u("[código]=") + code);
        EXPECT_TRUE(other.ok());
        if (other.ok() && !other.value()) {
            EXPECT_TRUE(inspections->moveLast().ok());
            EXPECT_TRUE(inspections->moveNext().ok());
        }
        aligning = false;
    });
    QObject::connect(inspections.get(), &RecordView::repositioned, inspections.get(), [&] {
        if (aligning || inspections->eof())
            return;
        aligning = true;
        const auto found = transformers->findFirst(u("[CÓDIGO]=") + inspections->value(0).toString());
        EXPECT_TRUE(found.ok() && found.value());
        aligning = false;
    });
    ASSERT_TRUE(transformers->moveFirst().ok());
    EXPECT_EQ(inspections->value(1), QVariant(QDate(2024, 1, 2)));
    ASSERT_TRUE(inspections->moveFirst().ok());
    EXPECT_EQ(transformers->value(0), QVariant(30));
    ASSERT_TRUE(transformers->movePrevious().ok());
    EXPECT_EQ(transformers->value(0), QVariant(20));
    EXPECT_EQ(inspections->absolutePosition(), 2);
    EXPECT_GE(reentered, 2);
    // A transformer without inspections parks the inspection view past its last row.
    data.exec(u("INSERT INTO Trafoge (\"CÓDIGO\") VALUES (25)"));
    ASSERT_TRUE(transformers->refresh().ok());
    ASSERT_TRUE(transformers->findFirst(u("[CÓDIGO]=25")).value());
    EXPECT_TRUE(inspections->eof());
}

TEST_F(RecordViewTest, RefreshRereadsTheKeysAndDropsPendingEditsButClosingSavesThem)
{
    auto view = open(QStringLiteral("trafoge"));
    ASSERT_TRUE(view->moveLast().ok());
    ASSERT_TRUE(view->setValue(QStringLiteral("AREA"), QStringLiteral("Perdido")).ok());
    data.exec(u("INSERT INTO Trafoge (\"CÓDIGO\") VALUES (1)"));
    EXPECT_EQ(view->recordCount(), 3);
    ASSERT_TRUE(view->refresh().ok());
    EXPECT_EQ(view->editMode(), RecordView::EditMode::None);
    EXPECT_EQ(view->recordCount(), 4);
    EXPECT_EQ(view->absolutePosition(), 0);
    EXPECT_EQ(view->value(0), QVariant(1));
    EXPECT_EQ(stored(QStringLiteral("SELECT count(*) FROM Trafoge WHERE AREA = 'Perdido'")), QVariant(0LL));

    // A source that does not translate leaves the view as it was.
    const QString source = view->recordSource();
    view->setRecordSource(QStringLiteral("SELECT * FROM NoExiste"));
    QSignalSpy errors(view.get(), &RecordView::errorOccurred);
    EXPECT_FALSE(view->refresh().ok());
    EXPECT_EQ(errors.count(), 1);
    EXPECT_TRUE(view->isOpen());
    EXPECT_EQ(view->recordCount(), 4);

    view->setRecordSource(source);
    ASSERT_TRUE(view->refresh().ok());
    ASSERT_TRUE(view->setValue(QStringLiteral("AREA"), QStringLiteral("Guardado")).ok());
    view->setDatabase(nullptr);
    EXPECT_FALSE(view->isOpen());
    EXPECT_EQ(view->recordCount(), 0);
    EXPECT_FALSE(view->moveFirst().ok());
    EXPECT_EQ(stored(u("SELECT AREA FROM Trafoge WHERE \"CÓDIGO\" = 1")),
              QVariant(QStringLiteral("Guardado")));
}

TEST(RecordView, LargeViewsHoldOnlyAWindowOfValuesAndAlwaysGiveTheStoredOnes)
{
    TempData data;
    data.exec(u("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) "
                "INSERT INTO Ensayos (\"Código\", Fecha, Diel) "
                "SELECT i % 500 + 1, date('2020-01-01', '+' || i || ' days'), i FROM n"));
    auto db = data.open();
    // Hundreds of saves below: no need to wait for the disk in this one.
    ASSERT_TRUE(db->exec(QStringLiteral("PRAGMA synchronous = OFF")).ok());
    auto view = openView(db, QStringLiteral("ensayos"));
    ASSERT_EQ(view->recordCount(), 5000);
    double sum = 0;
    int steps = 0;
    while (!view->eof()) {
        sum += view->value(QStringLiteral("Diel")).toDouble();
        ASSERT_LE(view->cachedRowCount(), RecordView::kCacheRows);
        ASSERT_TRUE(view->moveNext().ok());
        ++steps;
    }
    EXPECT_EQ(steps, 5000);
    EXPECT_DOUBLE_EQ(sum, 5000.0 * 5001 / 2);
    // Reading a far row does not move the view.
    EXPECT_EQ(view->valueAt(4321, QStringLiteral("diel")), QVariant(4322.0));
    EXPECT_EQ(view->valueAt(5000, QStringLiteral("diel")), QVariant());
    EXPECT_TRUE(view->eof());
    // The code lookup of each transformer lands on its first test.
    ASSERT_TRUE(view->findFirst(u("[código]=17")).value());
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
            ASSERT_TRUE(view->setAbsolutePosition(p).ok());
            ASSERT_TRUE(view->setValue(QStringLiteral("Diel"), 10000.0 + step).ok());
            ASSERT_TRUE(view->update().ok());
            expected[p] = 10000.0 + step;
        }
        ASSERT_EQ(view->valueAt(p, QStringLiteral("Diel")), QVariant(expected[p])) << "step " << step;
        ASSERT_LE(view->cachedRowCount(), RecordView::kCacheRows);
    }
}

TEST(RecordView, ARowAddedThenChangedShowsEveryStoredValue)
{
    TempData data;
    // Enough rows that the new one lands in a page of values already read.
    data.exec(u("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100) "
                "INSERT INTO Mantenimiento (\"Código\", Fecha, Pintado) SELECT i, '2020-01-01', 0 FROM n"));
    auto view = openView(data.open(), QStringLiteral("mantenimiento"));
    ASSERT_TRUE(view->moveLast().ok());
    EXPECT_EQ(view->valueAt(70, QStringLiteral("Pintado")), QVariant(false));
    ASSERT_TRUE(view->addNew().ok());
    ASSERT_TRUE(view->setValue(QStringLiteral("Código"), 7).ok());
    ASSERT_TRUE(view->setValue(QStringLiteral("Fecha"), QDate(2026, 12, 1)).ok());
    ASSERT_TRUE(view->setValue(QStringLiteral("Pintado"), true).ok());
    ASSERT_TRUE(view->setValue(u("Cambio de sílica"), true).ok());
    ASSERT_TRUE(view->update().ok());
    // A grid reads every row it shows between the saves.
    auto readAll = [&] {
        for (int i = 0; i < view->recordCount(); ++i)
            static_cast<void>(view->valueAt(i, QStringLiteral("Pintado")));
    };
    readAll();
    const QByteArray mark = view->bookmark();
    ASSERT_TRUE(view->setValue(u("Cambio de sílica"), false).ok());
    readAll();
    ASSERT_TRUE(view->update().ok());
    readAll();
    ASSERT_TRUE(view->moveToBookmark(mark).ok());
    EXPECT_EQ(view->value(QStringLiteral("Pintado")), QVariant(true));
    EXPECT_EQ(view->value(u("Cambio de sílica")), QVariant(false));
    EXPECT_EQ(view->value(QStringLiteral("Código")), QVariant(7));
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
    auto dates = openView(db, QStringLiteral("SELECT DISTINCT [Fecha]  FROM Revision"));
    EXPECT_EQ(dates->recordCount(), 1000);
    EXPECT_EQ(dates->fieldCount(), 1);
    // Sorted as the engine's DISTINCT lists were, whatever order the rows were written in.
    EXPECT_EQ(dates->value(0), QVariant(QDate(2020, 1, 1)));
    QSet<QDate> seen;
    for (int i = 0; i < dates->recordCount(); ++i)
        seen.insert(dates->valueAt(i, QStringLiteral("fecha")).toDate());
    EXPECT_EQ(seen.size(), 1000);
    EXPECT_LE(dates->cachedRowCount(), RecordView::kCacheRows);
    ASSERT_TRUE(dates->moveLast().ok());
    EXPECT_EQ(dates->absolutePosition(), 999);
    EXPECT_FALSE(dates->setValue(0, QDate(2021, 1, 1)).ok());
    EXPECT_FALSE(dates->addNew().ok());
    ASSERT_TRUE(dates->findFirst(QStringLiteral("FECHA = #01/05/20#")).value());
    EXPECT_EQ(dates->value(0), QVariant(QDate(2020, 1, 5)));
    const QByteArray mark = dates->bookmark();
    ASSERT_TRUE(dates->moveFirst().ok());
    ASSERT_TRUE(dates->moveToBookmark(mark).ok());
    EXPECT_EQ(dates->value(0), QVariant(QDate(2020, 1, 5)));

    auto oils = openView(
        db, QStringLiteral("SELECT DISTINCT [tipo aislante]  FROM Trafoge order by [TIPO AISLANTE] asc"));
    ASSERT_EQ(oils->recordCount(), 3);
    EXPECT_EQ(oils->fieldName(0), QStringLiteral("TIPO AISLANTE"));
    EXPECT_FALSE(oils->valueAt(0, 0).isValid());
    EXPECT_EQ(oils->valueAt(1, u("tipo aislante")), QVariant(QStringLiteral("ACT.YPF 64")));
    EXPECT_EQ(oils->valueAt(2, 0), QVariant(QStringLiteral("SECO")));
}

TEST_F(RecordViewTest, JoinedSearchViewsKeepEachTablesKindsAndFindInOrder)
{
    data.exec(u("UPDATE Trafoge SET OTROS = 'fusibles' WHERE \"CÓDIGO\" = 20;"
                "UPDATE Ensayos SET OTROS = 2.5 WHERE rowid = 2;"
                "INSERT INTO Ensayos (\"Código\", Fecha, OTROS) VALUES (20, '2024-07-01', 4), (20, "
                "'2024-08-01', 6)"));
    auto view = openView(data.open(), u("SELECT Trafoge.*, Ensayos.* FROM Trafoge LEFT JOIN Ensayos ON "
                                        "Trafoge.CÓDIGO=Ensayos.Código where Trafoge.[ESTADO] >= 2 "
                                        "Order By Trafoge.CÓDIGO Asc, Ensayos.Fecha Asc"));
    // Transformer 10 without tests once, 20 with its two tests.
    ASSERT_EQ(view->recordCount(), 3);
    // Same-named columns of the two tables, in order: Trafoge's first.
    auto columns = [&view](const QString& name) {
        QList<int> out;
        for (int i = 0; i < view->fieldCount(); ++i)
            if (schema::sameName(view->fieldName(i), name))
                out << i;
        return out;
    };
    const QList<int> otros = columns(QStringLiteral("OTROS"));
    const QList<int> fechas = columns(QStringLiteral("FECHA"));
    ASSERT_EQ(otros.size(), 2);
    ASSERT_EQ(fechas.size(), 2);
    EXPECT_EQ(view->fieldIndex(QStringLiteral("otros")), otros[0]);
    EXPECT_EQ(view->valueAt(1, otros[0]), QVariant(QStringLiteral("fusibles")));
    EXPECT_EQ(view->valueAt(2, otros[1]), QVariant(6.0));
    EXPECT_EQ(view->valueAt(2, fechas[1]), QVariant(QDate(2024, 8, 1)));
    EXPECT_FALSE(view->valueAt(0, otros[1]).isValid());
    EXPECT_FALSE(view->setValue(QStringLiteral("AREA"), QStringLiteral("x")).ok());

    ASSERT_TRUE(view->findFirst(u("Trafoge.[CÓDIGO]=20")).value());
    EXPECT_EQ(view->absolutePosition(), 1);
    ASSERT_TRUE(view->findNext(u("Ensayos.[OTROS] > 3")).value());
    EXPECT_EQ(view->absolutePosition(), 2);
    EXPECT_EQ(view->value(otros[1]), QVariant(6.0));
    EXPECT_FALSE(view->findNext(u("Trafoge.[CÓDIGO]=20")).value());
    EXPECT_EQ(view->absolutePosition(), 2);
}
