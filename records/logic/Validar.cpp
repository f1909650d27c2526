#include "records/logic/Validar.h"

#include <QLocale>

namespace validar {

namespace {

// Days per month, January to December; February's 29 is narrowed by the year once known.
constexpr int kDiasPorMes[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

const QString& mensajeAnioLetras()
{
    static const QString s = QStringLiteral("Error en fecha (AÑO)");
    return s;
}
const QString& mensajeAnio()
{
    static const QString s = QStringLiteral("Error en fecha (Año)");
    return s;
}
const QString& mensajeEnteros()
{
    static const QString s = QString::fromUtf8("Este campo admite solo números enteros");
    return s;
}
const QString& mensajeDia()
{
    static const QString s = QStringLiteral("Error en fecha (Dia)");
    return s;
}
const QString& mensajeMes()
{
    static const QString s = QStringLiteral("Error en fecha (Mes)");
    return s;
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool allDigits(const QString& s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (!isAsciiDigit(c))
            return false;
    return true;
}

// The value of a day, month or year part; -1 when it holds anything but digits.
int partValue(const QString& s)
{
    if (!allDigits(s) || s.size() > 9)
        return -1;
    return s.toInt();
}

bool hasAnyOf(const QString& s, const QString& chars)
{
    for (QChar c : s)
        if (chars.contains(c) || c.isSpace())
            return true;
    return false;
}

// Digits with at most one separator among seps and at least one digit, after an optional
// leading minus when allowed.
bool isNumber(const QString& text, const QString& seps, bool allowSign)
{
    QString body = text;
    if (allowSign && body.startsWith(QLatin1Char('-')))
        body.remove(0, 1);
    int digits = 0;
    int separators = 0;
    for (QChar c : body) {
        if (isAsciiDigit(c))
            ++digits;
        else if (seps.contains(c))
            ++separators;
        else
            return false;
    }
    return digits > 0 && separators <= 1;
}

CheckResult unchanged(const InputState& in)
{
    return {in, QString(), false};
}

InputState withTextAtEnd(const QString& text)
{
    return {text, int(text.size()), int(text.size()), 0};
}

CheckResult dropLast(const InputState& in)
{
    return {withTextAtEnd(in.text.left(in.text.size() - 1)), QString(), false};
}

// The selection runs from `from` to the end with the cursor at its start, so the next key
// replaces the faulty part.
CheckResult selectFrom(const InputState& in, int from, const QString& message)
{
    InputState out = in;
    out.selectionStart = from;
    out.selectionLength = int(in.text.size()) - from;
    out.cursor = from;
    return {out, message, false};
}

int firstOfDotOrComma(const QString& s)
{
    const int dot = int(s.indexOf(QLatin1Char('.')));
    const int comma = int(s.indexOf(QLatin1Char(',')));
    if (dot < 0)
        return comma;
    if (comma < 0)
        return dot;
    return qMin(dot, comma);
}

} // namespace

QChar systemDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.at(0);
}

int TieneLetra(const QString& texto, const QString& letra)
{
    if (letra.isEmpty())
        return 0;
    return int(texto.count(letra));
}

CheckResult validaDb(const InputState& in, QChar decimalSeparator)
{
    if (in.text.isEmpty())
        return unchanged(in);
    const QString sep(decimalSeparator);
    // With a point or comma locale the other key is accepted too and turned into the
    // locale's separator below, so a number can be typed with either key.
    QChar other;
    if (decimalSeparator == QLatin1Char(','))
        other = QLatin1Char('.');
    else if (decimalSeparator == QLatin1Char('.'))
        other = QLatin1Char(',');
    const QString seps = other.isNull() ? sep : sep + other;

    const bool invalid = hasAnyOf(in.text, QStringLiteral("$+")) || !isNumber(in.text, seps, true) ||
                         TieneLetra(in.text, sep) >= 2;
    if (invalid) {
        if (in.text == QLatin1String("-"))
            return unchanged(in);
        return dropLast(in);
    }
    if (!other.isNull() && TieneLetra(in.text, QString(other)) == 1) {
        QString text = in.text;
        text.replace(other, decimalSeparator);
        return {withTextAtEnd(text), QString(), false};
    }
    return unchanged(in);
}

CheckResult validaEn(const InputState& in)
{
    if (in.text.isEmpty())
        return unchanged(in);
    if (hasAnyOf(in.text, QStringLiteral("-$+")) || !isNumber(in.text, QStringLiteral(".,"), false))
        return dropLast(in);
    // A separator is refused with a word, and what stands before it is selected so that the
    // next key does not glue a fraction's digits onto the whole number.
    const int cut = firstOfDotOrComma(in.text);
    if (cut >= 0)
        return selectFrom(withTextAtEnd(in.text.left(cut)), 0, mensajeEnteros());
    return unchanged(in);
}

CheckResult validaAnio(const InputState& in)
{
    if (in.text.isEmpty())
        return unchanged(in);
    const int cut = firstOfDotOrComma(in.text);
    if (cut >= 0)
        return {withTextAtEnd(in.text.left(cut)), QString(), false};
    if (!allDigits(in.text))
        return selectFrom(in, 0, mensajeAnioLetras());
    if (in.text.size() >= 4) {
        const int year = partValue(in.text);
        if (year < 1940 || year > 2050)
            return selectFrom(in, 0, mensajeAnio());
    }
    return unchanged(in);
}

CheckResult validaFe(const InputState& in)
{
    const QString& text = in.text;
    if (text.isEmpty())
        return unchanged(in);
    if (hasAnyOf(text, QStringLiteral("$+")))
        return dropLast(in);
    // The point or minus typed as a separator becomes the "/".
    int cut = int(text.indexOf(QLatin1Char('.')));
    const int minus = int(text.indexOf(QLatin1Char('-')));
    if (cut < 0 || (minus >= 0 && minus < cut))
        cut = minus;
    if (cut >= 0)
        return {withTextAtEnd(text.left(cut) + QLatin1Char('/')), QString(), false};

    // Until the second "/" is typed the text after the last "/" is taken as the year, so the
    // month is first tested when the second "/" arrives.
    const int s1 = int(text.indexOf(QLatin1Char('/')));
    const int s2 = s1 >= 0 ? int(text.indexOf(QLatin1Char('/'), s1 + 1)) : -1;
    const QString day = s1 >= 0 ? text.left(s1) : QString();
    const QString month = s2 >= 0 ? text.mid(s1 + 1, s2 - s1 - 1) : QString();
    const QString year = s2 >= 0 ? text.mid(s2 + 1) : (s1 >= 0 ? text.mid(s1 + 1) : text);

    int dayValue = 0;
    if (!day.isEmpty()) {
        dayValue = partValue(day);
        if (dayValue < 1 || dayValue > 31)
            return selectFrom(in, 0, mensajeDia());
    }
    int monthValue = 0;
    if (!month.isEmpty()) {
        monthValue = partValue(month);
        if (monthValue < 1 || monthValue > 12)
            return selectFrom(in, s1, mensajeMes());
        if (dayValue > kDiasPorMes[monthValue - 1])
            return selectFrom(in, 0, mensajeDia());
    }
    const int yearStart = s2 >= 0 ? s2 : (s1 >= 0 ? s1 : 0);
    if (year.size() >= 5)
        return selectFrom(in, yearStart, mensajeAnio());
    if (year.size() == 4) {
        const int yearValue = partValue(year);
        if (yearValue < 1970 || yearValue > 2050)
            return selectFrom(in, yearStart, mensajeAnio());
        if (monthValue == 2 && dayValue > (yearValue % 4 == 0 ? 29 : 28))
            return selectFrom(in, 0, mensajeDia());
        // Only a whole date counts as complete: a lone year or day and year is not a date.
        CheckResult done = unchanged(in);
        done.complete = !day.isEmpty() && !month.isEmpty();
        return done;
    }
    return unchanged(in);
}

CheckResult check(schema::Checker checker, const InputState& in, QChar decimalSeparator)
{
    switch (checker) {
    case schema::Checker::Decimal:
        return validaDb(in, decimalSeparator);
    case schema::Checker::Whole:
        return validaEn(in);
    case schema::Checker::Year:
        return validaAnio(in);
    case schema::Checker::Date:
        return validaFe(in);
    case schema::Checker::None:
        break;
    }
    return unchanged(in);
}

SettledResult checkUntilStable(schema::Checker checker, const InputState& in, QChar decimalSeparator)
{
    SettledResult out;
    out.state = in;
    // Every repair shortens the text or leaves it the same length without the character that
    // caused it, so this settles within a few passes; the bound only guards against a slip.
    const int maxPasses = int(in.text.size()) + 4;
    for (int pass = 0; pass < maxPasses; ++pass) {
        const CheckResult r = check(checker, out.state, decimalSeparator);
        if (!r.message.isEmpty())
            out.messages << r.message;
        const bool same = r.state.text == out.state.text;
        out.state = r.state;
        out.complete = r.complete;
        if (same)
            break;
    }
    return out;
}

} // namespace validar
