#include "diagnosis/ui/VentanaDuval.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <QtMath>
#include <cmath>

using namespace diagnostico;
using namespace diagnostico::duval;

namespace {

// One colour per zone code, the same in both figures.
QColor colorDeCodigo(const QString& codigo)
{
    static const QHash<QString, QColor> k = {
        {QStringLiteral("PD"), QColor(186, 85, 211)},  {QStringLiteral("T1"), QColor(255, 230, 153)},
        {QStringLiteral("T2"), QColor(255, 178, 102)}, {QStringLiteral("T3"), QColor(230, 100, 70)},
        {QStringLiteral("D1"), QColor(153, 204, 255)}, {QStringLiteral("D2"), QColor(70, 130, 220)},
        {QStringLiteral("DT"), QColor(170, 220, 150)}, {QStringLiteral("S"), QColor(200, 200, 200)},
    };
    return k.value(codigo, Qt::white);
}

const double kRaiz3 = std::sqrt(3.0);

// Where each zone's code is written: inside the zone, away from its borders. PD is too small
// to hold it and is named beside it.
Ternario etiquetaTriangulo(ZonaTriangulo z)
{
    switch (z) {
    case ZonaTriangulo::PD:
        return {99, 1, 0};
    case ZonaTriangulo::T1:
        return {88, 10, 2};
    case ZonaTriangulo::T2:
        return {63, 35, 2};
    case ZonaTriangulo::T3:
        return {20, 72, 8};
    case ZonaTriangulo::D1:
        return {40, 8, 52};
    case ZonaTriangulo::D2:
        return {20, 45, 35};
    case ZonaTriangulo::DT:
        break;
    }
    return {55, 35, 10};
}

QPointF etiquetaPentagono(ZonaPentagono z)
{
    switch (z) {
    case ZonaPentagono::PD:
        return {-4.5, 28.75};
    case ZonaPentagono::D1:
        return {22, 10};
    case ZonaPentagono::D2:
        return {16, -8};
    case ZonaPentagono::T3:
        return {16, -25};
    case ZonaPentagono::T2:
        return {-9, -24};
    case ZonaPentagono::T1:
        return {-20, -8};
    case ZonaPentagono::S:
        break;
    }
    return {-18, 18};
}

QString decimal(double x)
{
    return QLocale().toString(x, 'f', 1);
}

} // namespace

