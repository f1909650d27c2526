#pragma once

#include "tests/support/Texto.h"

#include <QStringList>
#include <ostream>

// A list of captions or findings written as one text, the items separated by '|'.
inline QStringList lista(const char* textos)
{
    return u(textos).split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

// Failures print texts as text rather than as bytes.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& texto, std::ostream* os)
{
    *os << '"' << texto.toStdString() << '"';
}
QT_END_NAMESPACE
