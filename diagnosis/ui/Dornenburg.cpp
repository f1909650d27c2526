#include "diagnosis/ui/Dornenburg.h"

#include "controls/Palette.h"
#include "diagnosis/logic/MetodosGas.h"

#include <QPainter>
#include <QResizeEvent>
#include <cmath>

namespace grafico = diagnostico::grafico;

namespace {

struct Zona
{
    const char* leyenda;
    QColor color;
    QRectF unidades;       // extent in chart units
    QPointF centroLeyenda; // towards the zone's side that tests fall on least
};

// Painted in this order: each zone's edge slightly overlaps the one before it.
const Zona kZonas[3] = {
    {"Térmico", QColor(255, 192, 128), QRectF(QPointF(16.1, 15), QPointF(44.5, 35.8)), QPointF(30, 22)},
    {"Arqueo", QColor(128, 128, 255), QRectF(QPointF(44.2, 35.4), QPointF(66, 45.8)), QPointF(59, 40.6)},
    {"Corona", QColor(255, 0, 0), QRectF(QPointF(16.1, 45.4), QPointF(66, 65)), QPointF(41, 57)},
};

const char* const kEtiquetas[6] = {".001", ".01", "0.1", "1.0", "10.0", "100.0"};

constexpr qreal kRadioMarcador = 4.5; // pixels at 96 dpi
constexpr qreal kRadioCentro = 2.5;

} // namespace

Dornenburg::Dornenburg(QWidget* parent)
    : QWidget(parent), m_ejeX(grafico::kEjeMinimo), m_ejeY(grafico::kEjeMinimo)
{
    setObjectName(QStringLiteral("Dornenburg"));
    applyFixedSize();
}

void Dornenburg::setEjeX(double valor)
{
    m_ejeX = grafico::recortarEje(valor);
    emit ejeXChanged(m_ejeX);
    update();
}

void Dornenburg::setEjeY(double valor)
{
    m_ejeY = grafico::recortarEje(valor);
    emit ejeYChanged(m_ejeY);
    update();
}

void Dornenburg::setMarcadorVisible(bool visible)
{
    if (visible == m_marcadorVisible)
        return;
    m_marcadorVisible = visible;
    update();
}

QPointF Dornenburg::aPixeles(QPointF unidades) const
{
    const qreal dpi = lumerix::logicalDpi(this);
    return QPointF(unidades.x() * grafico::kTwipsUnidadX * dpi / lumerix::kTwipsPerInch,
                   unidades.y() * grafico::kTwipsUnidadY * dpi / lumerix::kTwipsPerInch);
}

QPointF Dornenburg::centroMarcador() const
{
    return aPixeles(grafico::centroMarcador(m_ejeX, m_ejeY));
}

QSize Dornenburg::fixedSizeAt(qreal dpi)
{
    return QSize(lumerix::twipsToPixels(grafico::kAnchoTwips, dpi),
                 lumerix::twipsToPixels(grafico::kAltoTwips, dpi));
}

QSize Dornenburg::sizeHint() const
{
    return fixedSizeAt(lumerix::logicalDpi(this));
}

void Dornenburg::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const qreal escala = lumerix::logicalDpi(this) / 96.0;
    const QRectF trazado = grafico::rectanguloTrazado();
    const QRectF marco(aPixeles(trazado.topLeft()), aPixeles(trazado.bottomRight()));
    const auto rectPx = [&](const QRectF& u) {
        return QRectF(aPixeles(u.topLeft()), aPixeles(u.bottomRight()));
    };

    QFont fuente = font();
    fuente.setPointSizeF(6.5);
    p.setFont(fuente);
    const QFontMetricsF fm(fuente);

    for (const Zona& zona : kZonas)
        p.fillRect(rectPx(zona.unidades), zona.color);

    // Minor ticks at 2..9 of every decade, major ticks and labels at the decades.
    p.setPen(QPen(Qt::black, escala));
    const qreal largo = 4 * escala;
    for (int decada = 0; decada <= 5; ++decada) {
        for (int m = 1; m <= (decada < 5 ? 9 : 1); ++m) {
            const qreal u = 10 * decada + 10 * std::log10(qreal(m));
            const qreal l = m == 1 ? largo : largo / 2;
            const qreal x = aPixeles(QPointF(trazado.left() + u, 0)).x();
            const qreal y = aPixeles(QPointF(0, trazado.bottom() - u)).y();
            p.drawLine(QPointF(x, marco.top()), QPointF(x, marco.top() - l));
            p.drawLine(QPointF(marco.right(), y), QPointF(marco.right() + l, y));
        }
        const QString etiqueta = QString::fromLatin1(kEtiquetas[decada]);
        const qreal x = aPixeles(QPointF(trazado.left() + 10 * decada, 0)).x();
        const qreal y = aPixeles(QPointF(0, trazado.bottom() - 10 * decada)).y();
        const qreal ancho = fm.horizontalAdvance(etiqueta);
        p.drawText(QRectF(x - ancho / 2 - 2, marco.top() - largo - fm.height() - 1, ancho + 4, fm.height()),
                   Qt::AlignCenter, etiqueta);
        p.drawText(QRectF(marco.right() + largo + 2, y - fm.height() / 2, ancho + 4, fm.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, etiqueta);
    }
    p.setBrush(Qt::NoBrush);
    p.drawRect(marco);

    // Axis titles: the horizontal one under the plot, the vertical one in the left margin.
    QFont titulo = fuente;
    titulo.setBold(true);
    p.setFont(titulo);
    const QFontMetricsF ft(titulo);
    p.drawText(QRectF(marco.left(), marco.bottom() + 3 * escala, marco.width(), ft.height()),
               Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("C2H2/C2H4"));
    p.drawText(QRectF(0, marco.center().y() - ft.height() / 2, marco.left() - 2 * escala, ft.height()),
               Qt::AlignCenter, QStringLiteral("CH4/H2"));

    // Zone captions on their zone's colour, so each reads as the key of its area.
    p.setFont(fuente);
    for (const Zona& zona : kZonas) {
        const QString leyenda = QString::fromUtf8(zona.leyenda);
        const QSizeF tam(fm.horizontalAdvance(leyenda) + 4, fm.height());
        const QRectF caja(aPixeles(zona.centroLeyenda) - QPointF(tam.width() / 2, tam.height() / 2), tam);
        p.fillRect(caja, zona.color);
        p.drawText(caja, Qt::AlignCenter, leyenda);
    }

    // The marker: a black disc ringed in white, so it stands out on every zone.
    if (!m_marcadorVisible)
        return;
    const QPointF centro = centroMarcador();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(centro, kRadioMarcador * escala, kRadioMarcador * escala);
    p.setBrush(Qt::black);
    p.drawEllipse(centro, kRadioCentro * escala, kRadioCentro * escala);
}

void Dornenburg::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (event->size() != fixedSizeAt(lumerix::logicalDpi(this)))
        applyFixedSize();
}

void Dornenburg::showEvent(QShowEvent* event)
{
    // The size in pixels follows the resolution of the screen the chart is shown on.
    applyFixedSize();
    QWidget::showEvent(event);
}

void Dornenburg::applyFixedSize()
{
    setFixedSize(fixedSizeAt(lumerix::logicalDpi(this)));
}
