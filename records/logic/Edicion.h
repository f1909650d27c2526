#pragma once

#include "data/logic/Database.h"
#include "data/logic/Result.h"
#include "records/logic/Alineacion.h"

#include <QDate>
#include <QString>
#include <optional>

// The checks and texts of the record editing commands, apart from the windows that run them.
namespace edicion {

// Codes are 16-bit whole numbers: the largest a transformer can have.
constexpr int kCodigoMaximo = 32767;

// The largest transformer code in the file (none when the table is empty).
Result<std::optional<int>> codigoMayor(const Database& db);
// The code offered for a new transformer: the largest + 1, so it never repeats one; 1 on an
// empty table; empty when it would pass the 16-bit range.
QString codigoPropuesto(std::optional<int> mayor);

// What a new transformer starts with: type "T.EXPANSIÓN" and insulating oil "ACT.YPF 64".
QString tipoNuevo();
QString aislanteNuevo();

// The code box of a save: "Debe ingresar el código" when empty or zero; a code past the
// 16-bit range is refused too. The code on success.
Result<int> comprobarCodigo(const QString& texto);
// The date box of a save: "Debe Ingresar la Fecha" when empty, "La fecha no es correcta"
// when it is no real day (a 31st of February). Two-digit years: 00-29 this century, 30-99 the last.
Result<QDate> comprobarFecha(const QString& texto);

// The deletion questions and their titles.
QString preguntaEliminarTrafo(const QString& codigo);
QString preguntaEliminarFila(const QString& codigo, const QString& fecha);
QString tituloEliminar(Alineacion::Vista vista);
// A deletion the file refused, as shown to the user.
QString errorEliminar(int numero, const QString& motivo);
// Guardar pressed with no row to save (the tab has none and no addition was started).
QString sinFilaParaGuardar();

} // namespace edicion
