#include "data/logic/Database.h"

#include "data/logic/JetSql.h"
#include "data/logic/Schema.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString fileLabel(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

// True when the file starts with SQLite's 16-byte header.
bool hasSqliteHeader(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(16) == QByteArray("SQLite format 3\0", 16);
}

void configure(sqlite3* db)
{
    // Searches run user-composed conditions: keep the connection defensive.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    sqlite3_busy_timeout(db, 2000);
    sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    jetsql::registerFunctions(db);
}

} // namespace

Database::Database(sqlite3* db, QString path, bool readOnly)
    : m_db(db), m_path(std::move(path)), m_readOnly(readOnly)
{
}

Database::~Database()
{
    if (m_db)
        sqlite3_close_v2(m_db);
}

QString Database::describe(int code, const QString& detail)
{
    QString words;
    switch (code & 0xff) {
    case SQLITE_READONLY:
        words = QStringLiteral("el archivo es de solo lectura");
        break;
    case SQLITE_FULL:
        words = QStringLiteral("el disco está lleno");
        break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        words = QStringLiteral("la base de datos está ocupada por otro programa");
        break;
    case SQLITE_CANTOPEN:
        words = QStringLiteral("no se puede abrir el archivo");
        break;
    case SQLITE_NOTADB:
        words = QStringLiteral("el archivo no es una base de datos válida");
        break;
    case SQLITE_CORRUPT:
        words = QStringLiteral("la base de datos está dañada");
        break;
    case SQLITE_IOERR:
        words = QStringLiteral("error de lectura o escritura en el disco");
        break;
    case SQLITE_PERM:
    case SQLITE_AUTH:
        words = QStringLiteral("permiso denegado");
        break;
    case SQLITE_CONSTRAINT:
        words = QStringLiteral("el valor no es admitido por la base de datos");
        break;
    default:
        words = QStringLiteral("error de la base de datos");
    }
    if (!detail.isEmpty())
        words += QStringLiteral(" (") + detail + QLatin1Char(')');
    return words;
}

QString Database::lastError() const
{
    return describe(sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
}

QPair<qint64, qint64> Database::changeStamp() const
{
    qint64 version = -1;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, "PRAGMA data_version", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        version = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return {sqlite3_total_changes64(m_db), version};
}

Status Database::exec(const QString& sql)
{
    char* err = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString detail = QString::fromUtf8(err ? err : "");
        sqlite3_free(err);
        return Status::failure(describe(rc, detail));
    }
    return {};
}

QString Database::rutaEn(const QString& folder)
{
    return QDir(folder).filePath(nombreArchivo());
}

Result<std::shared_ptr<Database>> Database::open(const QString& path, bool readOnly)
{
    using R = Result<std::shared_ptr<Database>>;
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return R::failure(QStringLiteral("No se encuentra el archivo de datos '%1'").arg(fileLabel(path)));
    if (!hasSqliteHeader(path))
        return R::failure(
            QStringLiteral("El archivo '%1' no es una base de datos de Quorvela: no tiene el formato "
                           "SQLite (puede ser un archivo de otro programa). No se modificó.")
                .arg(fileLabel(path)));
    sqlite3* raw = nullptr;
    // Never SQLITE_OPEN_CREATE: opening must not make a file appear.
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_FULLMUTEX;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString reason = describe(rc, raw ? QString::fromUtf8(sqlite3_errmsg(raw)) : QString());
        if (raw)
            sqlite3_close_v2(raw);
        return R::failure(QStringLiteral("No se puede abrir '%1': %2").arg(fileLabel(path), reason));
    }
    std::shared_ptr<Database> db(new Database(raw, info.absoluteFilePath(), readOnly));
    configure(raw);

    // Every table and field of the data model must be there, or nothing is opened.
    for (const schema::Table& table : schema::tables()) {
        auto stmt = Statement::prepare(
            *db, QStringLiteral("PRAGMA table_info(%1)").arg(schema::quoteIdentifier(table.name)));
        if (!stmt)
            return R::failure(QStringLiteral("El archivo '%1' no es una base de datos válida: %2")
                                  .arg(fileLabel(path), stmt.error()));
        QStringList present;
        while (true) {
            auto row = stmt.value().step();
            if (!row)
                return R::failure(QStringLiteral("El archivo '%1' no es una base de datos válida: %2")
                                      .arg(fileLabel(path), row.error()));
            if (!row.value())
                break;
            present << stmt.value().value(1).toString();
        }
        if (present.isEmpty())
            return R::failure(QStringLiteral("La base de datos '%1' no tiene la tabla '%2'")
                                  .arg(fileLabel(path), table.name));
        for (const schema::Field& field : table.fields) {
            // Exact names: SQLite itself folds only ASCII case, so a stored name that differs
            // in an accented capital would not be found by the translated queries.
            if (!present.contains(field.name))
                return R::failure(
                    QStringLiteral("La base de datos '%1' no tiene el campo '%2' en la tabla '%3'")
                        .arg(fileLabel(path), field.name, table.name));
        }
    }
    return R(db);
}

