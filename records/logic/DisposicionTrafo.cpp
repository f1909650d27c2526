#include "records/logic/DisposicionTrafo.h"

#include <QtGlobal>
#include <algorithm>

int DisposicionTrafo::aPixeles(int twips, qreal dpi)
{
    return qRound(twips * dpi / 1440.0);
}

namespace {

int altoTotal(const DisposicionTrafo::Piezas& p, qreal dpiY)
{
    return p.tabs.height() + DisposicionTrafo::aPixeles(DisposicionTrafo::kPanelBajoTabsTwips, dpiY) +
           p.panel.height() + DisposicionTrafo::aPixeles(DisposicionTrafo::kEtiquetasBajoPanelTwips, dpiY) +
           std::max(p.modo.height(), p.enlace.height()) + p.carpeta.height();
}

} // namespace

DisposicionTrafo::Geometria DisposicionTrafo::calcular(const QSize& ventana, const Piezas& p, qreal dpiY)
{
    Geometria g;
    const int total = altoTotal(p, dpiY);

    const int x = std::max(0, qRound((ventana.width() - p.tabs.width()) / 2.0));
    int y = qRound((ventana.height() - p.tabs.height()) / 2.0 - kSubidaTwips * dpiY / 1440.0);
    y = std::max(0, std::min(y, ventana.height() - total));
    g.tabs = QRect(QPoint(x, y), p.tabs);

    const int xPanel = std::max(0, qRound((ventana.width() - p.panel.width()) / 2.0));
    const int yPanel = g.tabs.y() + g.tabs.height() + aPixeles(kPanelBajoTabsTwips, dpiY);
    g.panel = QRect(QPoint(xPanel, yPanel), p.panel);

    const int yEtiquetas = g.panel.y() + g.panel.height() + aPixeles(kEtiquetasBajoPanelTwips, dpiY);
    g.modo = QRect(QPoint(g.panel.x(), yEtiquetas), p.modo);
    g.carpeta = QRect(QPoint(g.panel.x(), g.modo.y() + g.modo.height()), p.carpeta);
    g.enlace = QRect(QPoint(g.panel.x() + g.panel.width() - p.enlace.width(), yEtiquetas), p.enlace);
    return g;
}

QSize DisposicionTrafo::minimo(const Piezas& p, qreal dpiY)
{
    return {std::max(p.tabs.width(), p.panel.width()), altoTotal(p, dpiY)};
}
