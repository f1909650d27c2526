#include "records/ui/EdicionRegistros.h"

#include "app/logic/RunState.h"
#include "data/logic/Schema.h"
#include "records/logic/Bandera.h"
#include "records/logic/DataViews.h"
#include "records/logic/Edicion.h"
#include "records/ui/CabeceraTrafo.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/PaginaFechada.h"
#include "records/ui/PaginaTrafos.h"
#include "utilities/logic/Mensajes.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString s(const char* texto)
{
    return QString::fromUtf8(texto);
}

bool enFila(const RecordView& v)
{
    return v.isOpen() && !v.bof() && !v.eof() && !v.isDeleted();
}

// Puts a text into a line box or an editable list, as if typed, so the binder writes it.
void ponerTexto(QWidget* caja, const QString& texto)
{
    if (auto* linea = qobject_cast<QLineEdit*>(caja))
        linea->setText(texto);
    else if (auto* lista = qobject_cast<QComboBox*>(caja))
        lista->setEditText(texto);
}

QString textoDe(QWidget* caja)
{
    if (auto* linea = qobject_cast<QLineEdit*>(caja))
        return linea->text();
    if (auto* lista = qobject_cast<QComboBox*>(caja))
        return lista->currentText();
    return QString();
}

} // namespace

EdicionRegistros::EdicionRegistros(RunState& estado, DataViews& vistas, Alineacion& alineacion,
                                   PaginaTrafos& trafos, PaginaFechada& revision, PaginaFechada& ensayos,
                                   PaginaFechada& mantenimiento, QObject* parent)
    : QObject(parent), m_estado(estado), m_vistas(vistas), m_alineacion(alineacion), m_trafos(trafos),
      m_revision(revision), m_ensayos(ensayos), m_mantenimiento(mantenimiento)
{
    auto unir = [this](QPushButton* boton, auto accion) {
        if (boton)
            connect(boton, &QPushButton::clicked, this, accion);
    };
    unir(m_trafos.boton(PaginaTrafos::Agregar), [this] { agregarTrafo(); });
    unir(m_trafos.boton(PaginaTrafos::Guardar), [this] { guardarTrafo(); });
    unir(m_trafos.boton(PaginaTrafos::Eliminar), [this] { eliminarTrafo(); });
    unir(m_trafos.boton(PaginaTrafos::Refrescar), [this] { refrescarTrafo(); });
    unir(m_trafos.boton(PaginaTrafos::Cancelar), [this] { cancelarTrafo(); });
    unir(m_trafos.boton(PaginaTrafos::GuardarAccesorios), [this] { guardarAccesorios(); });
    for (const Alineacion::Vista v :
         {Alineacion::Vista::Revision, Alineacion::Vista::Ensayos, Alineacion::Vista::Mantenimiento}) {
        PaginaFechada* p = pagina(v);
        unir(p->boton(PaginaFechada::Agregar), [this, v] { agregar(v); });
        unir(p->boton(PaginaFechada::Guardar), [this, v] { guardar(v); });
        unir(p->boton(PaginaFechada::Eliminar), [this, v] { eliminar(v); });
        unir(p->boton(PaginaFechada::Refrescar), [this, v] { refrescar(v); });
        unir(p->boton(PaginaFechada::Cancelar), [this, v] { cancelar(v); });
    }
}

void EdicionRegistros::setMensajes(Mensajes* mensajes)
{
    m_mensajes = mensajes;
}

void EdicionRegistros::aviso(const QString& texto)
{
    if (m_mensajes)
        m_mensajes->aviso(texto);
}

bool EdicionRegistros::hayFilaParaGuardar(const RecordView& vista)
{
    if (vista.editMode() == RecordView::EditMode::Add || enFila(vista))
        return true;
    aviso(edicion::sinFilaParaGuardar());
    return false;
}

PaginaFechada* EdicionRegistros::pagina(Alineacion::Vista v) const
{
    switch (v) {
    case Alineacion::Vista::Revision:
        return &m_revision;
    case Alineacion::Vista::Ensayos:
        return &m_ensayos;
    case Alineacion::Vista::Mantenimiento:
        return &m_mantenimiento;
    case Alineacion::Vista::Trafo:
        break;
    }
    return nullptr;
}

