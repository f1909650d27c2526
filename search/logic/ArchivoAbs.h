#pragma once

#include "data/logic/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Saved search files (.abs): one condition line per text line, each ended by CR LF, in the
// Windows-1252 code page so that files go both ways with the earlier program. A line with a
// character that code page cannot hold makes the whole file UTF-8 with a byte-order mark;
// reading accepts both.
namespace busqueda::abs {

QByteArray codificar(const QStringList& lineas);
QStringList decodificar(const QByteArray& contenido);

// Writes through a temporary file: a failed save leaves the old file whole.
Status guardar(const QString& ruta, const QStringList& lineas);
Result<QStringList> cargar(const QString& ruta);

QString mensajeErrorGuardar(); // "Error al Guardar Archivo"
QString mensajeErrorAbrir();   // "Error al Abrir Archivo"

} // namespace busqueda::abs
