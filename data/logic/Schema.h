#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The one description of the data file: every table and field with its exact name, kind,
// caption, value list and input checker. File creation, forms, checkers, importer and
// reports all read it; no other place lists fields.
namespace schema {

enum class FieldKind
{
    Text,     // free text of an input box
    Memo,     // long text (rich text where edited in a rich-text box)
    Integer,  // whole number
    Number,   // decimal value read as a double
    Date,     // date without time, stored YYYY-MM-DD
    YesNo,    // Boolean bound to a check box, stored 0/1
    ListText, // text chosen from a fixed list; other values may be typed
};

// Keystroke checkers of the input boxes.
enum class Checker
{
    None,
    Decimal, // validaDb
    Whole,   // validaEn
    Year,    // validaAño
    Date,    // validaFe
};

struct Field
{
    QString name; // exact name in the file: blanks, accents, capitals, punctuation
    FieldKind kind = FieldKind::Text;
    QString caption;    // caption on screen, empty when the field has none of its own
    QStringList values; // value list of a list field
    Checker checker = Checker::None;
    QString group;          // screen group ("GENERAL/CUBA"), empty for identity fields
    bool tableOnly = false; // stored and shown only in the table view
    QString tip;            // tool tip, when the form gives one
    bool richText = false;  // a memo the user edits as rich text, with the formatting buttons
    QString unit;           // unit shown after the box ("V"), empty for none

    // The SQL type used when a new data file is created.
    QString sqlType() const;
};

struct Table
{
    QString name; // exact table name
    QList<Field> fields;
    QString codeField; // name of the transformer code field in this table
    QString dateField; // name of the date field, empty for Trafoge
    bool codeUnique = false;

    // Field by name without regard to case (accented capitals included), or nullptr.
    const Field* field(const QString& name) const;
    int fieldIndex(const QString& name) const;
    QStringList fieldNames() const;
};

// The four tables in their fixed order: Trafoge, Revision, Ensayos, Mantenimiento.
const QList<Table>& tables();
// Table by name without regard to case ("trafoge", "ensayos"), or nullptr.
const Table* table(const QString& name);
const Table& trafoge();
const Table& revision();
const Table& ensayos();
const Table& mantenimiento();

// Unicode-aware case-insensitive comparison of identifiers: "Código", "CÓDIGO" and
// "código" are one name; a double blank is not a single blank.
bool sameName(const QString& a, const QString& b);

// Statements that create a new empty data file (tables and indexes).
QStringList createStatements();

// Marks a Quorvela data file (PRAGMA application_id): "QRVL".
constexpr int kApplicationId = 0x5152564C;

// Quotes an identifier for SQLite: "name" with inner quotes doubled.
QString quoteIdentifier(const QString& name);

} // namespace schema
