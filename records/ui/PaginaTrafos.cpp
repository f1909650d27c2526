#include "records/ui/PaginaTrafos.h"

#include "app/logic/Interruptor.h"
#include "data/logic/Campos.h"
#include "data/logic/RecordView.h"
#include "data/logic/Schema.h"
#include "records/logic/Edicion.h"
#include "records/ui/BarraNavegacion.h"
#include "records/ui/BotonesTexto.h"
#include "records/ui/CabeceraTrafo.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/EntradaValidada.h"
#include "records/ui/FormularioCampos.h"
#include "records/ui/TablaRegistros.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QWidget* desplazable(QWidget* contenido)
{
    auto* area = new QScrollArea;
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(contenido);
    return area;
}

QString s(const char* texto)
{
    return QString::fromUtf8(texto);
}

} // namespace

PaginaTrafos::PaginaTrafos(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PaginaTrafos"));
    auto* vertical = new QVBoxLayout(this);
    vertical->setContentsMargins(4, 4, 4, 4);
    vertical->setSpacing(4);
    m_cabecera = new CabeceraTrafo(0, this);
    m_luces << m_cabecera->luz();
    vertical->addWidget(m_cabecera);
    m_subtabs = new QTabWidget(this);
    m_subtabs->setObjectName(QStringLiteral("Subtabs"));
    vertical->addWidget(m_subtabs, 1);
    m_barra = new BarraNavegacion(QStringLiteral("TRA"), this);
    vertical->addWidget(m_barra);
}

void PaginaTrafos::enlazar(RecordView& trafos)
{
    if (m_enlace)
        return;
    m_vista = &trafos;
    m_enlace = new EnlaceCampos(trafos, schema::trafoge(), this);
    m_cabecera->setVista(&trafos);
    m_barra->setVista(&trafos);
    m_barra->actualizarCaption();

    m_subtabs->addTab(construirDetalle(), QStringLiteral("&DETALLE"));
    auto* paginaTabla = new QWidget;
    auto* tablaLayout = new QVBoxLayout(paginaTabla);
    tablaLayout->setContentsMargins(2, 2, 2, 2);
    m_tabla = new TablaRegistros(trafos, paginaTabla);
    m_tabla->setObjectName(QStringLiteral("TablaTrafoge"));
    tablaLayout->addWidget(m_tabla);
    m_subtabs->addTab(paginaTabla, QStringLiteral("TABLA"));
    m_subtabs->addTab(construirAccesorios(), QStringLiteral("ACCESORIOS"));
    m_subtabs->addTab(construirDiagnostico(), QString::fromUtf8("&DIAGNÓSTICO GENERAL"));

    connect(m_enlace, &EnlaceCampos::mostrado, this, &PaginaTrafos::mostrarEstado);
    mostrarEstado();
}

