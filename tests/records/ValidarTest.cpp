#include "records/logic/Validar.h"

#include <QLocale>
#include <gtest/gtest.h>

using schema::Checker;
using validar::InputState;

namespace {

const QString kDia = QStringLiteral("Error en fecha (Dia)");
const QString kMes = QStringLiteral("Error en fecha (Mes)");
const QString kAnio = QStringLiteral("Error en fecha (Año)");
const QString kAnioLetras = QStringLiteral("Error en fecha (AÑO)");

QString u(const char* s)
{
    return QString::fromUtf8(s);
}

InputState at(const QString& text)
{
    return {text, int(text.size()), int(text.size()), 0};
}

struct Typed
{
    InputState state;
    QStringList messages;
    bool complete = false;
};

// Types keys one by one into a box the way the widget does: the key replaces the selection
// (or goes in at the cursor), then the checker settles the text.
Typed typeKeys(Checker checker, QChar separator, const QString& keys)
{
    Typed t;
    for (QChar key : keys) {
        InputState& s = t.state;
        if (s.selectionLength > 0) {
            s.text.remove(s.selectionStart, s.selectionLength);
            s.cursor = s.selectionStart;
        }
        s.text.insert(s.cursor, key);
        s.cursor += 1;
        s.selectionStart = s.cursor;
        s.selectionLength = 0;
        const validar::SettledResult r = validar::checkUntilStable(checker, s, separator);
        t.state = r.state;
        t.messages << r.messages;
        t.complete = r.complete;
    }
    return t;
}

struct KeyCase
{
    const char* name;
    Checker checker;
    char separator;
    const char* keys;
    const char* text;        // what the box shows at the end
    QStringList messages;    // every message, in order
    int selectionStart = -1; // checked when >= 0
    int selectionLength = 0;
};

} // namespace

