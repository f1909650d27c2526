#pragma once

#include <QList>
#include <QWidget>

class LienzoGrafico;
class QPushButton;
class QRadioButton;

// The GRÁFICOS sub-tab of a record tab: the graph with "Redibujar", "Copiar", "Imprimir", the
// quantity choice and the "2D"/"3D" choice. It only offers the controls; Graficos answers them.
class PanelGrafico : public QWidget
{
    Q_OBJECT
public:
    // grafico: 0 inspections, 1 tests, 2 maintenance.
    explicit PanelGrafico(int grafico, QWidget* parent = nullptr);

    int grafico() const { return m_grafico; }
    LienzoGrafico* lienzo() const { return m_lienzo; }
    QPushButton* redibujar() const { return m_redibujar; }
    QPushButton* copiar() const { return m_copiar; }
    QPushButton* imprimir() const { return m_imprimir; }
    // "Configurar" of the test graph (null on the others).
    QPushButton* configurar() const { return m_configurar; }
    // The quantity options (none for maintenance) and "2D" (0), "3D" (1).
    QRadioButton* opcion(int indice) const { return m_cantidades.value(indice); }
    QRadioButton* dimension(int indice) const { return m_dimensiones.value(indice); }
    // The quantity chosen: the index of the checked option.
    int cantidad() const;

private:
    int m_grafico;
    LienzoGrafico* m_lienzo = nullptr;
    QPushButton* m_redibujar = nullptr;
    QPushButton* m_copiar = nullptr;
    QPushButton* m_imprimir = nullptr;
    QPushButton* m_configurar = nullptr;
    QList<QRadioButton*> m_cantidades;
    QList<QRadioButton*> m_dimensiones;
};
