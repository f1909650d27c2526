#include "records/ui/PaginaBuscar.h"

#include "app/logic/RunState.h"
#include "data/logic/Campos.h"
#include "data/logic/Schema.h"
#include "records/logic/DataViews.h"
#include "records/logic/Logging.h"
#include "records/ui/CabeceraTrafo.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/TablaRegistros.h"
#include "search/logic/ArchivoAbs.h"
#include "search/logic/Busqueda.h"
#include "utilities/logic/Mensajes.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTituloBusqueda = QStringLiteral("Busqueda");
const QString kTituloSubagrupar = QStringLiteral("Subagrupar");
const QString kSinCoincidencia = QString::fromUtf8("No se encontró coincidencia de registro");
const QString kFiltroAbs = QStringLiteral("Texto [*.abs] (*.abs)");

// The identity boxes: their element names and the fields they show.
struct Identidad
{
    const char* objeto;
    const char* rotulo;
    const QString& campo;
};
const Identidad kIdentidad[] = {
    {"Text2_0", "Código:", campo::trafoge::CODIGO},
    {"Text3_0", "Area:", campo::trafoge::AREA},
    {"Text4_0", "Tipo:", campo::trafoge::TIPO},
    {"Text5_0", "Denominación:", campo::trafoge::DENOMINACION},
    {"Text6_0", "Nro de Serie:", campo::trafoge::NRO_DE_SERIE},
    {"txtFields_46", "Marca:", campo::trafoge::MARCA},
};

QComboBox* nuevaLista(const QString& objeto, const QStringList& items, QWidget* parent)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(objeto);
    c->addItems(items);
    return c;
}

} // namespace

