#pragma once

#include "data/logic/Result.h"

#include <QPair>
#include <QString>
#include <QVariant>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// One open connection to a data file (an SQLite database with the data file's historical
// name). Opening never creates a file: creating a new empty one is the explicit create().
class Database
{
public:
    // The data file keeps its historical name in whatever folder the user chooses.
    static QString nombreArchivo() { return QStringLiteral("trafos.mdb"); }
    // The data file in folder.
    static QString rutaEn(const QString& folder);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing data file, never writing to it on a refusal. Each refusal names the file
    // and says why in words for the user: not a data file of the program (not SQLite, another
    // application id, a table or field missing, a view in place of a table), a trigger stored in
    // it, damaged, locked by another program, no permission to read it, the file or its folder
    // read-only when writing is asked, or a journal of an unfinished write that cannot be undone
    // here. SQLite's own text goes to the log (quorvela.data).
    static Result<std::shared_ptr<Database>> open(const QString& path, bool readOnly = false);
    // Creates a new empty data file (0600, application id, all tables and indexes).
    // Refuses to overwrite an existing file.
    static Status create(const QString& path);

    sqlite3* handle() const { return m_db; }
    const QString& path() const { return m_path; }
    bool isReadOnly() const { return m_readOnly; }

    // Runs statements without results; the message names SQLite's reason in Spanish words.
    Status exec(const QString& sql);
    // Changes whenever this connection or any other writes the file: the rows a query
    // returns can only differ between two equal stamps' runs if the stamp moved.
    QPair<qint64, qint64> changeStamp() const;
    // The last error of the connection as a Spanish text.
    QString lastError() const;
    // Spanish words for an SQLite result code ("el archivo es de solo lectura", ...).
    static QString describe(int code, const QString& detail = QString());

private:
    Database(sqlite3* db, QString path, bool readOnly);
    sqlite3* m_db = nullptr;
    QString m_path;
    bool m_readOnly = false;
};

// A prepared statement with values bound in order. Values come back as QVariant:
// NULL as an invalid QVariant, integers as qlonglong, reals as double, text as QString.
class Statement
{
public:
    Statement() = default;
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    static Result<Statement> prepare(const Database& db, const QString& sql, const QVariantList& params = {});
    Status bind(const QVariantList& params);
    // true: a row is ready; false: done. An error is returned as failure.
    Result<bool> step();
    Status reset();
    int columnCount() const;
    QString columnName(int i) const;
    QVariant value(int i) const;
    qint64 int64(int i) const;
    sqlite3_stmt* handle() const { return m_stmt; }

private:
    explicit Statement(sqlite3_stmt* stmt, sqlite3* db) : m_stmt(stmt), m_db(db) {}
    sqlite3_stmt* m_stmt = nullptr;
    sqlite3* m_db = nullptr;
};
