#pragma once

#include <QString>

// The tests' one text helper: literals with accents, written as the program shows them.
inline QString u(const char* texto)
{
    return QString::fromUtf8(texto);
}