PaginaBuscar::PaginaBuscar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PaginaBuscar"));
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(8, 8, 8, 8);
    m_luz = CabeceraTrafo::crearLuz(7, this);

    // The current transformer, as on the other tabs.
    auto* identidad = new QGridLayout;
    for (int i = 0; i < int(std::size(kIdentidad)); ++i) {
        auto* caja = new QLineEdit(this);
        caja->setObjectName(QString::fromLatin1(kIdentidad[i].objeto));
        caja->setReadOnly(true);
        identidad->addWidget(new QLabel(QString::fromUtf8(kIdentidad[i].rotulo), this), i / 3, 2 * (i % 3));
        identidad->addWidget(caja, i / 3, 2 * (i % 3) + 1);
        m_identidad << caja;
    }
    // Room at the right for the state light in the page's corner.
    identidad->setContentsMargins(0, 0, 44, 0);
    identidad->setColumnStretch(3, 1);
    identidad->setColumnStretch(5, 1);
    identidad->setColumnMinimumWidth(5, 200);
    m_layout->addLayout(identidad);

    // The query builder: connector, "(", table.[field] comparison value, ")".
    auto* armado = new QHBoxLayout;
    m_operador = new QLabel(QStringLiteral("Operador"), this);
    m_operador->setObjectName(QStringLiteral("Label_66"));
    m_conector = nuevaLista(QStringLiteral("Combo7"),
                            {QStringLiteral("And"), QStringLiteral("Or"), QStringLiteral("Xor"),
                             QStringLiteral("And Not"), QStringLiteral("Or Not"), QStringLiteral(" ")},
                            this);
    m_conector->setCurrentIndex(5);
    m_abre = new QPushButton(QStringLiteral("("), this);
    m_abre->setObjectName(QStringLiteral("VxBoton13"));
    m_cierra = new QPushButton(QStringLiteral(")"), this);
    m_cierra->setObjectName(QStringLiteral("VxBoton14"));
    for (QPushButton* b : {m_abre, m_cierra}) {
        b->setCheckable(true);
        b->setFixedWidth(28);
    }
    m_tabla = nuevaLista(QStringLiteral("Combo6"), busqueda::titulosTablas(), this);
    m_tabla->setCurrentIndex(4);
    m_campo = nuevaLista(QStringLiteral("Combo1"), {QStringLiteral(" ")}, this);
    m_campo->setMinimumWidth(180);
    m_comparacion =
        nuevaLista(QStringLiteral("Combo2"),
                   {QStringLiteral("="), QStringLiteral(">"), QStringLiteral(">="), QStringLiteral("<"),
                    QStringLiteral("<="), QStringLiteral("<>"), QStringLiteral(" ")},
                   this);
    m_comparacion->setCurrentIndex(6);
    m_valor = new QComboBox(this);
    m_valor->setObjectName(QStringLiteral("DBCombo1"));
    m_valor->setEditable(true);
    m_valor->setInsertPolicy(QComboBox::NoInsert);
    m_valor->setMinimumWidth(180);
    armado->addWidget(m_operador);
    armado->addWidget(m_conector);
    armado->addWidget(m_abre);
    armado->addWidget(new QLabel(QStringLiteral("Tabla"), this));
    armado->addWidget(m_tabla);
    armado->addWidget(new QLabel(QStringLiteral(".["), this));
    armado->addWidget(m_campo, 1);
    armado->addWidget(new QLabel(QStringLiteral("]"), this));
    armado->addWidget(m_comparacion);
    armado->addWidget(new QLabel(QStringLiteral("Criterio"), this));
    armado->addWidget(m_valor, 1);
    armado->addWidget(m_cierra);
    m_layout->addLayout(armado);

    // The condition list and the buttons.
    auto* medio = new QHBoxLayout;
    m_lista = new QListWidget(this);
    m_lista->setObjectName(QStringLiteral("List1"));
    m_lista->setMinimumHeight(110);
    medio->addWidget(m_lista, 1);
    auto* botones = new QGridLayout;
    const std::pair<const char*, const char*> kBotones[] = {
        {"VxBoton12", "AGREGAR"},     {"VxBoton10", "BORRAR"},     {"Command1", "&Buscar"},
        {"Command2", "&Siguiente »"}, {"Command4", "Suba&grupar"}, {"Command3", "&Restaurar"},
        {"CommandAG_0", "Abrir"},     {"CommandAG_1", "Guardar"},
    };
    for (int i = 0; i < int(std::size(kBotones)); ++i) {
        auto* b = new QPushButton(QString::fromUtf8(kBotones[i].second), this);
        b->setObjectName(QString::fromLatin1(kBotones[i].first));
        botones->addWidget(b, i / 2, i % 2);
        m_botones << b;
    }
    medio->addLayout(botones);
    m_layout->addLayout(medio);
    m_zonaGrilla = new QWidget(this);
    auto* zona = new QVBoxLayout(m_zonaGrilla);
    zona->setContentsMargins(0, 0, 0, 0);
    m_layout->addWidget(m_zonaGrilla, 1);

    boton(QStringLiteral("Command2"))->setEnabled(false);
    boton(QStringLiteral("Command3"))->setEnabled(false);
    mostrarConectores(false);

    connect(m_tabla, &QComboBox::activated, this, [this] { tablaElegida(); });
    connect(m_campo, &QComboBox::activated, this, [this] { campoElegido(); });
    connect(m_comparacion, &QComboBox::activated, this, [this] { cambioEnLista(); });
    connect(boton(QStringLiteral("VxBoton12")), &QPushButton::clicked, this, &PaginaBuscar::agregar);
    connect(boton(QStringLiteral("VxBoton10")), &QPushButton::clicked, this, &PaginaBuscar::borrar);
    connect(boton(QStringLiteral("Command1")), &QPushButton::clicked, this, &PaginaBuscar::buscarPrimero);
    connect(boton(QStringLiteral("Command2")), &QPushButton::clicked, this, &PaginaBuscar::buscarSiguiente);
    connect(boton(QStringLiteral("Command4")), &QPushButton::clicked, this, &PaginaBuscar::subAgrupar);
    connect(boton(QStringLiteral("Command3")), &QPushButton::clicked, this, &PaginaBuscar::restaurar);
    connect(boton(QStringLiteral("CommandAG_0")), &QPushButton::clicked, this, &PaginaBuscar::abrirArchivo);
    connect(boton(QStringLiteral("CommandAG_1")), &QPushButton::clicked, this, &PaginaBuscar::guardarArchivo);
}

void PaginaBuscar::conectar(RunState& estado, DataViews& vistas, Mensajes& mensajes,
                            std::function<bool()> guardarPendientes)
{
    m_estado = &estado;
    m_vistas = &vistas;
    m_mensajes = &mensajes;
    m_guardarPendientes = std::move(guardarPendientes);
    connect(&vistas.Data1, &RecordView::repositioned, this, &PaginaBuscar::mostrarTrafo);
    m_grilla = new TablaRegistros(vistas.Data1, m_zonaGrilla);
    m_grilla->setObjectName(QStringLiteral("DBGrid1"));
    m_zonaGrilla->layout()->addWidget(m_grilla);
}

