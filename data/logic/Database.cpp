#include "data/logic/Database.h"

#include "data/logic/JetSql.h"
#include "data/logic/Logging.h"
#include "data/logic/Schema.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString fileLabel(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

// The first bytes of the file as read before SQLite touches it, or errno of the failed read.
struct Header
{
    int error = 0;
    QByteArray bytes;
};

Header readHeader(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {errno, {}};
    QByteArray bytes(100, '\0');
    const ssize_t n = ::read(fd, bytes.data(), size_t(bytes.size()));
    const int error = n < 0 ? errno : 0;
    ::close(fd);
    bytes.truncate(n < 0 ? 0 : int(n));
    return {error, bytes};
}

// True when the header starts with SQLite's 16-byte magic string.
bool isSqlite(const QByteArray& header)
{
    return header.startsWith(QByteArray("SQLite format 3\0", 16));
}

// The application id SQLite keeps at offset 68 of the header, big-endian.
quint32 applicationId(const QByteArray& header)
{
    if (header.size() < 72)
        return 0;
    quint32 id = 0;
    for (int i = 68; i < 72; ++i)
        id = (id << 8) | quint8(header[i]);
    return id;
}

// Whether this process may write the path, with its effective identity.
bool writable(const QString& path)
{
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
}

// The journal SQLite left next to the file in the middle of a write (a rollback journal whose
// header is complete, or a write-ahead log with frames), or an empty text.
QString pendingJournal(const QString& path)
{
    QFile rollback(path + QStringLiteral("-journal"));
    if (rollback.open(QIODevice::ReadOnly) &&
        rollback.read(8) == QByteArray("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7", 8))
        return rollback.fileName();
    const QFileInfo wal(path + QStringLiteral("-wal"));
    if (wal.exists() && wal.size() > 0)
        return wal.absoluteFilePath();
    return {};
}

QString noReadPermissionMessage(const QString& path)
{
    return QStringLiteral("No tiene permiso para leer el archivo '%1'.").arg(fileLabel(path));
}

QString readOnlyFileMessage(const QString& path)
{
    return QStringLiteral("El archivo '%1' es de solo lectura: no se puede abrir para modificarlo. Ábralo "
                          "en modo de solo lectura o pida permiso de escritura.")
        .arg(fileLabel(path));
}

