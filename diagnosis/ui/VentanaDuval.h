#pragma once

#include "diagnosis/logic/Duval.h"
#include "diagnosis/ui/VentanaMetodo.h"

#include <QColor>
#include <QWidget>
#include <optional>

class QCheckBox;
class QLabel;

// The drawing of Duval's triangle or pentagon: the coloured zones with their codes and, when
// the test has the needed gases, the sample's point as a ring whose centre keeps the zone's
// colour.
class DibujoDuval : public QWidget
{
    Q_OBJECT
public:
    enum class Figura
    {
        Triangulo,
        Pentagono,
    };

    explicit DibujoDuval(Figura figura, QWidget* parent = nullptr);

    // The sample's place: (CH4, C2H4, C2H2) percentages for the triangle, the centroid for the
    // pentagon; nothing hides the point.
    void setPunto(const std::optional<QPointF>& punto);
    std::optional<QPointF> punto() const { return m_punto; }
    // Where a point of the figure lands in the widget as it is now.
    QPointF aPantalla(const QPointF& punto) const;

    static QColor color(diagnostico::duval::ZonaTriangulo zona);
    static QColor color(diagnostico::duval::ZonaPentagono zona);

    QSize sizeHint() const override { return {420, 400}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The figure's frame: the triangle in units of its side, the pentagon in percent units.
    QRectF marco() const;
    QPointF trianguloAPlano(const diagnostico::duval::Ternario& t) const;

    Figura m_figura;
    std::optional<QPointF> m_punto;
};

// A modeless window beside the gas-method windows: Duval's Triangle 1 or Pentagon 1 for the
// test shown in the main window, its percentages and its zone with the zone's meaning.
class VentanaDuval : public QWidget
{
    Q_OBJECT
public:
    // siempreVisible as for the method windows: set by "Siempre Visible", cleared on close.
    VentanaDuval(DibujoDuval::Figura figura, FuenteEnsayo fuente, bool& siempreVisible,
                 QWidget* parent = nullptr);

    // Reads the current test again and redraws.
    void recalcular();

    DibujoDuval* dibujo() const { return m_dibujo; }
    QCheckBox* check1() const { return m_check1; }
    // "PD", "D1", ... or empty when no point is drawn.
    QString zona() const { return m_zona; }
    // The zone with its meaning, or why there is no point.
    QString textoZona() const;
    // The percentages as shown, one line per gas.
    QString textoPorcentajes() const;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void sinPunto(const QString& motivo);

    DibujoDuval::Figura m_figura;
    FuenteEnsayo m_fuente;
    bool& m_siempreVisible;
    DibujoDuval* m_dibujo = nullptr;
    QCheckBox* m_check1 = nullptr;
    QLabel* m_porcentajes = nullptr;
    QLabel* m_zonaTexto = nullptr;
    QString m_zona;
};
