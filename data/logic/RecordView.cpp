#include "data/logic/RecordView.h"

#include "data/logic/Fechas.h"
#include "data/logic/JetSql.h"
#include "data/logic/Logging.h"
#include "data/logic/Schema.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QQueue>
#include <QtEndian>
#include <map>
#include <sqlite3.h>

namespace {

// Rows fetched together around a position; the cache keeps a few such pages.
constexpr int kPageRows = 64;
// Prepared statements kept per view (finds on one view repeat the same few texts).
constexpr std::size_t kStatementCacheSize = 32;

QString noCurrentRow()
{
    return QStringLiteral("No hay registro actual");
}
QString closedView()
{
    return QStringLiteral("La vista de datos no está abierta");
}
QString readOnlyView()
{
    return QStringLiteral("No se puede modificar: los datos están abiertos solo para lectura");
}
QString unknownField(const QString& name)
{
    return QStringLiteral("No existe el campo '%1'").arg(name);
}

struct Column
{
    QString name;                         // exact schema name for a field, else as the result names it
    const schema::Field* field = nullptr; // nullptr for an expression
    bool writable = false;                // a field of the one table of a keyset view
};

// A stored value as the program reads it, after the kind of its field.
QVariant fromStore(const QVariant& raw, const schema::Field* field)
{
    if (!raw.isValid() || raw.isNull())
        return {};
    const int type = raw.typeId();
    const bool integer = type == QMetaType::LongLong;
    const bool real = type == QMetaType::Double;
    if (!field) {
        if (integer && raw.toLongLong() >= INT_MIN && raw.toLongLong() <= INT_MAX)
            return int(raw.toLongLong());
        return raw;
    }
    switch (field->kind) {
    case schema::FieldKind::Integer: {
        if (integer) {
            const qlonglong v = raw.toLongLong();
            return (v >= INT_MIN && v <= INT_MAX) ? QVariant(int(v)) : QVariant(v);
        }
        bool ok = false;
        const double d = raw.toDouble(&ok);
        if (ok && d == double(int(d)))
            return int(d);
        return raw;
    }
    case schema::FieldKind::Number: {
        bool ok = false;
        const double d = raw.toDouble(&ok);
        return ok ? QVariant(d) : raw;
    }
    case schema::FieldKind::Date: {
        if (integer || real)
            return raw;
        const QDate date = QDate::fromString(raw.toString().left(10), Qt::ISODate);
        return date.isValid() ? QVariant(date) : raw;
    }
    case schema::FieldKind::YesNo: {
        if (integer || real)
            return raw.toDouble() != 0;
        const QString text = raw.toString().trimmed();
        if (text == QLatin1String("0") || text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        if (text == QLatin1String("1") || text == QLatin1String("-1") ||
            text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        return raw;
    }
    case schema::FieldKind::Text:
    case schema::FieldKind::Memo:
    case schema::FieldKind::ListText:
        return raw.toString();
    }
    return raw;
}

// A value written by the program, checked and converted to the kind of its field.
// Empty texts are stored as NULL, as empty bound boxes always were.
Result<QVariant> toStore(const QVariant& value, const schema::Field& field)
{
    using R = Result<QVariant>;
    if (!value.isValid() || value.isNull())
        return QVariant();
    const int type = value.typeId();
    const bool isText = type == QMetaType::QString;
    const QString text = isText ? value.toString() : QString();
    if (isText && text.trimmed().isEmpty())
        return QVariant();
    const R refused = R::failure(
        QStringLiteral("El valor '%1' no es válido para el campo '%2'").arg(value.toString(), field.name));
    switch (field.kind) {
    case schema::FieldKind::Integer: {
        if (type == QMetaType::Bool)
            return QVariant(value.toBool() ? 1 : 0);
        if (isText) {
            bool ok = false;
            const qlonglong v = text.trimmed().toLongLong(&ok);
            if (!ok)
                return refused;
            return (v >= INT_MIN && v <= INT_MAX) ? QVariant(int(v)) : QVariant(v);
        }
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok || d != double(qlonglong(d)))
            return refused;
        const qlonglong v = qlonglong(d);
        return (v >= INT_MIN && v <= INT_MAX) ? QVariant(int(v)) : QVariant(v);
    }
    case schema::FieldKind::Number: {
        bool ok = false;
        double d = 0;
        if (isText) {
            const QString t = text.trimmed();
            d = QLocale::c().toDouble(t, &ok);
            if (!ok)
                d = QLocale::system().toDouble(t, &ok);
            if (!ok) {
                QString swapped = t;
                d = QLocale::c().toDouble(swapped.replace(QLatin1Char(','), QLatin1Char('.')), &ok);
            }
        } else {
            d = value.toDouble(&ok);
        }
        return ok ? R(QVariant(d)) : refused;
    }
    case schema::FieldKind::Date: {
        QDate date;
        if (type == QMetaType::QDate)
            date = value.toDate();
        else if (type == QMetaType::QDateTime)
            date = value.toDateTime().date();
        else if (isText) {
            const QString t = text.trimmed();
            date = QDate::fromString(t.left(10), Qt::ISODate);
            if (!date.isValid())
                date = fechas::leer(t).value_or(QDate());
        }
        return date.isValid() ? R(QVariant(date)) : refused;
    }
    case schema::FieldKind::YesNo: {
        if (type == QMetaType::Bool)
            return value;
        if (isText) {
            const QString t = text.trimmed();
            if (t == QLatin1String("0") || t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                return QVariant(false);
            if (t == QLatin1String("1") || t == QLatin1String("-1") ||
                t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                return QVariant(true);
            return refused;
        }
        bool ok = false;
        const double d = value.toDouble(&ok);
        return ok ? R(QVariant(d != 0)) : refused;
    }
    case schema::FieldKind::Text:
    case schema::FieldKind::Memo:
    case schema::FieldKind::ListText:
        return QVariant(value.toString());
    }
    return refused;
}

QByteArray encodeKey(qint64 key)
{
    QByteArray bytes(sizeof(qint64), Qt::Uninitialized);
    qToLittleEndian(key, bytes.data());
    return bytes;
}

bool decodeKey(const QByteArray& bytes, qint64* key)
{
    if (bytes.size() != int(sizeof(qint64)))
        return false;
    *key = qFromLittleEndian<qint64>(bytes.constData());
    return true;
}

QString placeholders(int count)
{
    QString out;
    out.reserve(count * 2);
    for (int i = 0; i < count; ++i)
        out += i ? QStringLiteral(",?") : QStringLiteral("?");
    return out;
}

// Resets a statement when the reading ends, so that no read lock outlives the call.
class ResetGuard
{
public:
    explicit ResetGuard(Statement& stmt) : m_stmt(stmt) {}
    // A reset after a failed step repeats the step's error, which the reader has already seen.
    ~ResetGuard() { static_cast<void>(m_stmt.reset()); }
    ResetGuard(const ResetGuard&) = delete;
    ResetGuard& operator=(const ResetGuard&) = delete;

private:
    Statement& m_stmt;
};

} // namespace

struct RecordView::Private
{
    std::shared_ptr<Database> db;
    QString source;
    bool readOnly = false;
    bool open = false;

    jetsql::Query query;
    // Keyset views (one table, no DISTINCT) hold the rowids of their rows; the others read
    // pages of the statement by LIMIT/OFFSET and are never written.
    bool keyset = false;
    const schema::Table* table = nullptr;
    QList<Column> columns;
    QString fetchSelect; // "SELECT rowid, <select list> FROM <from> WHERE rowid IN "

    QList<qint64> keys;
    // Keys in rowid order (the dated tables in the order rows were added) are found by binary
    // search; any other order builds a rowid-to-position table when first needed.
    bool keysAscending = true;
    mutable QHash<qint64, int> positions;
    mutable bool positionsValid = false;
    int pagedCount = 0;

    int pos = -1; // -1 before the first row, count() after the last
    bool deleted = false;
    bool noMatch = false;

    EditMode mode = EditMode::None;
    QList<QVariant> buffer;
    QList<QVariant> original;
    QList<bool> dirty;
    QByteArray lastModified;
    int lastDeleteError = 0;

    // Row values by key (rowid, or position in a paged view); bounded, oldest dropped first.
    mutable QHash<qint64, QList<QVariant>> cache;
    mutable QQueue<qint64> cacheOrder;
    // Declared after db so that they are finalised first.
    mutable std::map<QString, Statement> statements;

    int count() const { return keyset ? int(keys.size()) : pagedCount; }
    bool onRow() const { return open && !deleted && pos >= 0 && pos < count(); }
    bool writable() const { return keyset && !readOnly && db && !db->isReadOnly(); }
    qint64 keyAt(int position) const { return keyset ? keys[position] : qint64(position); }

    void ensurePositions() const
    {
        if (positionsValid)
            return;
        positions.clear();
        positions.reserve(keys.size());
        for (int i = 0; i < keys.size(); ++i)
            positions.insert(keys[i], i);
        positionsValid = true;
    }

    int positionOf(qint64 key) const
    {
        if (keysAscending) {
            auto it = std::lower_bound(keys.cbegin(), keys.cend(), key);
            return it != keys.cend() && *it == key ? int(it - keys.cbegin()) : -1;
        }
        ensurePositions();
        return positions.value(key, -1);
    }

    Result<Statement*> prepared(const QString& sql, const QVariantList& params) const
    {
        auto it = statements.find(sql);
        if (it == statements.end()) {
            auto stmt = Statement::prepare(*db, sql);
            if (!stmt)
                return Result<Statement*>::failure(stmt.error());
            if (statements.size() >= kStatementCacheSize)
                statements.clear();
            it = statements.emplace(sql, std::move(stmt.value())).first;
        }
        if (Status bound = it->second.bind(params); !bound)
            return Result<Statement*>::failure(bound.error());
        return &it->second;
    }

    void dropCache() const
    {
        cache.clear();
        cacheOrder.clear();
    }

    // The row just read is the newest, so the trimming below never drops the row asked for.
    // Every cached key is once in the queue: a stale entry would later drop a fresh row.
    void remember(qint64 key, QList<QVariant> values) const
    {
        if (cache.contains(key))
            cacheOrder.removeOne(key);
        cacheOrder.enqueue(key);
        cache.insert(key, std::move(values));
        while (cache.size() > kCacheRows && !cacheOrder.isEmpty())
            cache.remove(cacheOrder.dequeue());
    }

    void forget(qint64 key) const
    {
        if (cache.remove(key))
            cacheOrder.removeOne(key);
    }

    QList<QVariant> readRow(const Statement& stmt, int offset) const
    {
        QList<QVariant> values;
        values.reserve(columns.size());
        for (int i = 0; i < columns.size(); ++i)
            values << fromStore(stmt.value(i + offset), columns[i].field);
        return values;
    }

    // Reads the page of rows around a position into the cache.
    Status fetchPage(int position) const
    {
        const int first = position / kPageRows * kPageRows;
        const int last = qMin(first + kPageRows, count());
        if (keyset) {
            QVariantList wanted;
            for (int i = first; i < last; ++i)
                if (!cache.contains(keys[i]))
                    wanted << keys[i];
            if (wanted.isEmpty())
                return {};
            // A few statement sizes only (1, 2, 4 ... 64 keys), so that they stay prepared.
            QVariantList bound = wanted;
            int size = 1;
            while (size < bound.size())
                size *= 2;
            while (bound.size() < size)
                bound << bound.first();
            auto stmt =
                prepared(fetchSelect + QLatin1Char('(') + placeholders(size) + QLatin1Char(')'), bound);
            if (!stmt)
                return Status::failure(stmt.error());
            ResetGuard guard(*stmt.value());
            QHash<qint64, QList<QVariant>> found;
            while (true) {
                auto row = stmt.value()->step();
                if (!row)
                    return Status::failure(row.error());
                if (!row.value())
                    break;
                found.insert(stmt.value()->int64(0), readRow(*stmt.value(), 1));
            }
            // A row gone from the table (deleted through another view) reads as empty.
            for (const QVariant& key : std::as_const(wanted))
                remember(key.toLongLong(), found.value(key.toLongLong()));
            return {};
        }
        QVariantList params = query.params;
        params << (last - first) << first;
        auto stmt = prepared(pagedSql() + QStringLiteral(" LIMIT ? OFFSET ?"), params);
        if (!stmt)
            return Status::failure(stmt.error());
        ResetGuard guard(*stmt.value());
        for (int i = first; i < last; ++i) {
            auto row = stmt.value()->step();
            if (!row)
                return Status::failure(row.error());
            remember(i, row.value() ? readRow(*stmt.value(), 0) : QList<QVariant>());
            if (!row.value())
                break;
        }
        return {};
    }

    QString pagedSql() const
    {
        QString sql = query.sql.trimmed();
        while (sql.endsWith(QLatin1Char(';')))
            sql.chop(1);
        return sql;
    }

    QVariant valueAt(int position, int index) const
    {
        if (!open || position < 0 || position >= count() || index < 0 || index >= columns.size())
            return {};
        const qint64 key = keyAt(position);
        auto it = cache.constFind(key);
        if (it == cache.constEnd()) {
            if (!fetchPage(position))
                return {};
            it = cache.constFind(key);
            if (it == cache.constEnd())
                return {};
        }
        return index < it->size() ? it->at(index) : QVariant();
    }

    int fieldIndex(const QString& name) const
    {
        for (int i = 0; i < columns.size(); ++i)
            if (columns[i].name == name)
                return i;
        for (int i = 0; i < columns.size(); ++i)
            if (schema::sameName(columns[i].name, name))
                return i;
        return -1;
    }

    void clearEdit()
    {
        mode = EditMode::None;
        buffer.clear();
        original.clear();
        dirty.clear();
    }

    bool anyDirty() const { return dirty.contains(true); }

    // Builds a new state for the record source; nothing of the current one changes on failure.
    Status build(Private& next) const;
    // Positions of the rows matching a criterion, in view order.
    Result<QList<int>> matches(const QString& criterion) const;
    // Saves the edit buffer (INSERT or UPDATE); the buffer is kept on failure.
    Status save();
    QString storeError(const QString& reason) const;
};

Status RecordView::Private::build(Private& next) const
{
    auto translated = jetsql::translateSource(source);
    if (!translated)
        return Status::failure(translated.error());
    next.query = translated.value();
    const jetsql::Query& q = next.query;
    const schema::Table* single = q.singleTable() ? schema::table(q.tables.first()) : nullptr;

    // Each column's field comes from the column's origin in the file, so that a join's
    // same-named columns (OTROS, Observaciones) keep the kinds of their own tables.
    auto describeColumns = [&](const Statement& stmt, int offset, bool writable) {
        next.columns.clear();
        for (int i = offset; i < stmt.columnCount(); ++i) {
            Column column;
            column.name = stmt.columnName(i);
            const char* origin = sqlite3_column_origin_name(stmt.handle(), i);
            const char* owner = sqlite3_column_table_name(stmt.handle(), i);
            const schema::Table* table = owner ? schema::table(QString::fromUtf8(owner)) : nullptr;
            if (table && origin) {
                column.field = table->field(QString::fromUtf8(origin));
                column.writable = writable && column.field && table == single;
                if (column.field && schema::sameName(column.field->name, column.name))
                    column.name = column.field->name;
            }
            next.columns << column;
        }
    };

    if (single && !q.distinct) {
        // Keys in memory: one pass over the rowids in the source's order.
        QString keySql = QStringLiteral("SELECT rowid FROM ") + q.fromSql;
        if (!q.where.sql.isEmpty())
            keySql += QStringLiteral(" WHERE ") + q.where.sql;
        // Rows in the order they were added: the rowids come faster from the covering
        // (code, date) index than from the table itself, and are sorted here.
        const QString order = q.orderSql.simplified().toLower();
        const bool rowidOrder = order == QLatin1String("rowid") || order == QLatin1String("rowid asc");
        if (!q.orderSql.isEmpty() && !rowidOrder)
            keySql += QStringLiteral(" ORDER BY ") + q.orderSql;
        const QString fetch = QStringLiteral("SELECT rowid, ") + q.selectSql + QStringLiteral(" FROM ") +
                              q.fromSql + QStringLiteral(" WHERE rowid IN ");
        auto keyStmt = Statement::prepare(*db, keySql, q.where.params);
        auto fetchStmt = Statement::prepare(*db, fetch + QStringLiteral("(?)"));
        // A statement the keyset cannot express (an ORDER BY on a column alias, a grouping)
        // falls back to pages of the statement itself.
        if (keyStmt && fetchStmt && q.params.size() == q.where.params.size()) {
            next.keyset = true;
            next.table = single;
            next.fetchSelect = fetch;
            describeColumns(fetchStmt.value(), 1, true);
            while (true) {
                auto row = keyStmt.value().step();
                if (!row)
                    return Status::failure(row.error());
                if (!row.value())
                    break;
                const qint64 key = keyStmt.value().int64(0);
                if (!next.keys.isEmpty() && key <= next.keys.last())
                    next.keysAscending = false;
                next.keys << key;
            }
            if (rowidOrder && !next.keysAscending) {
                std::sort(next.keys.begin(), next.keys.end());
                next.keysAscending = true;
            }
            next.positionsValid = false;
            return {};
        }
    }

    // Pages of the statement: one pass counts the rows and keeps the first page.
    next.keyset = false;
    next.table = nullptr;
    auto stmt = Statement::prepare(*db, next.pagedSql(), q.params);
    if (!stmt)
        return Status::failure(stmt.error());
    describeColumns(stmt.value(), 0, false);
    int rows = 0;
    while (true) {
        auto row = stmt.value().step();
        if (!row)
            return Status::failure(row.error());
        if (!row.value())
            break;
        if (rows < kPageRows)
            next.remember(rows, next.readRow(stmt.value(), 0));
        ++rows;
    }
    next.pagedCount = rows;
    return {};
}

Result<QList<int>> RecordView::Private::matches(const QString& criterion) const
{
    using R = Result<QList<int>>;
    auto expr = jetsql::translateCriterion(criterion, query.tables);
    if (!expr)
        return R::failure(expr.error());
    QList<int> found;
    if (keyset) {
        QString sql = QStringLiteral("SELECT rowid FROM ") + query.fromSql + QStringLiteral(" WHERE ");
        QVariantList params;
        if (!query.where.sql.isEmpty()) {
            sql += QLatin1Char('(') + query.where.sql + QStringLiteral(") AND ");
            params = query.where.params;
        }
        sql += QLatin1Char('(') + expr->sql + QLatin1Char(')');
        params += expr->params;
        auto stmt = prepared(sql, params);
        if (!stmt)
            return R::failure(stmt.error());
        ResetGuard guard(*stmt.value());
        while (true) {
            auto row = stmt.value()->step();
            if (!row)
                return R::failure(row.error());
            if (!row.value())
                break;
            // Rows added to the table since the view was opened are not in it.
            const int p = positionOf(stmt.value()->int64(0));
            if (p >= 0)
                found << p;
        }
        std::sort(found.begin(), found.end());
        return found;
    }
    // A paged view evaluates the criterion beside its own select list, row by row in order.
    if (query.params.size() != query.where.params.size())
        return R::failure(QStringLiteral("No se puede buscar en esta vista"));
    QString sql = QStringLiteral("SELECT ") + (query.distinct ? QStringLiteral("DISTINCT ") : QString()) +
                  query.selectSql + QStringLiteral(", (") + expr->sql + QStringLiteral(") FROM ") +
                  query.fromSql;
    if (!query.where.sql.isEmpty())
        sql += QStringLiteral(" WHERE ") + query.where.sql;
    if (!query.orderSql.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + query.orderSql;
    QVariantList params = expr->params;
    params += query.where.params;
    auto stmt = prepared(sql, params);
    if (!stmt)
        return R::failure(stmt.error());
    ResetGuard guard(*stmt.value());
    const int last = stmt.value()->columnCount() - 1;
    for (int p = 0;; ++p) {
        auto row = stmt.value()->step();
        if (!row)
            return R::failure(row.error());
        if (!row.value())
            break;
        if (stmt.value()->int64(last) != 0)
            found << p;
    }
    return found;
}

QString RecordView::Private::storeError(const QString& reason) const
{
    return QStringLiteral("No se pudo guardar el registro: ") + reason;
}

Status RecordView::Private::save()
{
    if (mode == EditMode::None)
        return {};
    if (!writable())
        return Status::failure(readOnlyView());
    QStringList names;
    QVariantList params;
    for (int i = 0; i < columns.size(); ++i) {
        const bool noNuevo = mode == EditMode::Add && columns[i].writable && columns[i].field &&
                             columns[i].field->kind == schema::FieldKind::YesNo;
        if (dirty[i] || noNuevo) {
            names << schema::quoteIdentifier(columns[i].name);
            params << buffer[i];
        }
    }
    const QString tableName = schema::quoteIdentifier(table->name);
    QString sql;
    if (mode == EditMode::Edit) {
        if (!onRow())
            return Status::failure(noCurrentRow());
        if (names.isEmpty()) {
            clearEdit();
            return {};
        }
        sql = QStringLiteral("UPDATE ") + tableName + QStringLiteral(" SET ") +
              names.join(QStringLiteral(" = ?, ")) + QStringLiteral(" = ? WHERE rowid = ?");
        params << keys[pos];
    } else if (names.isEmpty()) {
        sql = QStringLiteral("INSERT INTO ") + tableName + QStringLiteral(" DEFAULT VALUES");
    } else {
        sql = QStringLiteral("INSERT INTO ") + tableName + QStringLiteral(" (") +
              names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
              placeholders(int(names.size())) + QLatin1Char(')');
    }
    // A transformer's new code takes its inspections, tests and maintenance with it, in the
    // same step: either all of them change or none.
    const int codeIndex = table->codeUnique ? fieldIndex(table->codeField) : -1;
    std::optional<QVariant> oldCode;
    if (mode == EditMode::Edit && codeIndex >= 0 && dirty[codeIndex]) {
        auto read = prepared(QStringLiteral("SELECT ") + schema::quoteIdentifier(table->codeField) +
                                 QStringLiteral(" FROM ") + tableName + QStringLiteral(" WHERE rowid = ?"),
                             {keys[pos]});
        if (!read)
            return Status::failure(storeError(read.error()));
        auto row = read.value()->step();
        if (row && row.value() && read.value()->value(0) != buffer[codeIndex])
            oldCode = read.value()->value(0);
        static_cast<void>(read.value()->reset()); // a failed read only skips the follow-up
    }
    if (oldCode) {
        if (Status st = db->exec(QStringLiteral("SAVEPOINT cambio_de_codigo")); !st)
            return Status::failure(storeError(st.error()));
    }
    const auto undoCodeChange = [&] {
        if (oldCode)
            ignorarFallo(db->exec(QStringLiteral("ROLLBACK TO cambio_de_codigo; RELEASE cambio_de_codigo")),
                         logData(), "Deshacer el cambio de código");
    };
    auto stmt = prepared(sql, params);
    if (!stmt) {
        undoCodeChange();
        return Status::failure(storeError(stmt.error()));
    }
    auto done = stmt.value()->step();
    const int code = sqlite3_extended_errcode(db->handle());
    const int changed = sqlite3_changes(db->handle());
    static_cast<void>(stmt.value()->reset()); // repeats the step's error, handled below
    if (done && oldCode) {
        for (const schema::Table& other : schema::tables()) {
            if (&other == table || other.codeField.isEmpty())
                continue;
            const QString codeName = schema::quoteIdentifier(other.codeField);
            auto moved = prepared(QStringLiteral("UPDATE ") + schema::quoteIdentifier(other.name) +
                                      QStringLiteral(" SET ") + codeName + QStringLiteral(" = ? WHERE ") +
                                      codeName + QStringLiteral(" = ?"),
                                  {buffer[codeIndex], *oldCode});
            if (!moved) {
                undoCodeChange();
                return Status::failure(storeError(moved.error()));
            }
            auto movedDone = moved.value()->step();
            static_cast<void>(moved.value()->reset()); // repeats the step's error, handled below
            if (!movedDone) {
                undoCodeChange();
                return Status::failure(storeError(movedDone.error()));
            }
        }
        if (Status st = db->exec(QStringLiteral("RELEASE cambio_de_codigo")); !st) {
            undoCodeChange();
            return Status::failure(storeError(st.error()));
        }
    }
    if (!done) {
        undoCodeChange();
        if (code == SQLITE_CONSTRAINT_UNIQUE && table->codeUnique) {
            const QVariant value = codeIndex >= 0 ? buffer[codeIndex] : QVariant();
            return Status::failure(
                QStringLiteral("Ya existe un transformador con el código %1").arg(value.toString()));
        }
        return Status::failure(storeError(done.error()));
    }
    if (mode == EditMode::Edit) {
        if (changed == 0)
            return Status::failure(storeError(QStringLiteral("el registro ya no existe")));
        forget(keys[pos]);
        lastModified = encodeKey(keys[pos]);
    } else {
        // A new row goes to the end of the view and becomes current.
        const qint64 rowid = sqlite3_last_insert_rowid(db->handle());
        if (!keys.isEmpty() && rowid <= keys.last())
            keysAscending = false;
        keys << rowid;
        if (positionsValid)
            positions.insert(rowid, int(keys.size()) - 1);
        pos = int(keys.size()) - 1;
        deleted = false;
        lastModified = encodeKey(rowid);
    }
    clearEdit();
    return {};
}

// --- RecordView ---

RecordView::RecordView(QObject* parent) : QObject(parent), d(std::make_unique<Private>())
{
    // Every engine error a view reports is logged, whether its caller shows it or goes on.
    connect(this, &RecordView::errorOccurred, this, [this](const QString& mensaje) {
        qCInfo(logData).noquote() << QStringLiteral("Vista") << recordSource().left(60) << mensaje;
    });
}

RecordView::~RecordView() = default;

void RecordView::setDatabase(std::shared_ptr<Database> db)
{
    if (db == d->db)
        return;
    close();
    d->statements.clear();
    d->db = std::move(db);
}

std::shared_ptr<Database> RecordView::database() const
{
    return d->db;
}

void RecordView::setRecordSource(const QString& source)
{
    d->source = source;
}

QString RecordView::recordSource() const
{
    return d->source;
}

void RecordView::setReadOnly(bool readOnly)
{
    d->readOnly = readOnly;
}

bool RecordView::isReadOnly() const
{
    return d->readOnly || (d->db && d->db->isReadOnly());
}

Status RecordView::refresh()
{
    return refreshOn(QString());
}

Status RecordView::refreshOn(const QString& criterion)
{
    if (!d->db)
        return fail(QStringLiteral("No hay ningún archivo de datos abierto"));
    if (d->open)
        emit validate(Action::Refresh);
    if (!d->db)
        return fail(QStringLiteral("No hay ningún archivo de datos abierto"));
    Private next;
    next.db = d->db;
    next.source = d->source;
    if (Status built = d->build(next); !built)
        return fail(built.error());

    d->query = std::move(next.query);
    d->keyset = next.keyset;
    d->table = next.table;
    d->columns = std::move(next.columns);
    d->fetchSelect = std::move(next.fetchSelect);
    d->keys = std::move(next.keys);
    d->keysAscending = next.keysAscending;
    d->positions.clear();
    d->positionsValid = false;
    d->pagedCount = next.pagedCount;
    d->cache = std::move(next.cache);
    d->cacheOrder = std::move(next.cacheOrder);
    d->statements.clear();
    d->clearEdit();
    d->open = true;
    d->deleted = false;
    d->noMatch = false;
    d->pos = 0;
    if (!criterion.isEmpty()) {
        auto found = d->matches(criterion);
        if (found && !found->isEmpty())
            d->pos = found->first();
    }
    emit rowsChanged();
    emit repositioned();
    return {};
}

void RecordView::close()
{
    if (d->open) {
        emit validate(Action::Close);
        // Edits still pending when the view closes are saved, as bound data controls did.
        if (d->open && d->mode != EditMode::None && d->anyDirty()) {
            if (Status saved = d->save(); !saved)
                emit errorOccurred(saved.error());
        }
    }
    d->open = false;
    d->clearEdit();
    d->keys = {};
    d->keysAscending = true;
    d->positions = {};
    d->positionsValid = false;
    d->pagedCount = 0;
    d->columns.clear();
    d->dropCache();
    d->statements.clear();
    d->query = {};
    d->keyset = false;
    d->table = nullptr;
    d->pos = -1;
    d->deleted = false;
    d->noMatch = false;
}

bool RecordView::isOpen() const
{
    return d->open;
}

Status RecordView::fail(const QString& message)
{
    emit errorOccurred(message);
    return Status::failure(message);
}

Status RecordView::leaveRow(Action action)
{
    emit validate(action);
    if (!d->open)
        return fail(closedView());
    return savePending();
}

Status RecordView::savePending()
{
    if (d->mode == EditMode::Add && !d->anyDirty()) {
        // A new row left without any value is dropped, not stored empty.
        d->clearEdit();
        return {};
    }
    if (d->mode != EditMode::None) {
        if (Status saved = d->save(); !saved)
            return fail(saved.error());
        emit rowsChanged();
    }
    return {};
}

void RecordView::settle(int position)
{
    d->pos = position;
    d->deleted = false;
    emit repositioned();
}

Status RecordView::moveFirst()
{
    if (!d->open)
        return fail(closedView());
    if (Status left = leaveRow(Action::MoveFirst); !left)
        return left;
    settle(0);
    return {};
}

Status RecordView::moveLast()
{
    if (!d->open)
        return fail(closedView());
    if (Status left = leaveRow(Action::MoveLast); !left)
        return left;
    settle(qMax(0, d->count() - 1));
    return {};
}

Status RecordView::moveNext()
{
    if (!d->open)
        return fail(closedView());
    if (d->mode != EditMode::Add && !d->deleted && d->pos >= d->count())
        return fail(noCurrentRow());
    if (Status left = leaveRow(Action::MoveNext); !left)
        return left;
    // From a deleted row the next row is the one that followed it, now at its position.
    settle(d->deleted ? d->pos : qMin(d->pos + 1, d->count()));
    return {};
}

Status RecordView::movePrevious()
{
    if (!d->open)
        return fail(closedView());
    if (d->mode != EditMode::Add && !d->deleted && (d->pos < 0 || d->count() == 0))
        return fail(noCurrentRow());
    if (Status left = leaveRow(Action::MovePrevious); !left)
        return left;
    settle(qMax(-1, d->pos - 1));
    return {};
}

bool RecordView::bof() const
{
    if (!d->open || d->count() == 0)
        return true;
    return !d->deleted && d->pos < 0;
}

bool RecordView::eof() const
{
    if (!d->open || d->count() == 0)
        return true;
    return !d->deleted && d->pos >= d->count();
}

int RecordView::absolutePosition() const
{
    return d->onRow() ? d->pos : -1;
}

Status RecordView::setAbsolutePosition(int position)
{
    if (!d->open)
        return fail(closedView());
    if (position < 0 || position >= d->count())
        return fail(QStringLiteral("La posición %1 está fuera de los registros").arg(position));
    if (Status left = leaveRow(Action::Bookmark); !left)
        return left;
    if (position >= d->count())
        return fail(QStringLiteral("La posición %1 está fuera de los registros").arg(position));
    settle(position);
    return {};
}

int RecordView::recordCount() const
{
    return d->open ? d->count() : 0;
}

QByteArray RecordView::bookmark() const
{
    return d->onRow() ? encodeKey(d->keyAt(d->pos)) : QByteArray();
}

int RecordView::lastDeleteErrorCode() const
{
    return d->lastDeleteError;
}

QByteArray RecordView::lastModified() const
{
    return d->lastModified;
}

Status RecordView::moveToBookmark(const QByteArray& bookmark)
{
    if (!d->open)
        return fail(closedView());
    auto target = [this, &bookmark]() {
        qint64 key = 0;
        if (!decodeKey(bookmark, &key))
            return -1;
        if (d->keyset)
            return d->positionOf(key);
        return key >= 0 && key < d->count() ? int(key) : -1;
    };
    const QString invalid = QStringLiteral("El marcador no corresponde a ningún registro");
    if (target() < 0)
        return fail(invalid);
    if (Status left = leaveRow(Action::Bookmark); !left)
        return left;
    const int position = target();
    if (position < 0)
        return fail(invalid);
    settle(position);
    return {};
}

Result<bool> RecordView::find(FindFrom from, const QString& criterion)
{
    using R = Result<bool>;
    if (!d->open) {
        emit errorOccurred(closedView());
        return R::failure(closedView());
    }
    auto pick = [this, from](const QList<int>& found) {
        if (found.isEmpty())
            return -1;
        switch (from) {
        case FindFrom::First:
            return found.first();
        case FindFrom::Last:
            return found.last();
        case FindFrom::Next: {
            // From a deleted row the row that followed it is the next candidate.
            const int after = d->deleted ? d->pos - 1 : d->pos;
            auto it = std::upper_bound(found.begin(), found.end(), after);
            return it == found.end() ? -1 : *it;
        }
        case FindFrom::Previous: {
            auto it = std::lower_bound(found.begin(), found.end(), d->pos);
            return it == found.begin() ? -1 : *(it - 1);
        }
        }
        return -1;
    };
    auto found = d->matches(criterion);
    if (!found) {
        emit errorOccurred(found.error());
        return R::failure(found.error());
    }
    int target = pick(found.value());
    if (target < 0) {
        d->noMatch = true;
        return false;
    }
    const int before = d->pos;
    emit validate(Action::Find);
    if (!d->open) {
        emit errorOccurred(closedView());
        return R::failure(closedView());
    }
    const bool saving = d->mode != EditMode::None;
    if (Status left = savePending(); !left)
        return R::failure(left.error());
    if (saving) {
        // The saved row may have changed what matches.
        found = d->matches(criterion);
        if (!found) {
            emit errorOccurred(found.error());
            return R::failure(found.error());
        }
        target = pick(found.value());
        if (target < 0) {
            d->noMatch = true;
            if (d->pos != before)
                emit repositioned();
            return false;
        }
    }
    d->noMatch = false;
    settle(target);
    return true;
}

Result<bool> RecordView::findFirst(const QString& criterion)
{
    return find(FindFrom::First, criterion);
}
Result<bool> RecordView::findNext(const QString& criterion)
{
    return find(FindFrom::Next, criterion);
}
Result<bool> RecordView::findPrevious(const QString& criterion)
{
    return find(FindFrom::Previous, criterion);
}
Result<bool> RecordView::findLast(const QString& criterion)
{
    return find(FindFrom::Last, criterion);
}

bool RecordView::noMatch() const
{
    return d->noMatch;
}

int RecordView::fieldCount() const
{
    return int(d->columns.size());
}

QString RecordView::fieldName(int index) const
{
    return index >= 0 && index < d->columns.size() ? d->columns[index].name : QString();
}

int RecordView::fieldIndex(const QString& name) const
{
    return d->fieldIndex(name);
}

QVariant RecordView::value(const QString& name) const
{
    return value(d->fieldIndex(name));
}

QVariant RecordView::value(int index) const
{
    if (index < 0 || index >= d->columns.size())
        return {};
    if (d->mode != EditMode::None)
        return d->buffer.value(index);
    if (!d->onRow())
        return {};
    return d->valueAt(d->pos, index);
}

Result<QList<int>> RecordView::positionsWhere(const QString& criterion) const
{
    if (!d->open)
        return Result<QList<int>>::failure(QStringLiteral("La vista no está abierta"));
    return d->matches(criterion);
}

QVariant RecordView::valueAt(int position, const QString& name) const
{
    return d->valueAt(position, d->fieldIndex(name));
}

QVariant RecordView::valueAt(int position, int index) const
{
    return d->valueAt(position, index);
}

QStringList RecordView::tables() const
{
    return d->query.tables;
}

int RecordView::cachedRowCount() const
{
    return int(d->cache.size());
}

void RecordView::dropValues()
{
    d->dropCache();
}

Status RecordView::setValue(const QString& name, const QVariant& value)
{
    const int index = d->fieldIndex(name);
    if (index < 0 && d->open)
        return fail(unknownField(name));
    return setValue(index, value);
}

Status RecordView::setValue(int index, const QVariant& value)
{
    if (!d->open)
        return fail(closedView());
    if (index < 0 || index >= d->columns.size())
        return fail(unknownField(QString::number(index)));
    if (!d->writable())
        return fail(readOnlyView());
    const Column& column = d->columns[index];
    if (!column.writable || !column.field)
        return fail(QStringLiteral("El campo '%1' no se puede modificar").arg(column.name));
    auto stored = toStore(value, *column.field);
    if (!stored)
        return fail(stored.error());
    if (d->mode == EditMode::None) {
        if (!d->onRow())
            return fail(noCurrentRow());
        // Writing back the value already stored is no edit.
        if (d->valueAt(d->pos, index) == stored.value())
            return {};
        if (Status started = edit(); !started)
            return started;
    }
    d->buffer[index] = stored.value();
    d->dirty[index] = d->mode == EditMode::Add || !(d->original.value(index) == stored.value());
    return {};
}

Status RecordView::addNew()
{
    if (!d->open)
        return fail(closedView());
    if (!d->writable())
        return fail(readOnlyView());
    if (Status left = leaveRow(Action::AddNew); !left)
        return left;
    d->mode = EditMode::Add;
    d->buffer = QList<QVariant>(d->columns.size());
    d->original = d->buffer;
    d->dirty = QList<bool>(d->columns.size(), false);
    // A yes/no the user leaves unticked is a No, as in the rows already stored: a search for
    // "= 0" must find the new row too. It is written with the row, which an untouched new row
    // still is not.
    for (int i = 0; i < d->columns.size(); ++i) {
        if (d->columns[i].writable && d->columns[i].field &&
            d->columns[i].field->kind == schema::FieldKind::YesNo)
            d->buffer[i] = false;
    }
    return {};
}

Status RecordView::edit()
{
    if (!d->open)
        return fail(closedView());
    if (!d->writable())
        return fail(readOnlyView());
    if (d->mode != EditMode::None)
        return {};
    if (!d->onRow())
        return fail(noCurrentRow());
    QList<QVariant> values;
    values.reserve(d->columns.size());
    for (int i = 0; i < d->columns.size(); ++i)
        values << d->valueAt(d->pos, i);
    d->mode = EditMode::Edit;
    d->original = values;
    d->buffer = values;
    d->dirty = QList<bool>(d->columns.size(), false);
    return {};
}

Status RecordView::update()
{
    if (!d->open)
        return fail(closedView());
    emit validate(Action::Update);
    if (!d->open)
        return fail(closedView());
    const EditMode mode = d->mode;
    if (mode == EditMode::None)
        return {};
    if (Status saved = d->save(); !saved)
        return fail(saved.error());
    if (mode == EditMode::Add) {
        emit rowsChanged();
        emit repositioned();
    }
    return {};
}

void RecordView::cancelUpdate()
{
    const bool adding = d->mode == EditMode::Add;
    d->clearEdit();
    // The row that was current before the addition is shown again.
    if (adding && d->open)
        emit repositioned();
}

Status RecordView::deleteCurrent()
{
    if (!d->open)
        return fail(closedView());
    d->lastDeleteError = 0;
    if (!d->writable()) {
        d->lastDeleteError = SQLITE_READONLY;
        return fail(readOnlyView());
    }
    if (d->mode == EditMode::Add) {
        // Deleting a row not yet stored only discards it.
        cancelUpdate();
        return {};
    }
    if (!d->onRow())
        return fail(noCurrentRow());
    emit validate(Action::Delete);
    if (!d->onRow())
        return fail(noCurrentRow());
    d->clearEdit();
    const qint64 rowid = d->keys[d->pos];
    auto stmt = d->prepared(QStringLiteral("DELETE FROM ") + schema::quoteIdentifier(d->table->name) +
                                QStringLiteral(" WHERE rowid = ?"),
                            {rowid});
    if (!stmt) {
        d->lastDeleteError = sqlite3_extended_errcode(d->db->handle());
        return fail(QStringLiteral("No se pudo eliminar el registro: ") + stmt.error());
    }
    auto done = stmt.value()->step();
    d->lastDeleteError = done ? 0 : sqlite3_extended_errcode(d->db->handle());
    static_cast<void>(stmt.value()->reset()); // repeats the step's error, handled below
    if (!done)
        return fail(QStringLiteral("No se pudo eliminar el registro: ") + done.error());
    d->keys.removeAt(d->pos);
    d->positionsValid = false;
    d->positions.clear();
    d->forget(rowid);
    // The view stands on the deleted row; its position now holds the row that followed it.
    d->deleted = true;
    emit rowsChanged();
    return {};
}

RecordView::EditMode RecordView::editMode() const
{
    return d->mode;
}

bool RecordView::isDeleted() const
{
    return d->open && d->deleted;
}
