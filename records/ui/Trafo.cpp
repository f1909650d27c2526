#include "records/ui/Trafo.h"

#include "Version.h"
#include "app/logic/RunState.h"
#include "records/logic/Alineacion.h"
#include "records/logic/DataViews.h"
#include "records/logic/DisposicionTrafo.h"
#include "records/logic/Logging.h"
#include "records/ui/BarraNavegacion.h"
#include "records/ui/BotonesCalendario.h"
#include "records/ui/CabeceraTrafo.h"
#include "records/ui/EdicionRegistros.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/PaginaBuscar.h"
#include "records/ui/PaginaCalendario.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaHerramientas.h"
#include "records/ui/PaginaMantenimiento.h"
#include "records/ui/PaginaPrioridades.h"
#include "records/ui/PaginaRevision.h"
#include "records/ui/PaginaTrafos.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>

namespace {
constexpr int kPanelAltoTwips = 720;

// The calculator button is a picture without caption: a small calculator, drawn.
QIcon iconoCalculadora()
{
    QPixmap pixmap(48, 48);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x33, 0x33, 0x33), 2));
    p.setBrush(QColor(0xe8, 0xe8, 0xe8));
    p.drawRoundedRect(QRectF(8, 3, 32, 42), 4, 4);
    p.setBrush(QColor(0xc8, 0xe6, 0xc9));
    p.drawRect(QRectF(12, 7, 24, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x4e, 0x8c));
    for (int fila = 0; fila < 3; ++fila)
        for (int columna = 0; columna < 3; ++columna)
            p.drawRect(QRectF(12 + columna * 9, 21 + fila * 8, 6, 5));
    return QIcon(pixmap);
}
} // namespace

