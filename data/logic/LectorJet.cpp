#include "data/logic/LectorJet.h"

#include <QDate>
#include <QFile>
#include <QStringDecoder>
#include <cmath>

namespace jet {

bool esArchivoJet(const QString& ruta)
{
    QFile file(ruta);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(20);
    // Page 0 of every Jet file names its engine at offset 4.
    return head.mid(4, 15) == QByteArray("Standard Jet DB") ||
           head.mid(4, 15) == QByteArray("Standard ACE DB");
}

FechaJet fechaDeValor(double valor)
{
    FechaJet f;
    // Jet's own range: 1 January 100 to 31 December 9999.
    if (!std::isfinite(valor) || valor < -657434.0 || valor >= 2958466.0)
        return f;
    // The whole part counts days from 30 December 1899 and the fraction is always the time
    // of that day, also for negative values: -1.25 is 29 December 1899 at 06:00.
    const double dias = std::trunc(valor);
    const QDate fecha = QDate::fromJulianDay(QDate(1899, 12, 30).toJulianDay() + qint64(dias));
    if (!fecha.isValid())
        return f;
    f.anio = fecha.year();
    f.mes = fecha.month();
    f.dia = fecha.day();
    f.valida = true;
    const int segundos = int(std::lround(std::fabs(valor - dias) * 86400.0));
    f.segundos = std::min(segundos, 86399);
    f.conHora = f.segundos != 0;
    return f;
}

QString textoDeFecha(double valor, bool conHora)
{
    const FechaJet f = fechaDeValor(valor);
    if (!f.valida)
        return {};
    QString texto = QStringLiteral("%1-%2-%3")
                        .arg(f.anio, 4, 10, QLatin1Char('0'))
                        .arg(f.mes, 2, 10, QLatin1Char('0'))
                        .arg(f.dia, 2, 10, QLatin1Char('0'));
    if (conHora)
        texto += QStringLiteral(" %1:%2:%3")
                     .arg(f.segundos / 3600, 2, 10, QLatin1Char('0'))
                     .arg(f.segundos / 60 % 60, 2, 10, QLatin1Char('0'))
                     .arg(f.segundos % 60, 2, 10, QLatin1Char('0'));
    return texto;
}

QString decodificar(const QByteArray& bytes, int paginaCodigos)
{
    const int pagina = paginaCodigos > 0 ? paginaCodigos : 1252;
    for (const QString& nombre : {QStringLiteral("windows-%1").arg(pagina),
                                  QStringLiteral("cp%1").arg(pagina), QStringLiteral("windows-1252")}) {
        QStringDecoder decoder(nombre.toLatin1().constData());
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    return QString::fromLatin1(bytes);
}

} // namespace jet
