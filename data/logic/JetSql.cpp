#include "data/logic/JetSql.h"

#include <cmath>

#include "data/logic/JetSqlParser.h"
#include "data/logic/Schema.h"

#include <functional>
#include <optional>
#include <sqlite3.h>
#include <vector>

namespace jetsql {

using namespace parse;

namespace {

QString quote(const QString& name)
{
    return schema::quoteIdentifier(name);
}

QString collate()
{
    return QStringLiteral(" COLLATE ") + QLatin1String(kCaselessCollation);
}

// ---------------------------------------------------------------------------
// Translation of the tree into SQLite SQL

const schema::Table& tableByName(const QString& name)
{
    const schema::Table* table = schema::table(name);
    if (!table)
        fail(QStringLiteral("No existe la tabla '%1'").arg(name));
    return *table;
}

class Emitter
{
public:
    explicit Emitter(QList<const schema::Table*> tables) : m_tables(std::move(tables)) {}

    struct Column
    {
        const schema::Table* table;
        const schema::Field* field;
    };

    Column resolve(const Node& node) const
    {
        if (!node.table.isEmpty()) {
            const schema::Table& table = tableByName(node.table);
            if (!m_tables.contains(&table))
                fail(QStringLiteral("La tabla '%1' no forma parte de la consulta").arg(table.name));
            const schema::Field* field = table.field(node.name);
            if (!field)
                fail(QStringLiteral("No existe el campo '%1' en la tabla '%2'").arg(node.name, table.name));
            return {&table, field};
        }
        // A bare name shared by several tables (CÓDIGO, Fecha) belongs to the first one in
        // FROM order: the transformer table in every join of the program.
        for (const schema::Table* table : m_tables) {
            if (const schema::Field* field = table->field(node.name))
                return {table, field};
        }
        if (m_tables.size() == 1)
            fail(QStringLiteral("No existe el campo '%1' en la tabla '%2'")
                     .arg(node.name, m_tables.first()->name));
        QStringList names;
        for (const schema::Table* table : m_tables)
            names << table->name;
        fail(QStringLiteral("No existe el campo '%1' en las tablas %2")
                 .arg(node.name, names.join(QStringLiteral(", "))));
    }

    QString columnSql(const Column& column) const
    {
        if (m_tables.size() > 1)
            return quote(column.table->name) + QLatin1Char('.') + quote(column.field->name);
        return quote(column.field->name);
    }

    QString tableStar(const QString& written) const
    {
        const schema::Table& table = tableByName(written);
        if (!m_tables.contains(&table))
            fail(QStringLiteral("La tabla '%1' no forma parte de la consulta").arg(table.name));
        return quote(table.name) + QStringLiteral(".*");
    }

    static bool isTextKind(schema::FieldKind kind)
    {
        return kind == schema::FieldKind::Text || kind == schema::FieldKind::Memo ||
               kind == schema::FieldKind::ListText;
    }

