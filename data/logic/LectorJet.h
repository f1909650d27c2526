#pragma once

#include "data/logic/Result.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

// Reading a Jet database (the .mdb files of the earlier Windows program) behind a small
// interface of our own, so that the conversion can be tested with a fake reader.
namespace jet {

// The column types of a Jet table, as the file declares them.
enum class TipoColumna
{
    SiNo,        // Yes/No
    Byte,        // whole number 0-255
    Entero,      // 16-bit whole number
    EnteroLargo, // 32-bit whole number
    Moneda,      // fixed point, four decimals
    Simple,      // single-precision real
    Doble,       // double-precision real
    FechaHora,   // date and time
    Binario,
    Texto,
    Ole,
    Memo,
    Replica, // GUID
    Decimal, // Jet 4 exact decimal
    Otro,
};

struct Columna
{
    QString nombre;
    TipoColumna tipo = TipoColumna::Texto;
};

struct Tabla
{
    QString nombre;
    QList<Columna> columnas;
    qint64 filas = 0; // the row count the file declares for the table
};

// A row holds one value per column, in column order:
//   Null                         invalid QVariant
//   SiNo                         bool
//   Byte, Entero, EnteroLargo    qlonglong
//   Simple                       double, the shortest decimal that reads back as the stored single
//   Moneda, Doble, Decimal       double
//   FechaHora                    double: the Jet value itself, days since 30 December 1899
//                                (the fraction is the time of day, counted from that day's start
//                                also for days before 1899-12-30)
//   Texto, Memo, Replica         QString
//   Binario, Ole                 QByteArray
using Fila = QVariantList;

class Lector
{
public:
    virtual ~Lector() = default;
    // "Jet 3", "Jet 4", ...: for the report.
    virtual QString formato() const = 0;
    // The user tables of the file, system tables left out.
    virtual const QList<Tabla>& tablas() const = 0;
    // Hands every row of the table to porFila in the file's order, one at a time; porFila
    // returns false to stop. A failure names the table and the reason in Spanish.
    virtual Status leer(const QString& tabla, const std::function<bool(const Fila&)>& porFila) = 0;
};

// True when the file starts as a Jet (or Access 2007+) database does, whatever its name.
bool esArchivoJet(const QString& ruta);

// Opens a Jet file with libmdb, read only. The message says in Spanish why it could not be read.
Result<std::unique_ptr<Lector>> abrir(const QString& ruta);

// The date of a Jet date value, and whether it carries a time of day. Values outside the
// range Jet itself accepts (years 100 to 9999) give an invalid date.
struct FechaJet
{
    int anio = 0, mes = 0, dia = 0;
    bool valida = false;
    bool conHora = false;
    int segundos = 0; // of the day, when conHora
};
FechaJet fechaDeValor(double valor);
// "YYYY-MM-DD", with the hour as " HH:MM:SS" when it has one; empty for an invalid value.
QString textoDeFecha(double valor, bool conHora);

// Text of a code page of the file or of an RTF memo (1252 for Western Europe) decoded to
// Unicode; an unknown code page is read as 1252.
QString decodificar(const QByteArray& bytes, int paginaCodigos);

} // namespace jet
