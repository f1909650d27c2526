#pragma once

#include "controls/LumerixExport.h"
#include "controls/Palette.h"

#include <QColor>
#include <QWidget>

namespace lumerix {

// Single-lamp traffic light: a dark, green, yellow or red lamp with four short rays when lit.
class LUMERIX_EXPORT SemaforoLuz : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(TipoEstado EstadoLuz READ estadoLuz WRITE setEstadoLuz NOTIFY estadoLuzChanged)

public:
    // The numbers follow the stored ESTADO codes, not the declaration order.
    enum TipoEstado : qint32
    {
        Es_Apagado = 0,
        Es_Rojo = 3,
        Es_Amarillo = 2,
        Es_Verde = 1,
    };
    Q_ENUM(TipoEstado)

    // What the light shows; a code outside 0 to 3 keeps the lamp as it was.
    struct Look
    {
        QColor lamp = colorFromBgr(kLamparaOscura);
        QColor rays; // invalid when the rays are hidden
    };

    explicit SemaforoLuz(QWidget* parent = nullptr);

    TipoEstado estadoLuz() const { return m_estado; }
    // Any 32-bit code is kept, as stored states may hold values the enumeration does not name.
    void setEstadoLuz(TipoEstado estado);
    void setEstadoLuz(int estado) { setEstadoLuz(static_cast<TipoEstado>(estado)); }

    Look look() const { return m_look; }

    // The fixed size, 420 x 435 twips, at a resolution.
    static QSize fixedSizeAt(qreal dpi);
    // The look after a redraw for estado, starting from the look shown before.
    static Look lookFor(int estado, const Look& previous);
    // Draws the light with its top left corner at origin (pixels).
    static void paintLight(QPainter& painter, const QPointF& origin, qreal dpi, const Look& look);

    QSize sizeHint() const override;

signals:
    void estadoLuzChanged(lumerix::SemaforoLuz::TipoEstado estado);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void dibujar();
    void applyFixedSize();

    TipoEstado m_estado = Es_Apagado;
    Look m_look;
};

} // namespace lumerix