TEST(Validar, TypedKeystrokeByKeystroke)
{
    const QList<KeyCase> cases = {
        // Decimal boxes: either key gives the locale's separator; a second one goes again.
        {"point becomes comma", Checker::Decimal, ',', "1.5", "1,5", {}},
        {"comma becomes point", Checker::Decimal, '.', "1,5", "1.5", {}},
        {"second comma removed", Checker::Decimal, ',', "1,5,", "1,5", {}},
        {"second point removed", Checker::Decimal, '.', "1.5.", "1.5", {}},
        {"second separator by the other key", Checker::Decimal, ',', "1,5.", "1,5", {}},
        {"lone minus stays", Checker::Decimal, ',', "-", "-", {}},
        {"negative number", Checker::Decimal, '.', "-3.25", "-3.25", {}},
        {"double minus", Checker::Decimal, '.', "--4", "-4", {}},
        {"minus after digits", Checker::Decimal, '.', "12-", "12", {}},
        {"plus refused", Checker::Decimal, '.', "+5", "5", {}},
        {"dollar refused", Checker::Decimal, ',', "5$", "5", {}},
        {"blank refused", Checker::Decimal, ',', "5 1", "51", {}},
        {"letter refused", Checker::Decimal, '.', "1e5", "15", {}},
        {"lone separator refused", Checker::Decimal, ',', ",5", "5", {}},
        // Whole numbers: no sign, the fraction goes with its separator.
        {"minus in a code box", Checker::Whole, ',', "-", "", {}},
        {"minus before digits", Checker::Whole, ',', "-42", "42", {}},
        {"comma cut at once", Checker::Whole, ',', "12,", "12", {}},
        {"point cut at once", Checker::Whole, '.', "12.", "12", {}},
        {"digits after the cut go on", Checker::Whole, ',', "12,7", "127", {}},
        {"letters refused", Checker::Whole, '.', "1x2", "12", {}},
        // Year of manufacture.
        {"year in range", Checker::Year, ',', "1940", "1940", {}},
        {"year at the top", Checker::Year, ',', "2050", "2050", {}},
        {"year below 1940", Checker::Year, ',', "1939", "1939", {kAnio}, 0, 4},
        {"year above 2050", Checker::Year, ',', "2051", "2051", {kAnio}, 0, 4},
        {"letters in the year", Checker::Year, ',', "19a", "19a", {kAnioLetras}, 0, 3},
        {"year fraction cut", Checker::Year, ',', "1999,", "1999", {}},
        {"short year not tested", Checker::Year, ',', "193", "193", {}},
        // Dates: day, month, four-digit year.
        {"day 31 in April", Checker::Date, ',', "31/4/", "31/4/", {kDia}, 0, 5},
        {"day 30 in February", Checker::Date, ',', "30/2/", "30/2/", {kDia}, 0, 5},
        {"29 February of a common year", Checker::Date, ',', "29/2/2023", "29/2/2023", {kDia}, 0, 9},
        {"29 February of a leap year", Checker::Date, ',', "29/2/2024", "29/2/2024", {}},
        {"28 February of a common year", Checker::Date, ',', "28/2/2023", "28/2/2023", {}},
        {"month 13", Checker::Date, ',', "1/13/", "1/13/", {kMes}, 1, 4},
        {"month 0", Checker::Date, ',', "10/0/", "10/0/", {kMes}, 2, 3},
        {"month not tested before the second slash", Checker::Date, ',', "1/13", "1/13", {}},
        {"year before 1970", Checker::Date, ',', "1/1/1969", "1/1/1969", {kAnio}, 3, 5},
        {"year after 2050", Checker::Date, ',', "1/1/2051", "1/1/2051", {kAnio}, 3, 5},
        {"five-digit year", Checker::Date, ',', "1/1/20245", "1/1/20245", {kAnio}, 3, 6},
        {"four digits alone are a year", Checker::Date, ',', "1969", "1969", {kAnio}, 0, 4},
        {"four digits alone in range", Checker::Date, ',', "1999", "1999", {}},
        {"day 32", Checker::Date, ',', "32/", "32/", {kDia}, 0, 3},
        {"day 0", Checker::Date, ',', "0/", "0/", {kDia}, 0, 2},
        {"letters as a day", Checker::Date, ',', "a/", "a/", {kDia}, 0, 2},
        {"points become slashes", Checker::Date, ',', "12.5.2024", "12/5/2024", {}},
        {"minus signs become slashes", Checker::Date, '.', "12-5-2024", "12/5/2024", {}},
        {"blank refused", Checker::Date, ',', "1 ", "1", {}},
        {"plus refused", Checker::Date, ',', "1+", "1", {}},
        // No checker: the text is left alone.
        {"unchecked box", Checker::None, ',', "a-1.5 $", "a-1.5 $", {}},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Typed t = typeKeys(c.checker, QLatin1Char(c.separator), u(c.keys));
        EXPECT_EQ(t.state.text, u(c.text));
        EXPECT_EQ(t.messages, c.messages);
        if (c.selectionStart >= 0) {
            EXPECT_EQ(t.state.selectionStart, c.selectionStart);
            EXPECT_EQ(t.state.selectionLength, c.selectionLength);
            EXPECT_EQ(t.state.cursor, c.selectionStart);
        } else {
            EXPECT_EQ(t.state.selectionLength, 0);
            EXPECT_EQ(t.state.cursor, t.state.text.size());
        }
    }
}

TEST(Validar, AWrongDateKeyIsReplacedByTheNextKey)
{
    // The faulty date is selected whole, so typing goes on with a fresh date.
    const Typed t = typeKeys(Checker::Date, QLatin1Char(','), QStringLiteral("31/4/3"));
    EXPECT_EQ(t.state.text, QStringLiteral("3"));
    EXPECT_EQ(t.messages, QStringList{kDia});
}