Trafo::Trafo(RunState& estado, DataViews& vistas, Mensajes& mensajes, QWidget* parent)
    : QWidget(parent), m_estado(estado), m_vistas(vistas), m_mensajes(mensajes)
{
    setObjectName(QStringLiteral("Trafo"));
    setWindowTitle(QStringLiteral("Quorvela"));

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_buscar = new PaginaBuscar;
    m_trafos = new PaginaTrafos;
    m_revision = new PaginaRevision;
    m_ensayos = new PaginaEnsayos(estado);
    m_mantenimiento = new PaginaMantenimiento;
    m_prioridades = new PaginaPrioridades(estado, vistas, mensajes);
    m_herramientas = new PaginaHerramientas;
    m_trafos->enlazar(vistas.Data1);
    m_trafos->setAislantes(vistas.Data10);
    m_revision->enlazar(vistas.Data2, vistas.Data1);
    m_ensayos->enlazar(vistas.Data3, vistas.Data1);
    m_mantenimiento->enlazar(vistas.Data4, vistas.Data1);
    m_revision->setCalendario(estado, vistas.Data8);
    m_ensayos->setCalendario(estado, vistas.Data7);
    m_mantenimiento->setCalendario(estado, vistas.Data6);
    // The three calendars always show one day.
    PaginaCalendario::enlazarCalendarios(
        {m_revision->calendario(), m_ensayos->calendario(), m_mantenimiento->calendario()});
    m_tabs->addTab(m_buscar, QStringLiteral("&BUSCAR"));
    m_tabs->addTab(m_trafos, QStringLiteral("TRAFOS"));
    m_tabs->addTab(m_revision, QString::fromUtf8("REVISIÓN"));
    m_tabs->addTab(m_ensayos, QStringLiteral("ENSAYOS"));
    m_tabs->addTab(m_mantenimiento, QStringLiteral("MANTENIMIENTO"));
    m_tabs->addTab(m_prioridades, QStringLiteral("PRIORIDADES"));
    m_tabs->addTab(m_herramientas, QStringLiteral("HERRAMIENTAS"));

    // The title panel sits in the free end of the tab strip.
    m_titulo = new QLabel(QStringLiteral("Quorvela " QUORVELA_VERSION_TEXT), m_tabs);
    m_titulo->setObjectName(QStringLiteral("Titulo"));
    QFont f = m_titulo->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    m_titulo->setFont(f);
    m_titulo->setStyleSheet(QStringLiteral("color: #1f4e8c; padding: 2px 10px;"));
    m_tabs->setCornerWidget(m_titulo, Qt::TopRightCorner);

    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("PanelInferior"));
    m_panel->setFrameShape(QFrame::StyledPanel);
    m_salir = new QPushButton(QStringLiteral("&Salir"), m_panel);
    m_salir->setObjectName(QStringLiteral("Command9"));
    m_salir->setMinimumWidth(110);
    m_calculadora = new QPushButton(m_panel);
    m_calculadora->setObjectName(QStringLiteral("SSCommand1"));
    m_calculadora->setIcon(iconoCalculadora());
    m_calculadora->setIconSize(QSize(24, 24));
    m_calculadora->setToolTip(QStringLiteral("Calculadora"));
    m_calculadora->setEnabled(false);
    auto* fila = new QHBoxLayout(m_panel);
    fila->setContentsMargins(8, 4, 8, 4);
    fila->addWidget(m_calculadora);
    fila->addStretch(1);
    fila->addWidget(m_salir);

    m_modo = new QLabel(this);
    m_modo->setObjectName(QStringLiteral("LabelModo"));
    QFont negrita = m_modo->font();
    negrita.setBold(true);
    m_modo->setFont(negrita);
    m_carpeta = new QLabel(this);
    m_carpeta->setObjectName(QStringLiteral("LabelCarpeta"));
    m_carpeta->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_enlace = new QLabel(this);
    m_enlace->setObjectName(QStringLiteral("Label7"));
    m_enlace->setText(
        QStringLiteral("<a href=\"%1\">%2</a>").arg(direccionWeb().toString(), direccionWeb().host()));
    m_enlace->setTextFormat(Qt::RichText);
    m_enlace->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    m_enlace->setOpenExternalLinks(false);
    m_enlace->setCursor(Qt::PointingHandCursor);

    m_abrirEnlace = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    m_terminar = [] { QCoreApplication::quit(); };

    connect(m_salir, &QPushButton::clicked, this, &Trafo::Salir);
    connect(m_calculadora, &QPushButton::clicked, this, [this] {
        if (m_abrirCalculadora)
            m_abrirCalculadora();
    });
    connect(m_enlace, &QLabel::linkActivated, this, [this](const QString& enlace) {
        // A failed link is not reported: there may be no browser or no network.
        if (m_abrirEnlace)
            m_abrirEnlace(QUrl(enlace));
    });
    connect(m_herramientas, &PaginaHerramientas::comando, this, &Trafo::comandoHerramientas);
    // Until the program supplies their windows, the maintenance buttons stay disabled.
    for (const int indice : {PaginaHerramientas::RealizarBackup, PaginaHerramientas::CompactarBase,
                             PaginaHerramientas::RestaurarBackup, PaginaHerramientas::DireccionBase,
                             PaginaHerramientas::ContrasenaLectura, PaginaHerramientas::ContrasenaEscritura})
        m_herramientas->boton(indice)->setEnabled(false);

    // The list follows the transformer view through the alignment, which also re-positions it;
    // following Data1 on its own as well would run the list's query twice per move.
    m_prioridades->setSeguirDatos1(false);

    // Built after the pages: their binders answer the views' validate first, so pending edits
    // are in the row before the alignment blanks or clears anything.
    m_alineacion = new Alineacion(estado, vistas, this);
    conectarAlineacion();
    m_edicion = new EdicionRegistros(estado, vistas, *m_alineacion, mensajes, *m_trafos, *m_revision,
                                     *m_ensayos, *m_mantenimiento, this);
    m_prioridades->setAntesDeReconstruir([this] { return m_edicion->guardarPendientes(); });
    m_buscar->conectar(estado, vistas, mensajes, [this] { return m_edicion->guardarPendientes(); });
    // The calendar pages' searches read the ENSAYOS calendar's day and set all three.
    const BotonesCalendario::Contexto contexto{
        estado,
        vistas,
        mensajes,
        [this] { return m_ensayos->calendario()->calendario()->selectedDate(); },
        [this](const QDate& dia) {
            for (PaginaFechada* p :
                 {static_cast<PaginaFechada*>(m_revision), static_cast<PaginaFechada*>(m_ensayos),
                  static_cast<PaginaFechada*>(m_mantenimiento)})
                p->calendario()->mostrarFecha(dia);
        },
        [this] { return m_hoy ? m_hoy() : QDate::currentDate(); },
        [this] { return m_edicion->guardarPendientes(); }};
    m_botonesCalendario = {
        new BotonesCalendario(BotonesCalendario::Revision, *m_revision, contexto, this),
        new BotonesCalendario(BotonesCalendario::Ensayos, *m_ensayos, contexto, this),
        new BotonesCalendario(BotonesCalendario::Mantenimiento, *m_mantenimiento, contexto, this)};
    BotonesCalendario::enlazar(m_botonesCalendario);
    connect(m_edicion, &EdicionRegistros::agregandoCambiado, this,
            [this](Alineacion::Vista v, bool agregando) {
                if (v == Alineacion::Vista::Ensayos)
                    m_ensayos->setAgregando(agregando);
            });
    // Only what the user types is checked: the program's own moves run with reposition off.
    m_trafos->setEntradas(mensajes, estado.ReposicionActiva);
    for (PaginaFechada* p : {static_cast<PaginaFechada*>(m_revision), static_cast<PaginaFechada*>(m_ensayos),
                             static_cast<PaginaFechada*>(m_mantenimiento)})
        p->setEntradas(mensajes, estado.ReposicionActiva,
                       [this](QWidget* parent, const QDate& enCaja) -> std::optional<QDate> {
                           return m_selectorFecha ? m_selectorFecha(parent, enCaja) : std::nullopt;
                       });

    mostrarEstado();
    resize(1100, 720);
}

