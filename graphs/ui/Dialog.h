#pragma once

#include "graphs/logic/Graficos.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QPushButton;
class QRadioButton;

// "Configurar Gráfico de Gases": what the test graph plots for "Gases:", the ticked gases or
// one of the two totals. It edits the run's configuration only on "Aceptar".
class Dialog : public QDialog
{
    Q_OBJECT
public:
    Dialog(graficos::ConfiguracionGases& configuracion, QWidget* parent = nullptr);

    QRadioButton* opcion(int modo) const { return m_opciones.value(modo); }
    QCheckBox* gas(int indice) const { return m_gases.value(indice); }
    QPushButton* borrar() const { return m_borrar; }
    QPushButton* aceptar() const { return m_aceptar; }
    QPushButton* cancelar() const { return m_cancelar; }
    int modo() const { return m_modo; }

private:
    void cargar();
    void gasCambiado();
    void guardar();

    graficos::ConfiguracionGases& m_configuracion;
    QList<QRadioButton*> m_opciones;
    QList<QCheckBox*> m_gases;
    QPushButton* m_borrar = nullptr;
    QPushButton* m_aceptar = nullptr;
    QPushButton* m_cancelar = nullptr;
    int m_modo = 0;
    // False while the boxes are being filled, so that filling them selects nothing.
    bool m_cargado = false;
};