QString pendingJournalMessage(const QString& path, const QString& journal)
{
    const QString what =
        journal.endsWith(QLatin1String("-wal"))
            ? QStringLiteral("el registro de cambios guardados que aún no se pasaron al archivo")
            : QStringLiteral("el diario de una escritura que no terminó");
    return QStringLiteral("El archivo '%1' tiene pendiente '%2', %3. Para completarlo hay que abrirlo para "
                          "escritura, con permiso de escritura en el archivo y en su carpeta; hasta entonces "
                          "no se puede abrir. No se modificó.")
        .arg(fileLabel(path), QFileInfo(journal).absoluteFilePath(), what);
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

// Why SQLite could not read the file, in words for the user; SQLite's own text goes to the log.
QString openFailure(const QString& path, int code, const char* sqliteText)
{
    qCWarning(logData).noquote() << QStringLiteral("No se pudo abrir %1 (SQLite %2: %3)")
                                        .arg(fileLabel(path))
                                        .arg(code)
                                        .arg(QString::fromUtf8(sqliteText ? sqliteText : ""));
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("El archivo '%1' está bloqueado por otro programa que lo está modificando. "
                              "Espere a que termine o ciérrelo, y vuelva a intentarlo.")
            .arg(fileLabel(path));
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        // The header check passed: a file of SQLite that SQLite cannot read is damaged.
        return QStringLiteral("El archivo '%1' está dañado: su contenido no se puede leer. Restaure "
                              "una copia de seguridad. No se modificó.")
            .arg(fileLabel(path));
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return noReadPermissionMessage(path);
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
        // Each is what an unfinished write that cannot be undone here looks like.
        if (const QString journal = pendingJournal(path); !journal.isEmpty())
            return pendingJournalMessage(path, journal);
        break;
    default:
        break;
    }
    return QStringLiteral("No se puede abrir el archivo '%1': %2.")
        .arg(fileLabel(path), Database::describe(code));
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
    const Header header = readHeader(path);
    if (header.error == EACCES || header.error == EPERM)
        return R::failure(noReadPermissionMessage(path));
    if (header.error != 0) {
        qCWarning(logData).noquote() << QStringLiteral("No se pudo leer") << fileLabel(path)
                                     << QString::fromLocal8Bit(strerror(header.error));
        return R::failure(QStringLiteral("No se puede leer el archivo '%1': error de lectura en el disco.")
                              .arg(fileLabel(path)));
    }
    if (!isSqlite(header.bytes))
        return R::failure(
            QStringLiteral("El archivo '%1' no es una base de datos de Quorvela: no tiene el formato "
                           "SQLite (puede ser un archivo de otro programa). No se modificó.")
                .arg(fileLabel(path)));
    if (applicationId(header.bytes) != quint32(schema::kApplicationId))
        return R::failure(QStringLiteral("El archivo '%1' no es una base de datos de Quorvela: es una base "
                                         "de datos SQLite de otro programa. No se modificó.")
                              .arg(fileLabel(path)));
    // Writing needs the file and, for SQLite's journal, its folder: refused here rather than at
    // the first save. A journal left pending is the more useful thing to name.
    if (!readOnly) {
        const bool fileReadOnly = !writable(path);
        const bool folderReadOnly = !writable(info.absolutePath());
        if (fileReadOnly || folderReadOnly) {
            if (const QString journal = pendingJournal(path); !journal.isEmpty())
                return R::failure(pendingJournalMessage(path, journal));
            if (fileReadOnly)
                return R::failure(readOnlyFileMessage(path));
            return R::failure(
                QStringLiteral("La carpeta '%1' es de solo lectura: no se puede modificar el "
                               "archivo '%2', porque al guardar hay que crear su diario en ella. "
                               "Ábralo en modo de solo lectura o pida permiso de escritura "
                               "en la carpeta.")
                    .arg(info.absolutePath(), fileLabel(path)));
        }
    }

    sqlite3* raw = nullptr;
    // Never SQLITE_OPEN_CREATE: opening must not make a file appear.
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_FULLMUTEX;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = openFailure(path, rc, raw ? sqlite3_errmsg(raw) : nullptr);
        if (raw)
            sqlite3_close_v2(raw);
        return R::failure(message);
    }
    std::shared_ptr<Database> db(new Database(raw, info.absoluteFilePath(), readOnly));
    configure(raw);
    const auto sqliteFailure = [&] {
        return R::failure(openFailure(path, sqlite3_extended_errcode(raw), sqlite3_errmsg(raw)));
    };

    // Triggers run on the program's own writes with whatever another tool put in them, and a
    // view would stand for a table the program writes: either refuses the file. This first read
    // of the schema is also where a lock, damage or a pending journal shows.
    auto stored = Statement::prepare(*db, QStringLiteral("SELECT type, name, tbl_name FROM sqlite_master "
                                                         "WHERE type IN ('trigger', 'view') ORDER BY name"));
    if (!stored)
        return sqliteFailure();
    QStringList triggers;
    QStringList views;
    while (true) {
        auto row = stored.value().step();
        if (!row)
            return sqliteFailure();
        if (!row.value())
            break;
        const QString name = stored.value().value(1).toString();
        if (stored.value().value(0).toString() == QLatin1String("trigger"))
            triggers
                << QStringLiteral("'%1' (en la tabla '%2')").arg(name, stored.value().value(2).toString());
        else
            views << name;
    }
    if (!triggers.isEmpty())
        return R::failure(
            QStringLiteral("El archivo '%1' contiene disparadores añadidos con otra herramienta, "
                           "que se ejecutarían al guardar cambios: %2. Quorvela no abre "
                           "archivos con disparadores. No se modificó.")
                .arg(fileLabel(path), triggers.join(QStringLiteral(", "))));
    if (!readOnly && sqlite3_db_readonly(raw, "main") == 1)
        return R::failure(readOnlyFileMessage(path));

    // Every table and field of the data model must be there, or nothing is opened.
    for (const schema::Table& table : schema::tables()) {
        for (const QString& view : std::as_const(views)) {
            // SQLite finds a table by its name without regard to ASCII case.
            if (view.compare(table.name, Qt::CaseInsensitive) == 0)
                return R::failure(
                    QStringLiteral("El archivo '%1' no es una base de datos de Quorvela válida: "
                                   "la tabla '%2' es una vista. No se modificó.")
                        .arg(fileLabel(path), table.name));
        }
        auto stmt = Statement::prepare(
            *db, QStringLiteral("PRAGMA table_info(%1)").arg(schema::quoteIdentifier(table.name)));
        if (!stmt)
            return sqliteFailure();
        QStringList present;
        while (true) {
            auto row = stmt.value().step();
            if (!row)
                return sqliteFailure();
            if (!row.value())
                break;
            present << stmt.value().value(1).toString();
        }
        if (present.isEmpty())
            return R::failure(QStringLiteral("El archivo '%1' no es una base de datos de Quorvela válida: "
                                             "no tiene la tabla '%2'. No se modificó.")
                                  .arg(fileLabel(path), table.name));
        for (const schema::Field& field : table.fields) {
            // Exact names: SQLite itself folds only ASCII case, so a stored name that differs
            // in an accented capital would not be found by the translated queries.
            if (!present.contains(field.name))
                return R::failure(
                    QStringLiteral("El archivo '%1' no es una base de datos de Quorvela válida: "
                                   "no tiene el campo '%2' en la tabla '%3'. No se modificó.")
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
