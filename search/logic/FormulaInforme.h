#pragma once

#include "data/logic/Result.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>
#include <vector>

// The selection formulas that reports receive: "1=1", "({Trafoge.CÓDIGO}=5) or
// ({Trafoge.CÓDIGO}=12)", "{Ensayos.fecha}>=DATE(2003,05,20)" and in general field references
// {Tabla.campo}, numbers, 'texts', DATE(y,m,d), the comparisons = <> < > <= >=, and, or, not and
// parentheses. Names are matched against the schema without regard to case or accents' case.
namespace informe {

// A field the formula or a report names, with the schema's exact spelling.
struct CampoRef
{
    QString tabla;
    QString campo;
    bool operator==(const CampoRef&) const = default;
};

class Formula
{
public:
    struct Operando
    {
        enum class Tipo
        {
            Campo,
            Numero,
            Texto,
            Fecha, // ISO text "yyyy-MM-dd", as dates are stored
        };
        Tipo tipo = Tipo::Numero;
        CampoRef campo;
        QVariant valor;
    };
    struct Nodo
    {
        enum class Tipo
        {
            Comparacion,
            Y,
            O,
            No,
        };
        Tipo tipo = Tipo::Comparacion;
        QString operador; // of a comparison: = <> < > <= >=
        Operando izquierda, derecha;
        std::vector<Nodo> hijos;
    };

    // An empty or blank text selects every row, as "1=1" does. A text that does not parse, or
    // names an unknown table or field, is refused with a Spanish message that quotes it.
    static Result<Formula> analizar(const QString& texto);

    // The formula as an SQLite condition with its literals as parameters. Fields of a table in
    // `tablasFuente` are read from the row; a comparison on another table holds when some row of
    // that table for the same transformer satisfies it (`codigoFila` is the row's code column,
    // already quoted).
    struct Sql
    {
        QString texto;
        QVariantList parametros;
        int subconsultas = 0;
    };
    Sql sql(const QStringList& tablasFuente, const QString& codigoFila) const;

    // The tables the formula names, once each, in order of appearance.
    QStringList tablas() const;
    bool todo() const { return !m_raiz; } // empty: every row
    const QString& texto() const { return m_texto; }

private:
    QString m_texto;
    std::shared_ptr<const Nodo> m_raiz;
};

// "{Trafoge.CÓDIGO}", "{ensayos.fecha}": the field with its schema names, or a message.
Result<CampoRef> resolverCampo(const QString& tabla, const QString& campo);

} // namespace informe
