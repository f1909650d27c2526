#pragma once

#include "data/logic/Database.h"
#include "data/logic/Result.h"
#include "search/logic/DefinicionInforme.h"
#include "search/logic/FormulaInforme.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>

struct RunState;

// The report engine without its painting: the definition read from its file, the data file
// opened read-only (and every statement under the read-only authorizer), the two selection
// formulas checked, and the rows streamed by a query with bound parameters.
namespace informe {

// Text of a computed value ({=Dornenburg}, ...) from the values of one row of the band's
// table, keyed by field name.
using Calculador = std::function<QString(const QString& nombre, const QVariantMap& fila)>;

// One query over the fields of some tables, in schema order, walked row by row.
class Consulta
{
public:
    static Result<Consulta> preparar(const Database& db, const QStringList& tablas, const QString& desde,
                                     const QString& donde, const QString& orden,
                                     const QVariantList& parametros);
    Status volverACorrer(const QVariantList& parametros);
    Result<bool> siguiente() { return m_sentencia.step(); }
    QVariant valor(const CampoRef& campo) const;
    QVariantMap fila(const QString& tabla) const;

private:
    Statement m_sentencia;
    QStringList m_tablas;
    QList<int> m_inicio; // first column of each table
};

// A report ready to walk: what the painting reads.
class InformePreparado
{
public:
    const Definicion& definicion() const { return m_definicion; }
    const QString& nombre() const { return m_nombre; }
    // The rows of the report that pass both formulas, in the report's order.
    Result<Consulta> filas() const;
    // The rows of section `i` for a transformer: all in date order, or the newest one.
    Result<Consulta> filasSeccion(int i, qint64 codigo) const;
    Status volverACorrerSeccion(Consulta& consulta, qint64 codigo) const;
    QString calcular(const QString& nombre, const QVariantMap& fila) const;
    // The formulas as the footer shows them; empty when nothing is selected.
    QString seleccion() const;

private:
    friend class MotorInforme;
    QString m_nombre;
    Definicion m_definicion;
    std::shared_ptr<Database> m_db;
    Formula m_formula, m_segunda;
    Calculador m_calculador;
};

// The engine as the program drives it: the report file, the data file of each of the four
// tables, the two formulas, then imprimir(), which answers 0 or an error number and leaves the
// message in ultimoError().
class MotorInforme
{
public:
    using Salida = std::function<Status(const InformePreparado&)>;

    void ponerArchivoInforme(const QString& ruta) { m_archivo = ruta; }
    void ponerArchivoDatos(int tabla, const QString& ruta);
    void ponerFormula(const QString& formula) { m_formula = formula; }
    void ponerSegundaFormula(const QString& formula) { m_segunda = formula; }
    void ponerCalculador(Calculador c) { m_calculador = std::move(c); }
    const QString& formula() const { return m_formula; }
    const QString& segundaFormula() const { return m_segunda; }

    // Everything the report needs, checked: a missing or unreadable file, a definition or a
    // formula that does not read, or a data file that does not open is a Spanish message.
    Result<InformePreparado> preparar() const;
    // Prepares the report and hands it to the output (the preview, a printer, a PDF file).
    int imprimir(const Salida& salida);
    const QString& ultimoError() const { return m_error; }

private:
    QString m_archivo;
    QStringList m_datos{QString(), QString(), QString(), QString()};
    QString m_formula, m_segunda;
    Calculador m_calculador;
    QString m_error;
};

// The folder holding the report definitions: the program's own, or the shared data folder of
// an installed tree (bin/../share/quorvela).
QString carpetaInformes(const QString& rutaPrograma);

// "trafos2" or "trafos2.rpt" as the file name of a report.
QString nombreArchivo(const QString& nombre);

// Which selection a report's button hands over besides the transformer formula.
enum class SegundaFormula
{
    Ninguna,
    Revision,
    Ensayos,
    Mantenimiento,
};

// Prints one report as every report button does: the file from the reports' folder, the four
// tables on the open data file, FormulaTrafo and the second formula from the run state, then
// the formulas reset. Answers the engine's result and its message on failure.
int imprimirInforme(MotorInforme& motor, const RunState& estado, const QString& archivo,
                    SegundaFormula segunda, const MotorInforme::Salida& salida);

} // namespace informe
