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

// The colour of a pixel; for rays, which of the three ray colours it shows ("ninguno" if none).
std::string colorEn(const QImage& imagen, QPoint p)
{
    return imagen.rect().contains(p) ? nombre(imagen.pixelColor(p)) : "fuera";
}
std::string rayoEn(const QImage& imagen, QPoint p)
{
    for (const QColor& rayo : {kRayoVerde, kRayoAmarillo, kRayoRojo})
        if (imagen.rect().contains(p) && imagen.pixelColor(p) == rayo)
            return nombre(rayo);
    return nombre(QColor());
}

// The lamp's centre (217.5, 202.5 twips from the light's corner) at a resolution.
QPoint centroLampara(QPoint origen, qreal dpi)
{
    return origen + QPoint(int(217.5 * dpi / 1440), int(202.5 * dpi / 1440));
}

// Checks a light drawn with its corner at origen: the lamp's centre, the first and last pixels
// of each ray (two pixels wide at 96 dpi, exactly as long as its line) and the pixels past them.
void expectLight(const QImage& imagen, QPoint origen, qreal dpi, const QColor& lampara, const QColor& rayos)
{
    EXPECT_EQ(colorEn(imagen, centroLampara(origen, dpi)), nombre(lampara));
    const qreal escala = dpi / 1440;
    const int ancho = int(2 * dpi / 96);
    for (const QLineF& rayo : {QLineF(0, 195, 150, 195), QLineF(255, 195, 405, 195),
                               QLineF(210, 255, 210, 405), QLineF(210, 0, 210, 150)}) {
        const bool horizontal = rayo.y1() == rayo.y2();
        const int a = qRound((horizontal ? rayo.y1() : rayo.x1()) * escala) - ancho / 2;
        const int primero = qRound((horizontal ? rayo.x1() : rayo.y1()) * escala);
        const int ultimo = qRound((horizontal ? rayo.x2() : rayo.y2()) * escala) - 1;
        const auto en = [&](int largo, int travs) {
            return origen + (horizontal ? QPoint(largo, travs) : QPoint(travs, largo));
        };
        for (const QPoint& p :
             {en(primero, a), en(ultimo, a), en(primero, a + ancho - 1), en(ultimo, a + ancho - 1)})
            EXPECT_EQ(rayoEn(imagen, p), nombre(rayos)) << "on a ray at " << p.x() << "," << p.y();
        for (const QPoint& p :
             {en(primero - 1, a), en(ultimo + 1, a), en(primero, a - 1), en(primero, a + ancho)})
            EXPECT_EQ(rayoEn(imagen, p), nombre(QColor())) << "past a ray at " << p.x() << "," << p.y();
    }
}

} // namespace