bool& EdicionRegistros::agregando(Alineacion::Vista v) const
{
    switch (v) {
    case Alineacion::Vista::Revision:
        return m_estado.AgregandoRevision;
    case Alineacion::Vista::Ensayos:
        return m_estado.AgregandoEnsayo;
    case Alineacion::Vista::Mantenimiento:
        return m_estado.AgregandoMantenimiento;
    case Alineacion::Vista::Trafo:
        break;
    }
    return m_estado.AgregandoTrafo;
}

QString EdicionRegistros::codigoTrafoActual() const
{
    return enFila(m_vistas.Data1) ? m_vistas.Data1.value(0).toString() : QString();
}

QWidget* EdicionRegistros::caja(PaginaFechada& p, const QString& campo) const
{
    return p.enlace() ? p.enlace()->caja(campo) : nullptr;
}

// ---- transformers ----

void EdicionRegistros::agregarTrafo()
{
    if (m_estado.SoloLectura || m_estado.EditandoTrafo)
        return;
    RecordView& trafos = m_vistas.Data1;
    if (!trafos.isOpen())
        return;
    m_estado.AgregandoTrafo = true;
    m_estado.CodigoRecordado = codigoTrafoActual().toInt();

    // Searches and sub-groups are dropped so that the new transformer is seen with all others.
    m_vistas.reabrirVistas();
    trafos.moveLast();
    const auto mayor = edicion::codigoMayor(*trafos.database());
    m_estado.UltimoCodigo = mayor.ok() ? mayor.value().value_or(0) : 0;

    {
        // The empty new row is no transformer to align the other tabs to.
        Bandera reposicion(m_estado.ReposicionActiva, false);
        if (!trafos.addNew().ok())
            return;
    }
    EnlaceCampos* enlace = m_trafos.enlace();
    enlace->mostrar();
    m_trafos.cabecera()->mostrar();
    const schema::Table& t = schema::trafoge();
    ponerTexto(enlace->caja(t.codeField),
               edicion::codigoPropuesto(mayor.ok() ? mayor.value() : std::optional<int>()));
    if (auto* tipo = qobject_cast<QComboBox*>(enlace->caja(s("TIPO")))) {
        const int expansion = tipo->findText(s("T.EXPANSIÓN"));
        tipo->setCurrentIndex(expansion);
        if (tipo->isEditable())
            tipo->setEditText(s("T.EXPANSIÓN"));
    }
    ponerTexto(enlace->caja(s("TIPO AISLANTE")), s("ACT.YPF 64"));
    m_trafos.botonModo()->setChecked(false);
    m_trafos.aplicarModo();
    if (QWidget* area = enlace->caja(s("AREA")))
        area->setFocus();
    m_estado.EditandoTrafo = true;
}

void EdicionRegistros::guardarTrafo()
{
    if (m_estado.SoloLectura)
        return;
    RecordView& trafos = m_vistas.Data1;
    EnlaceCampos* enlace = m_trafos.enlace();
    const schema::Table& t = schema::trafoge();
    QWidget* cajaCodigo = enlace->caja(t.codeField);
    if (!aceptado(edicion::comprobarCodigo(textoDe(cajaCodigo)), cajaCodigo) || !hayFilaParaGuardar(trafos))
        return;
    const bool nueva = trafos.editMode() == RecordView::EditMode::Add;
    if (m_estado.AgregandoTrafo && nueva) {
        // A new transformer starts in automatic mode: the diagnosis sets its state.
        m_trafos.botonModo()->setChecked(false);
        m_trafos.aplicarModo();
    }

    const QByteArray marca = trafos.bookmark();
    // The boxes first: a value the file cannot take is reported, not dropped.
    Status escrito = enlace->escribir();
    if (escrito) {
        const QString gravedad = m_trafos.cajaGravedad()->text().trimmed();
        const QVariant valorGravedad = gravedad.isEmpty() ? QVariant() : QVariant(gravedad);
        for (const auto& [campo, valor] :
             {std::pair<QString, QVariant>{s("AUTO"), m_trafos.botonModo()->isChecked()},
              {s("ESTADO"), std::max(0, m_trafos.listaEstado()->currentIndex())},
              {s("GRAVEDAD"), valorGravedad}}) {
            if (escrito)
                escrito = trafos.setValue(campo, valor);
        }
        if (escrito && nueva)
            escrito = trafos.setValue(s("TIPO"), textoDe(enlace->caja(s("TIPO"))));
    }
    if (escrito)
        escrito = trafos.update();
    if (!escrito) {
        // The edit stays open with what was typed: nothing is lost.
        aviso(escrito.error());
        return;
    }
    QCoreApplication::processEvents();
    // A saved new row became current and the alignment brought the other tabs and the list to
    // it; a changed row is shown again so the lights and the list take its state.
    if (!nueva)
        trafos.moveToBookmark(marca);
    m_estado.EditandoTrafo = false;
    m_estado.AgregandoTrafo = false;
}

