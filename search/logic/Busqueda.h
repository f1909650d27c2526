#pragma once

#include "data/logic/Result.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>
#include <vector>

class Database;

// The search over the four tables: the condition list of the BUSCAR tab turned into the
// transformers it selects, the formulas a sub-group leaves for the reports, and the selection
// of dated rows by a calendar date.
namespace busqueda {

// The tables a condition line may name, in the order of the table chooser.
const QStringList& nombresTablas();

// The captions of the table chooser ("Trafos", "Revision", "Ensayos", "Manten" and a blank).
const QStringList& titulosTablas();
// The fields of table 0 to 3, in the table's order.
QStringList camposDe(int tabla);

// The choices of the query builder for one line; the texts as the boxes hold them.
struct EleccionLinea
{
    int tabla = -1; // 0 to 3; anything else is no table
    QString campo, comparacion, valor, conector;
    bool abre = false, cierra = false;
};
// The line AGREGAR adds to a list that is empty (`primera`) or not, or the message that refuses
// it. The value is written as the field's kind needs it: text and memo between apostrophes
// (an apostrophe inside doubled), a date as #mm/dd/yyyy#, a decimal comma as a point, a yes/no
// as True or False.
Result<QString> componerLinea(const EleccionLinea& eleccion, bool primera);
QString mensajeCondicionIncompleta(bool primera); // "Debe formar una condicion [completa ]para agregar"
// The value list's source: "SELECT DISTINCT [TIPO AISLANTE]  FROM Trafoge order by [TIPO AISLANTE] asc".
QString fuenteValores(int tabla, const QString& campo);

// The WHERE clause of the condition list: every line followed by one blank.
QString clausula(const QStringList& lineas);

// The message of a list the search cannot run.
QString mensajeErrorBusqueda(); // "La Busqueda Generó Error o no fué bien construida"

// A condition list read and checked: each line's comparison is one table's field against one
// literal value (text between apostrophes with doubled apostrophes inside, a number with a
// point, a date between #, True or False), joined by And, Or, Xor, Not and parentheses. A bare
// date, a value of another form or an unknown table or field is refused.
class Condicion
{
public:
    // One comparison of a line, translated for the engine, and the table it reads.
    struct Comparacion
    {
        QString tabla; // schema name
        QString sql;   // the comparison, its value as a parameter
        QVariantList parametros;
    };
    struct Nodo
    {
        enum class Tipo
        {
            Comparacion,
            Y,
            O,
            Xo,
            No,
        };
        Tipo tipo = Tipo::Comparacion;
        int comparacion = 0; // index into comparaciones() for a comparison
        std::vector<Nodo> hijos;
    };

    static Result<Condicion> analizar(const QStringList& lineas);

    // The transformers' codes, ascending, for which some row of the four-table join
    // (transformers left-joined with their tests, inspections and maintenance) satisfies the
    // condition. Computed per table, without building the join: each table's rows of a
    // transformer give the truth values of that table's comparisons, and a transformer matches
    // when one choice of a row per table makes the whole condition true. A transformer without
    // rows in a table takes that table's comparisons on an empty row, as the join does.
    Result<QList<qint64>> codigos(const Database& db) const;

    const QList<Comparacion>& comparaciones() const { return m_comparaciones; }
    const Nodo& raiz() const { return m_raiz; }

private:
    QList<Comparacion> m_comparaciones;
    Nodo m_raiz;
};

// Codes matching the list, ascending; an empty list is refused with the search's message.
Result<QList<qint64>> buscar(const Database& db, const QStringList& lineas);

// What a sub-group writes for the reports, from its codes (ascending):
// "(Código =5)or(Código=12)or(Código=17)" and
// "({Trafoge.CÓDIGO}=5) or ({Trafoge.CÓDIGO}=12) or ({Trafoge.CÓDIGO}=17)".
QString filtroCodigos(const QList<qint64>& codigos);
QString formulaTrafo(const QList<qint64>& codigos);

// "5,12,17": codes for an In list. They are numbers written by the program, never the user's text.
QString listaCodigos(const QList<qint64>& codigos);

// The comparisons of the selection by date.
bool operadorFechaValido(const QString& operador);
// "{Ensayos.fecha}>=DATE(2003,05,20)" for table "Ensayos".
QString formulaFecha(const QString& tabla, const QString& operador, const QDate& fecha);
// "#05/20/2003#": a date as the engine's literal, with its four-digit year.
QString literalFecha(const QDate& fecha);

struct SeleccionFecha
{
    // [code, date] of the rows selected, in the views' order (code ascending, newest first).
    QList<QPair<qint64, QDate>> revision, ensayos, mantenimiento;
    QList<qint64> codigos; // every code named above, ascending, once
    QString formulaRevision, formulaEnsayos, formulaMantenimiento;

    bool vacia() const { return revision.isEmpty() && ensayos.isEmpty() && mantenimiento.isEmpty(); }
};

// The dated rows whose date stands in `operador` to `fecha`, within `subgrupo` when given.
Result<SeleccionFecha> seleccionarPorFecha(const Database& db, const QString& operador, const QDate& fecha,
                                           const std::optional<QList<qint64>>& subgrupo);

} // namespace busqueda
