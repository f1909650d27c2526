#pragma once

#include <QDate>
#include <QString>
#include <optional>

// Dates written as text, one reading for the whole program: the boxes, the record views, the
// engine's date literals and the backup names all agree on which century a two-digit year is.
namespace fechas {

// 00-29 are 2000-2029, 30-99 are 1930-1999.
int anioCompleto(int dosCifras);

// "d/M/yyyy", "d/M/yy" (with the pivot above) or "yyyy-MM-dd"; nothing for anything else or
// an impossible day.
std::optional<QDate> leer(const QString& texto);

// True when the text is a day/month/year date whose year has two digits: the box shows it
// again with four once the user leaves it.
bool anioDeDosCifras(const QString& texto);

} // namespace fechas