    QString expr(const Node& node, QVariantList& params) const
    {
        using K = Node::Kind;
        switch (node.kind) {
        case K::Column:
            return columnSql(resolve(node));
        case K::Value:
            params << node.value;
            return QStringLiteral("?");
        case K::Null:
            return QStringLiteral("NULL");
        case K::Bool:
            return node.value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        case K::Neg:
            return QStringLiteral("(- ") + expr(node.kids[0], params) + QLatin1Char(')');
        case K::Arith: {
            const QString a = expr(node.kids[0], params);
            const QString b = expr(node.kids[1], params);
            if (node.op == QLatin1String("&"))
                return QLatin1Char('(') + a + QStringLiteral(" || ") + b + QLatin1Char(')');
            if (node.op == QLatin1String("\\"))
                return QStringLiteral("CAST((") + a + QStringLiteral(") / (") + b +
                       QStringLiteral(") AS INTEGER)");
            if (node.op == QLatin1String("/"))
                // The engine divides in floating point even for whole numbers.
                return QStringLiteral("((") + a + QStringLiteral(") * 1.0 / (") + b + QStringLiteral("))");
            const QString op = node.op == QLatin1String("MOD") ? QStringLiteral("%") : node.op;
            return QLatin1Char('(') + a + QLatin1Char(' ') + op + QLatin1Char(' ') + b + QLatin1Char(')');
        }
        case K::Compare: {
            checkDates(node.kids[0], node.kids[1]);
            const QString a = operand(node.kids[0], node.kids[1], params);
            const QString b = operand(node.kids[1], node.kids[0], params);
            return QLatin1Char('(') + a + QLatin1Char(' ') + node.op + QLatin1Char(' ') + b +
                   collation(node.kids[0], node.kids[1]) + QLatin1Char(')');
        }
        case K::Like: {
            // "CÓDIGO LIKE 12": a whole number has no wildcards, so on a whole-number column
            // the pattern matches exactly one value; an equality can use the code index.
            if (node.kids[0].kind == K::Column && node.kids[1].kind == K::Value) {
                const Column column = resolve(node.kids[0]);
                const QVariant& v = node.kids[1].value;
                const bool number = v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int ||
                                    v.typeId() == QMetaType::Double;
                const double d = v.toDouble();
                if (column.field->kind == schema::FieldKind::Integer && number && d == std::floor(d) &&
                    std::abs(d) < 1e15) {
                    params << QVariant(qlonglong(d));
                    return QLatin1Char('(') + (node.negated ? QStringLiteral("NOT ") : QString()) +
                           columnSql(column) + QStringLiteral(" = ?)");
                }
            }
            const QString a = expr(node.kids[0], params);
            const QString b = expr(node.kids[1], params);
            const QString call = QLatin1String(kLikeFunction) + QLatin1Char('(') + a + QStringLiteral(", ") +
                                 b + QLatin1Char(')');
            return node.negated ? QStringLiteral("(NOT ") + call + QLatin1Char(')') : call;
        }
        case K::In: {
            const QString a = expr(node.kids[0], params);
            QStringList items;
            for (size_t i = 1; i < node.kids.size(); ++i) {
                checkDates(node.kids[0], node.kids[i]);
                items << expr(node.kids[i], params);
            }
            return QLatin1Char('(') + a + collation(node.kids[0], node.kids[0]) +
                   (node.negated ? QStringLiteral(" NOT IN (") : QStringLiteral(" IN (")) +
                   items.join(QStringLiteral(", ")) + QStringLiteral("))");
        }
        case K::Between: {
            checkDates(node.kids[0], node.kids[1]);
            checkDates(node.kids[0], node.kids[2]);
            const QString a = expr(node.kids[0], params);
            const QString lo = expr(node.kids[1], params);
            const QString hi = expr(node.kids[2], params);
            return QLatin1Char('(') + a + collation(node.kids[0], node.kids[0]) +
                   (node.negated ? QStringLiteral(" NOT BETWEEN ") : QStringLiteral(" BETWEEN ")) + lo +
                   QStringLiteral(" AND ") + hi + QLatin1Char(')');
        }
        case K::IsNull:
            return QLatin1Char('(') + expr(node.kids[0], params) +
                   (node.negated ? QStringLiteral(" IS NOT NULL)") : QStringLiteral(" IS NULL)"));
        case K::Not:
            return QStringLiteral("(NOT ") + expr(node.kids[0], params) + QLatin1Char(')');
        case K::And:
        case K::Or:
            return chain(node, params);
        case K::Xor: {
            // NOT turns any non-null operand into 0/1; two such values differ exactly when one
            // side is true; a null side gives null, as in the engine.
            const QString a = expr(node.kids[0], params);
            const QString b = expr(node.kids[1], params);
            return QStringLiteral("((NOT ") + a + QStringLiteral(") <> (NOT ") + b + QStringLiteral("))");
        }
        }
        return QString();
    }

    // Text compares without regard to case. A number, date or yes/no field compares as it
    // is stored: numbers keep numeric order and the comparison can use the code index.
    QString collation(const Node& a, const Node& b) const
    {
        for (const Node* n : {&a, &b}) {
            if (n->kind == Node::Kind::Column && !isTextKind(resolve(*n).field->kind))
                return QString();
        }
        return collate();
    }

