#include "data/logic/Fechas.h"

#include <QRegularExpression>

namespace fechas {

namespace {

const QRegularExpression& diaMesAnio()
{
    static const QRegularExpression re(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{2}|\\d{4})$"));
    return re;
}

} // namespace

int anioCompleto(int dosCifras)
{
    return dosCifras + (dosCifras < 30 ? 2000 : 1900);
}

std::optional<QDate> leer(const QString& texto)
{
    const QString t = texto.trimmed();
    if (const auto m = diaMesAnio().match(t); m.hasMatch()) {
        int anio = m.captured(3).toInt();
        if (m.captured(3).size() == 2)
            anio = anioCompleto(anio);
        const QDate d(anio, m.captured(2).toInt(), m.captured(1).toInt());
        return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
    }
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})$"));
    if (const auto m = iso.match(t); m.hasMatch()) {
        const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
    }
    return std::nullopt;
}

bool anioDeDosCifras(const QString& texto)
{
    const auto m = diaMesAnio().match(texto.trimmed());
    return m.hasMatch() && m.captured(3).size() == 2;
}

} // namespace fechas