Trafo::~Trafo() = default;

QUrl Trafo::direccionWeb()
{
    return QUrl(QStringLiteral("https://www.quorvela.example/"));
}

void Trafo::setComandoHerramientas(int indice, std::function<void()> accion)
{
    if (indice == PaginaHerramientas::BuscarActualizaciones)
        return;
    if (QPushButton* b = m_herramientas->boton(indice))
        b->setEnabled(bool(accion));
    if (accion)
        m_comandos.insert(indice, std::move(accion));
    else
        m_comandos.remove(indice);
}

void Trafo::setAbrirDireccion(std::function<void()> abrir)
{
    setComandoHerramientas(PaginaHerramientas::DireccionBase, std::move(abrir));
}

void Trafo::setAbrirEnlace(std::function<void(const QUrl&)> abrir)
{
    m_abrirEnlace = std::move(abrir);
}

void Trafo::setAlSalir(std::function<void()> alSalir)
{
    m_alSalir = std::move(alSalir);
}

void Trafo::setTerminar(std::function<void()> terminar)
{
    m_terminar = std::move(terminar);
}

void Trafo::Salir()
{
    // The button and the window's close both lead here; the exit work runs only once.
    if (m_salido)
        return;
    m_salido = true;

    emit saliendo();
    if (m_alSalir)
        m_alSalir();
    // A window closed only to be loaded again keeps the data open and the program running; its
    // real exit comes later and must run in full.
    if (m_estado.RecargaEnCurso) {
        m_salido = false;
        return;
    }
    m_vistas.closeAll();
    hide();
    if (m_terminar)
        m_terminar();
}

