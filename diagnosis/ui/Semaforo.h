#pragma once

#include <QColor>
#include <QWidget>

// Three-lamp status light of a test's evaluation: red at the top, yellow in the middle, green
// at the bottom. Estado 0 leaves all three dark; 1, 2 and 3 light one lamp with its rays.
class Semaforo : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int Estado READ estado WRITE setEstado NOTIFY estadoChanged)

public:
    // Lamps from the top: red, yellow, green.
    enum Lampara
    {
        LamparaRoja = 0,
        LamparaAmarilla = 1,
        LamparaVerde = 2
    };

    explicit Semaforo(QWidget* parent = nullptr);

    int estado() const { return m_estado; }
    void setEstado(int estado);

    QColor lampColorAt(Lampara lampara) const { return m_lamps[lampara]; }
    // The lamp whose rays are shown, or -1 when none are.
    int litLamp() const { return m_litLamp; }

    // The fixed size, 570 x 2115 twips, at a resolution.
    static QSize fixedSizeAt(qreal dpi);

    QSize sizeHint() const override;

signals:
    void estadoChanged(int estado);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void dibujar();
    void applyFixedSize();

    int m_estado = 0;
    QColor m_lamps[3];
    int m_litLamp = -1;
};
