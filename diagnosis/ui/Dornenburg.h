#pragma once

#include <QPointF>
#include <QWidget>

// Log-log ratio chart of the Dörnenburg method: C2H2/C2H4 across (EjeX), CH4/H2 up (EjeY),
// five decades each, with the thermal, arcing and corona zones and a marker on the test's point
// (none while the chart has no point to show).
class Dornenburg : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(double EjeX READ ejeX WRITE setEjeX NOTIFY ejeXChanged)
    Q_PROPERTY(double EjeY READ ejeY WRITE setEjeY NOTIFY ejeYChanged)

public:
    explicit Dornenburg(QWidget* parent = nullptr);

    double ejeX() const { return m_ejeX; }
    double ejeY() const { return m_ejeY; }
    // Values outside 0.001..100 are kept at the nearer end.
    void setEjeX(double valor);
    void setEjeY(double valor);

    // Whether the marker is drawn at (EjeX, EjeY); a new chart draws it.
    bool marcadorVisible() const { return m_marcadorVisible; }
    void setMarcadorVisible(bool visible);

    // Chart units to pixels of this control, and the marker's centre in pixels.
    QPointF aPixeles(QPointF unidades) const;
    QPointF centroMarcador() const;

    // The fixed size, 4110 x 3015 twips, at a resolution.
    static QSize fixedSizeAt(qreal dpi);
    QSize sizeHint() const override;

signals:
    void ejeXChanged(double valor);
    void ejeYChanged(double valor);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void applyFixedSize();

    double m_ejeX;
    double m_ejeY;
    bool m_marcadorVisible = true;
};
