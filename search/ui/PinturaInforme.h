#pragma once

#include "data/logic/Result.h"

#include <QDateTime>
#include <QString>

class QPagedPaintDevice;
class QPrinter;

namespace informe {

class InformePreparado;

// Puts the report's page size and orientation (A4, upright or landscape) on the device.
void prepararPagina(const InformePreparado& informe, QPagedPaintDevice& dispositivo);

// Paints the whole report on a paged device (a printer, the preview's printer, a PDF writer).
// The rows are walked twice, streamed from their query: once to count the pages for
// "Página N de M", once to paint; no page and no row set is kept in memory.
Status pintar(const InformePreparado& informe, QPagedPaintDevice& dispositivo, const QDateTime& impreso);

// The report as a PDF file, written under a temporary name and put in place when complete.
Status exportarPdf(const InformePreparado& informe, const QString& ruta, const QDateTime& impreso);

} // namespace informe
