#include "records/ui/PaginaFechada.h"

#include "app/logic/Interruptor.h"
#include "data/logic/RecordView.h"
#include "records/logic/DataViews.h"
#include "records/ui/BarraNavegacion.h"
#include "records/ui/BotonesTexto.h"
#include "records/ui/CabeceraTrafo.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/FormularioCampos.h"
#include "records/ui/PaginaCalendario.h"
#include "records/ui/TablaRegistros.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

PaginaFechada::PaginaFechada(const QString& nombre, const QString& prefijo, int indiceLuz, QWidget* parent)
    : QWidget(parent), m_prefijo(prefijo)
{
    setObjectName(nombre);
    auto* vertical = new QVBoxLayout(this);
    vertical->setContentsMargins(4, 4, 4, 4);
    vertical->setSpacing(4);
    m_cabecera = new CabeceraTrafo(indiceLuz, this);
    vertical->addWidget(m_cabecera);

    m_subtabs = new QTabWidget(this);
    m_subtabs->setObjectName(QStringLiteral("Subtabs"));
    m_paginaDetalle = new QWidget;
    m_paginaTabla = new QWidget;
    auto* graficos = new QFrame;
    graficos->setObjectName(QStringLiteral("Graficos"));
    graficos->setFrameShape(QFrame::StyledPanel);
    m_graficos = graficos;
    auto* calendario = new QFrame;
    calendario->setObjectName(QStringLiteral("Calendario"));
    calendario->setFrameShape(QFrame::StyledPanel);
    m_marcoCalendario = calendario;
    m_subtabs->addTab(m_paginaDetalle, QStringLiteral("DETALLE"));
    m_subtabs->addTab(m_paginaTabla, QStringLiteral("TABLA"));
    m_subtabs->addTab(graficos, QString::fromUtf8("GRÁFICOS"));
    m_subtabs->addTab(calendario, QStringLiteral("CALENDARIO"));
    vertical->addWidget(m_subtabs, 1);

    m_barra = new BarraNavegacion(prefijo, this);
    vertical->addWidget(m_barra);
}

void PaginaFechada::enlazar(RecordView& datos, RecordView& trafos)
{
    if (m_enlace)
        return;
    const schema::Table& t = tablaEsquema();
    m_enlace = new EnlaceCampos(datos, t, this);
    m_trafos = &trafos;
    m_cabecera->setVista(&trafos);
    m_barra->setVista(&datos);
    m_barra->actualizarCaption();

    auto* detalleLayout = new QVBoxLayout(m_paginaDetalle);
    detalleLayout->setContentsMargins(4, 4, 4, 4);
    // Identity boxes (code, date and the like) head the detail, with the no-rows notice.
    QList<schema::Field> identidad;
    for (const schema::Field& f : t.fields)
        if (f.group.isEmpty() && !f.tableOnly)
            identidad << f;
    auto* filaIdentidad = new QHBoxLayout;
    filaIdentidad->addWidget(
        FormularioCampos::construirCampos(identidad, *m_enlace, identidad.size(), m_paginaDetalle), 1);
    m_sinRegistros = new QLabel(QStringLiteral("S/ Registros"), m_paginaDetalle);
    m_sinRegistros->setObjectName(QStringLiteral("SinRegistros"));
    m_sinRegistros->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    m_sinRegistros->hide();
    filaIdentidad->addWidget(m_sinRegistros);
    detalleLayout->addLayout(filaIdentidad);

    auto* cuerpo = new QHBoxLayout;
    m_detalle = new QTabWidget(m_paginaDetalle);
    m_detalle->setObjectName(QStringLiteral("Detalle"));
    construirDetalle(m_detalle, *m_enlace);
    cuerpo->addWidget(m_detalle, 1);
    auto* columna = new QVBoxLayout;
    const char* textos[] = {"&Agregar", "&Eliminar", "&Refrescar", "&Guardar", "Ca&ncelar"};
    const char* nombres[] = {"cmdAdd", "cmdDelete", "cmdRefresh", "cmdUpdate", "cmdCancel"};
    for (int i = 0; i < 5; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(textos[i]), m_paginaDetalle);
        b->setObjectName(QString::fromLatin1(nombres[i]));
        b->setMinimumWidth(95);
        columna->addWidget(b);
        m_botones << b;
    }
    columna->addStretch(1);
    m_botonInforme = new QPushButton(QStringLiteral("Generar &informe"), m_paginaDetalle);
    m_botonInforme->setObjectName(nombreBotonInforme());
    connect(m_botonInforme, &QPushButton::clicked, this, &PaginaFechada::informePedido);
    columna->addWidget(m_botonInforme);
    cuerpo->addLayout(columna);
    detalleLayout->addLayout(cuerpo, 1);

    auto* tablaLayout = new QVBoxLayout(m_paginaTabla);
    tablaLayout->setContentsMargins(2, 2, 2, 2);
    m_tabla = new TablaRegistros(datos, m_paginaTabla);
    m_tabla->setObjectName(QStringLiteral("Tabla") + t.name);
    tablaLayout->addWidget(m_tabla);
}