Status Trafo::reabrir(const QString& folder)
{
    const Status st = m_vistas.reabrir(folder);
    m_alineacion->reiniciar();
    m_edicion->reiniciar();
    // The searches start again: the date comparison on "=", the calendars on today.
    for (BotonesCalendario* b : m_botonesCalendario)
        b->comparacion()->setEditText(QStringLiteral("="));
    const QDate hoy = m_hoy ? m_hoy() : QDate::currentDate();
    for (PaginaFechada* p : {static_cast<PaginaFechada*>(m_revision), static_cast<PaginaFechada*>(m_ensayos),
                             static_cast<PaginaFechada*>(m_mantenimiento)})
        p->calendario()->mostrarFecha(hoy);
    mostrarEstado();
    alinear();
    return st;
}

void Trafo::Reconectar(const QDate& hoy)
{
    ignorarFallo(reabrir(m_estado.RutaDatos), logRecords(), "Reconectar las vistas con el archivo de datos");
    // The three calendars are linked: one day for all.
    for (PaginaFechada* p : {static_cast<PaginaFechada*>(m_revision), static_cast<PaginaFechada*>(m_ensayos),
                             static_cast<PaginaFechada*>(m_mantenimiento)})
        p->calendario()->mostrarFecha(hoy);
}

void Trafo::setCalculadora(std::function<void()> abrir)
{
    m_abrirCalculadora = std::move(abrir);
    m_calculadora->setEnabled(bool(m_abrirCalculadora));
}

void Trafo::alinear()
{
    m_alineacion->alinearConTrafo();
}

void Trafo::setSelectorFecha(EntradaValidada::DatePicker picker)
{
    m_selectorFecha = std::move(picker);
}

QList<QWidget*> Trafo::luces() const
{
    QList<QWidget*> todas = m_trafos->luces();
    todas << m_revision->luces() << m_ensayos->luces() << m_mantenimiento->luces() << m_prioridades->luz()
          << m_buscar->luz();
    return todas;
}

PaginaFechada* Trafo::paginaFechada(int vista) const
{
    switch (static_cast<Alineacion::Vista>(vista)) {
    case Alineacion::Vista::Revision:
        return m_revision;
    case Alineacion::Vista::Ensayos:
        return m_ensayos;
    case Alineacion::Vista::Mantenimiento:
        return m_mantenimiento;
    case Alineacion::Vista::Trafo:
        break;
    }
    return nullptr;
}

void Trafo::conectarAlineacion()
{
    // The bars move their views themselves and keep their captions from the views' moves; a
    // press first readies a parked view so the step lands on the table's first or last row.
    const struct
    {
        PaginaFechada* pagina;
        Alineacion::Vista vista;
    } fechadas[] = {{m_revision, Alineacion::Vista::Revision},
                    {m_ensayos, Alineacion::Vista::Ensayos},
                    {m_mantenimiento, Alineacion::Vista::Mantenimiento}};
    for (const auto& f : fechadas) {
        const Alineacion::Vista v = f.vista;
        connect(f.pagina->barra(), &BarraNavegacion::pulsado, m_alineacion,
                [this, v] { m_alineacion->antesDeNavegar(v); });
    }

    connect(m_alineacion, &Alineacion::estadoTrafo, this,
            [this](int estado, bool pulsado, const QVariant& gravedad) {
                m_trafos->mostrarEstadoTrafo(estado, pulsado, gravedad);
                for (PaginaFechada* p :
                     {static_cast<PaginaFechada*>(m_revision), static_cast<PaginaFechada*>(m_ensayos),
                      static_cast<PaginaFechada*>(m_mantenimiento)})
                    p->setEstadoLuces(estado);
                m_prioridades->setEstadoLuz(estado);
                m_buscar->setEstadoLuz(estado);
            });
    connect(m_alineacion, &Alineacion::sinRegistros, this, [this](Alineacion::Vista v, bool visible) {
        if (PaginaFechada* p = paginaFechada(static_cast<int>(v)))
            p->setSinRegistros(visible);
    });
    connect(m_alineacion, &Alineacion::semaforoEnsayo, m_ensayos, &PaginaEnsayos::setEstadoSemaforo);
    connect(m_alineacion, &Alineacion::blanquearRevision, m_revision, &PaginaRevision::blanquear);
    connect(m_alineacion, &Alineacion::limpiarDiagnosticoEnsayo, m_ensayos,
            &PaginaEnsayos::limpiarDiagnostico);

    // Every move onto a test evaluates it, in this fixed order.
    Alineacion::EvaluacionEnsayo evaluacion;
    evaluacion.relacionGases = [this] { m_ensayos->mostrarRelacionGases(); };
    evaluacion.diagnostico = [this] { m_ensayos->mostrarDiagnostico(); };
    evaluacion.grupos = [this] { m_ensayos->habilitarGrupos(); };
    m_alineacion->setEvaluacionEnsayo(std::move(evaluacion));

    connect(m_tabs, &QTabWidget::currentChanged, this, &Trafo::pestanaCambiada);
}

