#pragma once

#include "data/logic/Result.h"

#include <QString>

// Files replaced only whole: a new version is written under a temporary name in the target's
// folder, synced, and renamed over the target, and the folder is synced so that the rename
// itself survives a power cut. The temporary names are hidden and end in ".tmp", so that no
// list of copies ever takes one for a copy.
namespace archivo {

// Creates an empty file for a new version of destino (owner-only permissions) and returns its
// name: "." + the target's name + "-XXXXXX.tmp" in the target's folder.
Result<QString> crearTemporal(const QString& destino);
// Whether a name is one of those temporary files.
bool esTemporal(const QString& nombre);

// Writes a file's data and its size to the disk.
Status sincronizar(const QString& ruta);
Status sincronizarCarpeta(const QString& carpeta);

// Renames temporal over destino in one step and syncs their folder.
Status reemplazar(const QString& temporal, const QString& destino);
// Gives an existing file a second name on the same disk (fails across disks).
Status enlazar(const QString& existente, const QString& nuevo);
// Gives destino the permission bits of origen.
Status copiarPermisos(const QString& origen, const QString& destino);
// Removes a file, succeeding when it is already absent.
Status quitar(const QString& ruta);

// Byte copy for a file nobody has open, through a temporary name.
Status copiarBytes(const QString& origen, const QString& destino);

// Spanish words for a system error number ("el disco está lleno", ...).
QString describirError(int numero);

} // namespace archivo
