#include "diagnosis/logic/Totales.h"

#include "data/logic/Campos.h"
#include "diagnosis/logic/ValorNumerico.h"

#include <cmath>

namespace diagnostico {

const QStringList& camposGases()
{
    using namespace campo::ensayos;
    static const QStringList k = {Hidrogeno, Oxigeno, Nitrogeno, Metano,   Monoxido,
                                  Dioxido,   Etano,   Etileno,   Acetileno};
    return k;
}

const QStringList& camposCombustibles()
{
    using namespace campo::ensayos;
    static const QStringList k = {Hidrogeno, Metano, Monoxido, Etano, Etileno, Acetileno};
    return k;
}

const QStringList& camposFuranos()
{
    using namespace campo::ensayos;
    static const QStringList k = {F5H2F, F2FOL, F2FAL, F2ACF, F5M2F};
    return k;
}

const QStringList& camposPcb()
{
    using namespace campo::ensayos;
    static const QStringList k = {PCB_1242, PCB_1254, PCB_1260, OTROS};
    return k;
}

std::optional<double> sumaCampos(const TextosEnsayo& textos, const QStringList& campos)
{
    double suma = 0;
    for (const QString& c : campos)
        suma += valorNumerico(textos.value(c));
    if (!std::isfinite(suma))
        return std::nullopt;
    return suma;
}

TotalesGas totalesGas(const TextosEnsayo& textos)
{
    return {sumaCampos(textos, camposGases()), sumaCampos(textos, camposCombustibles())};
}

QString indicePolarizacion(const QString& unMinuto, const QString& diezMinutos)
{
    const QString cero = QStringLiteral("0");
    if (unMinuto.isEmpty() || unMinuto == cero || diezMinutos.isEmpty() || diezMinutos == cero)
        return {};
    const double divisor = valorNumerico(unMinuto);
    if (divisor == 0)
        return {};
    const double indice = valorNumerico(diezMinutos) / divisor;
    if (!std::isfinite(indice))
        return {};
    return QString::number(indice, 'f', 2);
}

} // namespace diagnostico
