#pragma once

#include "controls/LumerixExport.h"

#include <QColor>
#include <QLineF>
#include <QRectF>

class QPainter;

// Drawing pieces of the lights, in twips. The painter must first be scaled with scaleToTwips;
// widths are in pixels at 96 dpi and grow with the resolution like the rest of the drawing.
namespace lumerix {

LUMERIX_EXPORT void scaleToTwips(QPainter& painter, qreal dpi);

// A filled circle whose border stays inside box.
LUMERIX_EXPORT void paintLamp(QPainter& painter, const QRectF& box, const QColor& fill, qreal borderWidth);

// The small reflection on the glass; the same whatever the state.
LUMERIX_EXPORT void paintHighlight(QPainter& painter, const QRectF& box);

// A straight ray with square ends, so that it covers exactly the given length.
LUMERIX_EXPORT void paintRay(QPainter& painter, const QLineF& line, const QColor& color, qreal width);

} // namespace lumerix
