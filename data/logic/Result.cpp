#include "data/logic/Result.h"

namespace resultado {

void valorDeUnFallo(const QString& error)
{
    qFatal("Se pidió el valor de un resultado fallido: %s", qUtf8Printable(error));
}

} // namespace resultado
