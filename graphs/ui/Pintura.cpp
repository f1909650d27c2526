#include "graphs/ui/Pintura.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QSaveFile>
#include <QStackedBarSeries>
#include <QSvgGenerator>
#include <QValueAxis>

namespace pintura {

using graficos::Dibujo;

namespace {

// The top of the value axis: stacked items add up, lines and side-by-side bars do not.
double maximo(const Dibujo& d)
{
    const bool apiladas = d.barras && d.series.size() > 3;
    double m = 0;
    for (int p = 0; p < d.puntos(); ++p) {
        double suma = 0;
        for (const graficos::Serie& s : d.series) {
            const double v = s.valores.value(p);
            suma = apiladas ? suma + v : qMax(suma, v);
        }
        m = qMax(m, suma);
    }
    return m;
}

double minimo(const Dibujo& d)
{
    double m = 0;
    for (const graficos::Serie& s : d.series)
        for (double v : s.valores)
            m = qMin(m, v);
    return m;
}

} // namespace

QChart* grafico2D(const Dibujo& d)
{
    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setTitle(d.titulo);
    QFont f = chart->titleFont();
    f.setBold(true);
    chart->setTitleFont(f);

    auto* ejeX = new QBarCategoryAxis;
    ejeX->append(d.etiquetas);
    auto* ejeY = new QValueAxis;
    ejeY->setTitleText(d.tituloCantidad);
    chart->addAxis(ejeX, Qt::AlignBottom);
    chart->addAxis(ejeY, Qt::AlignLeft);

    bool conLeyenda = false;
    if (d.barras) {
        // The sixteen maintenance items stack: the bar's height is the work done that day.
        QAbstractBarSeries* barras = d.series.size() > 3
                                         ? static_cast<QAbstractBarSeries*>(new QStackedBarSeries)
                                         : static_cast<QAbstractBarSeries*>(new QBarSeries);
        for (const graficos::Serie& s : d.series) {
            auto* set = new QBarSet(s.leyenda);
            for (double v : s.valores)
                set->append(v);
            barras->append(set);
            conLeyenda = conLeyenda || !s.leyenda.isEmpty();
        }
        chart->addSeries(barras);
        barras->attachAxis(ejeX);
        barras->attachAxis(ejeY);
    } else {
        for (const graficos::Serie& s : d.series) {
            auto* linea = new QLineSeries;
            linea->setName(s.leyenda);
            linea->setPointsVisible(true);
            for (int i = 0; i < s.valores.size(); ++i)
                linea->append(i, s.valores.at(i));
            chart->addSeries(linea);
            linea->attachAxis(ejeX);
            linea->attachAxis(ejeY);
            conLeyenda = conLeyenda || !s.leyenda.isEmpty();
        }
    }
    const double alto = maximo(d);
    ejeY->setRange(minimo(d), alto > 0 ? alto * 1.1 : 1.0);
    if (d.barras)
        ejeY->setLabelFormat(QStringLiteral("%d"));
    ejeY->applyNiceNumbers();
    chart->legend()->setVisible(conLeyenda);
    chart->legend()->setAlignment(Qt::AlignRight);
    return chart;
}

void pintar2D(const Dibujo& d, QPainter& painter, const QRectF& destino)
{
    QGraphicsScene escena;
    QChart* chart = grafico2D(d);
    escena.addItem(chart);
    chart->setGeometry(QRectF(QPointF(0, 0), destino.size()));
    escena.setSceneRect(chart->geometry());
    escena.render(&painter, destino, chart->geometry());
}

QImage imagen2D(const Dibujo& d, const QSize& tamano)
{
    QImage imagen(tamano, QImage::Format_ARGB32_Premultiplied);
    imagen.fill(Qt::white);
    QPainter painter(&imagen);
    painter.setRenderHint(QPainter::Antialiasing);
    pintar2D(d, painter, QRectF(QPointF(0, 0), QSizeF(tamano)));
    return imagen;
}

QByteArray svg(const QSize& tamano, const QString& titulo, const Pintor& pintor)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generador;
    generador.setOutputDevice(&buffer);
    generador.setSize(tamano);
    generador.setViewBox(QRect(QPoint(0, 0), tamano));
    generador.setTitle(titulo);
    {
        QPainter painter(&generador);
        pintor(painter, QRectF(QPointF(0, 0), QSizeF(tamano)));
    }
    return buffer.data();
}

Status escribir(const QString& ruta, const QByteArray& contenido)
{
    if (!QDir().mkpath(QFileInfo(ruta).absolutePath()))
        return Status::failure(QStringLiteral("No se pudo crear la carpeta de ") + ruta);
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(contenido) != contenido.size() ||
        !archivo.commit())
        return Status::failure(QStringLiteral("No se pudo escribir el archivo ") + ruta +
                               QStringLiteral(": ") + archivo.errorString());
    return {};
}

} // namespace pintura
