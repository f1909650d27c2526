#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The desktop's calculator, started on its own: the first of the usual calculators found.
namespace calculadora {

// The calculators looked for, in order.
QStringList candidatas();

// Finds a program by name (empty when absent) and starts one without waiting (false on failure).
using Buscar = std::function<QString(const QString&)>;
using Arrancar = std::function<bool(const QString&)>;

// Starts the first calculator found that starts; false when none did. The defaults search the
// PATH and start the program detached.
bool abrir(const Buscar& buscar = {}, const Arrancar& arrancar = {});

// The message when no calculator could be started.
QString mensajeSinCalculadora();

} // namespace calculadora
