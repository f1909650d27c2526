#include "records/ui/PaginaPrioridades.h"

#include "app/logic/RunState.h"
#include "data/logic/Campos.h"
#include "data/logic/Schema.h"
#include "diagnosis/logic/CorridaDiagnostico.h"
#include "records/logic/DataViews.h"
#include "records/logic/Logging.h"
#include "records/logic/ModeloPrioridades.h"
#include "records/ui/CabeceraTrafo.h"
#include "records/ui/ListaTrafos.h"
#include "utilities/logic/Mensajes.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

namespace {

// The memos hold rich text; the side panel shows their plain text.
QString textoPlano(const QString& memo)
{
    if (!Qt::mightBeRichText(memo))
        return memo;
    return QTextDocumentFragment::fromHtml(memo).toPlainText();
}

QString numero(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return QString();
    const double d = v.toDouble();
    return d == qint64(d) ? QString::number(qint64(d)) : QString::number(d);
}

QLabel* rotulo(const QString& nombre, QWidget* parent)
{
    const schema::Field* f = schema::trafoge().field(nombre);
    QString texto = f && !f->caption.isEmpty() ? f->caption : nombre + QLatin1Char(':');
    auto* label = new QLabel(texto, parent);
    QFont negrita = label->font();
    negrita.setBold(true);
    label->setFont(negrita);
    return label;
}

} // namespace

PaginaPrioridades::PaginaPrioridades(RunState& estado, DataViews& vistas, Mensajes& mensajes, QWidget* parent)
    : QWidget(parent), m_estado(estado), m_vistas(vistas), m_mensajes(mensajes)
{
    setObjectName(QStringLiteral("PaginaPrioridades"));

    m_modelo = new ModeloPrioridades(m_vistas.Ado1, this);
    m_lista = new ListaTrafos(this);
    m_lista->setModel(m_modelo);
    m_titulo = m_lista->crearTitulo(this);
    m_lista->setFixedWidth(m_lista->anchoNecesario());

    m_diagnostico = new QPlainTextEdit(this);
    m_diagnostico->setObjectName(QStringLiteral("Diagnostico"));
    m_resumen = new QPlainTextEdit(this);
    m_resumen->setObjectName(QStringLiteral("ResumenObs"));
    for (QPlainTextEdit* caja : {m_diagnostico, m_resumen}) {
        caja->setReadOnly(true);
        caja->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    }
    m_gravedad = new QLineEdit(this);
    m_gravedad->setObjectName(QStringLiteral("Gravedad"));
    m_gravedad->setReadOnly(true);
    m_gravedad->setMaximumWidth(80);

    auto* columnaLista = new QVBoxLayout;
    columnaLista->setSpacing(2);
    columnaLista->addWidget(m_titulo);
    columnaLista->addWidget(m_lista, 1);
    m_progreso = new QProgressBar(this);
    m_progreso->setObjectName(QStringLiteral("ProgressBar1"));
    m_progreso->setFixedWidth(m_lista->width());
    m_progreso->hide();
    columnaLista->addWidget(m_progreso);
    m_reconstruir = new QPushButton(QStringLiteral("RECONSTRUIR"), this);
    m_reconstruir->setObjectName(QStringLiteral("VxBoton11"));
    columnaLista->addWidget(m_reconstruir);
    m_imprimir = new QPushButton(QStringLiteral("IMPRIMIR"), this);
    m_imprimir->setObjectName(QStringLiteral("VxBoton15"));
    connect(m_imprimir, &QPushButton::clicked, this, &PaginaPrioridades::informePedido);
    columnaLista->addWidget(m_imprimir);

    auto* filaGravedad = new QHBoxLayout;
    filaGravedad->addWidget(new QLabel(QStringLiteral("GRAVEDAD:"), this));
    filaGravedad->addWidget(m_gravedad);
    filaGravedad->addStretch(1);

    auto* detalle = new QVBoxLayout;
    detalle->addWidget(rotulo(campo::trafoge::DIAGNOSTICO, this));
    detalle->addWidget(m_diagnostico, 1);
    detalle->addWidget(rotulo(campo::trafoge::RESUMEN_OBS, this));
    detalle->addWidget(m_resumen, 1);
    detalle->addLayout(filaGravedad);

    auto* principal = new QHBoxLayout(this);
    principal->setContentsMargins(8, 8, 8, 8);
    principal->addLayout(columnaLista);
    principal->addLayout(detalle, 1);

    connect(m_lista->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!m_moviendoLista)
            filaActualCambiada();
        mostrarDetalle();
    });
    // A reset of the rows (re-run, resync) and every move of Ado1 keep the list on Ado1's row.
    connect(m_modelo, &QAbstractItemModel::modelReset, this, &PaginaPrioridades::seguirAdo1);
    connect(&m_vistas.Ado1, &RecordView::repositioned, this, &PaginaPrioridades::seguirAdo1);
    connect(&m_vistas.Data1, &RecordView::repositioned, this, &PaginaPrioridades::datos1Movido);
    connect(m_reconstruir, &QPushButton::clicked, this, &PaginaPrioridades::reconstruir);
    m_luz = CabeceraTrafo::crearLuz(6, this);
    seguirAdo1();
}

void PaginaPrioridades::setEstadoLuz(int estado)
{
    CabeceraTrafo::setEstadoLuz(m_luz, estado);
}

void PaginaPrioridades::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    CabeceraTrafo::colocarEnEsquina(m_luz);
}

void PaginaPrioridades::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    CabeceraTrafo::colocarEnEsquina(m_luz);
}