void EdicionRegistros::eliminarTrafo()
{
    if (m_estado.SoloLectura || m_estado.EditandoTrafo)
        return;
    RecordView& trafos = m_vistas.Data1;
    if (!enFila(trafos))
        return;
    const QString codigo = codigoTrafoActual();
    if (!m_mensajes)
        return;
    const Mensajes::Answer respuesta = m_mensajes->show(
        edicion::preguntaEliminarTrafo(codigo), edicion::tituloEliminar(Alineacion::Vista::Trafo),
        Mensajes::Icon::Critical, Mensajes::Buttons::YesNo, Mensajes::Answer::No);
    if (respuesta != Mensajes::Answer::Yes)
        return;

    m_estado.SincronizacionActiva = false;
    const Status borrado = trafos.deleteCurrent();
    if (!borrado) {
        aviso(edicion::errorEliminar(borrado.error()));
        return;
    }
    // The transformer's inspections, tests and maintenance stay in the file.
    refrescarTrafo();
}

void EdicionRegistros::refrescarTrafo()
{
    {
        // Re-reading lands each view on its first row and learns its row count; the window
        // then follows the first transformer rather than the first row of each table.
        Bandera reposicion(m_estado.ReposicionActiva, false);
        for (RecordView* v : {&m_vistas.Data1, &m_vistas.Data2, &m_vistas.Data3, &m_vistas.Data4})
            v->refresh();
        for (RecordView* v : {&m_vistas.Data2, &m_vistas.Data3, &m_vistas.Data4, &m_vistas.Data1}) {
            v->moveLast();
            v->moveFirst();
        }
    }
    m_alineacion.alinearConTrafo();
    m_estado.EditandoTrafo = false;
    // An abandoned addition is over: a later save must not turn an existing transformer automatic.
    m_estado.AgregandoTrafo = false;
}

void EdicionRegistros::cancelarTrafo()
{
    if (!m_estado.EditandoTrafo)
        return;
    RecordView& trafos = m_vistas.Data1;
    ponerTexto(m_trafos.enlace()->caja(schema::trafoge().codeField), QString());
    {
        Bandera reposicion(m_estado.ReposicionActiva, false);
        trafos.refresh();
    }
    const Result<bool> hallado =
        trafos.findFirst(QStringLiteral("[Código]=") + QString::number(m_estado.CodigoRecordado));
    if (!hallado.ok() || !hallado.value())
        m_alineacion.alinearConTrafo();
    m_estado.EditandoTrafo = false;
    m_estado.AgregandoTrafo = false;
}

void EdicionRegistros::guardarAccesorios()
{
    if (m_estado.SoloLectura)
        return;
    // During an addition the new transformer is saved as a whole, with its code checked.
    if (m_estado.EditandoTrafo && m_vistas.Data1.editMode() == RecordView::EditMode::Add) {
        guardarTrafo();
        return;
    }
    RecordView& trafos = m_vistas.Data1;
    if (!hayFilaParaGuardar(trafos))
        return;
    Status escrito = m_trafos.enlace()->escribir();
    if (escrito)
        escrito = trafos.update();
    if (!escrito)
        aviso(escrito.error());
}

// ---- inspections, tests, maintenance ----

