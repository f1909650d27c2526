#include "diagnosis/ui/Semaforo.h"

#include "controls/LampPainter.h"
#include "controls/Palette.h"

#include <QPainter>
#include <QResizeEvent>

namespace {

constexpr int kAncho = 570;
constexpr int kAlto = 2115;
constexpr qreal kAnchoLampara = 2;
constexpr qreal kAnchoRayo = 2;
constexpr qreal kAnchoPoste = 5;

struct Dibujo
{
    int estado; // the state code that lights this lamp
    QRectF lampara;
    QRectF brillo;
    QLineF rayos[4];
};

// Top to bottom; each lamp's rays are its two horizontal rays, then its two vertical rays.
const Dibujo kLamparas[3] = {
    {lumerix::kEstadoRojo,
     QRectF(105, 135, 345, 345),
     QRectF(180, 210, 75, 75),
     {QLineF(60, 285, 210, 285), QLineF(330, 285, 480, 285), QLineF(270, 360, 270, 510),
      QLineF(270, 90, 270, 240)}},
    {lumerix::kEstadoAmarillo,
     QRectF(105, 585, 345, 345),
     QRectF(180, 660, 75, 75),
     {QLineF(330, 750, 480, 750), QLineF(60, 750, 210, 750), QLineF(270, 540, 270, 690),
      QLineF(270, 810, 270, 960)}},
    {lumerix::kEstadoVerde,
     QRectF(105, 1035, 345, 345),
     QRectF(180, 1110, 75, 75),
     {QLineF(330, 1200, 480, 1200), QLineF(60, 1200, 210, 1200), QLineF(270, 1005, 270, 1155),
      QLineF(270, 1275, 270, 1425)}},
};
const QLineF kPoste(270, 1515, 270, 1965);

} // namespace

Semaforo::Semaforo(QWidget* parent) : QWidget(parent)
{
    for (QColor& lamp : m_lamps)
        lamp = lumerix::lampColor(lumerix::kEstadoApagado);
    applyFixedSize();
    dibujar();
}

void Semaforo::setEstado(int estado)
{
    m_estado = estado;
    emit estadoChanged(m_estado);
    dibujar();
}

QSize Semaforo::fixedSizeAt(qreal dpi)
{
    return QSize(lumerix::twipsToPixels(kAncho, dpi), lumerix::twipsToPixels(kAlto, dpi));
}

QSize Semaforo::sizeHint() const
{
    return fixedSizeAt(lumerix::logicalDpi(this));
}

void Semaforo::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    lumerix::scaleToTwips(painter, lumerix::logicalDpi(this));
    for (int i = 0; i < 3; ++i) {
        lumerix::paintLamp(painter, kLamparas[i].lampara, m_lamps[i], kAnchoLampara);
        lumerix::paintHighlight(painter, kLamparas[i].brillo);
    }
    lumerix::paintRay(painter, kPoste, lumerix::colorFromBgr(lumerix::kLamparaOscura), kAnchoPoste);
    // The rays start inside the lamp and cross its edge, so they are drawn over it.
    if (m_litLamp >= 0) {
        const QColor color = lumerix::rayColor(kLamparas[m_litLamp].estado);
        for (const QLineF& rayo : kLamparas[m_litLamp].rayos)
            lumerix::paintRay(painter, rayo, color, kAnchoRayo);
    }
}

void Semaforo::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (event->size() != fixedSizeAt(lumerix::logicalDpi(this)))
        applyFixedSize();
}

void Semaforo::showEvent(QShowEvent* event)
{
    // The size in pixels follows the resolution of the screen the light is shown on.
    applyFixedSize();
    QWidget::showEvent(event);
}

void Semaforo::dibujar()
{
    m_litLamp = -1;
    // An unknown code only hides the rays; the lamps keep what they showed.
    if (lumerix::isEstadoValido(m_estado)) {
        for (int i = 0; i < 3; ++i) {
            const bool lit = kLamparas[i].estado == m_estado;
            m_lamps[i] = lumerix::lampColor(lit ? m_estado : lumerix::kEstadoApagado);
            if (lit)
                m_litLamp = i;
        }
    }
    update();
}

void Semaforo::applyFixedSize()
{
    setFixedSize(fixedSizeAt(lumerix::logicalDpi(this)));
}
