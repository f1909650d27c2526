#include "search/logic/BusquedaFechas.h"

#include "search/logic/Busqueda.h"

#include <QRegularExpression>

namespace busqueda {

bool fechaCumple(const QDate& fecha, const QString& operador, const QDate& dia)
{
    if (!fecha.isValid() || !dia.isValid())
        return false;
    if (operador == QLatin1String("="))
        return fecha == dia;
    if (operador == QLatin1String("<"))
        return fecha < dia;
    if (operador == QLatin1String("<="))
        return fecha <= dia;
    if (operador == QLatin1String(">"))
        return fecha > dia;
    if (operador == QLatin1String(">="))
        return fecha >= dia;
    if (operador == QLatin1String("<>"))
        return fecha != dia;
    return false;
}

std::optional<QList<qint64>> codigosDeFiltro(const QString& filtro)
{
    static const QRegularExpression kCodigo(QString::fromUtf8("Código ?=(-?\\d+)\\)"));
    QList<qint64> codigos;
    for (auto it = kCodigo.globalMatch(filtro); it.hasNext();)
        codigos << it.next().captured(1).toLongLong();
    if (codigos.isEmpty() || filtroCodigos(codigos) != filtro)
        return std::nullopt;
    return codigos;
}

} // namespace busqueda