Status Database::create(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return Status::failure(
            QStringLiteral("Ya existe el archivo '%1'; no se sobrescribe").arg(fileLabel(path)));
    if (!info.dir().exists())
        return Status::failure(QStringLiteral("No existe la carpeta '%1'").arg(info.absolutePath()));
    // Create the file with owner-only permissions before SQLite writes to it.
    const QByteArray native = QFile::encodeName(info.absoluteFilePath());
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return Status::failure(QStringLiteral("No se puede crear '%1'").arg(fileLabel(path)));
    ::close(fd);

    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(native.constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    auto fail = [&](const QString& reason) {
        if (raw)
            sqlite3_close_v2(raw);
        QFile::remove(info.absoluteFilePath());
        return Status::failure(QStringLiteral("No se pudo crear '%1': %2").arg(fileLabel(path), reason));
    };
    if (rc != SQLITE_OK)
        return fail(describe(rc));
    QStringList statements = {QStringLiteral("PRAGMA journal_mode=DELETE"),
                              QStringLiteral("PRAGMA application_id=%1").arg(schema::kApplicationId),
                              QStringLiteral("BEGIN")};
    statements << schema::createStatements() << QStringLiteral("COMMIT");
    for (const QString& sql : statements) {
        char* err = nullptr;
        rc = sqlite3_exec(raw, sql.toUtf8().constData(), nullptr, nullptr, &err);
        if (rc != SQLITE_OK) {
            const QString detail = QString::fromUtf8(err ? err : "");
            sqlite3_free(err);
            return fail(describe(rc, detail));
        }
    }
    sqlite3_close_v2(raw);
    return {};
}

// --- Statement ---

Statement::~Statement()
{
    if (m_stmt)
        sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement&& other) noexcept : m_stmt(other.m_stmt), m_db(other.m_db)
{
    other.m_stmt = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept
{
    if (this != &other) {
        if (m_stmt)
            sqlite3_finalize(m_stmt);
        m_stmt = other.m_stmt;
        m_db = other.m_db;
        other.m_stmt = nullptr;
    }
    return *this;
}

Result<Statement> Statement::prepare(const Database& db, const QString& sql, const QVariantList& params)
{
    sqlite3_stmt* raw = nullptr;
    const QByteArray text = sql.toUtf8();
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db.handle(), text.constData(), int(text.size()), &raw, &tail);
    if (rc != SQLITE_OK)
        return Result<Statement>::failure(db.lastError());
    if (!raw)
        return Result<Statement>::failure(QStringLiteral("la consulta está vacía"));
    if (tail && *tail) {
        // Anything after the first statement other than blanks is refused.
        for (const char* p = tail; *p; ++p) {
            if (*p != ' ' && *p != '\n' && *p != '\r' && *p != '\t' && *p != ';') {
                sqlite3_finalize(raw);
                return Result<Statement>::failure(
                    QStringLiteral("la consulta contiene más de una instrucción"));
            }
        }
    }
    Statement stmt(raw, db.handle());
    if (auto bound = stmt.bind(params); !bound)
        return Result<Statement>::failure(bound.error());
    return Result<Statement>(std::move(stmt));
}

Status Statement::bind(const QVariantList& params)
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& v = params[i];
        int rc = SQLITE_OK;
        const int n = i + 1;
        if (!v.isValid() || v.isNull()) {
            rc = sqlite3_bind_null(m_stmt, n);
        } else {
            switch (v.typeId()) {
            case QMetaType::Bool:
                rc = sqlite3_bind_int(m_stmt, n, v.toBool() ? 1 : 0);
                break;
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Short:
            case QMetaType::UShort:
                rc = sqlite3_bind_int64(m_stmt, n, v.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(m_stmt, n, v.toDouble());
                break;
            case QMetaType::QDate: {
                const QByteArray t = v.toDate().toString(Qt::ISODate).toUtf8();
                rc = sqlite3_bind_text(m_stmt, n, t.constData(), int(t.size()), SQLITE_TRANSIENT);
                break;
            }
            case QMetaType::QByteArray: {
                const QByteArray b = v.toByteArray();
                rc = sqlite3_bind_blob(m_stmt, n, b.constData(), int(b.size()), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray t = v.toString().toUtf8();
                rc = sqlite3_bind_text(m_stmt, n, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            }
            }
        }
        if (rc != SQLITE_OK)
            return Status::failure(Database::describe(rc, QString::fromUtf8(sqlite3_errmsg(m_db))));
    }
    return {};
}

Result<bool> Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    return Result<bool>::failure(
        Database::describe(sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db))));
}

Status Statement::reset()
{
    sqlite3_reset(m_stmt);
    return {};
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int i) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, i));
}

QVariant Statement::value(int i) const
{
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(m_stmt, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, i));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, i)),
                                          sqlite3_column_bytes(m_stmt, i)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(m_stmt, i)),
                                   sqlite3_column_bytes(m_stmt, i)));
    default:
        return QVariant();
    }
}

qint64 Statement::int64(int i) const
{
    return sqlite3_column_int64(m_stmt, i);
}
