#include "controls/SemaforoLuz.h"

#include "controls/LampPainter.h"
#include "controls/Palette.h"

#include <QPainter>
#include <QResizeEvent>

namespace lumerix {

namespace {

constexpr int kAncho = 420;
constexpr int kAlto = 435;
const QRectF kLampara(45, 30, 345, 345);
const QRectF kBrillo(120, 105, 75, 75);
// Horizontal rays, then vertical rays.
const QLineF kRayos[] = {
    QLineF(0, 195, 150, 195),
    QLineF(255, 195, 405, 195),
    QLineF(210, 255, 210, 405),
    QLineF(210, 0, 210, 150),
};
constexpr qreal kAnchoLampara = 1;
constexpr qreal kAnchoRayo = 2;

} // namespace

SemaforoLuz::SemaforoLuz(QWidget* parent) : QWidget(parent)
{
    applyFixedSize();
    dibujar();
}

void SemaforoLuz::setEstadoLuz(TipoEstado estado)
{
    m_estado = estado;
    emit estadoLuzChanged(m_estado);
    dibujar();
}

QSize SemaforoLuz::fixedSizeAt(qreal dpi)
{
    return QSize(twipsToPixels(kAncho, dpi), twipsToPixels(kAlto, dpi));
}

SemaforoLuz::Look SemaforoLuz::lookFor(int estado, const Look& previous)
{
    Look look = previous;
    look.rays = QColor();
    if (isEstadoValido(estado)) {
        look.lamp = lampColor(estado);
        look.rays = rayColor(estado);
    }
    return look;
}

void SemaforoLuz::paintLight(QPainter& painter, const QPointF& origin, qreal dpi, const Look& look)
{
    painter.save();
    painter.translate(origin);
    scaleToTwips(painter, dpi);
    paintLamp(painter, kLampara, look.lamp, kAnchoLampara);
    paintHighlight(painter, kBrillo);
    // The rays start inside the lamp and cross its edge, so they are drawn over it.
    if (look.rays.isValid()) {
        for (const QLineF& rayo : kRayos)
            paintRay(painter, rayo, look.rays, kAnchoRayo);
    }
    painter.restore();
}

QSize SemaforoLuz::sizeHint() const
{
    return fixedSizeAt(logicalDpi(this));
}

void SemaforoLuz::showEvent(QShowEvent* event)
{
    // The size in pixels follows the resolution of the screen the light is shown on.
    applyFixedSize();
    QWidget::showEvent(event);
}

void SemaforoLuz::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintLight(painter, QPointF(0, 0), logicalDpi(this), m_look);
}

void SemaforoLuz::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (event->size() != fixedSizeAt(logicalDpi(this)))
        applyFixedSize();
}

void SemaforoLuz::dibujar()
{
    m_look = lookFor(m_estado, m_look);
    update();
}

void SemaforoLuz::applyFixedSize()
{
    setFixedSize(fixedSizeAt(logicalDpi(this)));
}

} // namespace lumerix
