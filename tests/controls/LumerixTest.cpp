#include "controls/Factory.h"
#include "controls/Palette.h"
#include "controls/Registro.h"
#include "controls/SemaforoLuz.h"
#include "tests/support/Texto.h"

#include <QMetaProperty>
#include <QPainter>
#include <QSignalSpy>
#include <gtest/gtest.h>

using lumerix::Registro;
using lumerix::SemaforoLuz;

namespace {

const QColor kOscuro(64, 64, 64), kVerde(0, 192, 0), kAmarillo(255, 255, 0), kRojo(192, 64, 0);
const QColor kRayoVerde(0, 255, 0), kRayoAmarillo(255, 255, 192), kRayoRojo(244, 91, 9);

struct Aspecto
{
    int estado;
    QColor lampara;
    QColor rayos; // invalid: no rays
};
const Aspecto kAspectos[] = {
    {0, kOscuro, QColor()}, {1, kVerde, kRayoVerde}, {2, kAmarillo, kRayoAmarillo}, {3, kRojo, kRayoRojo}};

QImage render(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

std::string nombre(const QColor& color)
{
    return color.isValid() ? color.name().toStdString() : "ninguno";
}

// Checks a light drawn with its corner at origen: the lamp's centre (217.5, 202.5 twips in) and the
// middle of each ray, which shows the ray colour, or none of the three when there are no rays.
void expectLight(const QImage& imagen, QPoint origen, qreal dpi, const QColor& lampara, const QColor& rayos)
{
    const auto en = [&](qreal x, qreal y) {
        const QPoint p = origen + QPoint(int(x * dpi / 1440), int(y * dpi / 1440));
        return imagen.rect().contains(p) ? imagen.pixelColor(p) : QColor();
    };
    EXPECT_EQ(nombre(en(217.5, 202.5)), nombre(lampara));
    for (const QColor& rayo : {en(75, 195), en(330, 195), en(210, 330), en(210, 75)}) {
        const bool esRayo = rayo == kRayoVerde || rayo == kRayoAmarillo || rayo == kRayoRojo;
        EXPECT_EQ(esRayo ? nombre(rayo) : nombre(QColor()), nombre(rayos));
    }
}

} // namespace

TEST(Palette, TwipsRoundToTheNearestPixel)
{
    const std::tuple<int, qreal, int> casos[] = {{15, 96, 1},   {7, 96, 0},    {8, 96, 1},
                                                 {-15, 96, -1}, {435, 72, 22}, {2115, 120, 176}};
    for (const auto& [twips, dpi, pixels] : casos)
        EXPECT_EQ(lumerix::twipsToPixels(twips, dpi), pixels) << twips << " twips at " << dpi;
}

TEST(SemaforoLuz, EveryCodeRedrawsFromTheLookBeforeAndTheDrawingScalesWithTheResolution)
{
    // Every pair of states catches rays or colours left over; an unknown code hides the rays
    // and leaves the lamp as it was.
    for (const Aspecto& antes : kAspectos) {
        for (int codigo : {0, 1, 2, 3, -1, 4, 5}) {
            SCOPED_TRACE(u("%1 -> %2").arg(antes.estado).arg(codigo).toStdString());
            SemaforoLuz luz;
            luz.setEstadoLuz(antes.estado);
            render(luz);
            luz.setEstadoLuz(codigo);
            EXPECT_EQ(int(luz.estadoLuz()), codigo);
            const bool conocido = codigo >= 0 && codigo <= 3;
            expectLight(render(luz), QPoint(0, 0), 96, conocido ? kAspectos[codigo].lampara : antes.lampara,
                        conocido ? kAspectos[codigo].rayos : QColor());
        }
    }
    // The light and the row keep their size; the drawing scales with the resolution.
    SemaforoLuz luz;
    Registro fila;
    ASSERT_EQ(luz.logicalDpiX(), 96);
    const QSize tamanos[] = {luz.size(), fila.size()};
    for (const QSize& pedido : {QSize(100, 100), QSize(5, 5), QSize(28, 200)}) {
        luz.resize(pedido);
        fila.resize(pedido);
        EXPECT_TRUE(luz.size() == tamanos[0] && fila.size() == tamanos[1]);
    }
    QImage imagen(SemaforoLuz::fixedSizeAt(192), QImage::Format_RGB32);
    imagen.fill(Qt::white);
    QPainter painter(&imagen);
    SemaforoLuz::paintLight(painter, QPointF(0, 0), 192, SemaforoLuz::lookFor(3, SemaforoLuz::Look{}));
    painter.end();
    expectLight(imagen, QPoint(0, 0), 192, kRojo, kRayoRojo);
}

// Each property lands in its own box or in the light, read back through the row's values, and
// signals the change; the row keeps nothing itself and reads what its light holds.
TEST(Registro, EachPropertyWritesItsOwnChildAndSignalsTheChange)
{
    const std::pair<const char*, QVariant> casos[] = {
        {"Codigo", u("12")},
        {"Area", u("Subestación Norte")},
        {"Marca", u("Ñandú Eléctrica")},
        {"Nroserie", u("A-4471/93")},
        {"Denominacion", u("Transformador de 132 kV")},
        {"Estado", 3},
    };
    for (int i = 0; i < 6; ++i) {
        const auto& [propiedad, valor] = casos[i];
        SCOPED_TRACE(propiedad);
        Registro fila;
        const QMetaObject* meta = fila.metaObject();
        QSignalSpy aviso(&fila, meta->property(meta->indexOfProperty(propiedad)).notifySignal());
        ASSERT_TRUE(fila.setProperty(propiedad, valor));
        ASSERT_EQ(aviso.count(), 1);
        EXPECT_EQ(aviso.at(0).at(0), valor);
        QVariantList esperado{QString(), QString(), QString(), QString(), QString(), 0};
        esperado[i] = valor;
        const Registro::RowValues v = fila.values();
        EXPECT_EQ((QVariantList{v.codigo, v.area, v.marca, v.nroserie, v.denominacion, v.estado}), esperado);
        fila.findChild<SemaforoLuz*>(u("SemaforoLuz1"))->setEstadoLuz(SemaforoLuz::Es_Amarillo);
        EXPECT_EQ(fila.estado(), 2);
    }
}

TEST(Registro, WidgetAndPaintedRowShowTheSameBoxesAndLight)
{
    // A painted row has no earlier colour, so an unknown code shows an unlit lamp there.
    QList<Aspecto> aspectos(std::begin(kAspectos), std::end(kAspectos));
    aspectos << Aspecto{9, kOscuro, QColor()};
    for (const Aspecto& aspecto : aspectos) {
        SCOPED_TRACE(aspecto.estado);
        Registro fila;
        fila.setCodigo(u("105"));
        fila.setArea(u("Playa de 132 kV"));
        fila.setMarca(u("Eléctrica del Sur"));
        fila.setDenominacion(u("Transformador de potencia muy largo que no cabe"));
        fila.setEstado(aspecto.estado);
        const QImage widget = fila.grab().toImage();
        // Painted on a larger canvas: nothing may spill over the row, though the light reaches past it.
        const QPoint en(20, 20);
        QImage lienzo(widget.size() + QSize(40, 40), widget.format());
        lienzo.fill(QColor(10, 20, 30));
        QPainter painter(&lienzo);
        Registro::paintRow(painter, QRect(en, Registro::rowSizeAt(96)), fila.values(), fila.font(),
                           fila.palette().color(QPalette::Window), 96);
        painter.end();
        lienzo = lienzo.convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(widget.convertToFormat(QImage::Format_RGB32) == lienzo.copy(QRect(en, widget.size())));
        for (const QPoint& fuera : {en + QPoint(503, -1), en + QPoint(503, 26)})
            EXPECT_EQ(lienzo.pixelColor(fuera), QColor(10, 20, 30));
        expectLight(lienzo, en + QPoint(489, -1), 96, aspecto.lampara, aspecto.rayos);
    }
}

TEST(Factory, CreatesTheControlsByIdentifierInAnyCaseAndNamesAnUnknownOne)
{
    // Each identifier with the type it makes; null: unknown.
    const std::pair<const char*, const QMetaObject*> casos[] = {
        {"Lumerix.SemaforoLuz", &SemaforoLuz::staticMetaObject},
        {"lumerix.semaforoluz", &SemaforoLuz::staticMetaObject},
        {"Lumerix.Registro", &Registro::staticMetaObject},
        {"LUMERIX.REGISTRO", &Registro::staticMetaObject},
        {"Lumerix.Semaforo", nullptr},
        {"Quorvela.SemaforoLuz", nullptr},
        {"Lumerix.Registro2", nullptr},
        {"", nullptr}};
    QWidget padre;
    for (const auto& [nombreId, tipo] : casos) {
        const QString id = QString::fromLatin1(nombreId);
        QString error = u("sin tocar");
        QWidget* control = lumerix::createControl(id, &padre, &error);
        if (!tipo) {
            EXPECT_EQ(control, nullptr) << nombreId;
            EXPECT_EQ(error, u("No existe el control '%1' en la biblioteca Lumerix").arg(id));
            EXPECT_EQ(lumerix::createControl(id, nullptr), nullptr);
            continue;
        }
        ASSERT_NE(control, nullptr) << nombreId;
        EXPECT_EQ(control->metaObject(), tipo) << nombreId;
        EXPECT_EQ(control->parentWidget(), &padre);
        EXPECT_EQ(error, u("sin tocar"));
    }
    // The program places its lights this way and sets them with the stored ESTADO number; every
    // write tells the container, even of the same value.
    std::unique_ptr<QWidget> luz(lumerix::createControl(u("Lumerix.SemaforoLuz"), nullptr));
    QSignalSpy aviso(static_cast<SemaforoLuz*>(luz.get()), &SemaforoLuz::estadoLuzChanged);
    ASSERT_TRUE(luz->setProperty("EstadoLuz", 2));
    ASSERT_TRUE(luz->setProperty("EstadoLuz", 2));
    EXPECT_EQ(aviso.count(), 2);
    expectLight(render(*luz), QPoint(0, 0), 96, kAmarillo, kRayoAmarillo);
}
