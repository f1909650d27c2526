#pragma once

#include "data/logic/Result.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

struct sqlite3;

// Translates the engine's SQL (bracketed names, #mm/dd/yy# dates, Xor, And Not,
// Like with * and ?, True/False) into SQLite SQL. Every identifier is mapped to the exact
// schema name without regard to case; unknown names, a second statement or anything but
// SELECT are refused before anything runs. Literal values become bound parameters.
namespace jetsql {

// A translated SQL expression (a WHERE condition or a find criterion).
struct Expr
{
    QString sql;         // SQLite expression text, literals as ?
    QVariantList params; // values of the ? in order
};

// A translated SELECT.
struct Query
{
    QString sql;         // the complete SQLite statement
    QVariantList params; // values of the ? in order
    QStringList tables;  // schema names of the tables in FROM, in order of appearance
    bool distinct = false;

    // Pieces of the statement, so that a record view can build a keyset cursor
    // (SELECT rowid FROM <from> WHERE <where> ORDER BY <order>) on a single table.
    QString selectSql; // translated select list ("*", "\"Trafoge\".*", ...)
    QString fromSql;   // translated FROM clause without the keyword
    Expr where;        // translated WHERE condition, empty sql when none
    QString orderSql;  // translated ORDER BY list without the keywords, empty when none

    bool singleTable() const { return tables.size() == 1; }
};

// A record source: a table name ("trafoge", "Revision") or a SELECT text.
// A table name gives SELECT * FROM that table; Trafoge in code order, the dated tables
// in the order rows were added.
Result<Query> translateSource(const QString& source);

// A name as Jet writes it, "[CÓDIGO]" or "CÓDIGO", without its brackets.
QString unbracket(const QString& name);

// A SELECT text only.
Result<Query> translateSelect(const QString& text);

// A criterion ("[código]=12", "CÓDIGO LIKE 12", "Trafoge.[AREA] = 'X' And ...") against the
// columns of the given tables (schema names). A bare name found in several of them belongs to
// the first one in the list, as in a SELECT's FROM order.
Result<Expr> translateCriterion(const QString& text, const QStringList& tables);

// Name of the Unicode case-insensitive collation that translated SQL uses for text
// ("planta" = "PLANTA", "óleo" = "ÓLEO"); other SQL of the program may use it too.
inline constexpr const char* kCaselessCollation = "UNOCASE";
// Name of the SQL function jetlike(value, pattern) with the engine's wildcards.
inline constexpr const char* kLikeFunction = "jetlike";

// Registers the functions and collations that translated SQL uses on a connection
// (Unicode case-insensitive comparison and Like with the engine's wildcards).
void registerFunctions(sqlite3* db);

// Lets statements prepared on the connection only read (SELECT, column reads, functions);
// anything else fails to prepare with SQLITE_AUTH. removeAuthorizer lifts it again.
void installReadOnlyAuthorizer(sqlite3* db);
void removeAuthorizer(sqlite3* db);

// Read-only authorizer for the lifetime of the object: search statements are prepared
// inside one.
class ReadOnlyScope
{
public:
    explicit ReadOnlyScope(sqlite3* db) : m_db(db) { installReadOnlyAuthorizer(m_db); }
    ~ReadOnlyScope() { removeAuthorizer(m_db); }
    ReadOnlyScope(const ReadOnlyScope&) = delete;
    ReadOnlyScope& operator=(const ReadOnlyScope&) = delete;

private:
    sqlite3* m_db;
};

} // namespace jetsql
