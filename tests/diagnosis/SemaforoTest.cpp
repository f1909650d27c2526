#include "diagnosis/ui/Semaforo.h"
#include "diagnosis/ui/Controles.h"
#include "tests/controls/LightProbe.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>

using namespace lightprobe;

namespace {

const QColor kOscuro(64, 64, 64);
const QColor kRayos[3] = {QColor(244, 91, 9), QColor(255, 255, 192), QColor(0, 255, 0)};
const QColor kEncendida[3] = {QColor(192, 64, 0), QColor(255, 255, 0), QColor(0, 192, 0)};

// Top (red) to bottom (green): lamp centre and the four rays, in twips.
struct Lampara
{
    QPoint centro;
    QLineF rayos[4];
};
const Lampara kLamparas[3] = {
    {pixelOf(277.5, 307.5),
     {QLineF(60, 285, 210, 285), QLineF(330, 285, 480, 285), QLineF(270, 360, 270, 510),
      QLineF(270, 90, 270, 240)}},
    {pixelOf(277.5, 757.5),
     {QLineF(330, 750, 480, 750), QLineF(60, 750, 210, 750), QLineF(270, 540, 270, 690),
      QLineF(270, 810, 270, 960)}},
    {pixelOf(277.5, 1207.5),
     {QLineF(330, 1200, 480, 1200), QLineF(60, 1200, 210, 1200), QLineF(270, 1005, 270, 1155),
      QLineF(270, 1275, 270, 1425)}},
};

// lamps: the fill of each lamp; lit: the lamp whose rays show, or -1.
void expectLight(const QImage& image, const QColor (&lamps)[3], int lit)
{
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(colourAt(image, kLamparas[i].centro, lamps[i]));
        for (const QLineF& rayo : kLamparas[i].rayos) {
            const RayPixels pixels = rayPixels(rayo);
            for (const QPoint& p : pixels.on) {
                if (i == lit) {
                    EXPECT_TRUE(colourAt(image, p, kRayos[i])) << "ray " << rayo.x1() << "," << rayo.y1();
                } else {
                    for (const QColor& rayos : kRayos) {
                        EXPECT_TRUE(notColourAt(image, p, rayos)) << "ray " << rayo.x1() << "," << rayo.y1();
                    }
                }
            }
            for (const QPoint& p : pixels.past)
                for (const QColor& rayos : kRayos)
                    EXPECT_TRUE(notColourAt(image, p, rayos)) << "past ray " << rayo.x1() << "," << rayo.y1();
        }
    }
}

struct Caso
{
    int estado;
    QColor lamps[3];
    int lit;
};

const Caso kCasos[] = {
    {0, {kOscuro, kOscuro, kOscuro}, -1},
    {1, {kOscuro, kOscuro, kEncendida[2]}, 2},
    {2, {kOscuro, kEncendida[1], kOscuro}, 1},
    {3, {kEncendida[0], kOscuro, kOscuro}, 0},
};

} // namespace

TEST(Semaforo, DrawsEachStateWithItsPalette)
{
    for (const Caso& caso : kCasos) {
        SCOPED_TRACE(caso.estado);
        Semaforo semaforo;
        semaforo.setEstado(caso.estado);
        expectLight(render(semaforo), caso.lamps, caso.lit);
    }
}

TEST(Semaforo, PostStandsBelowTheLamps)
{
    Semaforo semaforo;
    const QImage imagen = render(semaforo);
    // Post from (270, 1515) to (270, 1965), five pixels wide.
    EXPECT_TRUE(colourAt(imagen, pixelOf(270, 1600), kOscuro));
    EXPECT_TRUE(colourAt(imagen, pixelOf(270, 1950), kOscuro));
    EXPECT_FALSE(colourAt(imagen, pixelOf(270, 1490), kOscuro));
    EXPECT_FALSE(colourAt(imagen, pixelOf(270, 2000), kOscuro));
}