void Trafo::pestanaCambiada(int indice)
{
    const Alineacion::Vista vistas[] = {Alineacion::Vista::Revision, Alineacion::Vista::Ensayos,
                                        Alineacion::Vista::Mantenimiento};
    for (const Alineacion::Vista v : vistas) {
        PaginaFechada* p = paginaFechada(static_cast<int>(v));
        if (m_tabs->indexOf(p) != indice)
            continue;
        p->setSinRegistros(Alineacion::sinRegistrosAlCambiarPestana(v, p->textoCodigo().trimmed().isEmpty()));
    }
}

void Trafo::mostrarEstado()
{
    m_modo->setText(m_estado.SoloLectura ? QStringLiteral("MODO: Solo Lectura")
                                         : QString::fromUtf8("MODO: Edición"));
    m_carpeta->setText(QString::fromUtf8("Dirección BD: ") + m_estado.RutaDatos);
    m_trafos->setSoloLectura(m_estado.SoloLectura);
    m_revision->setSoloLectura(m_estado.SoloLectura);
    m_ensayos->setSoloLectura(m_estado.SoloLectura);
    m_mantenimiento->setSoloLectura(m_estado.SoloLectura);
    m_prioridades->setSoloLectura(m_estado.SoloLectura);
    disponer();
}

void Trafo::comandoHerramientas(int indice)
{
    if (indice == PaginaHerramientas::BuscarActualizaciones) {
        if (m_abrirEnlace)
            m_abrirEnlace(direccionWeb().resolved(QUrl(QStringLiteral("index_archivos/Quorvela.htm"))));
        return;
    }
    const auto accion = m_comandos.constFind(indice);
    if (accion != m_comandos.constEnd())
        (*accion)();
}

void Trafo::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    disponer();
}

void Trafo::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    disponer();
}

void Trafo::closeEvent(QCloseEvent* event)
{
    Salir();
    event->accept();
}

void Trafo::disponer()
{
    const qreal dpiX = logicalDpiX();
    const qreal dpiY = logicalDpiY();
    const QSize tabs(DisposicionTrafo::aPixeles(DisposicionTrafo::kTabsAnchoTwips, dpiX),
                     DisposicionTrafo::aPixeles(DisposicionTrafo::kTabsAltoTwips, dpiY));

    DisposicionTrafo::Piezas piezas;
    piezas.tabs = tabs;
    piezas.panel = QSize(tabs.width(), DisposicionTrafo::aPixeles(kPanelAltoTwips, dpiY));
    piezas.modo = m_modo->sizeHint();
    piezas.enlace = m_enlace->sizeHint();
    // A long folder is cut at the panel's width rather than running off the window.
    piezas.carpeta = QSize(std::min(m_carpeta->sizeHint().width(), tabs.width() - piezas.enlace.width() - 16),
                           m_carpeta->sizeHint().height());

    setMinimumSize(DisposicionTrafo::minimo(piezas, dpiY));
    const DisposicionTrafo::Geometria g = DisposicionTrafo::calcular(size(), piezas, dpiY);
    m_tabs->setGeometry(g.tabs);
    m_panel->setGeometry(g.panel);
    m_modo->setGeometry(g.modo);
    m_carpeta->setGeometry(g.carpeta);
    m_enlace->setGeometry(g.enlace);
}