void PaginaPrioridades::setSoloLectura(bool soloLectura)
{
    m_reconstruir->setVisible(!soloLectura);
}

void PaginaPrioridades::reconstruir()
{
    const std::shared_ptr<Database> db = m_vistas.database();
    if (m_estado.SoloLectura || !db)
        return;
    // What is being edited is saved first, as leaving the row would save it; a save the file
    // refuses has been reported and nothing runs.
    if (m_antesDeReconstruir && !m_antesDeReconstruir())
        return;
    Result<diagnostico::ResumenCorrida> r = diagnostico::ResumenCorrida{};
    {
        Interruptor::Mientras reposicion(m_estado.ReposicionActiva, false);
        m_lista->hide();
        m_reconstruir->setEnabled(false);
        m_progreso->show();
        m_progreso->setValue(0);
        // The window repaints while the run goes on; input waits, so nothing edits the file
        // meanwhile.
        r = diagnostico::diagnosticarArchivo(*db, [this](int hechos, int total) {
            m_progreso->setMaximum(std::max(total, 1));
            m_progreso->setValue(hechos);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });

        for (RecordView* v : {&m_vistas.Data4, &m_vistas.Data3, &m_vistas.Data2, &m_vistas.Data1})
            ignorarFallo(v->refresh(), logRecords(), "Releer una vista tras el diagnóstico");
        ignorarFallo(m_vistas.Ado1.requery(), logRecords(), "Releer la lista tras el diagnóstico");

        m_progreso->hide();
        m_progreso->reset();
        m_lista->show();
        m_reconstruir->setEnabled(true);
    }
    // With the switch back on, the list's first row brings the four tabs and the test's
    // evaluation to its transformer.
    if (m_modelo->rowCount() > 0)
        m_lista->setCurrentIndex(m_modelo->index(0, 0));
    filaActualCambiada();
    if (!r)
        m_mensajes.error(r.error());
    else if (r.value().fallidos > 0)
        m_mensajes.aviso(r.value().avisoFallidos());
}

void PaginaPrioridades::setSeguirDatos1(bool seguir)
{
    m_seguirDatos1 = seguir;
}

void PaginaPrioridades::filaActualCambiada()
{
    // The list is moving the transformer view already: a nested call would loop.
    if (m_estado.ListaSinc1)
        return;
    const QModelIndex actual = m_lista->currentIndex();
    if (!actual.isValid())
        return;
    Interruptor::Mientras sinc1(m_estado.ListaSinc1, true);
    Interruptor::Mientras sinc2(m_estado.ListaSinc2, true);
    RecordView& ado1 = m_vistas.Ado1;
    if (ado1.absolutePosition() != actual.row())
        ignorarFallo(ado1.setAbsolutePosition(actual.row()), logRecords(), "Ir a la fila de la lista");
    // The first field of the list's rows is the transformer's code.
    const QVariant codigo = ado1.value(0);
    // A row without a code names no transformer; a find on "[código]=" alone would be an error.
    if (codigo.isValid() && !codigo.isNull())
        ignorarFallo(m_vistas.Data1.findFirst(QStringLiteral("[código]=") + numero(codigo)), logRecords(),
                     "Llevar los registros al transformador de la lista");
}

void PaginaPrioridades::seguirTransformador(int codigo)
{
    if (m_estado.ListaSinc1 || m_estado.ListaSinc2)
        return;
    PriorityList& ado1 = m_vistas.Ado1;
    if (!ado1.database())
        return;
    ignorarFallo(ado1.requery(), logRecords(), "Releer la lista de prioridades");
    ignorarFallo(ado1.find(QStringLiteral("CÓDIGO LIKE ") + QString::number(codigo)), logRecords(),
                 "El transformador en la lista de prioridades");
    seguirAdo1();
}

void PaginaPrioridades::datos1Movido()
{
    // Opening or re-opening the views (ReposicionActiva off) does not move the list; the
    // open re-runs its query anyway.
    if (!m_seguirDatos1 || !m_estado.ReposicionActiva)
        return;
    const QVariant codigo = m_vistas.Data1.value(campo::trafoge::CODIGO);
    if (!codigo.isValid() || codigo.isNull())
        return;
    seguirTransformador(codigo.toInt());
}

void PaginaPrioridades::seguirAdo1()
{
    const int fila = m_vistas.Ado1.isOpen() ? m_vistas.Ado1.absolutePosition() : -1;
    const QModelIndex destino =
        fila >= 0 && fila < m_modelo->rowCount() ? m_modelo->index(fila) : QModelIndex();
    if (destino != m_lista->currentIndex()) {
        m_moviendoLista = true;
        if (destino.isValid())
            m_lista->selectionModel()->setCurrentIndex(destino, QItemSelectionModel::ClearAndSelect);
        else
            m_lista->selectionModel()->clear();
        m_moviendoLista = false;
    }
    if (destino.isValid())
        m_lista->scrollTo(destino);
    mostrarDetalle();
}

void PaginaPrioridades::mostrarDetalle()
{
    const QModelIndex actual = m_lista->currentIndex();
    m_diagnostico->setPlainText(
        actual.isValid() ? textoPlano(actual.data(ModeloPrioridades::RolDiagnostico).toString()) : QString());
    m_resumen->setPlainText(
        actual.isValid() ? textoPlano(actual.data(ModeloPrioridades::RolResumenObs).toString()) : QString());
    m_gravedad->setText(actual.isValid() ? numero(actual.data(ModeloPrioridades::RolGravedad)) : QString());
}