TEST(Semaforo, EveryStateChangeRedrawsFromTheLastOne)
{
    for (const Caso& antes : kCasos) {
        for (const Caso& despues : kCasos) {
            SCOPED_TRACE(QStringLiteral("%1 -> %2").arg(antes.estado).arg(despues.estado).toStdString());
            Semaforo semaforo;
            semaforo.setEstado(antes.estado);
            render(semaforo);
            semaforo.setEstado(despues.estado);
            expectLight(render(semaforo), despues.lamps, despues.lit);
        }
    }
}

TEST(Semaforo, UnknownCodeHidesRaysAndKeepsTheLamps)
{
    for (const Caso& antes : kCasos) {
        for (int desconocido : {7, -3, 4}) {
            SCOPED_TRACE(QStringLiteral("%1 -> %2").arg(antes.estado).arg(desconocido).toStdString());
            Semaforo semaforo;
            semaforo.setEstado(antes.estado);
            semaforo.setEstado(desconocido);
            EXPECT_EQ(semaforo.estado(), desconocido);
            EXPECT_EQ(semaforo.litLamp(), -1);
            expectLight(render(semaforo), antes.lamps, -1);
        }
    }
}

TEST(Semaforo, WritingSignalsThePropertyName)
{
    Semaforo semaforo;
    QSignalSpy nombres(&semaforo, &Semaforo::propertyChanged);
    QSignalSpy estados(&semaforo, &Semaforo::estadoChanged);
    ASSERT_TRUE(semaforo.setProperty("Estado", 2));
    semaforo.setEstado(2);
    ASSERT_EQ(nombres.count(), 2);
    EXPECT_EQ(nombres.at(0).at(0).toString(), QStringLiteral("Estado"));
    ASSERT_EQ(estados.count(), 2);
    EXPECT_EQ(estados.at(0).at(0).toInt(), 2);
    EXPECT_EQ(semaforo.property("Estado").toInt(), 2);
}

TEST(Semaforo, SavedRedShowsRedWhenLoaded)
{
    for (const Caso& caso : kCasos) {
        SCOPED_TRACE(caso.estado);
        Semaforo guardado;
        guardado.setEstado(caso.estado);
        QVariantMap bolsa;
        guardado.writeProperties(bolsa);
        EXPECT_EQ(bolsa.contains(QStringLiteral("Estado")), caso.estado != 0);
        Semaforo cargado;
        cargado.setEstado(3);
        cargado.readProperties(bolsa);
        EXPECT_EQ(cargado.estado(), caso.estado);
        expectLight(render(cargado), caso.lamps, caso.lit);
    }
    Semaforo sinValor;
    sinValor.setEstado(1);
    sinValor.readProperties({{QStringLiteral("Estado"), QStringLiteral("verde")}});
    EXPECT_EQ(sinValor.estado(), 0);
}

TEST(Semaforo, SizeSnapsBackToFixedTwips)
{
    Semaforo semaforo;
    ASSERT_EQ(semaforo.logicalDpiX(), 96);
    const QSize fijo(38, 141); // 570 x 2115 twips
    EXPECT_EQ(semaforo.size(), fijo);
    for (const QSize& pedido : {QSize(100, 100), QSize(38, 10), QSize(400, 2000)}) {
        semaforo.resize(pedido);
        EXPECT_EQ(semaforo.size(), fijo);
    }
    semaforo.show();
    EXPECT_EQ(semaforo.size(), fijo);
    EXPECT_EQ(Semaforo::fixedSizeAt(144), QSize(57, 212));
}

TEST(Semaforo, CreatedByItsIdentifier)
{
    QString error;
    std::unique_ptr<QWidget> control(
        quorvela::createControl(QStringLiteral("Quorvela.Semaforo"), nullptr, &error));
    ASSERT_NE(qobject_cast<Semaforo*>(control.get()), nullptr);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_TRUE(control->setProperty("Estado", 3));
    expectLight(render(*control), kCasos[3].lamps, 0);

    EXPECT_EQ(quorvela::createControl(QStringLiteral("Lumerix.SemaforoLuz"), nullptr, &error), nullptr);
    EXPECT_EQ(error, QStringLiteral("No existe el control 'Lumerix.SemaforoLuz' en Quorvela"));
}