TEST(Palette, ColourValuesAreBlueGreenRedAndTwipsRoundToThePixel)
{
    EXPECT_EQ(lumerix::colorFromBgr(0x000040C0), QColor(192, 64, 0));
    EXPECT_EQ(lumerix::colorFromBgr(0x00095BF4), QColor(244, 91, 9));
    EXPECT_EQ(lumerix::colorFromBgr(0x00FF0000), QColor(0, 0, 255));
    const struct
    {
        int twips;
        qreal dpi;
        int pixels;
    } casos[] = {{15, 96, 1}, {7, 96, 0}, {8, 96, 1}, {-15, 96, -1}, {435, 72, 22}, {2115, 120, 176}};
    for (const auto& c : casos)
        EXPECT_EQ(lumerix::twipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
}

TEST(SemaforoLuz, EveryCodeRedrawsFromTheLookBefore)
{
    // Every pair of states catches rays or colours left over; an unknown code hides the rays
    // and leaves the lamp as it was.
    for (const Aspecto& antes : kAspectos) {
        for (int codigo : {0, 1, 2, 3, -1, 4, 5}) {
            SCOPED_TRACE(QStringLiteral("%1 -> %2").arg(antes.estado).arg(codigo).toStdString());
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
}

TEST(SemaforoLuz, ControlsKeepTheirFixedSizeAndDrawingScalesWithTheResolution)
{
    SemaforoLuz luz;
    Registro fila;
    ASSERT_EQ(luz.logicalDpiX(), 96);
    for (const QSize& pedido : {QSize(100, 100), QSize(5, 5), QSize(28, 200)}) {
        luz.resize(pedido);
        EXPECT_EQ(luz.size(), QSize(28, 29)); // 420 x 435 twips
        luz.setGeometry(QRect(QPoint(3, 4), pedido));
        EXPECT_EQ(luz.size(), QSize(28, 29));
        fila.resize(pedido);
        EXPECT_EQ(fila.size(), QSize(535, 26)); // 8025 x 390 twips
    }
    luz.show();
    EXPECT_EQ(luz.size(), QSize(28, 29));
    EXPECT_EQ(SemaforoLuz::fixedSizeAt(192), QSize(56, 58));

    QImage imagen(QSize(56, 58), QImage::Format_RGB32);
    imagen.fill(Qt::white);
    QPainter painter(&imagen);
    SemaforoLuz::paintLight(painter, QPointF(0, 0), 192, SemaforoLuz::lookFor(3, SemaforoLuz::Look{}));
    painter.end();
    expectLight(imagen, QPoint(0, 0), 192, kRojo, kRayoRojo);
}

TEST(Registro, EachPropertyWritesItsOwnChildAndSignalsTheChange)
{
    const struct
    {
        const char* propiedad;
        const char* hijo;
        QVariant valor;
    } casos[] = {
        {"Codigo", "Text1", QStringLiteral("12")},
        {"Area", "Text2", u("Subestación Norte")},
        {"Marca", "Text3", u("Ñandú Eléctrica")},
        {"Nroserie", "Text4", QStringLiteral("A-4471/93")},
        {"Denominacion", "Text5", QStringLiteral("Transformador de 132 kV")},
        {"Estado", "SemaforoLuz1", 3},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.propiedad);
        Registro fila;
        const QMetaObject* meta = fila.metaObject();
        QSignalSpy aviso(&fila, meta->property(meta->indexOfProperty(c.propiedad)).notifySignal());
        ASSERT_TRUE(fila.setProperty(c.propiedad, c.valor));
        ASSERT_EQ(aviso.count(), 1);
        EXPECT_EQ(aviso.at(0).at(0), c.valor);
        auto* luz = fila.findChild<SemaforoLuz*>(QStringLiteral("SemaforoLuz1"));
        ASSERT_NE(luz, nullptr);
        EXPECT_EQ(int(luz->estadoLuz()), qstrcmp(c.hijo, "SemaforoLuz1") == 0 ? 3 : 0);
        for (int i = 1; i <= 5; ++i) {
            const QString caja = QStringLiteral("Text%1").arg(i);
            QWidget* hijo = fila.findChild<QWidget*>(caja);
            ASSERT_NE(hijo, nullptr);
            EXPECT_EQ(hijo->property("text"), caja == QLatin1String(c.hijo) ? c.valor : QVariant(QString()))
                << caja.toStdString();
        }
        // The row keeps nothing itself: it reads what its light holds.
        luz->setEstadoLuz(SemaforoLuz::Es_Amarillo);
        EXPECT_EQ(fila.estado(), 2);
    }
}

TEST(Registro, WidgetAndPaintedRowShowTheSameWhiteBoxesAndLight)
{
    // A painted row has no earlier colour, so an unknown code shows an unlit lamp there.
    QList<Aspecto> aspectos(std::begin(kAspectos), std::end(kAspectos));
    aspectos << Aspecto{9, kOscuro, QColor()};
    for (const Aspecto& aspecto : aspectos) {
        SCOPED_TRACE(aspecto.estado);
        Registro fila;
        fila.setCodigo(QStringLiteral("105"));
        fila.setArea(QStringLiteral("Playa de 132 kV"));
        fila.setMarca(u("Eléctrica del Sur"));
        fila.setDenominacion(QStringLiteral("Transformador de potencia muy largo que no cabe"));
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

        const QPoint luz = en + QPoint(489, -1); // 7335, -15 twips
        EXPECT_EQ(colorEn(lienzo, centroLampara(luz, 96)), nombre(aspecto.lampara));
        for (const QPoint& fuera : {en + QPoint(503, -1), en + QPoint(503, 26)})
            EXPECT_EQ(colorEn(lienzo, fuera), nombre(QColor(10, 20, 30)));
        // The right-hand end of each box, clear of its text.
        for (int x : {36, 106, 231, 332, 466})
            EXPECT_EQ(colorEn(lienzo, en + QPoint(x, 13)), nombre(Qt::white)) << x;
    }
}

TEST(Factory, CreatesTheControlsByIdentifierInAnyCaseAndNamesAnUnknownOne)
{
    const struct
    {
        const char* id;
        const QMetaObject* tipo; // null: unknown
    } casos[] = {
        {"Lumerix.SemaforoLuz", &SemaforoLuz::staticMetaObject},
        {"lumerix.semaforoluz", &SemaforoLuz::staticMetaObject},
        {"Lumerix.Registro", &Registro::staticMetaObject},
        {"LUMERIX.REGISTRO", &Registro::staticMetaObject},
        {"Lumerix.Semaforo", nullptr},
        {"Quorvela.SemaforoLuz", nullptr},
        {"Lumerix.Registro2", nullptr},
        {"", nullptr},
    };
    QWidget padre;
    for (const auto& c : casos) {
        const QString id = QString::fromLatin1(c.id);
        QString error = QStringLiteral("sin tocar");
        QWidget* control = lumerix::createControl(id, &padre, &error);
        if (!c.tipo) {
            EXPECT_EQ(control, nullptr) << c.id;
            EXPECT_EQ(error, QStringLiteral("No existe el control '%1' en la biblioteca Lumerix").arg(id));
            EXPECT_EQ(lumerix::createControl(id, nullptr), nullptr);
            continue;
        }
        ASSERT_NE(control, nullptr) << c.id;
        EXPECT_EQ(control->metaObject(), c.tipo) << c.id;
        EXPECT_EQ(control->parentWidget(), &padre);
        EXPECT_EQ(error, QStringLiteral("sin tocar"));
    }

    // The program places its lights this way and sets them with the stored ESTADO number; every
    // write tells the container, even of the same value.
    std::unique_ptr<QWidget> luz(lumerix::createControl(QStringLiteral("Lumerix.SemaforoLuz"), nullptr));
    QSignalSpy aviso(static_cast<SemaforoLuz*>(luz.get()), &SemaforoLuz::estadoLuzChanged);
    ASSERT_TRUE(luz->setProperty("EstadoLuz", 2));
    ASSERT_TRUE(luz->setProperty("EstadoLuz", 2));
    EXPECT_EQ(aviso.count(), 2);
    expectLight(render(*luz), QPoint(0, 0), 96, kAmarillo, kRayoAmarillo);
}
