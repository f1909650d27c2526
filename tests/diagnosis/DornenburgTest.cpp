#include "diagnosis/ui/Dornenburg.h"

#include "controls/Palette.h"

#include <QImage>
#include <QSignalSpy>
#include <cmath>
#include <gtest/gtest.h>

namespace {

const QColor kTermico(255, 192, 128);
const QColor kArqueo(128, 128, 255);
const QColor kCorona(255, 0, 0);

// Chart units to pixels at 96 dpi: 49.5 twips across and 39 twips down per unit, 15 twips a pixel.
QPointF pixeles(double x, double y)
{
    return QPointF(x * 49.5 / 15, y * 39 / 15);
}

QImage render(QWidget& w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRgb pixelEn(const QImage& image, QPointF p)
{
    return image.pixel(int(std::floor(p.x())), int(std::floor(p.y())));
}

class DornenburgTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(lumerix::logicalDpi(&chart), 96.0) << "pixel figures assume 96 dpi"; }
    Dornenburg chart;
};

TEST_F(DornenburgTest, StartsAtTheBottomLeftCorner)
{
    EXPECT_DOUBLE_EQ(chart.ejeX(), 0.001);
    EXPECT_DOUBLE_EQ(chart.ejeY(), 0.001);
    const QPointF c = chart.centroMarcador();
    EXPECT_NEAR(c.x(), pixeles(16, 0).x(), 1e-9);
    EXPECT_NEAR(c.y(), pixeles(0, 65).y(), 1e-9);
}

struct CasoMarcador
{
    double escrito;
    double leido;
    double unidades; // distance of the centre from the plot's left (EjeX) or bottom (EjeY) edge
};

TEST_F(DornenburgTest, MarkerCentreFollowsBothAxesAndClamps)
{
    const CasoMarcador casos[] = {
        {1, 1, 30},
        {250, 100, 50},
        {0, 0.001, 0},
        {-1, 0.001, 0},
        {0.001, 0.001, 0},
        {100, 100, 50},
        {0.01, 0.01, 10},
        {10, 10, 40},
        {0.52, 0.52, 30 + 10 * std::log10(0.52)},
        {99.9, 99.9, 30 + 10 * std::log10(99.9)},
    };
    for (const CasoMarcador& caso : casos) {
        SCOPED_TRACE(caso.escrito);
        chart.setEjeX(caso.escrito);
        chart.setEjeY(0.001);
        EXPECT_DOUBLE_EQ(chart.ejeX(), caso.leido);
        EXPECT_NEAR(chart.centroMarcador().x(), pixeles(16 + caso.unidades, 0).x(), 1e-6);
        EXPECT_NEAR(chart.centroMarcador().y(), pixeles(0, 65).y(), 1e-6);

        chart.setEjeX(0.001);
        chart.setEjeY(caso.escrito);
        EXPECT_DOUBLE_EQ(chart.ejeY(), caso.leido);
        EXPECT_NEAR(chart.centroMarcador().x(), pixeles(16, 0).x(), 1e-6);
        EXPECT_NEAR(chart.centroMarcador().y(), pixeles(0, 65 - caso.unidades).y(), 1e-6);
    }
}

TEST_F(DornenburgTest, ReportsEachChangeUnderThePropertyName)
{
    QSignalSpy spy(&chart, &Dornenburg::propertyChanged);
    QSignalSpy spyX(&chart, &Dornenburg::ejeXChanged);
    chart.setEjeX(250);
    chart.setEjeY(0.5);
    chart.setProperty("EjeX", 0.0);
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("EjeX"));
    EXPECT_EQ(spy.at(1).at(0).toString(), QStringLiteral("EjeY"));
    EXPECT_EQ(spy.at(2).at(0).toString(), QStringLiteral("EjeX"));
    // The notification carries the stored, clamped value.
    ASSERT_EQ(spyX.count(), 2);
    EXPECT_DOUBLE_EQ(spyX.at(0).at(0).toDouble(), 100);
    EXPECT_DOUBLE_EQ(spyX.at(1).at(0).toDouble(), 0.001);
    EXPECT_DOUBLE_EQ(chart.property("EjeY").toDouble(), 0.5);
}

TEST_F(DornenburgTest, KeepsItsFixedSize)
{
    const QSize fija(274, 201); // 4110 x 3015 twips
    EXPECT_EQ(chart.size(), fija);
    chart.resize(500, 80);
    EXPECT_EQ(chart.size(), fija);
    chart.show();
    chart.resize(100, 300);
    EXPECT_EQ(chart.size(), fija);
    EXPECT_EQ(chart.sizeHint(), fija);
}

TEST_F(DornenburgTest, PaintsTheZonesAndTheMarker)
{
    // Points inside each zone, away from the captions and the default marker.
    struct Zona
    {
        const char* nombre;
        QPointF unidades;
        QColor color;
    } zonas[] = {
        {"Térmico", {20, 18}, kTermico}, {"Térmico", {42, 33}, kTermico}, {"Arqueo", {63, 37}, kArqueo},
        {"Arqueo", {46, 44.5}, kArqueo}, {"Corona", {62, 63}, kCorona},   {"Corona", {60, 47}, kCorona},
    };
    QImage image = render(chart);
    for (const Zona& z : zonas) {
        SCOPED_TRACE(z.nombre);
        EXPECT_EQ(QColor(pixelEn(image, pixeles(z.unidades.x(), z.unidades.y()))), z.color);
    }
    // Outside the zones the plot is white: right of the thermal zone above the arcing zone.
    EXPECT_EQ(QColor(pixelEn(image, pixeles(60, 25))), QColor(Qt::white));

    // The marker sits centred on the point: 0.01 across and 10 up is inside the thermal zone.
    const QPointF centro = pixeles(26, 25);
    EXPECT_EQ(QColor(pixelEn(image, centro)), kTermico);
    chart.setEjeX(0.01);
    chart.setEjeY(10);
    image = render(chart);
    EXPECT_EQ(QColor(pixelEn(image, centro)), QColor(Qt::black));
    EXPECT_EQ(QColor(pixelEn(image, centro + QPointF(12, 0))), kTermico);
    EXPECT_EQ(QColor(pixelEn(image, centro - QPointF(12, 0))), kTermico);

    // Clamped to the top-right corner, the marker's centre lies on the frame's corner.
    chart.setEjeX(1000);
    chart.setEjeY(1000);
    image = render(chart);
    EXPECT_EQ(QColor(pixelEn(image, centro)), kTermico);
    // Just inside the corner, off the frame's lines: the marker's dark disc, softened at its edge.
    EXPECT_LT(qGray(pixelEn(image, pixeles(66, 15) + QPointF(-1, 1))), 40);
    EXPECT_EQ(QColor(pixelEn(image, pixeles(66, 15) + QPointF(-1, 1))).red(),
              QColor(pixelEn(image, pixeles(66, 15) + QPointF(-1, 1))).blue());
}

} // namespace
