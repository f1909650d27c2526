#pragma once

#include "data/logic/Database.h"
#include "data/logic/Result.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVariant>
#include <memory>

// A record set bound to screens: a keyset cursor over a table or a query of the data file.
// Keys (rowids) are held in memory; row values are fetched on demand and only a small
// window of them is cached, so a view on 100,000 rows never holds 100,000 rows of values.
//
// Moving off a row with pending edits saves them first, as bound data controls always did.
// Values: NULL is an invalid QVariant; whole numbers come as int, numbers as double,
// dates as QDate, yes/no as bool, texts and memos as QString (kinds from the schema).
class RecordView : public QObject
{
    Q_OBJECT
public:
    // Why the current row is about to be left, saved or deleted.
    enum class Action { MoveFirst, MovePrevious, MoveNext, MoveLast, AddNew, Update, Delete, Find, Bookmark, Close, Refresh };
    Q_ENUM(Action)
    enum class EditMode { None, Edit, Add };
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

    Status moveFirst();
    Status moveLast();
    Status moveNext();     // from the last row: to after-last (eof)
    Status movePrevious(); // from the first row: to before-first (bof)
    bool bof() const;      // before the first row (also true when empty)
    bool eof() const;      // after the last row (also true when empty)
    int absolutePosition() const; // 0-based; -1 before first or after last
    Status setAbsolutePosition(int position);
    int recordCount() const;

    QByteArray bookmark() const;     // of the current row; empty when there is none
    QByteArray lastModified() const; // of the row last added or changed
    Status moveToBookmark(const QByteArray& bookmark);

    // Finds the first (next, previous, last) row matching an engine criterion such as
    // "[código]=12". On no match the position stays where it was and noMatch() is true.
    Result<bool> findFirst(const QString& criterion);
    Result<bool> findNext(const QString& criterion);
    Result<bool> findPrevious(const QString& criterion);
    Result<bool> findLast(const QString& criterion);
    bool noMatch() const;

    int fieldCount() const;
    QString fieldName(int index) const;          // exact schema name
    int fieldIndex(const QString& name) const;   // any case; -1 when unknown
    QVariant value(const QString& name) const;   // of the current row (or the row being added)
    QVariant value(int index) const;
    // Writes into the current row's edit buffer; starts editing when not yet editing.
    Status setValue(const QString& name, const QVariant& value);
    Status setValue(int index, const QVariant& value);

    Status addNew();   // an empty row becomes current; update() inserts it
    Status edit();     // starts editing the current row
    Status update();   // saves the edit buffer
    void cancelUpdate();
    // Deletes the current row; the view stands on the deleted row until the next move.
    Status deleteCurrent();
    EditMode editMode() const;
    bool isDeleted() const; // the current row was deleted and no move has happened yet

signals:
    // Before the current row is left, saved or deleted. Bound boxes write their values here.
    void validate(RecordView::Action action);
    // After the current row changed (every move, refresh, find and bookmark).
    void repositioned();
    // An engine error; the owner answers by going on without a message.
    void errorOccurred(const QString& message);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
