#include "graphs/ui/LienzoGrafico.h"

#include "graphs/ui/Pintura.h"

#include <Q3DBars>
#include <Q3DCamera>
#include <Q3DScene>
#include <QBar3DSeries>
#include <QBarDataProxy>
#include <QCategory3DAxis>
#include <QChart>
#include <QChartView>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QValue3DAxis>

LienzoGrafico::LienzoGrafico(QWidget* parent) : QWidget(parent)
{
    auto* vertical = new QVBoxLayout(this);
    vertical->setContentsMargins(0, 0, 0, 0);
    vertical->setSpacing(2);
    m_aviso = new QLabel(
        QStringLiteral("La vista 3D necesita OpenGL, que no está disponible: el gráfico se muestra en 2D."),
        this);
    m_aviso->setObjectName(QStringLiteral("Aviso3D"));
    m_aviso->setWordWrap(true);
    m_aviso->setStyleSheet(QStringLiteral("color: #a05000;"));
    m_aviso->hide();
    vertical->addWidget(m_aviso);

    m_pila = new QStackedWidget(this);
    // Given its first chart at once: a view made without one makes a default chart of its own.
    m_vista = new QChartView(pintura::grafico2D(m_dibujo), m_pila);
    m_vista->setObjectName(QStringLiteral("Grafico2D"));
    m_vista->setRenderHint(QPainter::Antialiasing);
    m_vista->setCursor(Qt::PointingHandCursor);
    m_vista->viewport()->installEventFilter(this);
    m_pila->addWidget(m_vista);
    vertical->addWidget(m_pila, 1);
}

LienzoGrafico::~LienzoGrafico() = default;

bool LienzoGrafico::hay3D()
{
    // The offscreen and minimal platforms have no OpenGL; making 3D bars there would fail.
    const QString plataforma = QGuiApplication::platformName();
    return plataforma != QLatin1String("offscreen") && plataforma != QLatin1String("minimal");
}

bool LienzoGrafico::crear3D()
{
    if (m_barras)
        return true;
    if (!hay3D())
        return false;
    auto* barras = new Q3DBars;
    if (!barras->hasContext()) {
        delete barras;
        return false;
    }
    m_barras = barras;
    m_barras->setShadowQuality(QAbstract3DGraph::ShadowQualityNone);
    m_barras->scene()->activeCamera()->setCameraPreset(Q3DCamera::CameraPresetIsometricRight);
    m_barras->valueAxis()->setTitleVisible(true);
    m_barras->setBarThickness(1.0f);
    m_barras->setBarSpacing(QSizeF(0.3, 0.3));
    m_barras->installEventFilter(this);
    m_barras->addSeries(new QBar3DSeries);

    m_pagina3D = new QWidget(m_pila);
    auto* v = new QVBoxLayout(m_pagina3D);
    v->setContentsMargins(0, 0, 0, 0);
    m_titulo3D = new QLabel(m_pagina3D);
    m_titulo3D->setAlignment(Qt::AlignCenter);
    QFont f = m_titulo3D->font();
    f.setBold(true);
    m_titulo3D->setFont(f);
    v->addWidget(m_titulo3D);
    QWidget* contenedor = QWidget::createWindowContainer(m_barras, m_pagina3D);
    contenedor->setObjectName(QStringLiteral("Grafico3D"));
    contenedor->setCursor(Qt::PointingHandCursor);
    v->addWidget(contenedor, 1);
    m_pila->addWidget(m_pagina3D);
    return true;
}

void LienzoGrafico::mostrar3D()
{
    m_titulo3D->setText(m_dibujo.titulo);
    QStringList filas;
    auto* datos = new QBarDataArray;
    for (const graficos::Serie& s : m_dibujo.series) {
        filas << (s.leyenda.isEmpty() && m_dibujo.series.size() == 1 ? m_dibujo.tituloCantidad : s.leyenda);
        auto* fila = new QBarDataRow;
        for (double v : s.valores)
            fila->append(QBarDataItem(float(v)));
        datos->append(fila);
    }
    QBar3DSeries* serie = m_barras->seriesList().value(0);
    serie->dataProxy()->resetArray(datos, filas, m_dibujo.etiquetas);
    m_barras->valueAxis()->setTitle(m_dibujo.tituloCantidad);
    // As many decimals as the values need, so that neighbouring labels differ.
    double alto = 0;
    for (const graficos::Serie& s : m_dibujo.series)
        for (double v : s.valores)
            alto = qMax(alto, qAbs(v));
    m_barras->valueAxis()->setLabelFormat(alto < 1     ? QStringLiteral("%.3f")
                                          : alto < 100 ? QStringLiteral("%.1f")
                                                       : QStringLiteral("%.0f"));
    m_barras->valueAxis()->setAutoAdjustRange(true);
    m_barras->rowAxis()->setLabels(filas);
    m_barras->columnAxis()->setLabels(m_dibujo.etiquetas);
}

void LienzoGrafico::mostrar(const graficos::Dibujo& dibujo, bool tresD)
{
    m_dibujo = dibujo;
    m_tresD = tresD && crear3D();
    m_aviso->setVisible(tresD && !m_tresD);
    if (m_tresD) {
        mostrar3D();
        m_pila->setCurrentWidget(m_pagina3D);
        return;
    }
    // A new chart each time: nothing of an earlier drawing survives.
    QChart* anterior = m_vista->chart();
    m_vista->setChart(pintura::grafico2D(m_dibujo));
    delete anterior;
    m_pila->setCurrentWidget(m_vista);
}

bool LienzoGrafico::en3D() const
{
    return m_tresD;
}

QChart* LienzoGrafico::chart() const
{
    return m_vista->chart();
}

QSize LienzoGrafico::tamanoImagen() const
{
    const QSize visto = m_pila->size();
    return visto.width() >= 200 && visto.height() >= 150 && m_pila->isVisible() ? visto : QSize(800, 500);
}

QImage LienzoGrafico::imagen(const QSize& tamano) const
{
    if (m_tresD)
        return m_barras->renderToImage(0, tamano).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return pintura::imagen2D(m_dibujo, tamano);
}

void LienzoGrafico::pintar(QPainter& painter, const QRectF& destino) const
{
    if (!m_tresD) {
        pintura::pintar2D(m_dibujo, painter, destino);
        return;
    }
    // The 3D bars are a picture: the title goes above them as text.
    const QFontMetricsF fm(painter.font());
    const double alto = fm.height() * 1.8;
    painter.drawText(QRectF(destino.left(), destino.top(), destino.width(), alto), Qt::AlignCenter,
                     m_dibujo.titulo);
    const QRectF resto(destino.left(), destino.top() + alto, destino.width(), destino.height() - alto);
    painter.drawImage(resto, imagen(resto.size().toSize()));
}

bool LienzoGrafico::eventFilter(QObject* objeto, QEvent* evento)
{
    if ((objeto == m_vista->viewport() || objeto == m_barras) && evento->type() == QEvent::MouseButtonPress) {
        auto* raton = static_cast<QMouseEvent*>(evento);
        emit pulsado(raton->globalPosition().toPoint());
    }
    return QWidget::eventFilter(objeto, evento);
}
