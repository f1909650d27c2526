#pragma once

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

// The syntax of the engine's SQL: a SELECT statement or a condition alone is read into a tree
// whose names are still as written; JetSql resolves them against the schema and writes SQLite SQL.
namespace jetsql::parse {

// Errors of reading and resolving travel as this exception inside the translator only; its
// public functions turn them into a failed Result.
struct SqlError
{
    QString message;
};

[[noreturn]] void fail(const QString& message);

struct Node
{
    enum class Kind
    {
        Column,
        Value,
        Null,
        Bool,
        Neg,
        Arith,
        Compare,
        Like,
        In,
        Between,
        IsNull,
        Not,
        And,
        Or,
        Xor
    };
    Kind kind = Kind::Value;
    QString op;     // operator of Arith and Compare
    QVariant value; // Value and Bool
    QString table;  // Column: table as written, empty when bare
    QString name;   // Column: field as written
    bool negated = false;
    std::vector<Node> kids;
};

struct SelectItem
{
    enum class Kind
    {
        All,
        TableAll,
        Column
    };
    Kind kind = Kind::All;
    QString table;
    Node column;
};

struct FromNode
{
    QString table; // a table when kids is empty
    QString joinType;
    std::vector<FromNode> kids; // left and right of a join
    std::optional<Node> on;
};

struct OrderItem
{
    Node column;
    bool desc = false;
};

struct SelectTree
{
    bool distinct = false;
    std::vector<SelectItem> items;
    FromNode from;
    std::optional<Node> where;
    std::vector<OrderItem> order;
};

// One SELECT statement; anything but SELECT, a second statement or trailing text is refused.
SelectTree parseSelect(const QString& text);
// A condition alone.
Node parseCriterion(const QString& text);
// #mm/dd/yy#, #mm/dd/yyyy# or #yyyy-mm-dd# without the #; an invalid QDate when impossible.
QDate parseDateLiteral(const QString& body);

} // namespace jetsql::parse