QWidget* PaginaTrafos::construirDetalle()
{
    auto* pagina = new QWidget;
    auto* fila = new QHBoxLayout(pagina);
    fila->setContentsMargins(4, 4, 4, 4);

    QList<schema::Field> generales;
    for (const schema::Field& f : schema::trafoge().fields)
        if (f.group.isEmpty() && !f.tableOnly)
            generales << f;
    generales << FormularioCampos::delGrupo(schema::trafoge(), s("GENERAL"));
    fila->addWidget(desplazable(FormularioCampos::construirCampos(generales, *m_enlace, 2)), 1);

    auto* derecha = new QVBoxLayout;
    auto* area = new QGroupBox(s("ESTADO"), pagina);
    area->setObjectName(QStringLiteral("AreaEstado"));
    auto* grilla = new QGridLayout(area);
    const schema::Table& t = schema::trafoge();
    m_estado = new QComboBox(area);
    m_estado->setObjectName(FormularioCampos::nombreCaja(t, *t.field(campo::trafoge::ESTADO)));
    m_estado->addItems({s("Apagado"), s("Verde"), s("Amarillo"), s("Rojo")});
    for (int i = 0; i < 4; ++i)
        m_estado->setItemData(i, i);
    m_gravedad = new QLineEdit(area);
    m_gravedad->setObjectName(FormularioCampos::nombreCaja(t, *t.field(campo::trafoge::GRAVEDAD)));
    m_modo = new QPushButton(area);
    m_modo->setObjectName(FormularioCampos::nombreCaja(t, *t.field(campo::trafoge::AUTO)));
    m_modo->setCheckable(true);
    auto* rotuloEstado = new QLabel(FormularioCampos::rotulo(*t.field(campo::trafoge::ESTADO)), area);
    rotuloEstado->setBuddy(m_estado);
    auto* rotuloGravedad = new QLabel(FormularioCampos::rotulo(*t.field(campo::trafoge::GRAVEDAD)), area);
    rotuloGravedad->setBuddy(m_gravedad);
    grilla->addWidget(rotuloEstado, 0, 0);
    grilla->addWidget(m_estado, 0, 1);
    grilla->addWidget(rotuloGravedad, 1, 0);
    grilla->addWidget(m_gravedad, 1, 1);
    grilla->addWidget(m_modo, 2, 0, 1, 2);
    QWidget* luz = CabeceraTrafo::crearLuz(1, area);
    m_luces << luz;
    grilla->addWidget(luz, 0, 2, 3, 1, Qt::AlignCenter);
    m_enlace->agregar(campo::trafoge::ESTADO, m_estado);
    m_enlace->agregar(campo::trafoge::GRAVEDAD, m_gravedad);
    m_enlace->agregar(campo::trafoge::AUTO, m_modo);
    connect(m_modo, &QPushButton::toggled, this, &PaginaTrafos::aplicarModo);
    aplicarModo();
    derecha->addWidget(area);

    const char* textos[] = {"&Agregar", "&Eliminar", "&Refrescar", "&Guardar", "Ca&ncelar"};
    const char* nombres[] = {"cmdAdd", "cmdDelete", "cmdRefresh", "cmdUpdate", "Command29"};
    auto* botones = new QGridLayout;
    for (int i = 0; i < 5; ++i) {
        auto* b = new QPushButton(s(textos[i]), pagina);
        b->setObjectName(QString::fromLatin1(nombres[i]));
        botones->addWidget(b, i / 2, i % 2);
        m_botones << b;
    }
    derecha->addLayout(botones);
    m_botonInforme = new QPushButton(s("Generar &informe"), pagina);
    m_botonInforme->setObjectName(QStringLiteral("Command36"));
    connect(m_botonInforme, &QPushButton::clicked, this, &PaginaTrafos::abrirInforme);
    derecha->addWidget(m_botonInforme);
    derecha->addWidget(construirInforme(pagina));
    derecha->addStretch(1);
    fila->addLayout(derecha);
    return pagina;
}

QGroupBox* PaginaTrafos::construirInforme(QWidget* pagina)
{
    m_marcoInforme = new QGroupBox(s("Informe"), pagina);
    m_marcoInforme->setObjectName(QStringLiteral("Frame3"));
    auto* dentro = new QVBoxLayout(m_marcoInforme);
    const char* textos[] = {"General", "Resumido", "Detallado"};
    const char* nombres[] = {"Option8", "Option7", "Option9"};
    for (int i = 0; i < 3; ++i) {
        auto* opcion = new QRadioButton(s(textos[i]), m_marcoInforme);
        opcion->setObjectName(QString::fromLatin1(nombres[i]));
        dentro->addWidget(opcion);
        m_opcionesInforme << opcion;
    }
    // One choice is always made, so that "Aceptar" never asks for nothing.
    m_opcionesInforme.first()->setChecked(true);
    auto* botones = new QHBoxLayout;
    m_aceptarInforme = new QPushButton(s("Aceptar"), m_marcoInforme);
    m_aceptarInforme->setObjectName(QStringLiteral("Command37"));
    m_cancelarInforme = new QPushButton(s("Cancelar"), m_marcoInforme);
    m_cancelarInforme->setObjectName(QStringLiteral("Command52"));
    botones->addWidget(m_aceptarInforme);
    botones->addWidget(m_cancelarInforme);
    dentro->addLayout(botones);
    connect(m_aceptarInforme, &QPushButton::clicked, this, &PaginaTrafos::aceptarElInforme);
    connect(m_cancelarInforme, &QPushButton::clicked, this, &PaginaTrafos::cerrarInforme);
    m_marcoInforme->setEnabled(false);
    m_marcoInforme->hide();
    return m_marcoInforme;
}

void PaginaTrafos::abrirInforme()
{
    if (!m_marcoInforme)
        return;
    m_botonInforme->setEnabled(false);
    m_botonInforme->hide();
    for (const Boton b : {Agregar, Eliminar, Refrescar, Guardar, Cancelar})
        if (QPushButton* p = boton(b)) {
            p->setEnabled(false);
            p->hide();
        }
    m_marcoInforme->setEnabled(true);
    m_marcoInforme->show();
}

void PaginaTrafos::cerrarInforme()
{
    if (!m_marcoInforme)
        return;
    m_marcoInforme->setEnabled(false);
    m_marcoInforme->hide();
    m_botonInforme->setEnabled(true);
    m_botonInforme->show();
    QList<Boton> vuelven = {Refrescar};
    // Read-only mode keeps the editing buttons away.
    if (!m_soloLectura)
        vuelven << Agregar << Eliminar << Guardar << Cancelar;
    for (const Boton b : vuelven)
        if (QPushButton* p = boton(b)) {
            p->setEnabled(true);
            p->show();
        }
}

