#pragma once

#include "data/logic/Database.h"
#include "data/logic/Result.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

// A record set bound to screens: a keyset cursor over a table or a query of the data file.
// Keys (rowids) are held in memory; row values are fetched on demand and only a small
// window of them is cached, so a view on 100,000 rows never holds 100,000 rows of values.
//
// A source on one table without DISTINCT keeps its rowids and can be edited; any other
// (DISTINCT lists, joins) reads pages of its statement and is read-only.
// Rows added to the file through another view or connection appear at the next refresh();
// values changed elsewhere are read again after a refresh, a resync or once out of the window.
//
// Moving off a row with pending edits saves them first, as bound data controls always did;
// when that save fails the move is not made and the edits stay. Leaving a new row on which
// nothing was written drops it. close() saves pending edits too.
// Values: NULL is an invalid QVariant; whole numbers come as int, numbers as double,
// dates as QDate, yes/no as bool, texts and memos as QString (kinds from the schema).
class RecordView : public QObject
{
    Q_OBJECT
public:
    // Why the current row is about to be left, saved or deleted.
    enum class Action
    {
        MoveFirst,
        MovePrevious,
        MoveNext,
        MoveLast,
        AddNew,
        Update,
        Delete,
        Find,
        Bookmark,
        Close,
        Refresh
    };
    Q_ENUM(Action)
    enum class EditMode
    {
        None,
        Edit,
        Add
    };
    Q_ENUM(EditMode)

    explicit RecordView(QObject* parent = nullptr);
    ~RecordView() override;

    // Points the view at an open data file (nullptr closes it).
    void setDatabase(std::shared_ptr<Database> db);
    std::shared_ptr<Database> database() const;
    // A table name ("trafoge") or a query text; takes effect at the next refresh().
    void setRecordSource(const QString& source);
    QString recordSource() const;
    void setReadOnly(bool readOnly);
    bool isReadOnly() const;

    // Opens (or re-runs) the record source; the view then stands on its first row,
    // or at end when it is empty. Pending edits are dropped.
    Status refresh();
    void close();
    bool isOpen() const;

    // On an empty view moveFirst/moveLast succeed and leave it at bof/eof.
    Status moveFirst();
    Status moveLast();
    // Moving next at eof or previous at bof is an error: returned, errorOccurred emitted, no move.
    // From a deleted row, moveNext goes to the row that followed it and movePrevious to the one before.
    Status moveNext();            // from the last row: to after-last (eof)
    Status movePrevious();        // from the first row: to before-first (bof)
    bool bof() const;             // before the first row (also true when empty)
    bool eof() const;             // after the last row (also true when empty)
    int absolutePosition() const; // 0-based; -1 before first, after last or on a deleted row
    Status setAbsolutePosition(int position);
    int recordCount() const;

    QByteArray bookmark() const;     // of the current row; empty when there is none
    QByteArray lastModified() const; // of the row last added or changed
    Status moveToBookmark(const QByteArray& bookmark);

    // Finds the first (next, previous, last) row matching an engine criterion such as
    // "[código]=12". On no match the position stays where it was, noMatch() is true and nothing
    // is signalled; a match emits validate(Find), saves pending edits, moves and emits repositioned().
    // A criterion that does not translate is an error (failure and errorOccurred).
    Result<bool> findFirst(const QString& criterion);
    Result<bool> findNext(const QString& criterion);
    Result<bool> findPrevious(const QString& criterion);
    Result<bool> findLast(const QString& criterion);
    bool noMatch() const;
    // Positions (0-based, ascending) of the view's rows that match an engine criterion, found
    // without moving the view, signalling or saving: readers that walk the rows through
    // valueAt leave the screens bound to the view untouched.
    Result<QList<int>> positionsWhere(const QString& criterion) const;

    int fieldCount() const;
    QString fieldName(int index) const;        // exact schema name (position 0 the code, 1 the date)
    int fieldIndex(const QString& name) const; // any case; -1 when unknown
    QVariant value(const QString& name) const; // of the current row (or the row being added)
    QVariant value(int index) const;
    // A field of the row at a position (0-based) without moving the view, for lists that
    // show many rows; an invalid QVariant outside the rows or for an unknown field.
    QVariant valueAt(int position, const QString& name) const;
    QVariant valueAt(int position, int index) const;
    // Schema names of the tables the record source reads, in order of appearance.
    QStringList tables() const;
    // Rows whose values are held in memory now (the fetch window, never the whole source).
    int cachedRowCount() const;
    static constexpr int kCacheRows = 512;
    // Writes into the current row's edit buffer; starts editing when not yet editing. The value is
    // checked against the field's kind (a text "12" is stored as a whole number, an empty text as
    // NULL); writing back the stored value is no edit. Read-only views and fields refuse.
    Status setValue(const QString& name, const QVariant& value);
    Status setValue(int index, const QVariant& value);

    Status addNew(); // an empty row becomes current; update() inserts it
    Status edit();   // starts editing the current row
    // Emits validate(Update), then saves: INSERT (the new row goes to the end of the view, becomes
    // current and repositioned() follows) or UPDATE of the changed fields. Failures of the file
    // come back in Spanish words; a second transformer with a code gives "Ya existe un
    // transformador con el código N". The buffer is kept on failure.
    Status update();
    // Drops the edits; after an addition the row current before it is shown again (repositioned()).
    void cancelUpdate();
    // Deletes the current row; the view stands on the deleted row (values invalid, no bookmark)
    // until the next move. Deleting a row being added only discards it.
    Status deleteCurrent();
    // The engine's error number of the last deletion that failed (0 when none did).
    int lastDeleteErrorCode() const;
    EditMode editMode() const;
    bool isDeleted() const; // the current row was deleted and no move has happened yet

signals:
    // Before the current row is left, saved or deleted. Bound boxes write their values here.
    void validate(RecordView::Action action);
    // After the current row changed or was re-established (every move, including to bof/eof,
    // refresh, find and bookmark). Slots may move other views and find in this one again.
    void repositioned();
    // An engine error; the owner answers by going on without a message.
    void errorOccurred(const QString& message);
    // The rows were re-read, added to or removed from the view (refresh, resync, a saved
    // new row, a deletion): a list showing them starts again.
    void rowsChanged();

protected:
    // Re-runs the record source like refresh(), then stands on the first row matching the
    // criterion, or on the first row when none does (one repositioned() only).
    Status refreshOn(const QString& criterion);
    // Forgets the cached row values; they are read from the file again when next asked for.
    void dropValues();

private:
    enum class FindFrom
    {
        First,
        Next,
        Previous,
        Last
    };
    Result<bool> find(FindFrom from, const QString& criterion);
    // Emits the error and returns it.
    Status fail(const QString& message);
    // Emits validate, then saves pending edits; the row is not left when that fails.
    Status leaveRow(Action action);
    Status savePending();
    void settle(int position);

    struct Private;
    std::unique_ptr<Private> d;
};