void EdicionRegistros::agregar(Alineacion::Vista v)
{
    PaginaFechada* p = pagina(v);
    if (m_estado.SoloLectura || !p || agregando(v))
        return;
    RecordView& view = m_alineacion.vista(v);
    const QString codigo = codigoTrafoActual();
    if (!view.isOpen() || codigo.isEmpty())
        return;
    m_estado.CodigoRecordado = codigo.toInt();
    {
        // Going to the table's last row must not take the window to that row's transformer.
        Bandera sincronizacion(m_estado.SincronizacionActiva, false);
        view.moveLast();
        if (!view.addNew().ok())
            return;
    }
    p->enlace()->mostrar();
    const schema::Table& t = p->enlace()->tabla();
    ponerTexto(caja(*p, t.codeField), codigo);
    if (QWidget* fecha = caja(*p, t.dateField))
        fecha->setFocus();
    agregando(v) = true;
}

void EdicionRegistros::guardar(Alineacion::Vista v)
{
    PaginaFechada* p = pagina(v);
    if (m_estado.SoloLectura || !p)
        return;
    RecordView& view = m_alineacion.vista(v);
    const schema::Table& t = p->enlace()->tabla();
    QWidget* cajaFecha = caja(*p, t.dateField);
    // The code box keeps the focus it had: the date box is where the user mends things.
    if (!aceptado(edicion::comprobarCodigo(textoDe(caja(*p, t.codeField))), nullptr) ||
        !aceptado(edicion::comprobarFecha(textoDe(cajaFecha)), cajaFecha) || !hayFilaParaGuardar(view))
        return;
    const bool nueva = view.editMode() == RecordView::EditMode::Add;
    const QByteArray marca = view.bookmark();
    Status escrito = p->enlace()->escribir();
    if (escrito)
        escrito = view.update();
    if (!escrito) {
        aviso(escrito.error());
        return;
    }
    if (!nueva)
        view.moveToBookmark(marca);
    agregando(v) = false;
    if (nueva)
        p->setSinRegistros(false);
}

void EdicionRegistros::eliminar(Alineacion::Vista v)
{
    PaginaFechada* p = pagina(v);
    if (m_estado.SoloLectura || !p || agregando(v) || !m_mensajes)
        return;
    RecordView& view = m_alineacion.vista(v);
    if (!enFila(view))
        return;
    const schema::Table& t = p->enlace()->tabla();
    const Mensajes::Answer respuesta = m_mensajes->show(
        edicion::preguntaEliminarFila(codigoTrafoActual(), textoDe(caja(*p, t.dateField))),
        edicion::tituloEliminar(v), Mensajes::Icon::Critical, Mensajes::Buttons::YesNo, Mensajes::Answer::No);
    if (respuesta != Mensajes::Answer::Yes)
        return;
    const Status borrado = view.deleteCurrent();
    if (!borrado) {
        aviso(edicion::errorEliminar(borrado.error()));
        return;
    }
    // The next row of the table: the window follows it to its transformer.
    view.moveNext();
    // Past the table's last row there is nothing to follow: the transformer keeps its other rows.
    if (view.eof())
        m_alineacion.refrescarFechada(v);
}

void EdicionRegistros::refrescar(Alineacion::Vista v)
{
    if (!pagina(v))
        return;
    m_alineacion.refrescarFechada(v);
    agregando(v) = false;
}

void EdicionRegistros::cancelar(Alineacion::Vista v)
{
    PaginaFechada* p = pagina(v);
    if (!p || !agregando(v))
        return;
    RecordView& view = m_alineacion.vista(v);
    ponerTexto(caja(*p, p->enlace()->tabla().dateField), QString());
    {
        Bandera reposicion(m_estado.ReposicionActiva, false);
        view.refresh();
    }
    agregando(v) = false;
    // Back to the transformer shown when the addition started; the alignment brings the tabs.
    const Result<bool> hallado =
        m_vistas.Data1.findFirst(QStringLiteral("[Código]=") + QString::number(m_estado.CodigoRecordado));
    if (!hallado.ok() || !hallado.value())
        m_alineacion.alinearConTrafo();
}