DibujoDuval::DibujoDuval(Figura figura, QWidget* parent) : QWidget(parent), m_figura(figura)
{
    setObjectName(figura == Figura::Triangulo ? QStringLiteral("DibujoTriangulo")
                                              : QStringLiteral("DibujoPentagono"));
    setMinimumSize(260, 240);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QColor DibujoDuval::color(ZonaTriangulo zona)
{
    return colorDeCodigo(codigo(zona));
}

QColor DibujoDuval::color(ZonaPentagono zona)
{
    return colorDeCodigo(codigo(zona));
}

void DibujoDuval::setPunto(const std::optional<QPointF>& punto)
{
    m_punto = punto;
    update();
}

QRectF DibujoDuval::marco() const
{
    // Room around the figure for the side and corner names.
    if (m_figura == Figura::Triangulo)
        return QRectF(QPointF(-0.12, -0.12), QPointF(1.12, kRaiz3 / 2 + 0.06));
    return QRectF(QPointF(-50, -40), QPointF(50, 46));
}

QPointF DibujoDuval::trianguloAPlano(const Ternario& t) const
{
    // C2H2 100 % at the bottom left, C2H4 100 % at the bottom right, CH4 100 % at the top.
    const double ch4 = t[0] / 100, c2h4 = t[1] / 100;
    return {c2h4 + ch4 / 2, ch4 * kRaiz3 / 2};
}

QPointF DibujoDuval::aPantalla(const QPointF& punto) const
{
    const QPointF plano = m_figura == Figura::Triangulo
                              ? trianguloAPlano({punto.x(), punto.y(), 100 - punto.x() - punto.y()})
                              : punto;
    const QRectF m = marco();
    const double escala = std::min(width() / m.width(), height() / m.height());
    const double x0 = (width() - m.width() * escala) / 2, y0 = (height() - m.height() * escala) / 2;
    return {x0 + (plano.x() - m.left()) * escala, y0 + (m.bottom() - plano.y()) * escala};
}

void DibujoDuval::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    QFont letra = font();
    letra.setBold(true);
    p.setFont(letra);
    const QPen borde(QColor(60, 60, 60), 1);

    auto rotulo = [&](const QPointF& en, const QString& texto) {
        const QRectF r(en.x() - 40, en.y() - 10, 80, 20);
        p.setPen(Qt::black);
        p.drawText(r, Qt::AlignCenter, texto);
    };
    auto enTriangulo = [](const Ternario& t) { return QPointF(t[0], t[1]); };

    if (m_figura == Figura::Triangulo) {
        for (ZonaTriangulo z : zonasTriangulo()) {
            QPolygonF poligono;
            for (const Ternario& t : esquinas(z))
                poligono << aPantalla(enTriangulo(t));
            p.setPen(borde);
            p.setBrush(color(z));
            p.drawPolygon(poligono);
        }
        for (ZonaTriangulo z : zonasTriangulo()) {
            QPointF en = aPantalla(enTriangulo(etiquetaTriangulo(z)));
            if (z == ZonaTriangulo::PD)
                en += QPointF(26, 0);
            rotulo(en, codigo(z));
        }
        p.setFont(font());
        const QPointF arriba = aPantalla({100, 0}), izquierda = aPantalla({0, 0}),
                      derecha = aPantalla({0, 100});
        rotulo((arriba + izquierda) / 2 + QPointF(-34, 0), QStringLiteral("% CH4"));
        rotulo((arriba + derecha) / 2 + QPointF(36, 0), QStringLiteral("% C2H4"));
        rotulo((izquierda + derecha) / 2 + QPointF(0, 16), QStringLiteral("% C2H2"));
    } else {
        for (ZonaPentagono z : zonasPentagono()) {
            QPolygonF poligono;
            for (const QPointF& e : esquinas(z))
                poligono << aPantalla(e);
            p.setPen(borde);
            p.setBrush(color(z));
            p.drawPolygon(poligono);
        }
        for (ZonaPentagono z : zonasPentagono())
            rotulo(aPantalla(etiquetaPentagono(z)), codigo(z));
        p.setFont(font());
        for (size_t i = 0; i < angulosEjes().size(); ++i) {
            const double a = qDegreesToRadians(angulosEjes()[i]);
            rotulo(aPantalla({44 * std::cos(a), 43 * std::sin(a)}), nombresEjes()[i]);
        }
    }

    if (m_punto) {
        // A ring: its centre keeps the zone's colour, so the zone reads through the mark.
        const QPointF c = aPantalla(*m_punto);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, 5));
        p.drawEllipse(c, 7, 7);
        p.setPen(QPen(Qt::black, 2.5));
        p.drawEllipse(c, 7, 7);
    }
}

VentanaDuval::VentanaDuval(DibujoDuval::Figura figura, FuenteEnsayo fuente, bool& siempreVisible,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), m_figura(figura), m_fuente(std::move(fuente)),
      m_siempreVisible(siempreVisible)
{
    const bool triangulo = figura == DibujoDuval::Figura::Triangulo;
    setObjectName(triangulo ? QStringLiteral("Duval") : QStringLiteral("Pentagono"));
    setWindowTitle(triangulo ? QString::fromUtf8("Triángulo de Duval")
                             : QString::fromUtf8("Pentágono de Duval"));
    auto* raiz = new QVBoxLayout(this);

    auto* cabecera = new QHBoxLayout;
    auto* titulo = new QLabel(triangulo ? QString::fromUtf8("Triángulo de Duval 1 (aceite mineral)")
                                        : QString::fromUtf8("Pentágono de Duval 1 (aceite mineral)"));
    QFont grande = titulo->font();
    grande.setBold(true);
    grande.setPointSizeF(grande.pointSizeF() * 1.3);
    titulo->setFont(grande);
    titulo->setAlignment(Qt::AlignCenter);
    m_check1 = new QCheckBox(QStringLiteral("Siempre Visible"));
    m_check1->setObjectName(QStringLiteral("Check1"));
    cabecera->addWidget(titulo, 1);
    cabecera->addWidget(m_check1, 0, Qt::AlignTop | Qt::AlignRight);
    raiz->addLayout(cabecera);

    auto* cuerpo = new QHBoxLayout;
    m_dibujo = new DibujoDuval(figura, this);
    cuerpo->addWidget(m_dibujo, 1);
    auto* lado = new QVBoxLayout;
    m_porcentajes = new QLabel(this);
    m_porcentajes->setObjectName(QStringLiteral("Porcentajes"));
    m_zonaTexto = new QLabel(this);
    m_zonaTexto->setObjectName(QStringLiteral("Zona"));
    m_zonaTexto->setWordWrap(true);
    m_zonaTexto->setMinimumWidth(220);
    QFont negrita = m_zonaTexto->font();
    negrita.setBold(true);
    m_zonaTexto->setFont(negrita);
    lado->addWidget(m_porcentajes);
    lado->addWidget(m_zonaTexto);

    // The zones' key: each code on its colour with its meaning.
    QString clave = QStringLiteral("<table cellspacing='2'>");
    auto fila = [&](const QString& cod, const QString& sentido) {
        clave +=
            QStringLiteral("<tr><td style='background-color:%1'>&nbsp;<b>%2</b>&nbsp;</td><td>%3</td></tr>")
                .arg(colorDeCodigo(cod).name(), cod, sentido.toHtmlEscaped());
    };
    if (triangulo)
        for (ZonaTriangulo z : zonasTriangulo())
            fila(codigo(z), significado(z));
    else
        for (ZonaPentagono z : zonasPentagono())
            fila(codigo(z), significado(z));
    clave += QStringLiteral("</table>");
    auto* leyenda = new QLabel(clave, this);
    leyenda->setObjectName(QStringLiteral("Leyenda"));
    lado->addSpacing(8);
    lado->addWidget(leyenda);
    lado->addStretch(1);
    cuerpo->addLayout(lado);
    raiz->addLayout(cuerpo, 1);

    connect(m_check1, &QCheckBox::clicked, this,
            [this] { m_siempreVisible = m_check1->checkState() != Qt::Unchecked; });
    resize(720, 460);
    sinPunto(QStringLiteral("Sin ensayo"));
}

