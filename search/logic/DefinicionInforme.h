#pragma once

#include "data/logic/Result.h"
#include "search/logic/FormulaInforme.h"

#include <QList>
#include <QString>
#include <QStringList>

// A report definition (.rpt): a plain UTF-8 text of sections and "clave = valor" lines, one
// report per file, written to be read and compared by a person:
//
//   # comment
//   [informe]                      title, page and the rows the report walks
//   titulo = Ensayos de aceite
//   orientacion = apaisada          (or vertical)
//   tabla = Ensayos                 rows of this table; a dated table brings its transformer
//   orden = {Ensayos.Código}, {Ensayos.Fecha} desc
//   agrupar = si                    a header (and a count) for each transformer
//   saltoPorGrupo = si              each transformer starts a new page
//   letra = 7                       points of the rows' text (8 if omitted)
//   total = Ensayos impresos        a count of the rows at the end
//   totalGrupo = Ensayos            a count of the rows after each transformer
//   [grupo]
//   linea = Transformador {Trafoge.CÓDIGO} · {Trafoge.DENOMINACIÓN}
//   [detalle]                      what each row prints: columns...
//   columna = Fecha | {Ensayos.Fecha} | 20 | centro | fecha
//   [seccion]                      ...or, per row, rows of another table of the same transformer
//   titulo = Última revisión
//   tabla = Revision
//   filas = ultima                  (or todas)
//   campo = Limpieza | {Revision.LIMPIEZA}     label and value, side by side
//   texto = Observaciones | {Revision.OBS GENERALES}  a long text across the page
//   campos = Revision               every field of the table with its caption
//
// A column is "Título | valor | ancho en mm | izquierda/centro/derecha | formato"; formats are
// texto, entero, decimal, fecha, sino, lampara (the state as a coloured lamp and its word) and
// estado (the word only); without one the field's kind decides. A value is a field {Tabla.campo}
// or a computed value {=Nombre} (see valoresCalculados()).
namespace informe {

enum class Formato
{
    Auto,
    Texto,
    Entero,
    Decimal,
    Fecha,
    SiNo,
    Lampara,
    Estado,
};

enum class Alineacion
{
    Izquierda,
    Centro,
    Derecha,
};

struct Valor
{
    CampoRef campo;
    QString calculado; // name of a computed value; empty for a field
    bool esCalculado() const { return !calculado.isEmpty(); }
};

struct Columna
{
    QString titulo;
    Valor valor;
    double ancho = 20; // mm
    Alineacion alineacion = Alineacion::Izquierda;
    Formato formato = Formato::Auto;
};

struct Elemento
{
    bool ancho = false;       // a long text across the page, under its title
    bool omitirVacio = false; // a field of the table view only, left out while empty
    QString titulo;
    Valor valor;
    Formato formato = Formato::Auto;
};

// Literal texts and values in turn: "Transformador {Trafoge.CÓDIGO}".
struct Plantilla
{
    QStringList textos; // one more than valores
    QList<Valor> valores;
};

struct Orden
{
    CampoRef campo;
    bool descendente = false;
};

struct Banda
{
    QString titulo;
    QString tabla; // schema name
    bool soloUltima = false;
    QList<Orden> orden;
    QList<Columna> columnas; // a table of rows when given
    QList<Elemento> ficha;   // otherwise label/value pairs and long texts
    int columnasFicha = 2;
};

struct Definicion
{
    QString titulo;
    bool apaisada = false;
    bool agrupar = false;
    bool saltoPorGrupo = false;
    double letra = 8; // points of the rows' text
    QString total, totalGrupo;
    QList<Plantilla> lineasGrupo;
    Banda detalle;          // the rows the report walks
    QList<Banda> secciones; // per row, rows of other tables of the same transformer

    // Tables whose fields the walked rows carry: the detail's table, and Trafoge for a dated one.
    QStringList tablasFilas() const;
};

// The computed values a report may name ({=Dornenburg}, ...): the gas methods and Duval's zones
// of a test row, supplied by whoever composes the program, and {=Trabajos}, the captions of the
// works ticked in a maintenance row, which the engine computes itself.
const QStringList& valoresCalculados();

// Reads a definition; `nombre` names the file in the messages.
Result<Definicion> leerDefinicion(const QString& texto, const QString& nombre);

} // namespace informe
