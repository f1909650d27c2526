#pragma once

#include <QString>
#include <QVariant>

namespace diagnostico {

// The number an input box stands for: its leading decimal number, with a point as the
// decimal separator. An empty text, or one that does not start with a number, is 0, and
// "12,5" reads 12, so a value typed with a comma never raises an error.
double valorNumerico(const QString& texto);

// A stored value as the batch reads it: Null is 0, numbers as they are, text by the rule above.
double valorGuardado(const QVariant& valor);

// A derived value written into a box: plain decimal text, no exponent, no trailing zeros.
QString textoDecimal(double valor);

} // namespace diagnostico
