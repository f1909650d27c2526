#include "diagnosis/logic/Totales.h"

#include "diagnosis/logic/ValorNumerico.h"

#include <cmath>

namespace diagnostico {

namespace {

QStringList nombres(std::initializer_list<const char*> lista)
{
    QStringList out;
    for (const char* n : lista)
        out << QString::fromUtf8(n);
    return out;
}

} // namespace

const QStringList& camposGases()
{
    static const QStringList k = nombres({"Hidrógeno", "Oxígeno", "Nitrógeno", "Metano", "Monóxido",
                                          "Dióxido", "Etano", "Etileno", "Acetileno"});
    return k;
}

const QStringList& camposCombustibles()
{
    static const QStringList k =
        nombres({"Hidrógeno", "Metano", "Monóxido", "Etano", "Etileno", "Acetileno"});
    return k;
}

const QStringList& camposFuranos()
{
    static const QStringList k = nombres({"5H2F", "2FOL", "2FAL", "2ACF", "5M2F"});
    return k;
}

const QStringList& camposPcb()
{
    static const QStringList k = nombres({"PCB_1242", "PCB_1254", "PCB_1260", "OTROS"});
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
    return textoDecimal(indice);
}

} // namespace diagnostico
