#pragma once

#include "data/logic/Result.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

// The operations that copy, replace or rewrite the data file. Each one either completes or
// leaves every file it touches as it was: new versions are written under temporary names,
// synced and checked before they are renamed into place, and the data file itself is only ever
// replaced by such a rename. Callers close every use of the data file first (restore,
// compaction) and save pending edits; nothing here talks to the user.
namespace mantenimiento {

// The folder of the automatic copies: the user's data folder of the program + "/AutoBack"
// (the program's own folder cannot be written once installed).
QString carpetaCopiasAutomaticas();

struct CopiaAutomatica
{
    QString copia;       // the day's copy, complete
    QStringList podadas; // the old copies deleted
    QString errorPoda;   // a copy that could not be deleted (the copy itself is good)
};
// The day's automatic copy of datos into carpeta (created when missing), then the pruning of
// the copies more than seven days old. A data file that fails its check leaves the day's copy
// as it was, and nothing is pruned: the old copies may be the last good ones.
Result<CopiaAutomatica> copiaAutomatica(const QString& datos, const QString& carpeta, const QDate& hoy);

// The text of the question when a backup's file exists.
QString mensajeYaExiste();
// A backup of datos into the folder carpeta, "T-ddmmyy.mdb" or, compressed, "T-ddmmyy.zip".
// An existing file is replaced only when reemplazar is set, and only once the new one is
// complete. Returns the backup's path.
Result<QString> respaldar(const QString& datos, const QString& carpeta, const QDate& hoy, bool comprimir,
                          bool reemplazar);

struct Restauracion
{
    QString copiaPrevia; // the data file as it was before, empty when there was none
};
// Replaces the data file datos by the one in elegido (a copy, or the one ".mdb" member of a
// ".zip" or ".rar" archive). The candidate must pass the engine's integrity check and match the
// data model; only then is a checked copy of it made beside the data file, the current data file
// kept in carpetaCopias as the safety copy "PreRestauracion-ddmmyy-hhmmss.mdb", and the copy
// renamed over the data file. A failure at any step leaves the data file as it was and says why.
Result<Restauracion> restaurar(const QString& elegido, const QString& datos, const QString& carpetaCopias,
                               const QDateTime& ahora);
// The restore refuses the data file itself.
QString mensajeMismoArchivo();

// Compacts datos: a stale "temporal.mdb" of its folder is removed, the engine writes the
// compacted file there, it is checked and renamed over datos. A failure leaves datos in place.
Status compactar(const QString& datos);

// The data file opens as one of the program, matches the data model and passes the engine's
// integrity check. Nothing is written.
Status verificar(const QString& datos);

} // namespace mantenimiento
