#include "search/ui/VistaPreviaInforme.h"

#include "app/logic/RunState.h"
#include "search/ui/PinturaInforme.h"
#include "utilities/logic/Mensajes.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace informe {

namespace {

// The resolution of the pages the long reports' preview paints.
constexpr double kDpiVista = 150;

// Prints the report on a printer the user picks.
void imprimirEnImpresora(const InformePreparado& informe, Mensajes& mensajes, const QDateTime& impreso,
                         QWidget* parent)
{
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setDocName(informe.definicion().titulo);
    prepararPagina(informe, impresora);
    QPrintDialog dialogo(&impresora, parent);
    if (dialogo.exec() != QDialog::Accepted)
        return;
    mensajes.setBusy(true);
    const Status st = pintar(informe, impresora, impreso);
    mensajes.setBusy(false);
    if (!st)
        mensajes.error(st.error());
}

void exportarDesde(const InformePreparado& informe, Mensajes& mensajes, const QDateTime& impreso)
{
    QString base = informe.nombre();
    base.replace(QStringLiteral(".rpt"), QStringLiteral(".pdf"));
    const QString ruta = mensajes.chooseFile(QStringLiteral("Exportar PDF"), QDir::home().filePath(base),
                                             QStringLiteral("Documentos PDF (*.pdf)"), true);
    if (ruta.isEmpty())
        return;
    mensajes.setBusy(true);
    const Status st = exportarPdf(informe, ruta, impreso);
    mensajes.setBusy(false);
    if (!st)
        mensajes.error(st.error());
}

// The preview of a long report: one page painted at a time, as it is asked for, so that the
// first page shows at once and no more than one page is held whatever the report's length.
// The pages are counted after the first one shows, with the window alive meanwhile.
class VisorPaginas : public QDialog
{
public:
    VisorPaginas(const InformePreparado& informe, Mensajes& mensajes, const QDateTime& impreso,
                 QWidget* parent)
        : QDialog(parent), m_informe(informe), m_mensajes(mensajes), m_impreso(impreso)
    {
        setObjectName(QStringLiteral("VistaPreviaInforme"));
        setWindowTitle(QStringLiteral("Vista previa: %1").arg(informe.definicion().titulo));
        resize(1000, 800);
        auto* barra = new QToolBar(this);
        m_primera = barra->addAction(QStringLiteral("|◀"), this, [this] { mostrar(1); });
        m_anterior = barra->addAction(QStringLiteral("◀"), this, [this] { mostrar(m_actual - 1); });
        m_numero = new QSpinBox(this);
        m_numero->setObjectName(QStringLiteral("Pagina"));
        m_numero->setRange(1, 1);
        barra->addWidget(m_numero);
        m_de = new QLabel(QStringLiteral(" de … (contando páginas)"), this);
        m_de->setObjectName(QStringLiteral("TotalPaginas"));
        barra->addWidget(m_de);
        m_siguiente = barra->addAction(QStringLiteral("▶"), this, [this] { mostrar(m_actual + 1); });
        m_ultima = barra->addAction(QStringLiteral("▶|"), this, [this] { mostrar(m_total); });
        barra->addSeparator();
        m_imprimir = barra->addAction(QStringLiteral("Imprimir…"), this, [this] {
            imprimirEnImpresora(m_informe, m_mensajes, m_impreso, this);
        });
        m_imprimir->setObjectName(QStringLiteral("Imprimir"));
        m_exportar = barra->addAction(QStringLiteral("Exportar PDF"), this,
                                      [this] { exportarDesde(m_informe, m_mensajes, m_impreso); });
        m_exportar->setObjectName(QStringLiteral("ExportarPdf"));
        m_hoja = new QLabel(this);
        m_hoja->setObjectName(QStringLiteral("Hoja"));
        m_hoja->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        auto* desplazable = new QScrollArea(this);
        m_area = desplazable;
        desplazable->setWidget(m_hoja);
        desplazable->setWidgetResizable(true);
        desplazable->setBackgroundRole(QPalette::Dark);
        auto* capas = new QVBoxLayout(this);
        capas->setContentsMargins(0, 0, 0, 0);
        capas->addWidget(barra);
        capas->addWidget(desplazable, 1);
        connect(m_numero, &QSpinBox::editingFinished, this, [this] { mostrar(m_numero->value()); });
        habilitar();
        mostrar(1);
        QTimer::singleShot(0, this, [this] { contar(); });
    }

    const Status& resultado() const { return m_resultado; }
    int total() const { return m_total; }
    int actual() const { return m_actual; }

    void resizeEvent(QResizeEvent* evento) override
    {
        QDialog::resizeEvent(evento);
        ajustar();
    }

    void done(int r) override
    {
        m_cerrado = true;
        QDialog::done(r);
    }

private:
    const InformePreparado& m_informe;
    Mensajes& m_mensajes;
    QDateTime m_impreso;
    QAction *m_primera, *m_anterior, *m_siguiente, *m_ultima, *m_imprimir, *m_exportar;
    QSpinBox* m_numero;
    QLabel *m_de, *m_hoja;
    QScrollArea* m_area = nullptr;
    QImage m_imagen; // the page shown, the only one held
    int m_actual = 0, m_total = 0;
    bool m_cerrado = false;
    Status m_resultado;

