#include "graphs/ui/Graficos.h"

#include "graphs/logic/Logging.h"
#include "graphs/logic/Recoleccion.h"
#include "graphs/ui/Dialog.h"
#include "graphs/ui/Grafo.h"
#include "graphs/ui/LienzoGrafico.h"
#include "graphs/ui/PanelGrafico.h"
#include "graphs/ui/Pintura.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgRenderer>

Graficos::Graficos(RecordView& trafos, std::array<RecordView*, 3> datos, QWidget* ventana)
    : QObject(ventana), m_trafos(trafos), m_datos(datos), m_ventana(ventana)
{
    for (int g = 0; g < 3; ++g) {
        m_codigos[size_t(g)] = graficos::codigosTipo(g, false);
        auto* panel = new PanelGrafico(g);
        m_paneles[size_t(g)] = panel;
        connect(panel->redibujar(), &QPushButton::clicked, this, [this, g] { redibujar(g); });
        connect(panel->copiar(), &QPushButton::clicked, this, [this, g] { copiar(g); });
        connect(panel->imprimir(), &QPushButton::clicked, this, [this, g] {
            const Status st = imprimir(g);
            if (!st)
                emit fallo(st.error());
        });
        for (int d = 0; d < 2; ++d)
            connect(panel->dimension(d), &QRadioButton::clicked, this, [this, g, d] { setTresD(g, d == 1); });
        connect(panel->lienzo(), &LienzoGrafico::pulsado, this, [this, g] { abrirAmpliado(g); });
    }
    PanelGrafico* ensayos = panel(graficos::GraficoEnsayos);
    // Choosing "Gases:" shows "Configurar" and asks for the gases at once; no choice redraws.
    connect(ensayos->opcion(graficos::Gases), &QRadioButton::toggled, this, [this, ensayos](bool marcado) {
        ensayos->configurar()->setVisible(marcado);
        if (marcado)
            configurarGases();
    });
    connect(ensayos->configurar(), &QPushButton::clicked, this, &Graficos::configurarGases);
    nombrarArchivos(graficos::carpetaImagenes());
    m_impresion = [this](QPrinter& printer, const std::function<void(QPrinter*)>& pintar) {
        QPrintPreviewDialog vista(&printer, m_ventana);
        connect(&vista, &QPrintPreviewDialog::paintRequested, &vista, pintar);
        vista.exec();
    };
}

Graficos::~Graficos() = default;

Grafo* Graficos::grafo() const
{
    return m_grafo.data();
}

Dialog* Graficos::dialogo() const
{
    return m_dialogo.data();
}

graficos::Peticion Graficos::peticion(int grafico, bool ampliado) const
{
    graficos::Peticion p;
    p.grafico = graficos::Grafico(grafico);
    p.cantidad = panel(grafico)->cantidad();
    p.gases = m_gases;
    p.ampliado = ampliado;
    return p;
}

void Graficos::redibujar(int grafico)
{
    RecordView* datos = m_datos.at(size_t(grafico));
    if (!datos)
        return;
    // A tab without a current row keeps its graph as it was.
    if (auto d = graficos::dibujoActual(m_trafos, *datos, peticion(grafico, false)))
        panel(grafico)->lienzo()->mostrar(*d, tresD(grafico));
}

void Graficos::setTresD(int grafico, bool tresD)
{
    m_tresD[size_t(grafico)] = tresD;
    m_codigos[size_t(grafico)] = graficos::codigosTipo(grafico, tresD);
    panel(grafico)->dimension(tresD ? 1 : 0)->setChecked(true);
    redibujar(grafico);
}

void Graficos::abrirAmpliado(int grafico)
{
    m_tipoAmpliado = grafico;
    if (!m_grafo) {
        m_grafo = new Grafo(m_ventana);
        connect(m_grafo, &Grafo::activada, this, &Graficos::dibujarAmpliado);
        connect(m_grafo, &Grafo::copiarPedido, this, &Graficos::copiarAmpliado);
        connect(m_grafo, &Grafo::imprimirPedido, this, [this] {
            const Status st = imprimirAmpliado();
            if (!st)
                emit fallo(st.error());
        });
    }
    m_grafo->show();
    m_grafo->raise();
    m_grafo->activateWindow();
    // An open window that is already active gets no new activation: draw the new graph now.
    if (m_grafo->isActiveWindow())
        dibujarAmpliado();
}

