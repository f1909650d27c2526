#include "controls/SemaforoLuz.h"
#include "controls/Palette.h"
#include "tests/controls/LightProbe.h"

#include <QMetaEnum>
#include <QPainter>
#include <QSignalSpy>
#include <gtest/gtest.h>

using lumerix::SemaforoLuz;
using namespace lightprobe;

namespace {

const QColor kOscuro(64, 64, 64);
const QColor kVerde(0, 192, 0);
const QColor kRayoVerde(0, 255, 0);
const QColor kAmarillo(255, 255, 0);
const QColor kRayoAmarillo(255, 255, 192);
const QColor kRojo(192, 64, 0);
const QColor kRayoRojo(244, 91, 9);

// The lamp's centre and the four rays, in twips.
const QPoint kCentro = pixelOf(217.5, 202.5);
const QLineF kRayos[] = {QLineF(0, 195, 150, 195), QLineF(255, 195, 405, 195), QLineF(210, 255, 210, 405),
                         QLineF(210, 0, 210, 150)};

void expectLight(const QImage& image, const QColor& lamp, const QColor& rays)
{
    EXPECT_TRUE(colourAt(image, kCentro, lamp));
    for (const QLineF& ray : kRayos) {
        const RayPixels pixels = rayPixels(ray);
        for (const QPoint& p : pixels.on) {
            if (rays.isValid()) {
                EXPECT_TRUE(colourAt(image, p, rays)) << "ray " << ray.x1() << "," << ray.y1();
            }
            for (const QColor& any : {kRayoVerde, kRayoAmarillo, kRayoRojo}) {
                if (any != rays) {
                    EXPECT_TRUE(notColourAt(image, p, any)) << "ray " << ray.x1() << "," << ray.y1();
                }
            }
        }
        for (const QPoint& p : pixels.past)
            for (const QColor& any : {kRayoVerde, kRayoAmarillo, kRayoRojo})
                EXPECT_TRUE(notColourAt(image, p, any)) << "past ray " << ray.x1() << "," << ray.y1();
    }
}

struct Caso
{
    int estado;
    QColor lamp;
    QColor rays;
};

const Caso kCasos[] = {
    {0, kOscuro, QColor()},
    {1, kVerde, kRayoVerde},
    {2, kAmarillo, kRayoAmarillo},
    {3, kRojo, kRayoRojo},
};

} // namespace

TEST(SemaforoLuz, EnumerationKeepsItsOrderAndCodes)
{
    const QMetaEnum e = QMetaEnum::fromType<SemaforoLuz::TipoEstado>();
    ASSERT_EQ(e.keyCount(), 4);
    const char* keys[] = {"Es_Apagado", "Es_Rojo", "Es_Amarillo", "Es_Verde"};
    const int values[] = {0, 3, 2, 1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(e.key(i), keys[i]);
        EXPECT_EQ(e.value(i), values[i]);
    }
}

TEST(SemaforoLuz, DrawsEachStateWithItsPalette)
{
    for (const Caso& caso : kCasos) {
        SCOPED_TRACE(caso.estado);
        SemaforoLuz luz;
        luz.setEstadoLuz(caso.estado);
        expectLight(render(luz), caso.lamp, caso.rays);
    }
}

TEST(SemaforoLuz, EveryStateChangeRedrawsFromTheLastOne)
{
    // Going through every pair catches rays or colours left over from the state before.
    for (const Caso& antes : kCasos) {
        for (const Caso& despues : kCasos) {
            SCOPED_TRACE(QStringLiteral("%1 -> %2").arg(antes.estado).arg(despues.estado).toStdString());
            SemaforoLuz luz;
            luz.setEstadoLuz(antes.estado);
            render(luz);
            luz.setEstadoLuz(despues.estado);
            expectLight(render(luz), despues.lamp, despues.rays);
        }
    }
}

TEST(SemaforoLuz, UnknownCodeHidesRaysAndKeepsTheLamp)
{
    for (const Caso& antes : kCasos) {
        for (int desconocido : {5, -1, 4, 255}) {
            SCOPED_TRACE(QStringLiteral("%1 -> %2").arg(antes.estado).arg(desconocido).toStdString());
            SemaforoLuz luz;
            luz.setEstadoLuz(antes.estado);
            luz.setEstadoLuz(desconocido);
            EXPECT_EQ(int(luz.estadoLuz()), desconocido);
            expectLight(render(luz), antes.lamp, QColor());
        }
    }
}

