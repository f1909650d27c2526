#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

// The date searches of the record tabs' calendar pages, on values already read.
namespace busqueda {

// True when `fecha` stands in `operador` ("=", "<", "<=", ">", ">=", "<>") to `dia`; any other
// operator, or a row without date, matches nothing.
bool fechaCumple(const QDate& fecha, const QString& operador, const QDate& dia);

// The codes of a sub-group's filter "(Código =5)or(Código=12)"; nothing for "1=1" (no
// sub-group) or a text the sub-group did not write.
std::optional<QList<qint64>> codigosDeFiltro(const QString& filtro);

} // namespace busqueda