void PaginaTrafos::aceptarElInforme()
{
    int eleccion = 0;
    for (int i = 0; i < m_opcionesInforme.size(); ++i)
        if (m_opcionesInforme[i]->isChecked())
            eleccion = i;
    // The chosen report prints first; the choice closes after it.
    emit informePedido(eleccion);
    cerrarInforme();
}

QWidget* PaginaTrafos::construirAccesorios()
{
    auto* pagina = new QWidget;
    auto* vertical = new QVBoxLayout(pagina);
    vertical->setContentsMargins(4, 4, 4, 4);
    vertical->addWidget(FormularioCampos::construirGrupo(s("ACCESORIOS"), *m_enlace, 2), 1);
    auto* guardar = new QPushButton(s("&Guardar"), pagina);
    guardar->setObjectName(QStringLiteral("cmdGuardarAccesorios"));
    auto* informe = new QPushButton(s("&Generar informe"), pagina);
    informe->setObjectName(QStringLiteral("Command35"));
    connect(informe, &QPushButton::clicked, this, &PaginaTrafos::informeAccesoriosPedido);
    auto* fila = new QHBoxLayout;
    fila->addStretch(1);
    fila->addWidget(informe);
    fila->addWidget(guardar);
    vertical->addLayout(fila);
    m_botones << guardar;
    return pagina;
}

QWidget* PaginaTrafos::construirDiagnostico()
{
    auto* pagina = new QWidget;
    auto* fila = new QHBoxLayout(pagina);
    fila->setContentsMargins(4, 4, 4, 4);
    fila->addWidget(FormularioCampos::construirGrupo(s("DIAGNÓSTICO GENERAL"), *m_enlace, 1), 1);
    auto* derecha = new QVBoxLayout;
    auto* rotulo = new QLabel(s("Gravedad:"), pagina);
    m_gravedadDiagnostico = new QLineEdit(pagina);
    m_gravedadDiagnostico->setObjectName(QStringLiteral("Text1_1"));
    m_gravedadDiagnostico->setReadOnly(true);
    m_gravedadDiagnostico->setMaximumWidth(90);
    rotulo->setBuddy(m_gravedadDiagnostico);
    QWidget* luz = CabeceraTrafo::crearLuz(2, pagina);
    m_luces << luz;
    derecha->addWidget(luz, 0, Qt::AlignHCenter);
    derecha->addWidget(rotulo);
    derecha->addWidget(m_gravedadDiagnostico);
    derecha->addStretch(1);
    fila->addLayout(derecha);
    return pagina;
}

PaginaTrafos::EstadoElegido PaginaTrafos::estadoElegido() const
{
    EstadoElegido e;
    e.manual = m_modo->isChecked();
    e.estado = std::max(0, m_estado->currentIndex());
    const QString gravedad = m_gravedad->text().trimmed();
    if (!gravedad.isEmpty())
        e.gravedad = gravedad;
    return e;
}

QString PaginaTrafos::textoCodigo() const
{
    auto* caja = qobject_cast<QLineEdit*>(m_enlace->caja(campo::trafoge::CODIGO));
    return caja ? caja->text() : QString();
}

QString PaginaTrafos::tipoElegido() const
{
    auto* tipo = qobject_cast<QComboBox*>(m_enlace->caja(campo::trafoge::TIPO));
    return tipo ? tipo->currentText() : QString();
}

void PaginaTrafos::vaciarCodigo()
{
    if (auto* caja = qobject_cast<QLineEdit*>(m_enlace->caja(campo::trafoge::CODIGO)))
        caja->clear();
}

void PaginaTrafos::enfocarCodigo()
{
    if (QWidget* caja = m_enlace->caja(campo::trafoge::CODIGO))
        caja->setFocus();
}

void PaginaTrafos::setAislantes(RecordView& aislantes)
{
    auto* lista = qobject_cast<QComboBox*>(m_enlace->caja(campo::trafoge::TIPO_AISLANTE));
    if (!lista)
        return;
    const auto llenar = [lista, &aislantes] {
        // The box keeps the row's value; only the offered items change.
        const QString mostrado = lista->currentText();
        const QSignalBlocker quieto(lista);
        lista->clear();
        for (int i = 0; i < aislantes.recordCount(); ++i) {
            const QString aceite = aislantes.valueAt(i, 0).toString();
            if (!aceite.trimmed().isEmpty())
                lista->addItem(aceite);
        }
        lista->setEditText(mostrado);
    };
    connect(&aislantes, &RecordView::rowsChanged, lista, llenar);
    llenar();
}

