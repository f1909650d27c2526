#pragma once

#include "controls/LumerixExport.h"

#include <QColor>
#include <QtGlobal>

class QPaintDevice;

// Colours and measures of the lights. Layouts are given in twips and colours as Windows
// colour values (0x00BBGGRR); every conversion to Qt goes through these helpers.
namespace lumerix {

// Lamp palette shared by the single-lamp and the three-lamp lights.
inline constexpr quint32 kLamparaOscura = 0x00404040;
inline constexpr quint32 kLamparaVerde = 0x0000C000;
inline constexpr quint32 kRayosVerde = 0x0000FF00;
inline constexpr quint32 kLamparaAmarilla = 0x0000FFFF;
inline constexpr quint32 kRayosAmarilla = 0x00C0FFFF;
inline constexpr quint32 kLamparaRoja = 0x000040C0;
inline constexpr quint32 kRayosRoja = 0x00095BF4;

// State codes shared with the stored ESTADO values.
inline constexpr int kEstadoApagado = 0;
inline constexpr int kEstadoVerde = 1;
inline constexpr int kEstadoAmarillo = 2;
inline constexpr int kEstadoRojo = 3;

inline constexpr int kTwipsPerInch = 1440;

// QColor from a Windows colour value: the low byte is red, then green, then blue.
LUMERIX_EXPORT QColor colorFromBgr(quint32 bgr);

// True for the four known state codes 0 to 3.
LUMERIX_EXPORT bool isEstadoValido(int estado);

// Fill of a lamp lit by the state (dark for 0); invalid QColor for an unknown code.
LUMERIX_EXPORT QColor lampColor(int estado);

// Colour of the rays around a lit lamp; invalid QColor for 0 and unknown codes (no rays).
LUMERIX_EXPORT QColor rayColor(int estado);

// Twips to pixels at a logical resolution (15 twips per pixel at 96 dpi).
LUMERIX_EXPORT int twipsToPixels(int twips, qreal dpi);

// The logical resolution a device lays out twips at.
LUMERIX_EXPORT qreal logicalDpi(const QPaintDevice* device);

} // namespace lumerix
