#pragma once

#include "data/logic/Result.h"
#include "graphs/logic/Graficos.h"

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <functional>

class QChart;
class QPainter;

// Drawing a graph off screen: the chart of a drawing, its picture, its SVG file.
namespace pintura {

// A new 2D chart of the drawing (the caller owns it): a line for tests, bars for the others.
QChart* grafico2D(const graficos::Dibujo& dibujo);
// Renders the drawing in 2D into destino through a chart of its own, laid out at that size
// (a chart shown on a hidden tab is never laid out and would export as a thumbnail).
void pintar2D(const graficos::Dibujo& dibujo, QPainter& painter, const QRectF& destino);
QImage imagen2D(const graficos::Dibujo& dibujo, const QSize& tamano);

using Pintor = std::function<void(QPainter&, const QRectF&)>;
// The SVG text of a picture of that size drawn by pintor.
QByteArray svg(const QSize& tamano, const QString& titulo, const Pintor& pintor);
// Writes the picture file through a temporary name, making its folder when missing.
Status escribir(const QString& ruta, const QByteArray& contenido);

} // namespace pintura
