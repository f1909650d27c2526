#pragma once

#include "data/logic/Result.h"
#include "graphs/logic/Graficos.h"

#include <optional>

class RecordView;

// Reads what a graph draws from the main window's views without moving them: the bound
// screens keep their row, nothing is aligned and no test is evaluated again.
namespace graficos {

// The rows of the transformer code from the view's current row on, in the view's order,
// until kMaxPuntos of them are points. Nothing when the view stands on no row.
std::optional<QList<Fila>> filasDesdeActual(const RecordView& vista, const Peticion& peticion,
                                            const QVariant& codigo);

// The title of the transformer the view stands on ("" when it stands on none).
QString tituloDe(const RecordView& trafos);

// The drawing of the current transformer (trafos) from the tab's view (datos); nothing when the
// tab has no current row, so that its graph stays as it is.
std::optional<Dibujo> dibujoActual(const RecordView& trafos, const RecordView& datos,
                                   const Peticion& peticion);

} // namespace graficos
