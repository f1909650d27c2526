#include "controls/Palette.h"

#include <QPaintDevice>
#include <cmath>

namespace lumerix {

QColor colorFromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

bool isEstadoValido(int estado)
{
    return estado >= kEstadoApagado && estado <= kEstadoRojo;
}

QColor lampColor(int estado)
{
    switch (estado) {
    case kEstadoApagado:
        return colorFromBgr(kLamparaOscura);
    case kEstadoVerde:
        return colorFromBgr(kLamparaVerde);
    case kEstadoAmarillo:
        return colorFromBgr(kLamparaAmarilla);
    case kEstadoRojo:
        return colorFromBgr(kLamparaRoja);
    default:
        return QColor();
    }
}

QColor rayColor(int estado)
{
    switch (estado) {
    case kEstadoVerde:
        return colorFromBgr(kRayosVerde);
    case kEstadoAmarillo:
        return colorFromBgr(kRayosAmarilla);
    case kEstadoRojo:
        return colorFromBgr(kRayosRoja);
    default:
        return QColor();
    }
}

int twipsToPixels(int twips, qreal dpi)
{
    return int(std::lround(twips * dpi / kTwipsPerInch));
}

qreal logicalDpi(const QPaintDevice* device)
{
    // A device without a resolution (or none at all) is laid out at the classic 96 dpi.
    if (!device || device->logicalDpiX() <= 0)
        return 96.0;
    return device->logicalDpiX();
}

} // namespace lumerix