    // Until the pages are counted the preview stays on the first.
    void habilitar()
    {
        const bool contadas = m_total > 0;
        m_primera->setEnabled(contadas && m_actual > 1);
        m_anterior->setEnabled(contadas && m_actual > 1);
        m_siguiente->setEnabled(contadas && m_actual < m_total);
        m_ultima->setEnabled(contadas && m_actual < m_total);
        m_numero->setEnabled(contadas);
        m_imprimir->setEnabled(contadas);
        m_exportar->setEnabled(contadas);
    }

    void ajustar()
    {
        if (!m_imagen.isNull())
            m_hoja->setPixmap(QPixmap::fromImage(
                m_imagen.scaledToWidth(anchoVista(m_imagen.width()), Qt::SmoothTransformation)));
    }

    // The page fits the window's width.
    int anchoVista(int ancho) const
    {
        const int visible = m_area ? m_area->viewport()->width() - 24 : 0;
        return visible > 300 ? std::min(ancho, visible) : std::min(ancho, 900);
    }

    void mostrar(int pagina)
    {
        if (pagina < 1 || (m_total > 0 && pagina > m_total) || !m_resultado)
            return;
        m_mensajes.setBusy(true);
        auto hoja = pintarPagina(m_informe, pagina, m_total, m_impreso, kDpiVista);
        m_mensajes.setBusy(false);
        if (!hoja) {
            m_resultado = Status::failure(hoja.error());
            reject();
            return;
        }
        m_actual = pagina;
        m_numero->setValue(pagina);
        m_imagen = hoja.value();
        ajustar();
        habilitar();
    }

    void contar()
    {
        if (m_cerrado)
            return;
        auto n = contarPaginas(m_informe, m_impreso, kDpiVista, 0, [this] {
            QCoreApplication::processEvents();
            return !m_cerrado;
        });
        if (m_cerrado)
            return;
        if (!n) {
            m_resultado = Status::failure(n.error());
            reject();
            return;
        }
        m_total = n.value();
        m_numero->setRange(1, m_total);
        m_de->setText(QStringLiteral(" de %1").arg(m_total));
        mostrar(m_actual); // its foot now says how many pages there are
    }
};

} // namespace

Status mostrarVistaPrevia(const InformePreparado& informe, Mensajes& mensajes, QWidget* parent,
                          int paginasEnMemoria)
{
    // The rows are asked for once before the window opens, so that a report that cannot be
    // read is told instead of showing an empty preview.
    if (auto filas = informe.filas(); !filas)
        return Status::failure(filas.error());
    const QDateTime impreso = QDateTime::currentDateTime();
    // The standard preview holds every page as a picture and paints them all before it shows:
    // a long report goes to the page-at-a-time preview instead.
    mensajes.setBusy(true);
    auto paginas = contarPaginas(informe, impreso, kDpiVista, paginasEnMemoria);
    mensajes.setBusy(false);
    if (!paginas)
        return Status::failure(paginas.error());
    if (paginas.value() > paginasEnMemoria) {
        VisorPaginas visor(informe, mensajes, impreso, parent);
        if (visor.resultado())
            visor.exec();
        return visor.resultado();
    }
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setDocName(informe.definicion().titulo);
    prepararPagina(informe, impresora);
    QPrintPreviewDialog dialogo(&impresora, parent);
    dialogo.setObjectName(QStringLiteral("VistaPreviaInforme"));
    dialogo.setWindowTitle(QStringLiteral("Vista previa: %1").arg(informe.definicion().titulo));
    Status resultado;
    // A long report takes a while to lay out: the wait pointer shows until its pages are ready.
    QObject::connect(&dialogo, &QPrintPreviewDialog::paintRequested, &dialogo, [&](QPrinter* p) {
        mensajes.setBusy(true);
        if (Status st = pintar(informe, *p, impreso); !st && resultado)
            resultado = st;
        mensajes.setBusy(false);
    });
    if (auto* barra = dialogo.findChild<QToolBar*>()) {
        barra->addSeparator();
        QAction* pdf = barra->addAction(QStringLiteral("Exportar PDF"));
        pdf->setObjectName(QStringLiteral("ExportarPdf"));
        QObject::connect(pdf, &QAction::triggered, &dialogo,
                         [&] { exportarDesde(informe, mensajes, impreso); });
    }
    dialogo.exec();
    return resultado;
}

ImpresionInformes::ImpresionInformes(RunState& estado, Mensajes& mensajes, Calculador calculador,
                                     QWidget* ventana)
    : QObject(ventana), m_estado(estado), m_mensajes(mensajes), m_ventana(ventana)
{
    m_motor.ponerCalculador(std::move(calculador));
    m_salida = [this](const InformePreparado& informe) {
        return mostrarVistaPrevia(informe, m_mensajes, m_ventana);
    };
}

int ImpresionInformes::imprimir(const QString& archivo, SegundaFormula segunda)
{
    const int resultado = imprimirInforme(m_motor, m_estado, archivo, segunda, m_salida);
    // The engine's own text, in a box with only OK and the program's title.
    if (resultado != 0)
        m_mensajes.show(m_motor.ultimoError());
    return resultado;
}

} // namespace informe
