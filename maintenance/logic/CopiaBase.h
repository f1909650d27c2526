#pragma once

#include "data/logic/Result.h"

#include <QString>

// Copies of the data file made by the engine itself (its backup API), never byte copies of a
// file that may be open, and the checks a file must pass before it takes another's place.
namespace copia {

enum class Comprobacion
{
    Rapida,  // quick_check: enough for a copy just made from a file in use
    Completa // integrity_check: for a file that comes from outside or replaces the data file
};

// The file opens as a data file of the program (its tables and fields, no triggers) and the
// engine's check of its pages and indexes finds nothing. Opened read only: nothing is written.
Status comprobar(const QString& ruta, Comprobacion como = Comprobacion::Completa);

// Copies the data file origen to destino: through a temporary name in destino's folder, synced
// and checked before it is renamed over destino. A failure leaves destino as it was.
Status copiarBase(const QString& origen, const QString& destino);
// The same up to the rename: the synced and checked copy under its temporary name beside
// destino, for the caller to rename (or remove).
Result<QString> copiaComprobada(const QString& origen, const QString& destino);

} // namespace copia
