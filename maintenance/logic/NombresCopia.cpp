#include "maintenance/logic/NombresCopia.h"

#include "data/logic/Fechas.h"

#include <QDateTime>
#include <QRegularExpression>

namespace copias {

namespace {

QString ddmmyy(const QDate& dia)
{
    return dia.toString(QStringLiteral("ddMMyy"));
}

bool sonDigitos(QStringView texto)
{
    for (const QChar c : texto)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

QString nombreCopiaAutomatica(const QDate& dia)
{
    return QStringLiteral("AB") + ddmmyy(dia) + QStringLiteral(".mdb");
}

QString nombreRespaldo(const QDate& dia, bool comprimido)
{
    return QStringLiteral("T-") + ddmmyy(dia) +
           (comprimido ? QStringLiteral(".zip") : QStringLiteral(".mdb"));
}

bool esCopiaAutomatica(const QString& nombre)
{
    return nombre.size() == 12 && nombre.startsWith(QLatin1String("AB"), Qt::CaseInsensitive) &&
           nombre.endsWith(QLatin1String(".mdb"), Qt::CaseInsensitive);
}

QStringList copiasAPodar(const QStringList& nombres, const QDate& hoy)
{
    const QString limite = hoy.addDays(-7).toString(QStringLiteral("yyMMdd"));
    QStringList viejas;
    for (const QString& nombre : nombres) {
        if (!esCopiaAutomatica(nombre))
            continue;
        const QStringView fecha = QStringView(nombre).mid(2, 6);
        if (!sonDigitos(fecha))
            continue;
        const int dia = fecha.mid(0, 2).toInt();
        const int mes = fecha.mid(2, 2).toInt();
        const QDate copia(fechas::anioCompleto(fecha.mid(4, 2).toInt()), mes, dia);
        if (!copia.isValid())
            continue;
        // Compared as text: a copy of the 1990s sorts after any limit of the 2000s and stays.
        if (copia.toString(QStringLiteral("yyMMdd")) < limite)
            viejas << nombre;
    }
    return viejas;
}

QStringList filtroRestauracion()
{
    return {QStringLiteral("T-??????.mdb"), QStringLiteral("T-??????.zip"),
            QStringLiteral("T-??????.rar"), QStringLiteral("AB??????.mdb"),
            QStringLiteral("trafos.mdb"),   QStringLiteral("trafos.zip"),
            QStringLiteral("trafos.rar"),   QStringLiteral("PreRestauracion-*.mdb")};
}

bool seRestaura(const QString& nombre)
{
    for (const QString& patron : filtroRestauracion()) {
        const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(patron),
                                    QRegularExpression::CaseInsensitiveOption);
        if (re.match(nombre).hasMatch())
            return true;
    }
    return false;
}

bool esComprimido(const QString& nombre)
{
    return nombre.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive) ||
           nombre.endsWith(QLatin1String(".rar"), Qt::CaseInsensitive);
}

QString nombreCopiaPrevia(const QDateTime& momento)
{
    return QStringLiteral("PreRestauracion-") + momento.toString(QStringLiteral("ddMMyy-HHmmss")) +
           QStringLiteral(".mdb");
}

} // namespace copias
