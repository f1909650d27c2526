#include "graphs/logic/Archivos.h"

#include <QDir>
#include <QStandardPaths>

namespace graficos {

QString carpetaImagenes()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

ArchivosImagen archivosImagen(const QString& carpeta)
{
    const QDir dir(carpeta);
    ArchivosImagen a;
    for (int g = 0; g < 3; ++g)
        a.grafico[size_t(g)] = dir.filePath(QStringLiteral("graph1(%1).svg").arg(g));
    a.ampliado = dir.filePath(QStringLiteral("graph4.svg"));
    return a;
}

std::array<int, 3> codigosTipo(int grafico, bool tresD)
{
    if (tresD)
        return {4, 7, 2};
    switch (grafico) {
    case 1:
        return {6, 15, 5};
    case 0:
        return {3, 15, 0};
    default:
        return {3, 15, 2};
    }
}

} // namespace graficos
