#include "controls/LampPainter.h"

#include "controls/Palette.h"

#include <QPainter>
#include <QPen>

namespace lumerix {

namespace {
// One pixel at 96 dpi, in twips.
constexpr qreal kTwipsPerPixel = 15.0;
} // namespace

void scaleToTwips(QPainter& painter, qreal dpi)
{
    const qreal factor = dpi / kTwipsPerInch;
    painter.scale(factor, factor);
}

void paintLamp(QPainter& painter, const QRectF& box, const QColor& fill, qreal borderWidth)
{
    const qreal pen = borderWidth * kTwipsPerPixel;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor(0, 0, 0), pen));
    painter.setBrush(fill);
    painter.drawEllipse(box.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2));
    painter.restore();
}

void paintHighlight(QPainter& painter, const QRectF& box)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawEllipse(box);
    painter.restore();
}

void paintRay(QPainter& painter, const QLineF& line, const QColor& color, qreal width)
{
    painter.save();
    // Rays lie on whole pixels at 96 dpi; without smoothing they keep their pure colour.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(color, width * kTwipsPerPixel, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(line);
    painter.restore();
}

} // namespace lumerix
