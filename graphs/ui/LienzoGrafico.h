#pragma once

#include "graphs/logic/Graficos.h"

#include <QImage>
#include <QWidget>

class Q3DBars;
class QChart;
class QChartView;
class QLabel;
class QPainter;
class QStackedWidget;

// Where one graph is drawn: a 2D chart, or 3D bars where OpenGL is available. Without an
// OpenGL context a 3D choice is drawn in 2D under a notice that says so.
class LienzoGrafico : public QWidget
{
    Q_OBJECT
public:
    explicit LienzoGrafico(QWidget* parent = nullptr);
    ~LienzoGrafico() override;

    void mostrar(const graficos::Dibujo& dibujo, bool tresD);
    const graficos::Dibujo& dibujo() const { return m_dibujo; }
    // True when the drawing is shown as 3D bars.
    bool en3D() const;
    // The 2D chart on screen (null before the first drawing).
    QChart* chart() const;
    QLabel* aviso() const { return m_aviso; }
    // The picture of what is shown, at that size.
    QImage imagen(const QSize& tamano) const;
    void pintar(QPainter& painter, const QRectF& destino) const;
    // The size pictures are written at: the widget's when it was laid out, else a fixed one.
    QSize tamanoImagen() const;

    // Whether this machine can show 3D bars (an OpenGL context can be made).
    static bool hay3D();

signals:
    // A click on the graph, at a point of the screen.
    void pulsado(const QPoint& global);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    bool crear3D();
    void mostrar3D();

    graficos::Dibujo m_dibujo;
    bool m_tresD = false;
    QStackedWidget* m_pila = nullptr;
    QChartView* m_vista = nullptr;
    QLabel* m_aviso = nullptr;
    QWidget* m_pagina3D = nullptr;
    QLabel* m_titulo3D = nullptr;
    Q3DBars* m_barras = nullptr;
};
