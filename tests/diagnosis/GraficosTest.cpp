#include "controls/Palette.h"
#include "diagnosis/ui/Dornenburg.h"
#include "diagnosis/ui/Semaforo.h"

#include <QImage>
#include <QSignalSpy>
#include <cmath>
#include <gtest/gtest.h>

// Pixel figures assume 96 dpi: 15 twips a pixel.
namespace {

QImage render(QWidget& w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

const QColor kOscuro(64, 64, 64), kTermico(255, 192, 128), kArqueo(128, 128, 255);

// Chart units of the ratio chart to a pixel: 49.5 twips across and 39 twips down per unit.
QPoint pixel(double x, double y)
{
    return QPoint(int(std::floor(x * 49.5 / 15)), int(std::floor(y * 39 / 15)));
}

// Top (red) to bottom (green): the lit fill, the ray colour, the lamp's centre and a pixel on the
// part of its left ray outside the lamp.
struct Lampara
{
    QColor encendida, rayo;
    QPoint centro, enRayo;
};
const Lampara kLamparas[3] = {
    {QColor(192, 64, 0), QColor(244, 91, 9), {18, 20}, {5, 18}},
    {QColor(255, 255, 0), QColor(255, 255, 192), {18, 50}, {5, 49}},
    {QColor(0, 192, 0), QColor(0, 255, 0), {18, 80}, {5, 79}},
};

// Estado 3 lights the top lamp, 2 the middle one, 1 the bottom one; any other value none.
int lamparaDe(int estado)
{
    return estado >= 1 && estado <= 3 ? 3 - estado : -1;
}

// The lamps as state `lamparas` fills them, and the rays of lamp `rayos` (-1: none) only.
void comprobar(Semaforo& semaforo, int lamparas, int rayos)
{
    const QImage imagen = render(semaforo);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(imagen.pixelColor(kLamparas[i].centro),
                  i == lamparaDe(lamparas) ? kLamparas[i].encendida : kOscuro);
        const QColor rayo = imagen.pixelColor(kLamparas[i].enRayo);
        if (i == rayos)
            EXPECT_EQ(rayo, kLamparas[i].rayo);
        else
            for (const Lampara& otra : kLamparas)
                EXPECT_NE(rayo, otra.rayo);
    }
}

} // namespace

// A known code relights the lamps and shows the lit lamp's rays only; an unknown one hides the
// rays and leaves the lamps as they were.
TEST(Semaforo, EveryStateChangeRedrawsFromTheLastOne)
{
    for (int antes = 0; antes <= 3; ++antes) {
        for (int despues : {0, 1, 2, 3, 7, -3, 4}) {
            SCOPED_TRACE(std::to_string(antes) + " -> " + std::to_string(despues));
            Semaforo semaforo;
            semaforo.setEstado(antes);
            render(semaforo);
            QSignalSpy avisos(&semaforo, &Semaforo::estadoChanged);
            semaforo.setEstado(despues);
            EXPECT_EQ(semaforo.estado(), despues);
            ASSERT_EQ(avisos.count(), 1);
            EXPECT_EQ(avisos.at(0).at(0).toInt(), despues);
            comprobar(semaforo, despues >= 0 && despues <= 3 ? despues : antes, lamparaDe(despues));
        }
    }
}

TEST(Semaforo, PostBelowTheLampsAndAFixedSize)
{
    Semaforo semaforo;
    ASSERT_EQ(semaforo.logicalDpiX(), 96);
    const QImage imagen = render(semaforo);
    // The post runs from 1515 to 1965 twips down.
    EXPECT_NE(imagen.pixelColor(18, 99), kOscuro);
    EXPECT_EQ(imagen.pixelColor(18, 106), kOscuro);
    EXPECT_EQ(imagen.pixelColor(18, 130), kOscuro);
    EXPECT_NE(imagen.pixelColor(18, 133), kOscuro);
    // Any resize snaps back to 570 x 2115 twips.
    semaforo.resize(100, 10);
    EXPECT_EQ(semaforo.size(), QSize(38, 141));
    semaforo.show();
    EXPECT_EQ(semaforo.size(), QSize(38, 141));
    EXPECT_EQ(Semaforo::fixedSizeAt(144), QSize(57, 212));
}

TEST(DornenburgGrafico, AxesAreClampedAndTheSizeIsFixed)
{
    Dornenburg chart;
    ASSERT_EQ(lumerix::logicalDpi(&chart), 96.0);
    // A new chart starts in the bottom-left corner; the notification carries the clamped value.
    EXPECT_EQ(QPointF(chart.ejeX(), chart.ejeY()), QPointF(0.001, 0.001));
    QSignalSpy x(&chart, &Dornenburg::ejeXChanged), y(&chart, &Dornenburg::ejeYChanged);
    chart.setEjeX(250);
    chart.setEjeY(0);
    EXPECT_EQ(QPointF(chart.ejeX(), chart.ejeY()), QPointF(100, 0.001));
    ASSERT_EQ(x.count() + y.count(), 2);
    EXPECT_EQ(QPointF(x.at(0).at(0).toDouble(), y.at(0).at(0).toDouble()), QPointF(100, 0.001));

    const QSize fija(274, 201); // 4110 x 3015 twips
    EXPECT_EQ(chart.size(), fija);
    chart.show();
    chart.resize(100, 300);
    EXPECT_EQ(chart.size(), fija);
}

TEST(DornenburgGrafico, PaintsTheZonesAndTheMarkerOnThePoint)
{
    Dornenburg chart;
    QImage imagen = render(chart);
    // Points inside each zone, away from the captions and the marker, and one outside them all.
    const std::tuple<double, double, QColor> zonas[] = {
        {20, 18, kTermico}, {42, 33, kTermico}, {63, 37, kArqueo}, {62, 63, Qt::red}, {60, 25, Qt::white}};
    for (const auto& [x, y, color] : zonas)
        EXPECT_EQ(imagen.pixelColor(pixel(x, y)), color) << x << ", " << y;

    // 0.01 across and 10 up is inside the thermal zone: the marker's dark centre sits on it.
    const QPoint centro = pixel(26, 25);
    EXPECT_EQ(imagen.pixelColor(centro), kTermico);
    chart.setEjeX(0.01);
    chart.setEjeY(10);
    imagen = render(chart);
    EXPECT_EQ(imagen.pixelColor(centro), QColor(Qt::black));
    EXPECT_EQ(imagen.pixelColor(centro + QPoint(12, 0)), kTermico);
    EXPECT_EQ(imagen.pixelColor(centro - QPoint(12, 0)), kTermico);

    // Clamped to the top-right corner: the marker left the point and its dark disc lies just
    // inside the frame's corner.
    chart.setEjeX(1000);
    chart.setEjeY(1000);
    imagen = render(chart);
    EXPECT_EQ(imagen.pixelColor(centro), kTermico);
    EXPECT_LT(qGray(imagen.pixel(pixel(66, 15) + QPoint(-1, 1))), 40);
}