TEST(Validar, OnlyAWholeValidDateIsComplete)
{
    struct Case
    {
        const char* text;
        bool complete;
    };
    const Case cases[] = {
        {"05/12/2026", true}, {"29/2/2024", true},  {"31/12/2050", true}, {"1/1/1970", true},
        {"29/2/2023", false}, {"31/4/2024", false}, {"1/1/1969", false},  {"05/12/202", false},
        {"05/12/", false},    {"2024", false},      {"5/2024", false},    {"/5/2024", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(validar::validaFe(at(u(c.text))).complete, c.complete);
    }
}

TEST(Validar, OnePassRepairs)
{
    struct Case
    {
        const char* name;
        Checker checker;
        char separator;
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"pasted fraction cut in a whole box", Checker::Whole, ',', "12,7", "12"},
        {"pasted fraction cut by a point", Checker::Whole, ',', "12.7", "12"},
        {"pasted fraction cut in the year", Checker::Year, ',', "1999.5", "1999"},
        {"two separators: only the last character goes", Checker::Decimal, ',', "1,5,5", "1,5,"},
        {"date separator cut keeps what came before", Checker::Date, ',', "12.05.2024", "12/"},
        {"earliest of point and minus", Checker::Date, ',', "1-2.3", "1/"},
        {"number pasted with a point", Checker::Decimal, ',', "2.75", "2,75"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = validar::check(c.checker, at(u(c.in)), QLatin1Char(c.separator));
        EXPECT_EQ(r.state.text, u(c.out));
        EXPECT_EQ(r.state.cursor, r.state.text.size());
        EXPECT_TRUE(r.message.isEmpty());
    }
}

TEST(Validar, PastedTextSettlesToTheValidPart)
{
    const auto r = validar::checkUntilStable(Checker::Decimal, at(QStringLiteral("1,5,x")), QLatin1Char(','));
    EXPECT_EQ(r.state.text, QStringLiteral("1,5"));
    const auto letters =
        validar::checkUntilStable(Checker::Whole, at(QStringLiteral("abc")), QLatin1Char(','));
    EXPECT_EQ(letters.state.text, QString());
}

TEST(Validar, AnEmptyBoxIsNeverTested)
{
    const InputState empty;
    for (Checker c : {Checker::Decimal, Checker::Whole, Checker::Year, Checker::Date}) {
        const auto r = validar::check(c, empty, QLatin1Char(','));
        EXPECT_EQ(r.state, empty);
        EXPECT_TRUE(r.message.isEmpty());
    }
}

TEST(Validar, AValidTextKeepsCursorAndSelection)
{
    // Typing in the middle of a good number must not move the cursor.
    const InputState mid{QStringLiteral("12,5"), 1, 1, 0};
    EXPECT_EQ(validar::validaDb(mid, QLatin1Char(',')).state, mid);
    const InputState selected{QStringLiteral("2024"), 4, 1, 3};
    EXPECT_EQ(validar::validaAnio(selected).state, selected);
}

TEST(Validar, TieneLetraCounts)
{
    EXPECT_EQ(validar::TieneLetra(QStringLiteral("1,5,"), QStringLiteral(",")), 2);
    EXPECT_EQ(validar::TieneLetra(QStringLiteral("1,5"), QStringLiteral(".")), 0);
    EXPECT_EQ(validar::TieneLetra(QStringLiteral("/1/2/"), QStringLiteral("/")), 3);
    EXPECT_EQ(validar::TieneLetra(u("AÑOÑ"), u("Ñ")), 2);
    EXPECT_EQ(validar::TieneLetra(QString(), QStringLiteral(",")), 0);
    EXPECT_EQ(validar::TieneLetra(QStringLiteral("abc"), QString()), 0);
}

TEST(Validar, SystemSeparatorIsTheSystemLocales)
{
    const QLocale before;
    // The default locale is the program's choice; the checkers follow the system's.
    QLocale::setDefault(QLocale(QLocale::German));
    const QChar system = QLocale::system().decimalPoint().at(0);
    const QChar read = validar::systemDecimalSeparator();
    QLocale::setDefault(before);
    EXPECT_EQ(read, system);
}