void PaginaTrafos::mostrarGuardado()
{
    m_enlace->mostrar();
    m_cabecera->mostrar();
}

void PaginaTrafos::prepararNuevo(const QString& codigoPropuesto)
{
    m_enlace->mostrar();
    m_cabecera->mostrar();
    if (auto* caja = qobject_cast<QLineEdit*>(m_enlace->caja(campo::trafoge::CODIGO)))
        caja->setText(codigoPropuesto);
    if (auto* tipo = qobject_cast<QComboBox*>(m_enlace->caja(campo::trafoge::TIPO))) {
        tipo->setCurrentIndex(tipo->findText(edicion::tipoNuevo()));
        if (tipo->isEditable())
            tipo->setEditText(edicion::tipoNuevo());
    }
    if (auto* aislante = qobject_cast<QLineEdit*>(m_enlace->caja(campo::trafoge::TIPO_AISLANTE)))
        aislante->setText(edicion::aislanteNuevo());
    else if (auto* lista = qobject_cast<QComboBox*>(m_enlace->caja(campo::trafoge::TIPO_AISLANTE)))
        lista->setEditText(edicion::aislanteNuevo());
    ponerAutomatico();
    if (QWidget* area = m_enlace->caja(campo::trafoge::AREA))
        area->setFocus();
}

void PaginaTrafos::ponerAutomatico()
{
    m_modo->setChecked(false);
    aplicarModo();
}

Status PaginaTrafos::escribir()
{
    return m_enlace->escribir();
}

void PaginaTrafos::aplicarModo()
{
    const bool manual = m_modo->isChecked();
    m_modo->setText(manual ? s("Manual") : s("Automático"));
    m_estado->setEnabled(manual && !m_soloLectura);
    m_gravedad->setReadOnly(!manual || m_soloLectura);
}

void PaginaTrafos::mostrarEstado()
{
    const bool enFila =
        m_vista && m_vista->isOpen() && !m_vista->bof() && !m_vista->eof() && !m_vista->isDeleted();
    setEstadoLuces(enFila ? m_vista->value(campo::trafoge::ESTADO).toInt() : 0);
    m_gravedadDiagnostico->setText(m_gravedad->text());
    aplicarModo();
}

void PaginaTrafos::mostrarEstadoTrafo(int estado, bool manual, const QVariant& gravedad)
{
    // The boxes already show the row (the binder moved first); only differences are set, so
    // that nothing is marked as edited by the user.
    const int indice = m_estado->findData(estado);
    if (m_estado->currentIndex() != indice)
        m_estado->setCurrentIndex(indice);
    if (m_modo->isChecked() != manual)
        m_modo->setChecked(manual);
    const schema::Field* campoGravedad = schema::trafoge().field(campo::trafoge::GRAVEDAD);
    const QString texto = gravedad.isValid() && !gravedad.isNull()
                              ? EnlaceCampos::textoValor(gravedad, campoGravedad->kind)
                              : QString();
    if (m_gravedad->text() != texto)
        m_gravedad->setText(texto);
    m_gravedadDiagnostico->setText(texto);
    setEstadoLuces(estado);
    aplicarModo();
}

void PaginaTrafos::setEstadoLuces(int estado)
{
    for (QWidget* l : m_luces)
        CabeceraTrafo::setEstadoLuz(l, estado);
}

void PaginaTrafos::setEntradas(Mensajes& mensajes, const Interruptor& reposicion)
{
    for (const EntradaValidada::Adjunta& a : EntradaValidada::adjuntarA(*m_enlace, mensajes)) {
        QLineEdit* caja = a.entrada->box();
        a.entrada->setActiveWhen([&reposicion, caja] { return reposicion.activo() && caja->hasFocus(); });
    }
}

void PaginaTrafos::setSoloLectura(bool soloLectura)
{
    m_soloLectura = soloLectura;
    // While the report choice is open the record buttons stay hidden; closing it shows them.
    const bool informeAbierto = m_marcoInforme && !m_marcoInforme->isHidden();
    for (const Boton b : {Agregar, Eliminar, Guardar, Cancelar, GuardarAccesorios})
        if (QPushButton* p = boton(b))
            if (b == GuardarAccesorios || !informeAbierto)
                p->setVisible(!soloLectura);
    // Nothing shown can be changed: the boxes and the state area.
    m_enlace->setSoloLectura(soloLectura);
    // The rich-text boxes lock and their formatting buttons go away.
    for (BotonesTexto* botones : findChildren<BotonesTexto*>())
        botones->setSoloLectura(soloLectura);
    EnlaceCampos::bloquear(m_modo, soloLectura);
    aplicarModo();
}
