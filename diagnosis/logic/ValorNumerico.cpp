#include "diagnosis/logic/ValorNumerico.h"

#include <cmath>

namespace diagnostico {

double valorNumerico(const QString& texto)
{
    const int n = int(texto.size());
    int i = 0;
    while (i < n && (texto[i] == QLatin1Char(' ') || texto[i] == QLatin1Char('\t')))
        ++i;
    const int inicio = i;
    if (i < n && (texto[i] == QLatin1Char('-') || texto[i] == QLatin1Char('+')))
        ++i;
    int cifras = 0;
    while (i < n && texto[i].isDigit() && texto[i].unicode() < 128) {
        ++i;
        ++cifras;
    }
    if (i < n && texto[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && texto[i].isDigit() && texto[i].unicode() < 128) {
            ++i;
            ++cifras;
        }
    }
    if (cifras == 0)
        return 0;
    int fin = i;
    // An exponent counts only when digits follow it; "5e" is still 5.
    if (i < n && (texto[i] == QLatin1Char('e') || texto[i] == QLatin1Char('E'))) {
        int j = i + 1;
        if (j < n && (texto[j] == QLatin1Char('-') || texto[j] == QLatin1Char('+')))
            ++j;
        const int digitos = j;
        while (j < n && texto[j].isDigit() && texto[j].unicode() < 128)
            ++j;
        if (j > digitos)
            fin = j;
    }
    bool ok = false;
    const double v = QStringView(texto).mid(inicio, fin - inicio).toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return 0;
    return v;
}

double valorGuardado(const QVariant& valor)
{
    if (valor.isNull() || !valor.isValid())
        return 0;
    if (valor.typeId() == QMetaType::QString)
        return valorNumerico(valor.toString());
    bool ok = false;
    const double v = valor.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}

QString textoDecimal(double valor)
{
    if (valor == 0)
        return QStringLiteral("0");
    QString texto = QString::number(valor, 'g', 15);
    if (texto.contains(QLatin1Char('e'))) {
        // Very large or very small values: spell them out without an exponent.
        texto = QString::number(valor, 'f', 15);
        if (texto.contains(QLatin1Char('.'))) {
            while (texto.endsWith(QLatin1Char('0')))
                texto.chop(1);
            if (texto.endsWith(QLatin1Char('.')))
                texto.chop(1);
        }
    }
    return texto;
}

} // namespace diagnostico