void PaginaBuscar::setEstadoLuz(int estado)
{
    CabeceraTrafo::setEstadoLuz(m_luz, estado);
}

QComboBox* PaginaBuscar::combo(int indice) const
{
    switch (indice) {
    case 6:
        return m_tabla;
    case 1:
        return m_campo;
    case 2:
        return m_comparacion;
    case 7:
        return m_conector;
    default:
        return nullptr;
    }
}

QPushButton* PaginaBuscar::boton(const QString& nombre) const
{
    for (QPushButton* b : m_botones)
        if (b->objectName() == nombre)
            return b;
    return nullptr;
}

QStringList PaginaBuscar::lineas() const
{
    QStringList out;
    for (int i = 0; i < m_lista->count(); ++i)
        out << m_lista->item(i)->text();
    return out;
}

void PaginaBuscar::setLineas(const QStringList& lineas)
{
    m_lista->clear();
    m_lista->addItems(lineas);
    if (!lineas.isEmpty())
        mostrarConectores(true);
    cambioEnLista();
}

void PaginaBuscar::mostrarConectores(bool visibles)
{
    for (QWidget* w : {static_cast<QWidget*>(m_conector), static_cast<QWidget*>(m_abre),
                       static_cast<QWidget*>(m_cierra), static_cast<QWidget*>(m_operador)})
        w->setVisible(visibles);
}

void PaginaBuscar::cambioEnLista()
{
    // A follow-up search never runs on a list other than the one the first search used.
    boton(QStringLiteral("Command2"))->setEnabled(false);
}

void PaginaBuscar::tablaElegida()
{
    m_comparacion->setCurrentIndex(m_comparacion->count() - 1);
    m_valor->clear();
    m_valor->setEditText(QString());
    m_campo->clear();
    m_campo->addItems(busqueda::camposDe(m_tabla->currentIndex()));
    m_campo->addItem(QStringLiteral(" "));
    m_campo->setCurrentIndex(m_campo->count() - 1);
}

void PaginaBuscar::campoElegido()
{
    m_comparacion->setEnabled(true);
    m_valor->clear();
    m_valor->setEditText(QString());
    m_comparacion->setCurrentIndex(m_comparacion->count() - 1);
    cambioEnLista();
    const QString campo = m_campo->currentText();
    const int tabla = m_tabla->currentIndex();
    if (campo.trimmed().isEmpty() || !m_vistas || tabla < 0 || tabla > 3)
        return;
    // The values already stored in the field; an error leaves the list empty.
    Interruptor::Mientras reposicion(m_estado->ReposicionActiva, false);
    RecordView& valores = m_vistas->Data5;
    valores.setRecordSource(busqueda::fuenteValores(tabla, campo));
    if (!valores.refresh()) {
        qCWarning(logRecords()) << "Lista de valores de" << campo << "no disponible";
        return;
    }
    const schema::Table* t = schema::table(busqueda::nombresTablas().at(tabla));
    const schema::Field* f = t ? t->field(campo) : nullptr;
    QStringList textos;
    for (int i = 0; i < valores.recordCount(); ++i) {
        const QVariant v = valores.valueAt(i, 0);
        if (!v.isNull())
            textos << (f ? EnlaceCampos::textoValor(v, f->kind) : v.toString());
    }
    m_valor->addItems(textos);
    m_valor->setEditText(QString());
}

void PaginaBuscar::agregar()
{
    const bool primera = m_lista->count() == 0;
    busqueda::EleccionLinea e;
    e.tabla = m_tabla->currentIndex() < 4 ? m_tabla->currentIndex() : -1;
    e.campo = m_campo->currentText();
    e.comparacion = m_comparacion->currentText();
    e.valor = m_valor->currentText();
    e.conector = m_conector->currentText();
    e.abre = m_abre->isChecked();
    e.cierra = m_cierra->isChecked();
    cambioEnLista();
    const Result<QString> linea = busqueda::componerLinea(e, primera);
    if (!linea) {
        if (m_mensajes)
            m_mensajes->show(linea.error(), QStringLiteral(" Error del usuario"),
                             Mensajes::Icon::Exclamation);
        return;
    }
    m_lista->addItem(linea.value());
    if (primera)
        mostrarConectores(true);
}

void PaginaBuscar::borrar()
{
    cambioEnLista();
    const int fila = m_lista->currentRow();
    const bool elegida = fila >= 0 && m_lista->currentItem() && m_lista->currentItem()->isSelected();
    if (!elegida || m_lista->count() == 1) {
        m_lista->clear();
        mostrarConectores(false);
        return;
    }
    // The first line stays while others follow: the list never starts with a connector.
    if (fila >= 1)
        delete m_lista->takeItem(fila);
}

