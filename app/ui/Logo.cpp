#include "app/ui/Logo.h"

#include <QPainter>
#include <QPainterPath>

namespace {
const QColor kAzul(0x1f, 0x4e, 0x8c);
const QColor kAmbar(0xe8, 0x9f, 0x1c);
} // namespace

Logo::Logo(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Logo"));
    setAttribute(Qt::WA_TranslucentBackground);
}

QSize Logo::sizeHint() const
{
    return {96, 96};
}

void Logo::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height());
    p.translate((width() - side) / 2.0, (height() - side) / 2.0);
    p.scale(side / 100.0, side / 100.0);

    // A rounded plate behind the symbol.
    p.setPen(Qt::NoPen);
    p.setBrush(kAzul);
    p.drawRoundedRect(QRectF(2, 2, 96, 96), 14, 14);

    // The two windings of the transformer symbol, overlapping on a common core.
    QPen winding(Qt::white, 6);
    p.setBrush(Qt::NoBrush);
    p.setPen(winding);
    p.drawEllipse(QPointF(38, 50), 22, 22);
    p.drawEllipse(QPointF(62, 50), 22, 22);

    // Terminals on both sides.
    p.drawLine(QPointF(6, 50), QPointF(16, 50));
    p.drawLine(QPointF(84, 50), QPointF(94, 50));

    // A lightning bolt through the core.
    QPainterPath bolt;
    bolt.moveTo(54, 24);
    bolt.lineTo(42, 53);
    bolt.lineTo(51, 53);
    bolt.lineTo(45, 77);
    bolt.lineTo(60, 45);
    bolt.lineTo(51, 45);
    bolt.closeSubpath();
    p.setPen(QPen(kAzul, 1.5));
    p.setBrush(kAmbar);
    p.drawPath(bolt);
}
