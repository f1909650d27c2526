#pragma once

#include "data/logic/Schema.h"

#include <QChar>
#include <QString>
#include <QStringList>

// Keystroke checkers of the input boxes. Each one looks at a box's text, cursor and
// selection right after a change and returns what the box must show next, with the message
// to show (empty when none). They never touch a widget, so every rule is testable alone.
namespace validar {

// What an input box holds. The selection runs from selectionStart for selectionLength
// characters; cursor is at one of its ends (or anywhere when nothing is selected).
struct InputState
{
    QString text;
    int cursor = 0;
    int selectionStart = 0;
    int selectionLength = 0;

    bool operator==(const InputState& o) const
    {
        return text == o.text && cursor == o.cursor && selectionStart == o.selectionStart &&
               selectionLength == o.selectionLength;
    }
};

struct CheckResult
{
    InputState state;
    QString message;       // empty when nothing is to be shown
    bool complete = false; // validaFe only: a whole valid day/month/four-digit year
};

// The decimal separator of the system locale, read anew on every call so that a change of
// the regional settings takes effect at once.
QChar systemDecimalSeparator();

// Decimal number: repairs a second separator, signs, blanks and letters by dropping the last
// character (a lone "-" is the start of a negative number and stays); the other separator
// key is turned into the locale's one.
CheckResult validaDb(const InputState& in, QChar decimalSeparator);
// Whole number without sign: a fraction is cut off.
CheckResult validaEn(const InputState& in);
// Year of manufacture (validaAño): 1940 to 2050 once four digits are in.
CheckResult validaAnio(const InputState& in);
// Date typed as day "/" month "/" four-digit year, checked part by part while typed.
CheckResult validaFe(const InputState& in);
// How many times the one-character text letra occurs in texto (0 for an empty letra).
int TieneLetra(const QString& texto, const QString& letra);

// One pass of the checker the schema assigns to a box (Checker::None leaves it alone).
CheckResult check(schema::Checker checker, const InputState& in, QChar decimalSeparator);

struct SettledResult
{
    InputState state;
    QStringList messages; // in the order shown
    bool complete = false;
};

// Applies the checker again after each repair until the text stops changing, as a box does
// when its own rewrite counts as a new change: a pasted "1,5,x" ends as "1,5".
SettledResult checkUntilStable(schema::Checker checker, const InputState& in, QChar decimalSeparator);

} // namespace validar
