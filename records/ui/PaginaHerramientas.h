#pragma once

#include <QWidget>

class QPushButton;

// The tools tab: one button per maintenance window, numbered as the CommandH array.
class PaginaHerramientas : public QWidget
{
    Q_OBJECT
public:
    // Indices of the CommandH array.
    enum Comando
    {
        RealizarBackup = 0,
        CompactarBase = 1,
        RestaurarBackup = 3,
        DireccionBase = 4,
        ContrasenaLectura = 5,
        ContrasenaEscritura = 6,
        BuscarActualizaciones = 8,
    };

    explicit PaginaHerramientas(QWidget* parent = nullptr);

    // The button CommandH(indice), or nullptr for an index without a button.
    QPushButton* boton(int indice) const;

signals:
    void comando(int indice);
};
