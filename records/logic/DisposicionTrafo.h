#pragma once

#include <QRect>
#include <QSize>

// Where the main window puts its pieces: the tab control keeps its size and is centred,
// the bottom panel and the labels follow it. Distances are in twips (1440 per inch)
// converted with the screen's logical resolution.
class DisposicionTrafo
{
public:
    struct Piezas
    {
        QSize tabs;    // pixels
        QSize panel;   // pixels
        QSize modo;    // mode label
        QSize carpeta; // data-folder label, under the mode label
        QSize enlace;  // link label, right of the mode label
    };
    struct Geometria
    {
        QRect tabs;
        QRect panel;
        QRect modo;
        QRect carpeta;
        QRect enlace;
    };

    static constexpr int kTabsAnchoTwips = 15000;
    static constexpr int kTabsAltoTwips = 8700;
    static constexpr int kSubidaTwips = 650; // the tab control sits this far above the centre
    static constexpr int kPanelBajoTabsTwips = 60;
    static constexpr int kEtiquetasBajoPanelTwips = 50;

    static int aPixeles(int twips, qreal dpi);

    // Geometry for a window of size ventana. When the window is too small the pieces are
    // pushed back inside it (top and left edges first) rather than placed off-screen.
    static Geometria calcular(const QSize& ventana, const Piezas& piezas, qreal dpiY);
    // The smallest window that shows every piece.
    static QSize minimo(const Piezas& piezas, qreal dpiY);
};