void PaginaBuscar::mostrarTrafo()
{
    if (!m_vistas)
        return;
    const RecordView& v = m_vistas->Data1;
    const bool enFila = v.isOpen() && !v.bof() && !v.eof() && !v.isDeleted();
    for (int i = 0; i < m_identidad.size(); ++i) {
        const schema::Field* f = schema::trafoge().field(kIdentidad[i].campo);
        m_identidad[i]->setText(enFila && f ? EnlaceCampos::textoValor(v.value(kIdentidad[i].campo), f->kind)
                                            : QString());
        m_identidad[i]->setCursorPosition(0);
    }
}

bool PaginaBuscar::irACodigo(qint64 codigo)
{
    const Result<bool> hallado = m_vistas->Data1.findFirst(QString::fromUtf8("CÓDIGO = %1").arg(codigo));
    return hallado.ok() && hallado.value();
}

void PaginaBuscar::buscarPrimero()
{
    if (!m_vistas || !m_mensajes)
        return;
    const QStringList l = lineas();
    if (l.isEmpty()) {
        m_mensajes->show(QStringLiteral("Debe agregar una condicion para realizar la busqueda"),
                         kTituloBusqueda, Mensajes::Icon::Exclamation);
        return;
    }
    if (m_guardarPendientes && !m_guardarPendientes())
        return;
    const auto codigos = busqueda::buscar(*m_vistas->database(), l);
    if (!codigos) {
        m_mensajes->show(busqueda::mensajeErrorBusqueda(), kTituloBusqueda, Mensajes::Icon::Exclamation);
        return;
    }
    m_encontrados = codigos.value();
    if (m_encontrados.isEmpty()) {
        m_mensajes->show(kSinCoincidencia, kTituloBusqueda, Mensajes::Icon::Exclamation);
        return;
    }
    UltimoCodigo = m_encontrados.first();
    if (!irACodigo(UltimoCodigo)) {
        m_mensajes->show(kSinCoincidencia, kTituloBusqueda, Mensajes::Icon::Exclamation);
        return;
    }
    boton(QStringLiteral("Command2"))->setEnabled(true);
}

void PaginaBuscar::buscarSiguiente()
{
    if (!m_vistas || !m_mensajes)
        return;
    if (lineas().isEmpty()) {
        m_mensajes->show(QStringLiteral("Debe agregar una condicion para realizar la busqueda"),
                         kTituloBusqueda, Mensajes::Icon::Exclamation);
        return;
    }
    if (m_guardarPendientes && !m_guardarPendientes())
        return;
    // The codes are ascending: the next one is another transformer, never the last hit again.
    const auto siguiente = std::upper_bound(m_encontrados.cbegin(), m_encontrados.cend(), UltimoCodigo);
    if (siguiente != m_encontrados.cend()) {
        UltimoCodigo = *siguiente;
        if (irACodigo(UltimoCodigo))
            return;
    }
    m_mensajes->show(kSinCoincidencia, kTituloBusqueda, Mensajes::Icon::Exclamation);
    boton(QStringLiteral("Command2"))->setEnabled(false);
    ignorarFallo(m_vistas->Data1.refresh(), logRecords(), "Releer los transformadores");
}

