#pragma once

#include "data/logic/Result.h"

#include <QString>

// Compressed backups: a ZIP archive holding the data file under its own name. Restores read
// ZIP and RAR archives that hold exactly one data file.
namespace comprimido {

// Writes a ZIP archive at destino holding baseSana (a checked copy of the data file) as
// "trafos.mdb", through a temporary name; the archive is read back whole before it is renamed
// over destino.
Status comprimir(const QString& baseSana, const QString& destino);

// Extracts the one ".mdb" member of the archive, without its folder, into a new temporary
// file of carpeta, and returns its name. An archive without such a member, with more than one,
// damaged, or protected by a password is refused and leaves nothing behind.
Result<QString> extraerBase(const QString& archivo, const QString& carpeta);

} // namespace comprimido
