#pragma once

#include "data/logic/Result.h"
#include "diagnosis/logic/EvaluacionEnsayo.h"

#include <QDate>
#include <QJsonObject>
#include <QVariantMap>
#include <optional>

class Database;

// One stored test evaluated as the test tab shows it, written as a JSON object for the
// headless `evaluar` command.
namespace diagnostico {

// The test tab's view of a stored row: every box shows its value as plain decimal text with a
// point ("0.3", "25"), a Null value as an empty box, and the sludge list shows " " for a Null
// `Sedimentos`. Null group flags stay Null.
// `anio` is the transformer's `AÑO`, from which the age at the test is taken.
EnsayoEnPantalla ensayoEnPantalla(const QVariantMap& fila, const QVariant& anio = {});

// The evaluation of the test in `fila` of transformer `codigo`, or of a transformer without
// tests when `fila` is empty: observations, light, count, highlighted boxes, the gas totals
// from the nine gas boxes, the three gas methods, the gas levels and Duval's two methods.
// `anio` is the transformer's `AÑO`.
QJsonObject informeEvaluacion(qint64 codigo, const std::optional<QVariantMap>& fila,
                              const QVariant& anio = {});

// Finds transformer `codigo` and its newest test, or its test of `fecha` when one is given,
// and reports it. An unknown transformer, or no test of that date, is a failure.
Result<QJsonObject> evaluarEnsayoGuardado(Database& db, qint64 codigo, const std::optional<QDate>& fecha);

} // namespace diagnostico