void Graficos::dibujarAmpliado()
{
    RecordView* datos = m_datos.at(size_t(m_tipoAmpliado));
    if (!m_grafo || !datos)
        return;
    if (auto d = graficos::dibujoActual(m_trafos, *datos, peticion(m_tipoAmpliado, true)))
        m_grafo->lienzo()->mostrar(*d, tresD(m_tipoAmpliado));
}

void Graficos::copiarDe(const LienzoGrafico& lienzo)
{
    const QSize tamano = lienzo.tamanoImagen();
    auto* datos = new QMimeData;
    datos->setImageData(lienzo.imagen(tamano));
    // Receivers that take vector pictures get the SVG as well.
    datos->setData(QStringLiteral("image/svg+xml"),
                   pintura::svg(tamano, lienzo.dibujo().titulo,
                                [&lienzo](QPainter& p, const QRectF& r) { lienzo.pintar(p, r); }));
    QGuiApplication::clipboard()->setMimeData(datos);
}

void Graficos::copiar(int grafico)
{
    copiarDe(*panel(grafico)->lienzo());
}

void Graficos::copiarAmpliado()
{
    if (m_grafo)
        copiarDe(*m_grafo->lienzo());
}

Status Graficos::imprimirDe(const LienzoGrafico& lienzo, const QString& ruta, bool apaisado)
{
    // The picture file first: the page shows the graph as it is drawn now.
    const QSize tamano = lienzo.tamanoImagen();
    const Status escrito = pintura::escribir(
        ruta, pintura::svg(tamano, lienzo.dibujo().titulo,
                           [&lienzo](QPainter& p, const QRectF& r) { lienzo.pintar(p, r); }));
    if (!escrito)
        return escrito;
    auto imagen = std::make_shared<QSvgRenderer>(ruta);
    if (!imagen->isValid())
        return Status::failure(QStringLiteral("No se pudo leer el archivo ") + ruta);

    QPrinter printer(QPrinter::HighResolution);
    if (apaisado) {
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Landscape);
    }
    m_impresion(printer, [imagen, apaisado](QPrinter* impresora) {
        QPainter painter(impresora);
        const QRect area = impresora->pageLayout().paintRectPixels(impresora->resolution());
        if (apaisado) {
            // Stretched over the whole printable area.
            imagen->render(&painter, QRectF(0, 0, area.width(), area.height()));
            return;
        }
        // At its own size, 50 twips from the corner, shrunk only when it does not fit.
        const double margen = impresora->resolution() * 50.0 / 1440.0;
        QSizeF tamano = QSizeF(imagen->defaultSize()) * (impresora->resolution() / 96.0);
        const QSizeF cabe(area.width() - 2 * margen, area.height() - 2 * margen);
        if (tamano.width() > cabe.width() || tamano.height() > cabe.height())
            tamano.scale(cabe, Qt::KeepAspectRatio);
        imagen->render(&painter, QRectF(QPointF(margen, margen), tamano));
    });
    return {};
}

Status Graficos::imprimir(int grafico)
{
    return imprimirDe(*panel(grafico)->lienzo(), m_archivos.grafico.at(size_t(grafico)), false);
}

Status Graficos::imprimirAmpliado()
{
    if (!m_grafo)
        return {};
    return imprimirDe(*m_grafo->lienzo(), m_archivos.ampliado, true);
}

void Graficos::configurarGases()
{
    if (m_dialogo && m_dialogo->isVisible())
        return;
    // A new dialog each time: it shows the configuration as it is stored now.
    m_dialogo = new Dialog(m_gases, m_ventana);
    connect(m_dialogo, &QDialog::finished, m_dialogo, &QObject::deleteLater);
    m_dialogo->open();
}

void Graficos::nombrarArchivos(const QString& carpeta)
{
    m_archivos = graficos::archivosImagen(carpeta);
}

void Graficos::cerrarVentanas()
{
    if (m_dialogo)
        m_dialogo->reject();
    if (m_grafo)
        m_grafo->close();
}
