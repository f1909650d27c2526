#include "records/ui/PaginaHerramientas.h"

#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

PaginaHerramientas::PaginaHerramientas(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PaginaHerramientas"));

    struct Definicion
    {
        int indice;
        const char* texto;
    };
    static const Definicion kBotones[] = {
        {RealizarBackup, "Realizar Backup"},
        {CompactarBase, "Compactar Base de Datos"},
        {RestaurarBackup, "Restaurar Backup"},
        {DireccionBase, "Dirección Base de Datos"},
        {ContrasenaLectura, "Cambiar Contraseña de Lectura"},
        {ContrasenaEscritura, "Cambiar Contraseña de Escritura"},
        {BuscarActualizaciones, "Buscar Actualizaciones"},
    };

    auto* rejilla = new QGridLayout;
    rejilla->setHorizontalSpacing(24);
    rejilla->setVerticalSpacing(16);
    int posicion = 0;
    for (const Definicion& d : kBotones) {
        auto* b = new QPushButton(QString::fromUtf8(d.texto), this);
        b->setObjectName(QStringLiteral("CommandH_%1").arg(d.indice));
        b->setMinimumSize(260, 44);
        const int indice = d.indice;
        connect(b, &QPushButton::clicked, this, [this, indice] { emit comando(indice); });
        rejilla->addWidget(b, posicion / 2, posicion % 2);
        ++posicion;
    }

    auto* columna = new QVBoxLayout(this);
    columna->addStretch(1);
    auto* fila = new QHBoxLayout;
    fila->addStretch(1);
    fila->addLayout(rejilla);
    fila->addStretch(1);
    columna->addLayout(fila);
    columna->addStretch(2);
}

QPushButton* PaginaHerramientas::boton(int indice) const
{
    return findChild<QPushButton*>(QStringLiteral("CommandH_%1").arg(indice));
}