void PaginaBuscar::subAgrupar()
{
    if (!m_vistas || !m_mensajes)
        return;
    if (m_guardarPendientes && !m_guardarPendientes())
        return;
    DataViews& v = *m_vistas;
    boton(QStringLiteral("Command3"))->setEnabled(true);
    QStringList l = lineas();
    // With no condition the sub-group is the current transformer alone.
    if (l.isEmpty())
        l << QStringLiteral("Trafoge.[CÓDIGO]=") + m_identidad.first()->text();
    const QString errorSubgrupo = QString::fromUtf8(
        "La Subagrupación Generó Error , no fué bien construida o bien no existen datos para ese Trafo");
    const auto codigos = busqueda::buscar(*v.database(), l);
    if (!codigos) {
        m_mensajes->show(errorSubgrupo, kTituloSubagrupar, Mensajes::Icon::Exclamation);
        return;
    }
    if (codigos.value().isEmpty()) {
        m_mensajes->show(kSinCoincidencia, kTituloSubagrupar, Mensajes::Icon::Exclamation);
        ignorarFallo(v.Data1.moveFirst(), logRecords(), "Ir al primer transformador");
        return;
    }
    // Long lists run as In lists; the formulas keep the written form for the reports.
    const QString en =
        QString::fromUtf8(" WHERE Código In (%1) ").arg(busqueda::listaCodigos(codigos.value()));
    const QString ordenFechas = QString::fromUtf8("ORDER BY Código ASC ,Fecha DESC");
    const QList<std::pair<RecordView*, QString>> fuentes = {
        {&v.Data1, QStringLiteral("SELECT * FROM Trafoge") + en + QString::fromUtf8("ORDER BY Código ASC ")},
        {&v.Data2, QStringLiteral("SELECT * FROM Revision") + en + ordenFechas},
        {&v.Data3, QStringLiteral("SELECT * FROM ensayos") + en + ordenFechas},
        {&v.Data4, QStringLiteral("SELECT * FROM mantenimiento") + en + ordenFechas},
    };
    QStringList antes;
    for (const auto& [vista, fuente] : fuentes)
        antes << vista->recordSource();
    const QString listaAntes = v.Ado1.recordSource();
    {
        Interruptor::Mientras reposicion(m_estado->ReposicionActiva, false);
        bool bien = true;
        for (const auto& [vista, fuente] : fuentes) {
            vista->setRecordSource(fuente);
            bien = bien && vista->refresh().ok();
        }
        v.Ado1.setRecordSource(
            QStringLiteral("SELECT * FROM Trafoge") + en +
            QStringLiteral("Order By Trafoge.ESTADO Desc ,Trafoge.GRAVEDAD Desc ,Trafoge.CÓDIGO Asc"));
        bien = bien && v.Ado1.requery().ok();
        if (!bien) {
            // Either every view shows the sub-group or none does.
            for (int i = 0; i < fuentes.size(); ++i) {
                fuentes.at(i).first->setRecordSource(antes.at(i));
                ignorarFallo(fuentes.at(i).first->refresh(), logRecords(), "Volver a la vista anterior");
            }
            v.Ado1.setRecordSource(listaAntes);
            ignorarFallo(v.Ado1.requery(), logRecords(), "Volver a la lista anterior");
        } else {
            m_estado->FiltroCodigos = busqueda::filtroCodigos(codigos.value());
            m_estado->FormulaTrafo = busqueda::formulaTrafo(codigos.value());
            for (RecordView* d : {&v.Data2, &v.Data3, &v.Data4}) {
                ignorarFallo(d->moveLast(), logRecords(), "Ir a la última fila");
                ignorarFallo(d->moveFirst(), logRecords(), "Ir a la primera fila");
            }
        }
        if (!bien)
            m_mensajes->show(errorSubgrupo, kTituloSubagrupar, Mensajes::Icon::Exclamation);
    }
    ignorarFallo(v.Data1.moveFirst(), logRecords(), "Ir al primer transformador");
}

void PaginaBuscar::restaurar()
{
    if (!m_vistas)
        return;
    if (m_guardarPendientes && !m_guardarPendientes())
        return;
    m_vistas->reabrirVistas();
}

void PaginaBuscar::abrirArchivo()
{
    if (!m_mensajes)
        return;
    const QString ruta =
        m_mensajes->chooseFile(QString::fromUtf8("Abrir Archivo de Busqueda o Selección"),
                               m_estado ? m_estado->RutaDatos : QString(), kFiltroAbs, false);
    if (ruta.isEmpty())
        return;
    const auto leidas = busqueda::abs::cargar(ruta);
    if (!leidas) {
        m_mensajes->show(leidas.error());
        return;
    }
    setLineas(leidas.value());
}

void PaginaBuscar::guardarArchivo()
{
    if (!m_mensajes)
        return;
    QString ruta = m_mensajes->chooseFile(QString::fromUtf8("Guardar Archivo de Busqueda o Selección"),
                                          m_estado ? m_estado->RutaDatos : QString(), kFiltroAbs, true);
    if (ruta.isEmpty())
        return;
    if (QFileInfo(ruta).suffix().isEmpty())
        ruta += QStringLiteral(".abs");
    if (const Status st = busqueda::abs::guardar(ruta, lineas()); !st)
        m_mensajes->show(st.error());
}

void PaginaBuscar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    CabeceraTrafo::colocarEnEsquina(m_luz);
}

void PaginaBuscar::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    CabeceraTrafo::colocarEnEsquina(m_luz);
}