void PaginaFechada::setCalendario(RunState& estado, RecordView& fechas)
{
    if (m_calendario)
        return;
    const schema::Table& t = tablaEsquema();
    // The date-list queries name the tables as the date views were first opened with.
    const QString tabla = t.name == QLatin1String("Revision") ? t.name : t.name.toLower();
    m_calendario = new PaginaCalendario(estado, fechas, DataViews::fuenteListaFechas(tabla), t.dateField,
                                        m_marcoCalendario);
    auto* dentro = new QVBoxLayout(m_marcoCalendario);
    dentro->setContentsMargins(0, 0, 0, 0);
    dentro->addWidget(m_calendario);
    connect(m_subtabs, &QTabWidget::currentChanged, this, [this](int indice) {
        if (m_subtabs->widget(indice) == m_marcoCalendario)
            m_calendario->activar();
    });
}

QWidget* PaginaFechada::desplazable(QWidget* contenido)
{
    auto* area = new QScrollArea;
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(contenido);
    return area;
}

void PaginaFechada::setEntradas(Mensajes& mensajes, const Interruptor& reposicion,
                                EntradaValidada::DatePicker picker)
{
    if (!m_enlace)
        return;
    const schema::Table& t = tablaEsquema();
    for (const EntradaValidada::Adjunta& a : EntradaValidada::adjuntarA(*m_enlace, mensajes)) {
        QLineEdit* caja = a.entrada->box();
        // Only what the user types is checked: a row being shown is never repaired.
        a.entrada->setActiveWhen([&reposicion, caja] { return reposicion.activo() && caja->hasFocus(); });
        if (schema::sameName(a.campo->name, t.dateField) && picker) {
            // A read-only window changes no dates.
            a.entrada->setDatePicker(
                [this, picker](QWidget* parent, const QDate& enCaja) -> std::optional<QDate> {
                    if (m_soloLectura)
                        return std::nullopt;
                    return picker(parent, enCaja);
                });
        }
        ajustarEntrada(*a.entrada, *a.campo);
    }
}

void PaginaFechada::ajustarEntrada(EntradaValidada&, const schema::Field&) {}

QString PaginaFechada::textoCodigo() const
{
    const QLineEdit* caja = cajaCodigo();
    return caja ? caja->text() : QString();
}

QString PaginaFechada::textoFecha() const
{
    auto* caja = m_enlace ? qobject_cast<QLineEdit*>(m_enlace->caja(tablaEsquema().dateField)) : nullptr;
    return caja ? caja->text() : QString();
}

void PaginaFechada::mostrarGuardado()
{
    m_enlace->mostrar();
}

void PaginaFechada::vaciarFecha()
{
    if (auto* caja = m_enlace ? qobject_cast<QLineEdit*>(m_enlace->caja(tablaEsquema().dateField)) : nullptr)
        caja->clear();
}

void PaginaFechada::enfocarFecha()
{
    if (QWidget* caja = m_enlace ? m_enlace->caja(tablaEsquema().dateField) : nullptr)
        caja->setFocus();
}

void PaginaFechada::prepararNuevo(const QString& codigo)
{
    m_enlace->mostrar();
    if (QLineEdit* caja = cajaCodigo())
        caja->setText(codigo);
    enfocarFecha();
}

Status PaginaFechada::escribir()
{
    return m_enlace->escribir();
}

void PaginaFechada::setSoloLectura(bool soloLectura)
{
    m_soloLectura = soloLectura;
    for (const Boton b : {Agregar, Eliminar, Guardar, Cancelar})
        if (QPushButton* p = boton(b))
            p->setVisible(!soloLectura);
    // Nothing shown can be changed; the group check boxes of a test included.
    m_enlace->setSoloLectura(soloLectura);
    // The rich-text boxes lock and their formatting buttons go away.
    for (BotonesTexto* botones : findChildren<BotonesTexto*>())
        botones->setSoloLectura(soloLectura);
}

void PaginaFechada::setSinRegistros(bool visible)
{
    if (m_sinRegistros)
        m_sinRegistros->setVisible(visible);
}

bool PaginaFechada::sinRegistros() const
{
    return m_sinRegistros && !m_sinRegistros->isHidden();
}

QLineEdit* PaginaFechada::cajaCodigo() const
{
    return m_enlace ? qobject_cast<QLineEdit*>(m_enlace->caja(tablaEsquema().codeField)) : nullptr;
}

QList<QWidget*> PaginaFechada::luces() const
{
    return {m_cabecera->luz()};
}

void PaginaFechada::setEstadoLuces(int estado)
{
    for (QWidget* l : luces())
        CabeceraTrafo::setEstadoLuz(l, estado);
}