TEST(SemaforoLuz, WritingSignalsThePropertyName)
{
    SemaforoLuz luz;
    QSignalSpy nombres(&luz, &SemaforoLuz::propertyChanged);
    QSignalSpy notificado(&luz, &SemaforoLuz::estadoLuzChanged);
    luz.setEstadoLuz(SemaforoLuz::Es_Rojo);
    // Rewriting the same value still tells the container, which then saves it.
    luz.setEstadoLuz(SemaforoLuz::Es_Rojo);
    ASSERT_EQ(nombres.count(), 2);
    EXPECT_EQ(nombres.at(0).at(0).toString(), QStringLiteral("EstadoLuz"));
    EXPECT_EQ(notificado.count(), 2);
}

TEST(SemaforoLuz, PropertyInterfaceTakesStoredCodes)
{
    // The program sets the light through QObject properties with the stored ESTADO number.
    SemaforoLuz luz;
    QWidget& widget = luz;
    ASSERT_TRUE(widget.setProperty("EstadoLuz", 2));
    EXPECT_EQ(luz.estadoLuz(), SemaforoLuz::Es_Amarillo);
    EXPECT_EQ(widget.property("EstadoLuz").toInt(), 2);
    EXPECT_TRUE(colourAt(render(luz), kCentro, kAmarillo));
}

TEST(SemaforoLuz, PropertiesSurviveSaveAndLoad)
{
    for (const Caso& caso : kCasos) {
        SCOPED_TRACE(caso.estado);
        SemaforoLuz guardada;
        guardada.setEstadoLuz(caso.estado);
        QVariantMap bolsa;
        guardada.writeProperties(bolsa);
        EXPECT_EQ(bolsa.contains(QStringLiteral("EstadoLuz")), caso.estado != 0);

        SemaforoLuz cargada;
        cargada.setEstadoLuz(SemaforoLuz::Es_Verde);
        cargada.readProperties(bolsa);
        EXPECT_EQ(int(cargada.estadoLuz()), caso.estado);
        expectLight(render(cargada), caso.lamp, caso.rays);
    }
}

TEST(SemaforoLuz, LoadingWithoutAUsableValueGivesOff)
{
    const QVariantMap bolsas[] = {QVariantMap(), {{QStringLiteral("EstadoLuz"), QStringLiteral("rojo")}}};
    for (const QVariantMap& bolsa : bolsas) {
        SemaforoLuz luz;
        luz.setEstadoLuz(SemaforoLuz::Es_Rojo);
        luz.readProperties(bolsa);
        EXPECT_EQ(luz.estadoLuz(), SemaforoLuz::Es_Apagado);
        expectLight(render(luz), kOscuro, QColor());
    }
}

TEST(SemaforoLuz, SizeSnapsBackToFixedTwips)
{
    SemaforoLuz luz;
    ASSERT_EQ(luz.logicalDpiX(), 96);
    const QSize fijo(28, 29); // 420 x 435 twips
    EXPECT_EQ(luz.size(), fijo);
    for (const QSize& pedido : {QSize(100, 100), QSize(5, 5), QSize(28, 200)}) {
        luz.resize(pedido);
        EXPECT_EQ(luz.size(), fijo);
        luz.setGeometry(QRect(QPoint(3, 4), pedido));
        EXPECT_EQ(luz.size(), fijo);
    }
    luz.show();
    EXPECT_EQ(luz.size(), fijo);
    EXPECT_EQ(SemaforoLuz::fixedSizeAt(192), QSize(56, 58));
}

TEST(SemaforoLuz, DrawingScalesWithTheResolution)
{
    // At 192 dpi a twip is a 7.5th of a pixel and the rays are four pixels wide.
    QImage imagen(QSize(56, 58), QImage::Format_RGB32);
    imagen.fill(QColor(255, 255, 255));
    QPainter painter(&imagen);
    const SemaforoLuz::Look rojo = SemaforoLuz::lookFor(3, SemaforoLuz::Look{});
    SemaforoLuz::paintLight(painter, QPointF(0, 0), 192, rojo);
    painter.end();
    EXPECT_TRUE(colourAt(imagen, QPoint(29, 27), kRojo));
    for (const QPoint& p : {QPoint(0, 24), QPoint(19, 27), QPoint(34, 24), QPoint(53, 27), QPoint(28, 0),
                            QPoint(29, 19), QPoint(26, 34), QPoint(29, 53)})
        EXPECT_TRUE(colourAt(imagen, p, kRayoRojo));
    for (const QPoint& p : {QPoint(10, 23), QPoint(10, 28), QPoint(20, 25), QPoint(33, 25), QPoint(25, 10),
                            QPoint(30, 10), QPoint(29, 20), QPoint(29, 54)})
        EXPECT_TRUE(notColourAt(imagen, p, kRayoRojo));
}