void VentanaDuval::sinPunto(const QString& motivo)
{
    m_zona.clear();
    m_dibujo->setPunto(std::nullopt);
    m_porcentajes->clear();
    m_zonaTexto->setText(motivo);
}

void VentanaDuval::recalcular()
{
    const EnsayoGases e = m_fuente ? m_fuente() : EnsayoGases();
    const bool triangulo = m_figura == DibujoDuval::Figura::Triangulo;
    if (!e.hayEnsayo)
        return sinPunto(QStringLiteral("Sin ensayo"));
    if (!e.gas)
        return sinPunto(QString::fromUtf8("El ensayo no tiene análisis de gases disueltos."));
    QString zonaTexto;
    if (triangulo) {
        const auto t = duval::triangulo(e.gases);
        if (!t)
            return sinPunto(QString::fromUtf8("El ensayo no tiene los gases necesarios (CH4, C2H4 y C2H2): "
                                              "no se puede ubicar en el triángulo."));
        m_dibujo->setPunto(QPointF(t->ch4, t->c2h4));
        m_porcentajes->setText(QStringLiteral("CH4: %1 %\nC2H4: %2 %\nC2H2: %3 %")
                                   .arg(decimal(t->ch4), decimal(t->c2h4), decimal(t->c2h2)));
        m_zona = codigo(t->zona);
        zonaTexto = significado(t->zona);
    } else {
        const auto p = duval::pentagono(e.gases);
        if (!p)
            return sinPunto(
                QString::fromUtf8("El ensayo no tiene los gases necesarios (H2, C2H6, CH4, C2H4 y "
                                  "C2H2): no se puede ubicar en el pentágono."));
        m_dibujo->setPunto(p->centroide);
        QString texto;
        for (size_t i = 0; i < p->porcentajes.size(); ++i)
            texto += QStringLiteral("%1: %2 %\n").arg(nombresEjes()[i], decimal(p->porcentajes[i]));
        texto += QStringLiteral("Centroide: x = %1; y = %2")
                     .arg(decimal(p->centroide.x()), decimal(p->centroide.y()));
        m_porcentajes->setText(texto);
        m_zona = codigo(p->zona);
        zonaTexto = significado(p->zona);
    }
    m_zonaTexto->setText(QStringLiteral("Zona %1: %2").arg(m_zona, zonaTexto));
}

QString VentanaDuval::textoZona() const
{
    return m_zonaTexto->text();
}

QString VentanaDuval::textoPorcentajes() const
{
    return m_porcentajes->text();
}

bool VentanaDuval::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        recalcular();
    return QWidget::event(e);
}

void VentanaDuval::showEvent(QShowEvent* e)
{
    recalcular();
    QWidget::showEvent(e);
}

void VentanaDuval::closeEvent(QCloseEvent* e)
{
    m_siempreVisible = false;
    m_check1->setChecked(false);
    QWidget::closeEvent(e);
}
