#pragma once

#include "data/logic/Result.h"

#include <QDateTime>
#include <QImage>
#include <QString>
#include <functional>

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

// Page `pagina` (from 1) of the report as a picture at `dpi`, footed "Página n de total" ("de …"
// while total is 0). The walk stops once the page is painted: the first page of any report
// comes at once, and nothing but that page is kept.
Result<QImage> pintarPagina(const InformePreparado& informe, int pagina, int total, const QDateTime& impreso,
                            double dpi);
// The pages of the report laid out at `dpi`. A count past `hasta` (> 0) stops there and answers
// hasta + 1; `seguir` is asked every few rows (the preview keeps its window alive) and stops the
// count with a failure when it answers false.
Result<int> contarPaginas(const InformePreparado& informe, const QDateTime& impreso, double dpi,
                          int hasta = 0, const std::function<bool()>& seguir = {});

// The report as a PDF file, written under a temporary name and put in place when complete.
Status exportarPdf(const InformePreparado& informe, const QString& ruta, const QDateTime& impreso);

} // namespace informe
