#include "controls/Registro.h"

#include "controls/CampoTexto.h"
#include "controls/Palette.h"
#include "controls/SemaforoLuz.h"

#include <QPainter>
#include <QResizeEvent>

namespace lumerix {

namespace {

constexpr int kAncho = 8025;
constexpr int kAlto = 390;
constexpr int kTopTexto = 60;
constexpr int kAltoTexto = 285;
struct Columna
{
    int left;
    int width;
};
// Text1 (code) to Text5 (designation).
constexpr Columna kColumnas[5] = {{75, 495}, {645, 975}, {1680, 1815}, {3555, 1455}, {5085, 1935}};
// The light sits a little above the row and is cut by it.
constexpr int kLeftLuz = 7335;
constexpr int kTopLuz = -15;

QRect fieldRect(int index, qreal dpi)
{
    return QRect(twipsToPixels(kColumnas[index].left, dpi), twipsToPixels(kTopTexto, dpi),
                 twipsToPixels(kColumnas[index].width, dpi), twipsToPixels(kAltoTexto, dpi));
}

QPoint lightOrigin(qreal dpi)
{
    return QPoint(twipsToPixels(kLeftLuz, dpi), twipsToPixels(kTopLuz, dpi));
}

} // namespace

Registro::Registro(QWidget* parent) : QWidget(parent)
{
    for (int i = 0; i < 5; ++i) {
        m_texts[i] = new CampoTexto(this);
        m_texts[i]->setObjectName(QStringLiteral("Text%1").arg(i + 1));
    }
    m_luz = new SemaforoLuz(this);
    m_luz->setObjectName(QStringLiteral("SemaforoLuz1"));
    applyLayout();
}

QString Registro::codigo() const
{
    return m_texts[0]->text();
}

void Registro::setCodigo(const QString& value)
{
    setField(0, value);
}

QString Registro::area() const
{
    return m_texts[1]->text();
}

void Registro::setArea(const QString& value)
{
    setField(1, value);
}

QString Registro::marca() const
{
    return m_texts[2]->text();
}

void Registro::setMarca(const QString& value)
{
    setField(2, value);
}

QString Registro::nroserie() const
{
    return m_texts[3]->text();
}

void Registro::setNroserie(const QString& value)
{
    setField(3, value);
}

QString Registro::denominacion() const
{
    return m_texts[4]->text();
}

void Registro::setDenominacion(const QString& value)
{
    setField(4, value);
}

int Registro::estado() const
{
    return int(m_luz->estadoLuz());
}

void Registro::setEstado(int value)
{
    m_luz->setEstadoLuz(value);
    emit estadoChanged(value);
}

Registro::RowValues Registro::values() const
{
    return RowValues{codigo(), area(), marca(), nroserie(), denominacion(), estado()};
}

QSize Registro::rowSizeAt(qreal dpi)
{
    return QSize(twipsToPixels(kAncho, dpi), twipsToPixels(kAlto, dpi));
}

void Registro::paintRow(QPainter& painter, const QRect& rect, const RowValues& values, const QFont& font,
                        const QColor& background, qreal dpi)
{
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.fillRect(rect, background);
    const QString texts[5] = {values.codigo, values.area, values.marca, values.nroserie, values.denominacion};
    for (int i = 0; i < 5; ++i)
        CampoTexto::paintField(painter, fieldRect(i, dpi).translated(rect.topLeft()), texts[i], font);
    // A row painted from its values alone has no earlier colour: an unknown code shows unlit.
    SemaforoLuz::paintLight(painter, lightOrigin(dpi) + rect.topLeft(), dpi,
                            SemaforoLuz::lookFor(values.estado, SemaforoLuz::Look{}));
    painter.restore();
}

QSize Registro::sizeHint() const
{
    return rowSizeAt(logicalDpi(this));
}

void Registro::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
}

void Registro::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (event->size() != rowSizeAt(logicalDpi(this)))
        applyLayout();
}

void Registro::showEvent(QShowEvent* event)
{
    applyLayout();
    QWidget::showEvent(event);
}

void Registro::setField(int index, const QString& value)
{
    m_texts[index]->setText(value);
    switch (index) {
    case 0:
        emit codigoChanged(value);
        break;
    case 1:
        emit areaChanged(value);
        break;
    case 2:
        emit marcaChanged(value);
        break;
    case 3:
        emit nroserieChanged(value);
        break;
    default:
        emit denominacionChanged(value);
        break;
    }
}

void Registro::applyLayout()
{
    const qreal dpi = logicalDpi(this);
    setFixedSize(rowSizeAt(dpi));
    for (int i = 0; i < 5; ++i)
        m_texts[i]->setGeometry(fieldRect(i, dpi));
    m_luz->move(lightOrigin(dpi));
}

} // namespace lumerix
