#pragma once

#include "data/logic/LectorJet.h"
#include "data/logic/Result.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// Turns a Jet trafos.mdb of the earlier program into a Quorvela data file, driven by the
// schema: tables and fields found by name without regard to case, values converted to the
// file's conventions, RTF memos to rich text. Nothing is lost: a field the file lacks is
// Null, a column or table the data model lacks is listed, a row the new file cannot hold
// goes to a CSV file, and the counts are checked at the end.
namespace importacion {

// Names of what a conversion leaves in the data folder.
inline QString nombreInforme()
{
    return QStringLiteral("importacion.txt");
}
inline QString nombreApartadas()
{
    return QStringLiteral("importacion-apartadas.csv");
}
inline QString nombreOriginal()
{
    return QStringLiteral("trafos-jet.mdb");
}

struct ConteoTabla
{
    QString tabla;         // the data model's name
    QString enOrigen;      // the name in the Jet file; empty when the file lacks the table
    qint64 declaradas = 0; // rows the Jet file declares
    qint64 leidas = 0;
    qint64 importadas = 0;
    qint64 apartadas = 0;
};

struct Informe
{
    QString origen;            // the Jet file as the user named it
    QString formato;           // "Jet 3", "Jet 4"
    QString destino;           // the new data file
    QString original;          // where the original is kept after a conversion in place
    QList<ConteoTabla> tablas; // the four, in the data model's order
    QStringList tablasSobrantes;
    QStringList columnasSobrantes;
    QStringList camposFaltantes;
    QStringList filasApartadas;   // why each row set aside was set aside
    QStringList valoresVacios;    // values that could not be converted: the field was left empty
    QStringList horasDescartadas; // dates that carried a time of day
    QString archivoApartadas;     // the CSV, when any row was set aside

    qint64 totalApartadas() const;
    // True when the file had none of the data model's tables: the new file is empty.
    bool sinTablas() const;
    // The warning the report and the summary give then; empty otherwise.
    QString aviso() const;
    // The report as importacion.txt holds it.
    QString texto() const;
    // A few lines for a message box: counts and where the report is.
    QString resumen(const QString& rutaInforme) const;
};

// Called now and then with the table being read and the rows done of its declared count.
using Progreso = std::function<void(const QString& tabla, qint64 hechas, qint64 total)>;
// Opens the Jet file; the program passes jet::abrir, tests a fake.
using Abridor = std::function<Result<std::unique_ptr<jet::Lector>>(const QString& ruta)>;

// Converts every table the reader has into a new data file at destino, which must not exist;
// rows set aside go to rutaApartadas (written only when there are any). The new file is
// complete and its counts checked when this returns successfully; on failure it is removed.
Result<Informe> convertir(jet::Lector& lector, const QString& destino, const QString& rutaApartadas,
                          const Progreso& progreso = {});

// quorvela-cli importar: origen into carpeta/trafos.mdb (refused when one exists), through a
// temporary file renamed into place only when complete, with the report and the CSV beside it.
Result<Informe> importarEnCarpeta(const QString& origen, const QString& carpeta,
                                  const Progreso& progreso = {}, const Abridor& abridor = jet::abrir);

// Start-up: the Jet trafos.mdb of carpeta becomes a Quorvela file of the same name; the
// original, never modified, keeps its content as trafos-jet.mdb beside it. At every moment
// trafos.mdb is either the original or the complete new file.
Result<Informe> convertirEnSuSitio(const QString& carpeta, const Progreso& progreso = {},
                                   const Abridor& abridor = jet::abrir);

} // namespace importacion
