#pragma once

#include <QString>
#include <array>

// The picture files of the graphs. The program's folder is read-only once installed, so they
// live in the user's data folder of the program, under one spelling each.
namespace graficos {

struct ArchivosImagen
{
    // graph1(0).svg, graph1(1).svg, graph1(2).svg: the graphs of the record tabs.
    std::array<QString, 3> grafico;
    // graph4.svg: the enlarged window.
    QString ampliado;
};

// The user's data folder of the program.
QString carpetaImagenes();
ArchivosImagen archivosImagen(const QString& carpeta);

// The kind codes of the 2D/3D choice of a graph, as the settings of the earlier program had them.
std::array<int, 3> codigosTipo(int grafico, bool tresD);

} // namespace graficos