    // The engine's True is -1 and searches saved by it compare yes/no fields with -1; the data
    // file keeps yes/no as 0/1.
    QString operand(const Node& node, const Node& other, QVariantList& params) const
    {
        const bool minusOne =
            (node.kind == Node::Kind::Value && isNumber(node.value) && node.value.toDouble() == -1.0) ||
            (node.kind == Node::Kind::Neg && node.kids[0].kind == Node::Kind::Value &&
             isNumber(node.kids[0].value) && node.kids[0].value.toDouble() == 1.0);
        if (minusOne && other.kind == Node::Kind::Column &&
            resolve(other).field->kind == schema::FieldKind::YesNo)
            return QStringLiteral("1");
        return expr(node, params);
    }

    static bool isNumber(const QVariant& v)
    {
        return v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Double;
    }

    // The literal of "column = literal" (either way round), or nullptr; sets the column's SQL.
    const Node* equalityLiteral(const Node& n, QString& columnSql) const
    {
        if (n.kind != Node::Kind::Compare || n.op != QLatin1String("="))
            return nullptr;
        for (int side = 0; side < 2; ++side) {
            const Node& col = n.kids[side];
            const Node& lit = n.kids[1 - side];
            if (col.kind != Node::Kind::Column || lit.kind != Node::Kind::Value)
                continue;
            const Column c = resolve(col);
            checkDates(col, lit);
            if (c.field->kind == schema::FieldKind::YesNo)
                return nullptr;
            columnSql = this->columnSql(c) + collation(col, col);
            return &lit;
        }
        return nullptr;
    }

    QString chain(const Node& node, QVariantList& params) const
    {
        QStringList pieces;
        const bool isOr = node.kind == Node::Kind::Or;
        for (size_t i = 0; i < node.kids.size();) {
            // A run of "code = n" alternatives becomes one IN list: the sub-group and the
            // date selection name thousands of codes, far faster to look up as a list.
            QString column;
            if (isOr && equalityLiteral(node.kids[i], column)) {
                size_t j = i;
                QStringList marks;
                QString next;
                for (; j < node.kids.size(); ++j) {
                    const Node* lit = equalityLiteral(node.kids[j], next);
                    if (!lit || next != column)
                        break;
                    params << lit->value;
                    marks << QStringLiteral("?");
                }
                if (j - i > 1) {
                    pieces << QLatin1Char('(') + column + QStringLiteral(" IN (") +
                                  marks.join(QStringLiteral(", ")) + QStringLiteral("))");
                    i = j;
                    continue;
                }
                params.removeLast();
            }
            pieces << expr(node.kids[i], params);
            ++i;
        }
        return balanced(pieces, 0, int(pieces.size()),
                        isOr ? QStringLiteral(" OR ") : QStringLiteral(" AND "));
    }

    // A long chain is nested as a balanced tree: SQLite refuses expressions deeper than
    // 1000 levels, and And/Or give the same result however they are grouped.
    static QString balanced(const QStringList& pieces, int from, int to, const QString& op)
    {
        if (to - from == 1)
            return pieces[from];
        const int mid = from + (to - from) / 2;
        return QLatin1Char('(') + balanced(pieces, from, mid, op) + op + balanced(pieces, mid, to, op) +
               QLatin1Char(')');
    }

    // A date written bare (05/20/03) is arithmetic to the engine and would silently match
    // nothing; a date field compared with a number is refused instead.
    void checkDates(const Node& a, const Node& b) const
    {
        auto isNumeric = [](const Node& n) {
            if (n.kind == Node::Kind::Arith || n.kind == Node::Kind::Neg)
                return true;
            return n.kind == Node::Kind::Value && isNumber(n.value);
        };
        auto dateField = [this](const Node& n) -> const schema::Field* {
            if (n.kind != Node::Kind::Column)
                return nullptr;
            const Column c = resolve(n);
            return c.field->kind == schema::FieldKind::Date ? c.field : nullptr;
        };
        const schema::Field* field = dateField(a);
        if (field && isNumeric(b))
            fail(QStringLiteral(
                     "El valor del campo de fecha '%1' debe escribirse entre # (por ejemplo #05/20/03#)")
                     .arg(field->name));
        field = dateField(b);
        if (field && isNumeric(a))
            fail(QStringLiteral(
                     "El valor del campo de fecha '%1' debe escribirse entre # (por ejemplo #05/20/03#)")
                     .arg(field->name));
    }

