#include "controls/Registro.h"
#include "controls/SemaforoLuz.h"
#include "tests/controls/LightProbe.h"

#include <QPainter>
#include <QSignalSpy>
#include <gtest/gtest.h>

using lumerix::Registro;
using lumerix::SemaforoLuz;
using namespace lightprobe;

TEST(Registro, TextPropertiesWriteTheirBoxAndSignalTheirName)
{
    struct Caso
    {
        const char* propiedad;
        const char* caja;
        QString valor;
    };
    const Caso casos[] = {
        {"Codigo", "Text1", QStringLiteral("12")},
        {"Area", "Text2", QStringLiteral("Subestación Norte")},
        {"Marca", "Text3", QStringLiteral("Ñandú Eléctrica")},
        {"Nroserie", "Text4", QStringLiteral("A-4471/93")},
        {"Denominacion", "Text5", QStringLiteral("Transformador de 132 kV")},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.propiedad);
        Registro fila;
        QSignalSpy nombres(&fila, &Registro::propertyChanged);
        ASSERT_TRUE(fila.setProperty(caso.propiedad, caso.valor));
        ASSERT_EQ(nombres.count(), 1);
        EXPECT_EQ(nombres.at(0).at(0).toString(), QString::fromLatin1(caso.propiedad));
        EXPECT_EQ(fila.property(caso.propiedad).toString(), caso.valor);
        QWidget* caja = fila.findChild<QWidget*>(QString::fromLatin1(caso.caja));
        ASSERT_NE(caja, nullptr);
        EXPECT_EQ(caja->property("text").toString(), caso.valor);
        // The other boxes are untouched.
        for (const Caso& otro : casos) {
            if (&otro != &caso) {
                EXPECT_TRUE(fila.property(otro.propiedad).toString().isEmpty()) << otro.propiedad;
            }
        }
    }
}

TEST(Registro, EstadoDrivesTheLight)
{
    Registro fila;
    auto* luz = fila.findChild<SemaforoLuz*>(QStringLiteral("SemaforoLuz1"));
    ASSERT_NE(luz, nullptr);
    QSignalSpy nombres(&fila, &Registro::propertyChanged);
    QSignalSpy estados(&fila, &Registro::estadoChanged);
    for (int estado : {3, 2, 0, 1, 7}) {
        ASSERT_TRUE(fila.setProperty("Estado", estado));
        EXPECT_EQ(int(luz->estadoLuz()), estado);
        EXPECT_EQ(fila.property("Estado").toInt(), estado);
    }
    ASSERT_EQ(nombres.count(), 5);
    for (const QList<QVariant>& llamada : nombres)
        EXPECT_EQ(llamada.at(0).toString(), QStringLiteral("Estado"));
    EXPECT_EQ(estados.count(), 5);
    // The light itself was set, so the row reads what the light holds.
    luz->setEstadoLuz(SemaforoLuz::Es_Amarillo);
    EXPECT_EQ(fila.estado(), 2);
}

TEST(Registro, RowGeometryAt96Dpi)
{
    Registro fila;
    ASSERT_EQ(fila.logicalDpiX(), 96);
    EXPECT_EQ(fila.size(), QSize(535, 26));
    const QRect cajas[] = {QRect(5, 4, 33, 19), QRect(43, 4, 65, 19), QRect(112, 4, 121, 19),
                           QRect(237, 4, 97, 19), QRect(339, 4, 129, 19)};
    for (int i = 0; i < 5; ++i) {
        QWidget* caja = fila.findChild<QWidget*>(QStringLiteral("Text%1").arg(i + 1));
        ASSERT_NE(caja, nullptr);
        EXPECT_EQ(caja->geometry(), cajas[i]) << "Text" << i + 1;
    }
    auto* luz = fila.findChild<SemaforoLuz*>(QStringLiteral("SemaforoLuz1"));
    ASSERT_NE(luz, nullptr);
    EXPECT_EQ(luz->geometry(), QRect(489, -1, 28, 29));
    fila.resize(800, 60);
    EXPECT_EQ(fila.size(), QSize(535, 26));
}

TEST(Registro, TextBoxesAreWhite)
{
    Registro fila;
    fila.setCodigo(QStringLiteral("7"));
    const QImage imagen = render(fila);
    // Right-hand end of each box, clear of its text.
    for (const QPoint& p :
         {QPoint(36, 13), QPoint(106, 13), QPoint(231, 13), QPoint(332, 13), QPoint(466, 13)})
        EXPECT_TRUE(colourAt(imagen, p, QColor(255, 255, 255)));
}

namespace {

QImage paintedRow(const Registro::RowValues& valores, const QFont& font, const QColor& fondo, QPoint en,
                  QSize tamano, QImage::Format formato)
{
    QImage imagen(tamano, formato);
    imagen.fill(QColor(10, 20, 30));
    QPainter painter(&imagen);
    Registro::paintRow(painter, QRect(en, Registro::rowSizeAt(96)), valores, font, fondo, 96);
    painter.end();
    return imagen.convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(Registro, PaintedRowShowsTheLightColourAtItsCentre)
{
    struct Caso
    {
        int estado;
        QColor lampara;
    };
    const Caso casos[] = {{0, QColor(64, 64, 64)},
                          {1, QColor(0, 192, 0)},
                          {2, QColor(255, 255, 0)},
                          {3, QColor(192, 64, 0)},
                          {9, QColor(64, 64, 64)}};
    const QPoint en(20, 40);
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.estado);
        Registro::RowValues valores;
        valores.codigo = QStringLiteral("12");
        valores.estado = caso.estado;
        const QImage imagen =
            paintedRow(valores, QFont(), QColor(240, 240, 240), en, QSize(600, 100), QImage::Format_RGB32);
        // The light stands at 7335, -15 twips in the row; its lamp's centre at 217.5, 202.5.
        const QPoint centro = en + pixelOf(7335 + 217.5, -15 + 202.5);
        EXPECT_TRUE(colourAt(imagen, centro, caso.lampara));
        // Nothing spills over the row's edges, although the light reaches past them.
        EXPECT_TRUE(colourAt(imagen, en + QPoint(503, -1), QColor(10, 20, 30)));
        EXPECT_TRUE(colourAt(imagen, en + QPoint(503, 26), QColor(10, 20, 30)));
    }
}

TEST(Registro, WidgetAndPaintedRowLookTheSame)
{
    for (int estado : {0, 1, 2, 3}) {
        SCOPED_TRACE(estado);
        Registro fila;
        fila.setCodigo(QStringLiteral("105"));
        fila.setArea(QStringLiteral("Playa de 132 kV"));
        fila.setMarca(QStringLiteral("Eléctrica del Sur"));
        fila.setNroserie(QStringLiteral("TR-88412"));
        fila.setDenominacion(QStringLiteral("Transformador de potencia muy largo que no cabe"));
        fila.setEstado(estado);
        const QImage widget = fila.grab().toImage();
        const QImage pintada = paintedRow(fila.values(), fila.font(), fila.palette().color(QPalette::Window),
                                          QPoint(0, 0), widget.size(), widget.format());
        ASSERT_EQ(widget.size(), pintada.size());
        EXPECT_TRUE(widget.convertToFormat(QImage::Format_RGB32) == pintada);
    }
}
