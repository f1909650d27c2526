#include "data/logic/JetSqlParser.h"

#include "data/logic/Fechas.h"

#include <QRegularExpression>
#include <QStringList>

namespace jetsql::parse {

void fail(const QString& message)
{
    throw SqlError{message};
}

namespace {

// ---------------------------------------------------------------------------
// Tokens

enum class Tok
{
    End,
    Name,
    Number,
    Text,
    Date,
    Symbol
};

struct Token
{
    Tok type = Tok::End;
    QString text;   // name without brackets, symbol, or the literal as written
    QVariant value; // value of a number, text or date literal
    bool bracketed = false;
    int pos = 0;
};

// Words that cannot be bare column names (brackets make any of them a name).
bool isReserved(const QString& word)
{
    static const QStringList words = {
        QStringLiteral("SELECT"), QStringLiteral("DISTINCT"), QStringLiteral("FROM"),
        QStringLiteral("WHERE"),  QStringLiteral("ORDER"),    QStringLiteral("BY"),
        QStringLiteral("ASC"),    QStringLiteral("DESC"),     QStringLiteral("AND"),
        QStringLiteral("OR"),     QStringLiteral("XOR"),      QStringLiteral("NOT"),
        QStringLiteral("LIKE"),   QStringLiteral("IN"),       QStringLiteral("BETWEEN"),
        QStringLiteral("IS"),     QStringLiteral("NULL"),     QStringLiteral("TRUE"),
        QStringLiteral("FALSE"),  QStringLiteral("LEFT"),     QStringLiteral("RIGHT"),
        QStringLiteral("INNER"),  QStringLiteral("OUTER"),    QStringLiteral("JOIN"),
        QStringLiteral("ON"),     QStringLiteral("AS"),       QStringLiteral("MOD"),
        QStringLiteral("EQV"),    QStringLiteral("IMP"),      QStringLiteral("GROUP"),
        QStringLiteral("HAVING"), QStringLiteral("UNION")};
    return words.contains(word, Qt::CaseInsensitive);
}

QString excerpt(const QString& text, int pos)
{
    QString part = text.mid(pos, 25).trimmed();
    if (pos + 25 < text.size())
        part += QStringLiteral("...");
    return part;
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QList<Token> tokenize(const QString& source)
{
    // Names are compared in composed form, whatever form the text came in.
    const QString s = source.normalized(QString::NormalizationForm_C);
    QList<Token> out;
    int i = 0;
    const int n = int(s.size());
    while (true) {
        while (i < n && s[i].isSpace())
            ++i;
        Token t;
        t.pos = i;
        if (i >= n) {
            out << t;
            break;
        }
        const QChar c = s[i];
        if (c == QLatin1Char('[')) {
            const int j = int(s.indexOf(QLatin1Char(']'), i + 1));
            if (j < 0)
                fail(QStringLiteral("Falta el corchete de cierre ']' en el nombre '%1'").arg(s.mid(i)));
            t.type = Tok::Name;
            t.text = s.mid(i + 1, j - i - 1);
            t.bracketed = true;
            if (t.text.trimmed().isEmpty())
                fail(QStringLiteral("Hay un nombre vacío entre corchetes"));
            i = j + 1;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Both quotes delimit text in this dialect; a doubled quote stands for itself.
            QString value;
            int j = i + 1;
            while (true) {
                if (j >= n)
                    fail(QStringLiteral("Falta cerrar el texto que empieza en %1").arg(excerpt(s, i)));
                if (s[j] == c) {
                    if (j + 1 < n && s[j + 1] == c) {
                        value += c;
                        j += 2;
                        continue;
                    }
                    break;
                }
                value += s[j++];
            }
            t.type = Tok::Text;
            t.text = s.mid(i, j + 1 - i);
            t.value = value;
            i = j + 1;
        } else if (c == QLatin1Char('#')) {
            const int j = int(s.indexOf(QLatin1Char('#'), i + 1));
            if (j < 0)
                fail(QStringLiteral("Falta cerrar la fecha que empieza en %1").arg(excerpt(s, i)));
            t.type = Tok::Date;
            t.text = s.mid(i, j + 1 - i);
            const QDate date = parseDateLiteral(s.mid(i + 1, j - i - 1));
            if (!date.isValid())
                fail(QStringLiteral("La fecha %1 no es válida").arg(t.text));
            // The data file keeps dates as YYYY-MM-DD text.
            t.value = date.toString(QStringLiteral("yyyy-MM-dd"));
            i = j + 1;
        } else if (isAsciiDigit(c)) {
            int j = i;
            while (j < n && isAsciiDigit(s[j]))
                ++j;
            bool real = false;
            if (j + 1 < n && s[j] == QLatin1Char('.') && isAsciiDigit(s[j + 1])) {
                real = true;
                ++j;
                while (j < n && isAsciiDigit(s[j]))
                    ++j;
            }
            if (j < n && (s[j].isLetter() || s[j] == QLatin1Char('_')))
                fail(QStringLiteral("Error de sintaxis cerca de %1").arg(excerpt(s, i)));
            t.type = Tok::Number;
            t.text = s.mid(i, j - i);
            bool ok = false;
            if (real) {
                t.value = t.text.toDouble(&ok);
            } else {
                t.value = t.text.toLongLong(&ok);
                if (!ok) {
                    // Too big for an integer: keep it as a real, as the engine would.
                    t.value = t.text.toDouble(&ok);
                }
            }
            if (!ok)
                fail(QStringLiteral("El número %1 no es válido").arg(t.text));
            i = j;
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            int j = i + 1;
            while (j < n && (s[j].isLetterOrNumber() || s[j].isMark() || s[j] == QLatin1Char('_')))
                ++j;
            t.type = Tok::Name;
            t.text = s.mid(i, j - i);
            i = j;
        } else {
            static const QStringList symbols = {
                QStringLiteral("<>"), QStringLiteral("<="), QStringLiteral(">="), QStringLiteral("="),
                QStringLiteral("<"),  QStringLiteral(">"),  QStringLiteral("("),  QStringLiteral(")"),
                QStringLiteral(","),  QStringLiteral("."),  QStringLiteral("*"),  QStringLiteral("+"),
                QStringLiteral("-"),  QStringLiteral("/"),  QStringLiteral("\\"), QStringLiteral("&"),
                QStringLiteral(";")};
            bool found = false;
            for (const QString& sym : symbols) {
                if (QStringView(s).mid(i).startsWith(sym)) {
                    t.type = Tok::Symbol;
                    t.text = sym;
                    i += int(sym.size());
                    found = true;
                    break;
                }
            }
            if (!found)
                fail(QStringLiteral("Carácter no admitido '%1' en %2").arg(c, excerpt(s, i)));
        }
        out << t;
    }
    return out;
}

class Parser
{
    // Deep nesting is refused before it can exhaust the stack or SQLite's expression depth.
    static constexpr int kMaxDepth = 300;
    struct DepthGuard
    {
        explicit DepthGuard(Parser& p) : parser(p)
        {
            if (++parser.m_depth > kMaxDepth)
                fail(QStringLiteral("La consulta tiene demasiados niveles de paréntesis"));
        }
        ~DepthGuard() { --parser.m_depth; }
        Parser& parser;
    };

public:
    Parser(QList<Token> tokens, QString text) : m_tokens(std::move(tokens)), m_text(std::move(text)) {}

    SelectTree select()
    {
        SelectTree tree;
        expectWord("SELECT");
        if (acceptWord("DISTINCT") || acceptWord("DISTINCTROW"))
            tree.distinct = true;
        do {
            tree.items.push_back(selectItem());
        } while (acceptSymbol(","));
        expectWord("FROM");
        tree.from = join();
        if (acceptWord("WHERE"))
            tree.where = expression();
        if (acceptWord("ORDER")) {
            expectWord("BY");
            do {
                OrderItem item;
                item.column = columnRef();
                if (acceptWord("DESC"))
                    item.desc = true;
                else
                    acceptWord("ASC");
                tree.order.push_back(item);
            } while (acceptSymbol(","));
        }
        finish(true);
        return tree;
    }

    Node criterion()
    {
        Node node = expression();
        finish(false);
        return node;
    }

private:
    const Token& peek(int ahead = 0) const
    {
        const int i = std::min(m_pos + ahead, int(m_tokens.size()) - 1);
        return m_tokens[i];
    }
    const Token& next()
    {
        const Token& t = peek();
        if (m_pos < m_tokens.size() - 1)
            ++m_pos;
        return t;
    }
    static bool isWord(const Token& t, const char* word)
    {
        return t.type == Tok::Name && !t.bracketed &&
               t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool atWord(const char* word, int ahead = 0) const { return isWord(peek(ahead), word); }
    bool acceptWord(const char* word)
    {
        if (!atWord(word))
            return false;
        next();
        return true;
    }
    bool atSymbol(const char* sym) const
    {
        return peek().type == Tok::Symbol && peek().text == QLatin1String(sym);
    }
    bool acceptSymbol(const char* sym)
    {
        if (!atSymbol(sym))
            return false;
        next();
        return true;
    }
    [[noreturn]] void syntaxError() const
    {
        const Token& t = peek();
        if (t.type == Tok::End)
            fail(QStringLiteral("La consulta termina antes de tiempo"));
        fail(QStringLiteral("Error de sintaxis cerca de '%1'").arg(excerpt(m_text, t.pos)));
    }
    void expectWord(const char* word)
    {
        if (!acceptWord(word)) {
            if (peek().type == Tok::End)
                fail(QStringLiteral("Falta %1 al final de la consulta").arg(QLatin1String(word)));
            syntaxError();
        }
    }
    void expectClose()
    {
        if (!acceptSymbol(")")) {
            if (peek().type == Tok::End)
                fail(QStringLiteral("Falta cerrar un paréntesis"));
            syntaxError();
        }
    }
    void finish(bool allowSemicolon)
    {
        if (allowSemicolon && atSymbol(";")) {
            next();
            if (peek().type != Tok::End)
                fail(QStringLiteral("La consulta contiene más de una instrucción"));
        }
        if (peek().type == Tok::End)
            return;
        if (atSymbol(")"))
            fail(
                QStringLiteral("Sobra un paréntesis de cierre ')' en '%1'").arg(excerpt(m_text, peek().pos)));
        if (atSymbol(";"))
            fail(QStringLiteral("La consulta contiene más de una instrucción"));
        syntaxError();
    }

    QString name()
    {
        const Token& t = peek();
        if (t.type != Tok::Name || (!t.bracketed && isReserved(t.text)))
            syntaxError();
        return next().text;
    }

    SelectItem selectItem()
    {
        SelectItem item;
        if (acceptSymbol("*"))
            return item;
        if (peek().type == Tok::Name && peek(1).type == Tok::Symbol && peek(1).text == QLatin1String(".") &&
            peek(2).type == Tok::Symbol && peek(2).text == QLatin1String("*")) {
            item.kind = SelectItem::Kind::TableAll;
            item.table = name();
            next();
            next();
            return item;
        }
        item.kind = SelectItem::Kind::Column;
        item.column = columnRef();
        return item;
    }

    Node columnRef()
    {
        Node node;
        node.kind = Node::Kind::Column;
        node.name = name();
        if (peek(0).type == Tok::Symbol && peek().text == QLatin1String(".")) {
            next();
            node.table = node.name;
            node.name = name();
        }
        if (atSymbol("("))
            fail(QStringLiteral("La función '%1' no está admitida").arg(node.name));
        return node;
    }

    FromNode fromPrimary()
    {
        const DepthGuard guard(*this);
        if (acceptSymbol("(")) {
            FromNode inner = join();
            expectClose();
            return inner;
        }
        FromNode node;
        node.table = name();
        return node;
    }

    FromNode join()
    {
        FromNode left = fromPrimary();
        while (true) {
            QString type;
            if (acceptWord("LEFT"))
                type = QStringLiteral("LEFT JOIN");
            else if (acceptWord("RIGHT"))
                type = QStringLiteral("RIGHT JOIN");
            else if (acceptWord("INNER"))
                type = QStringLiteral("INNER JOIN");
            else if (acceptSymbol(","))
                type = QStringLiteral(",");
            else
                break;
            if (type != QLatin1String(",")) {
                if (type != QLatin1String("INNER JOIN"))
                    acceptWord("OUTER");
                expectWord("JOIN");
            }
            FromNode joined;
            joined.joinType = type;
            joined.kids.push_back(std::move(left));
            joined.kids.push_back(fromPrimary());
            if (type != QLatin1String(",")) {
                expectWord("ON");
                joined.on = expression();
            }
            left = std::move(joined);
        }
        return left;
    }

    static Node binary(Node::Kind kind, Node a, Node b, const QString& op = QString())
    {
        Node node;
        node.kind = kind;
        node.op = op;
        node.kids.push_back(std::move(a));
        node.kids.push_back(std::move(b));
        return node;
    }

    // Loosest first: Xor, Or, And, Not, then the comparisons.
    Node expression()
    {
        const DepthGuard guard(*this);
        Node left = orExpr();
        while (acceptWord("XOR"))
            left = binary(Node::Kind::Xor, std::move(left), orExpr());
        return left;
    }
    // A run of Or (or And) becomes one node: sub-groups name thousands of codes in one chain.
    Node orExpr()
    {
        Node node;
        node.kind = Node::Kind::Or;
        node.kids.push_back(andExpr());
        while (acceptWord("OR"))
            node.kids.push_back(andExpr());
        return node.kids.size() == 1 ? std::move(node.kids.front()) : std::move(node);
    }
    Node andExpr()
    {
        Node node;
        node.kind = Node::Kind::And;
        node.kids.push_back(notExpr());
        while (acceptWord("AND"))
            node.kids.push_back(notExpr());
        return node.kids.size() == 1 ? std::move(node.kids.front()) : std::move(node);
    }
    Node notExpr()
    {
        const DepthGuard guard(*this);
        if (acceptWord("NOT")) {
            Node node;
            node.kind = Node::Kind::Not;
            node.kids.push_back(notExpr());
            return node;
        }
        return predicate();
    }
    Node predicate()
    {
        Node left = additive();
        static const char* comparisons[] = {"=", "<>", "<=", ">=", "<", ">"};
        for (const char* op : comparisons) {
            if (acceptSymbol(op))
                return binary(Node::Kind::Compare, std::move(left), additive(), QLatin1String(op));
        }
        const bool negated = atWord("NOT") && (atWord("LIKE", 1) || atWord("IN", 1) || atWord("BETWEEN", 1));
        if (negated)
            next();
        if (acceptWord("LIKE")) {
            Node node = binary(Node::Kind::Like, std::move(left), additive());
            node.negated = negated;
            return node;
        }
        if (acceptWord("IN")) {
            Node node;
            node.kind = Node::Kind::In;
            node.negated = negated;
            node.kids.push_back(std::move(left));
            if (!acceptSymbol("("))
                syntaxError();
            do {
                node.kids.push_back(additive());
            } while (acceptSymbol(","));
            expectClose();
            return node;
        }
        if (acceptWord("BETWEEN")) {
            Node node;
            node.kind = Node::Kind::Between;
            node.negated = negated;
            node.kids.push_back(std::move(left));
            node.kids.push_back(additive());
            expectWord("AND");
            node.kids.push_back(additive());
            return node;
        }
        if (acceptWord("IS")) {
            Node node;
            node.kind = Node::Kind::IsNull;
            node.negated = acceptWord("NOT");
            expectWord("NULL");
            node.kids.push_back(std::move(left));
            return node;
        }
        return left;
    }
    Node additive()
    {
        Node left = term();
        while (true) {
            QString op;
            if (atSymbol("+") || atSymbol("-") || atSymbol("&"))
                op = next().text;
            else
                break;
            left = binary(Node::Kind::Arith, std::move(left), term(), op);
        }
        return left;
    }
    Node term()
    {
        Node left = unary();
        while (true) {
            QString op;
            if (atSymbol("*") || atSymbol("/") || atSymbol("\\"))
                op = next().text;
            else if (acceptWord("MOD"))
                op = QStringLiteral("MOD");
            else
                break;
            left = binary(Node::Kind::Arith, std::move(left), unary(), op);
        }
        return left;
    }
    Node unary()
    {
        const DepthGuard guard(*this);
        if (acceptSymbol("-")) {
            Node node;
            node.kind = Node::Kind::Neg;
            node.kids.push_back(unary());
            return node;
        }
        if (acceptSymbol("+"))
            return unary();
        return primary();
    }
    Node primary()
    {
        const Token& t = peek();
        Node node;
        switch (t.type) {
        case Tok::Number:
        case Tok::Text:
        case Tok::Date:
            node.kind = Node::Kind::Value;
            node.value = next().value;
            return node;
        case Tok::Symbol:
            if (acceptSymbol("(")) {
                Node inner = expression();
                expectClose();
                return inner;
            }
            syntaxError();
        case Tok::Name:
            if (acceptWord("NULL")) {
                node.kind = Node::Kind::Null;
                return node;
            }
            if (atWord("TRUE") || atWord("FALSE")) {
                node.kind = Node::Kind::Bool;
                node.value = atWord("TRUE");
                next();
                return node;
            }
            return columnRef();
        case Tok::End:
            break;
        }
        syntaxError();
    }

    QList<Token> m_tokens;
    QString m_text;
    int m_pos = 0;
    int m_depth = 0;
};

} // namespace

// The engine's US order; two-digit years 00-29 are this century, 30-99 the last one.
QDate parseDateLiteral(const QString& body)
{
    static const QRegularExpression us(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{2}|\\d{4})$"));
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    const QString t = body.trimmed();
    if (const auto m = us.match(t); m.hasMatch()) {
        int year = m.captured(3).toInt();
        if (m.captured(3).size() == 2)
            year = fechas::anioCompleto(year);
        return QDate(year, m.captured(1).toInt(), m.captured(2).toInt());
    }
    if (const auto m = iso.match(t); m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    return QDate();
}

SelectTree parseSelect(const QString& text)
{
    const QList<Token> tokens = tokenize(text);
    const Token& first = tokens.first();
    if (first.type == Tok::End)
        fail(QStringLiteral("La consulta está vacía"));
    if (first.type != Tok::Name || first.bracketed ||
        first.text.compare(QLatin1String("SELECT"), Qt::CaseInsensitive))
        fail(QStringLiteral("Solo se admiten consultas SELECT; '%1' no está permitido").arg(first.text));
    Parser parser(tokens, text.normalized(QString::NormalizationForm_C));
    return parser.select();
}

Node parseCriterion(const QString& text)
{
    const QList<Token> tokens = tokenize(text);
    if (tokens.first().type == Tok::End)
        fail(QStringLiteral("El criterio está vacío"));
    Parser parser(tokens, text.normalized(QString::NormalizationForm_C));
    return parser.criterion();
}

} // namespace jetsql::parse