    QString from(const FromNode& node, QVariantList& params, bool nested) const
    {
        if (node.kids.empty())
            return quote(tableByName(node.table).name);
        // Left-deep joins need no parentheses; a join on the right keeps them.
        QString sql = from(node.kids[0], params, false);
        sql += node.joinType == QLatin1String(",") ? QStringLiteral(", ")
                                                   : QLatin1Char(' ') + node.joinType + QLatin1Char(' ');
        sql += from(node.kids[1], params, true);
        if (node.on)
            sql += QStringLiteral(" ON ") + expr(*node.on, params);
        return nested ? QLatin1Char('(') + sql + QLatin1Char(')') : sql;
    }

private:
    QList<const schema::Table*> m_tables;
};

void collectTables(const FromNode& node, QList<const schema::Table*>& out)
{
    if (node.kids.empty()) {
        const schema::Table* table = &tableByName(node.table);
        if (out.contains(table))
            fail(QStringLiteral("La tabla '%1' aparece dos veces en la consulta").arg(table->name));
        out << table;
        return;
    }
    for (const FromNode& kid : node.kids)
        collectTables(kid, out);
}

Query translateTree(const SelectTree& tree)
{
    QList<const schema::Table*> tables;
    collectTables(tree.from, tables);
    const Emitter emitter(tables);

    Query q;
    q.distinct = tree.distinct;
    for (const schema::Table* t : tables)
        q.tables << t->name;

    QStringList items;
    for (const SelectItem& item : tree.items) {
        switch (item.kind) {
        case SelectItem::Kind::All:
            items << QStringLiteral("*");
            break;
        case SelectItem::Kind::TableAll:
            items << emitter.tableStar(item.table);
            break;
        case SelectItem::Kind::Column: {
            const Emitter::Column c = emitter.resolve(item.column);
            QString sql = emitter.columnSql(c);
            // The engine's DISTINCT does not tell "planta" from "PLANTA".
            if (tree.distinct && Emitter::isTextKind(c.field->kind))
                sql += collate() + QStringLiteral(" AS ") + quote(c.field->name);
            items << sql;
            break;
        }
        }
    }
    q.selectSql = items.join(QStringLiteral(", "));

    QVariantList fromParams;
    q.fromSql = emitter.from(tree.from, fromParams, false);
    if (tree.where)
        q.where.sql = emitter.expr(*tree.where, q.where.params);

    QStringList order;
    for (const OrderItem& item : tree.order) {
        const Emitter::Column c = emitter.resolve(item.column);
        QString sql = emitter.columnSql(c);
        if (Emitter::isTextKind(c.field->kind))
            sql += collate();
        order << sql + (item.desc ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    }
    // The engine sorts to find distinct rows, so a DISTINCT list without an order came out in
    // ascending order (the date lists and value lists rely on it); SQLite gives no order.
    if (order.isEmpty() && tree.distinct) {
        bool soloColumnas = !tree.items.empty();
        for (const SelectItem& item : tree.items)
            soloColumnas = soloColumnas && item.kind == SelectItem::Kind::Column;
        for (size_t i = 1; soloColumnas && i <= tree.items.size(); ++i)
            order << QString::number(i) + QStringLiteral(" ASC");
    }
    q.orderSql = order.join(QStringLiteral(", "));

    q.sql = QStringLiteral("SELECT ") + (q.distinct ? QStringLiteral("DISTINCT ") : QString()) + q.selectSql +
            QStringLiteral(" FROM ") + q.fromSql;
    if (!q.where.sql.isEmpty())
        q.sql += QStringLiteral(" WHERE ") + q.where.sql;
    if (!q.orderSql.isEmpty())
        q.sql += QStringLiteral(" ORDER BY ") + q.orderSql;
    q.params = fromParams + q.where.params;
    return q;
}

// ---------------------------------------------------------------------------
// SQL functions

// Text of a value as the engine would show it: whole reals without ".0".
QString valueText(sqlite3_value* v)
{
    if (sqlite3_value_type(v) == SQLITE_FLOAT) {
        const double d = sqlite3_value_double(v);
        if (d == double(qint64(d)) && d > -9.0e15 && d < 9.0e15)
            return QString::number(qint64(d));
        return QString::number(d, 'g', 15);
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return QString::fromUtf8(text ? text : "", sqlite3_value_bytes(v));
}

struct PatternItem
{
    enum class Kind
    {
        Literal,
        AnyRun,
        One,
        Digit,
        Set
    };
    Kind kind = Kind::Literal;
    char32_t ch = 0;
    bool negated = false;
    QList<QPair<char32_t, char32_t>> ranges; // Set: inclusive ranges
};

// * any run, ? one character, # one digit, [abc] [a-z] [!abc] one of a list; [*] is a literal.
std::optional<QList<PatternItem>> compilePattern(const QList<uint>& p)
{
    QList<PatternItem> out;
    for (int i = 0; i < p.size(); ++i) {
        PatternItem item;
        const char32_t c = p[i];
        if (c == U'*') {
            item.kind = PatternItem::Kind::AnyRun;
        } else if (c == U'?') {
            item.kind = PatternItem::Kind::One;
        } else if (c == U'#') {
            item.kind = PatternItem::Kind::Digit;
        } else if (c == U'[') {
            int j = i + 1;
            item.kind = PatternItem::Kind::Set;
            if (j < p.size() && p[j] == U'!') {
                item.negated = true;
                ++j;
            }
            while (j < p.size() && p[j] != U']') {
                char32_t lo = p[j];
                char32_t hi = lo;
                if (j + 2 < p.size() && p[j + 1] == U'-' && p[j + 2] != U']') {
                    hi = p[j + 2];
                    j += 2;
                }
                if (hi < lo)
                    return std::nullopt;
                item.ranges << qMakePair(lo, hi);
                ++j;
            }
            if (j >= p.size())
                return std::nullopt;
            i = j;
            // "[]" stands for nothing at all.
            if (item.ranges.isEmpty() && !item.negated)
                continue;
        } else {
            item.ch = c;
        }
        out << item;
    }
    return out;
}

bool matchOne(const PatternItem& item, char32_t c)
{
    switch (item.kind) {
    case PatternItem::Kind::Literal:
        return item.ch == c;
    case PatternItem::Kind::One:
        return true;
    case PatternItem::Kind::Digit:
        return c >= U'0' && c <= U'9';
    case PatternItem::Kind::Set: {
        bool in = false;
        for (const auto& r : item.ranges)
            in = in || (c >= r.first && c <= r.second);
        return in != item.negated;
    }
    case PatternItem::Kind::AnyRun:
        break;
    }
    return false;
}

// Greedy match with one backtrack point per star: linear memory, O(n*m) at worst.
bool matchPattern(const QList<PatternItem>& pattern, const QList<uint>& text)
{
    int pi = 0;
    int ti = 0;
    int starP = -1;
    int starT = 0;
    while (ti < text.size()) {
        if (pi < pattern.size() && pattern[pi].kind == PatternItem::Kind::AnyRun) {
            starP = pi++;
            starT = ti;
        } else if (pi < pattern.size() && matchOne(pattern[pi], text[ti])) {
            ++pi;
            ++ti;
        } else if (starP >= 0) {
            pi = starP + 1;
            ti = ++starT;
        } else {
            return false;
        }
    }
    while (pi < pattern.size() && pattern[pi].kind == PatternItem::Kind::AnyRun)
        ++pi;
    return pi == pattern.size();
}

void likeFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QList<uint> value = valueText(argv[0]).toCaseFolded().toUcs4();
    const QList<uint> pattern = valueText(argv[1]).toCaseFolded().toUcs4();
    const auto compiled = compilePattern(pattern);
    if (!compiled) {
        sqlite3_result_error(ctx, "patrón de Like no válido", -1);
        return;
    }
    sqlite3_result_int(ctx, matchPattern(*compiled, value) ? 1 : 0);
}

bool isAscii(const unsigned char* p, int n)
{
    for (int i = 0; i < n; ++i)
        if (p[i] >= 0x80)
            return false;
    return true;
}

QString withoutAccents(const QString& s)
{
    const QString decomposed = s.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (!c.isMark())
            out += c;
    return out;
}

int caselessCompare(void*, int n1, const void* p1, int n2, const void* p2)
{
    const auto* a = static_cast<const unsigned char*>(p1);
    const auto* b = static_cast<const unsigned char*>(p2);
    if (isAscii(a, n1) && isAscii(b, n2)) {
        // Plain ASCII text is compared without building strings.
        const int n = std::min(n1, n2);
        for (int i = 0; i < n; ++i) {
            const int ca = (a[i] >= 'A' && a[i] <= 'Z') ? a[i] + 32 : a[i];
            const int cb = (b[i] >= 'A' && b[i] <= 'Z') ? b[i] + 32 : b[i];
            if (ca != cb)
                return ca < cb ? -1 : 1;
        }
        return n1 == n2 ? 0 : (n1 < n2 ? -1 : 1);
    }
    const QString sa = QString::fromUtf8(reinterpret_cast<const char*>(a), n1);
    const QString sb = QString::fromUtf8(reinterpret_cast<const char*>(b), n2);
    // Accented letters sort beside their base letter ("óleo" before "silicona") but stay
    // distinct from it: the accent only breaks ties.
    int r = QString::compare(withoutAccents(sa), withoutAccents(sb), Qt::CaseInsensitive);
    if (r == 0)
        r = QString::compare(sa, sb, Qt::CaseInsensitive);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int readOnlyAuthorizer(void*, int action, const char*, const char* arg2, const char*, const char*)
{
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
        return SQLITE_OK;
    case SQLITE_FUNCTION:
        // Extension loading is off on every connection; refuse its function all the same.
        if (arg2 && sqlite3_stricmp(arg2, "load_extension") == 0)
            return SQLITE_DENY;
        return SQLITE_OK;
    default:
        return SQLITE_DENY;
    }
}

template <typename T> Result<T> guarded(const std::function<T()>& body)
{
    try {
        return Result<T>(body());
    } catch (const SqlError& e) {
        return Result<T>::failure(e.message);
    }
}

} // namespace

QString unbracket(const QString& name)
{
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        return name.mid(1, name.size() - 2);
    return name;
}

Result<Query> translateSource(const QString& source)
{
    const QString name = unbracket(source.trimmed());
    if (const schema::Table* table = schema::table(name)) {
        Query q;
        q.tables << table->name;
        q.selectSql = QStringLiteral("*");
        q.fromSql = quote(table->name);
        // Transformers are listed by code; dated rows in the order they were added.
        q.orderSql = table->dateField.isEmpty() ? quote(table->codeField) : QStringLiteral("rowid");
        q.sql = QStringLiteral("SELECT * FROM ") + q.fromSql + QStringLiteral(" ORDER BY ") + q.orderSql;
        return q;
    }
    return translateSelect(source);
}

Result<Query> translateSelect(const QString& text)
{
    return guarded<Query>([&] { return translateTree(parseSelect(text)); });
}

Result<Expr> translateCriterion(const QString& text, const QStringList& tables)
{
    return guarded<Expr>([&] {
        QList<const schema::Table*> list;
        for (const QString& name : tables)
            list << &tableByName(name);
        if (list.isEmpty())
            fail(QStringLiteral("No hay tabla para el criterio"));
        const Node node = parseCriterion(text);
        Expr e;
        e.sql = Emitter(list).expr(node, e.params);
        return e;
    });
}

void registerFunctions(sqlite3* db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_collation_v2(db, kCaselessCollation, SQLITE_UTF8, nullptr, caselessCompare, nullptr);
    sqlite3_create_function_v2(db, kLikeFunction, 2, flags, nullptr, likeFunction, nullptr, nullptr, nullptr);
}

void installReadOnlyAuthorizer(sqlite3* db)
{
    sqlite3_set_authorizer(db, readOnlyAuthorizer, nullptr);
}

void removeAuthorizer(sqlite3* db)
{
    sqlite3_set_authorizer(db, nullptr, nullptr);
}

} // namespace jetsql