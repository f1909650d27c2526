#include "utilities/logic/Calculadora.h"

#include <QProcess>
#include <QStandardPaths>

namespace calculadora {

QStringList candidatas()
{
    return {QStringLiteral("gnome-calculator"),
            QStringLiteral("kcalc"),
            QStringLiteral("galculator"),
            QStringLiteral("mate-calc"),
            QStringLiteral("speedcrunch"),
            QStringLiteral("qalculate-gtk"),
            QStringLiteral("xcalc")};
}

bool abrir(const Buscar& buscar, const Arrancar& arrancar)
{
    const Buscar buscarPrograma =
        buscar ? buscar : [](const QString& n) { return QStandardPaths::findExecutable(n); };
    const Arrancar arrancarPrograma =
        arrancar ? arrancar : [](const QString& ruta) { return QProcess::startDetached(ruta, {}); };
    for (const QString& nombre : candidatas()) {
        const QString ruta = buscarPrograma(nombre);
        if (!ruta.isEmpty() && arrancarPrograma(ruta))
            return true;
    }
    return false;
}

QString mensajeSinCalculadora()
{
    return QString::fromUtf8("No se encontró la calculadora");
}

} // namespace calculadora
