#include "records/ui/EdicionRegistros.h"

#include "app/logic/RunState.h"
#include "data/logic/Campos.h"
#include "records/logic/DataViews.h"
#include "records/logic/Edicion.h"
#include "records/logic/Logging.h"
#include "records/ui/PaginaFechada.h"
#include "records/ui/PaginaTrafos.h"
#include "utilities/logic/Mensajes.h"

#include <QPushButton>

namespace {

bool enFila(const RecordView& v)
{
    return v.isOpen() && !v.bof() && !v.eof() && !v.isDeleted();
}

constexpr Alineacion::Vista kFechadas[] = {Alineacion::Vista::Revision, Alineacion::Vista::Ensayos,
                                           Alineacion::Vista::Mantenimiento};

} // namespace

EdicionRegistros::EdicionRegistros(RunState& estado, DataViews& vistas, Alineacion& alineacion,
                                   Mensajes& mensajes, PaginaTrafos& trafos, PaginaFechada& revision,
                                   PaginaFechada& ensayos, PaginaFechada& mantenimiento, QObject* parent)
    : QObject(parent), m_estado(estado), m_vistas(vistas), m_alineacion(alineacion), m_mensajes(mensajes),
      m_trafos(trafos), m_revision(revision), m_ensayos(ensayos), m_mantenimiento(mantenimiento)
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
    for (const Alineacion::Vista v : kFechadas) {
        PaginaFechada* p = pagina(v);
        unir(p->boton(PaginaFechada::Agregar), [this, v] { agregar(v); });
        unir(p->boton(PaginaFechada::Guardar), [this, v] { guardar(v); });
        unir(p->boton(PaginaFechada::Eliminar), [this, v] { eliminar(v); });
        unir(p->boton(PaginaFechada::Refrescar), [this, v] { refrescar(v); });
        unir(p->boton(PaginaFechada::Cancelar), [this, v] { cancelar(v); });
    }
}

bool EdicionRegistros::guardarPendientes()
{
    for (RecordView* v : {&m_vistas.Data1, &m_vistas.Data2, &m_vistas.Data3, &m_vistas.Data4}) {
        if (Status st = v->update(); !st) {
            m_mensajes.aviso(st.error());
            return false;
        }
    }
    reiniciar();
    return true;
}

void EdicionRegistros::reiniciar()
{
    m_editandoTrafo = false;
    for (const Alineacion::Vista v : {Alineacion::Vista::Trafo, Alineacion::Vista::Revision,
                                      Alineacion::Vista::Ensayos, Alineacion::Vista::Mantenimiento})
        setAgregando(v, false);
}

void EdicionRegistros::setAgregando(Alineacion::Vista v, bool agregando)
{
    bool& actual = m_agregando[static_cast<size_t>(v)];
    if (actual == agregando)
        return;
    actual = agregando;
    emit agregandoCambiado(v, agregando);
}

void EdicionRegistros::avisar(const QString& texto)
{
    m_mensajes.aviso(texto);
}

bool EdicionRegistros::hayFilaParaGuardar(const RecordView& vista)
{
    if (vista.editMode() == RecordView::EditMode::Add || enFila(vista))
        return true;
    m_mensajes.aviso(edicion::sinFilaParaGuardar());
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

QString EdicionRegistros::codigoTrafoActual() const
{
    return enFila(m_vistas.Data1) ? m_vistas.Data1.value(0).toString() : QString();
}

void EdicionRegistros::volverAlRecordado()
{
    // The alignment brings the tabs along; a transformer that is gone leaves the window on the
    // first one, aligned.
    const Result<bool> hallado =
        m_vistas.Data1.findFirst(QStringLiteral("[Código]=") + QString::number(m_codigoRecordado));
    ignorarFallo(hallado, logRecords(), "Volver al transformador recordado");
    if (!hallado.ok() || !hallado.value())
        m_alineacion.alinearConTrafo();
}

// ---- transformers ----

void EdicionRegistros::agregarTrafo()
{
    if (m_estado.SoloLectura || m_editandoTrafo)
        return;
    RecordView& trafos = m_vistas.Data1;
    if (!trafos.isOpen())
        return;
    setAgregando(Alineacion::Vista::Trafo, true);
    m_codigoRecordado = codigoTrafoActual().toInt();

    // Searches and sub-groups are dropped so that the new transformer is seen with all others.
    m_vistas.reabrirVistas();
    ignorarFallo(trafos.moveLast(), logRecords(), "Ir al último transformador");
    // The largest code is read from the file, never from the last row shown.
    const Result<std::optional<int>> mayor = edicion::codigoMayor(*trafos.database());
    ignorarFallo(mayor, logRecords(), "Leer el código mayor");
    {
        // The empty new row is no transformer to align the other tabs to.
        Interruptor::Mientras reposicion(m_estado.ReposicionActiva, false);
        const Status nueva = trafos.addNew();
        ignorarFallo(nueva, logRecords(), "Agregar un transformador");
        if (!nueva)
            return;
    }
    m_trafos.prepararNuevo(edicion::codigoPropuesto(mayor.ok() ? mayor.value() : std::optional<int>()));
    m_editandoTrafo = true;
}

void EdicionRegistros::guardarTrafo()
{
    if (m_estado.SoloLectura)
        return;
    RecordView& trafos = m_vistas.Data1;
    if (!aceptado(edicion::comprobarCodigo(m_trafos.textoCodigo()))) {
        m_trafos.enfocarCodigo();
        return;
    }
    if (!hayFilaParaGuardar(trafos))
        return;
    const bool nueva = trafos.editMode() == RecordView::EditMode::Add;
    // A new transformer starts in automatic mode: the diagnosis sets its state.
    if (agregando(Alineacion::Vista::Trafo) && nueva)
        m_trafos.ponerAutomatico();

    const QByteArray marca = trafos.bookmark();
    const QVariant codigoAntes = nueva ? QVariant() : trafos.value(campo::trafoge::CODIGO);
    // The boxes first: a value the file cannot take is reported, not dropped.
    Status escrito = m_trafos.escribir();
    const PaginaTrafos::EstadoElegido elegido = m_trafos.estadoElegido();
    if (escrito)
        escrito = trafos.setValue(campo::trafoge::AUTO, elegido.manual);
    if (escrito)
        escrito = trafos.setValue(campo::trafoge::ESTADO, elegido.estado);
    if (escrito)
        escrito = trafos.setValue(campo::trafoge::GRAVEDAD, elegido.gravedad);
    if (escrito && nueva)
        escrito = trafos.setValue(campo::trafoge::TIPO, m_trafos.tipoElegido());
    if (escrito)
        escrito = trafos.update();
    if (!escrito) {
        // The edit stays open with what was typed: nothing is lost.
        m_mensajes.aviso(escrito.error());
        return;
    }
    // A new code took the transformer's dated rows with it: the dated views read them again
    // before the alignment looks for them.
    if (!nueva && codigoAntes != trafos.value(campo::trafoge::CODIGO)) {
        Interruptor::Mientras quietas(m_estado.ReposicionActiva, false);
        for (RecordView* v : {&m_vistas.Data2, &m_vistas.Data3, &m_vistas.Data4})
            ignorarFallo(v->refresh(), logRecords(), "Releer una vista tras cambiar el código");
    }
    // A saved new row became current and the alignment brought the other tabs and the list to
    // it; a changed row is shown again so the lights and the list take its state.
    if (!nueva)
        ignorarFallo(trafos.moveToBookmark(marca), logRecords(), "Volver al transformador guardado");
    m_editandoTrafo = false;
    setAgregando(Alineacion::Vista::Trafo, false);
    // A new insulating oil is offered from now on.
    ignorarFallo(m_vistas.Data10.refresh(), logRecords(), "Releer la lista de aceites aislantes");
}

void EdicionRegistros::eliminarTrafo()
{
    if (m_estado.SoloLectura || m_editandoTrafo)
        return;
    RecordView& trafos = m_vistas.Data1;
    if (!enFila(trafos))
        return;
    const QString codigo = codigoTrafoActual();
    const Mensajes::Answer respuesta = m_mensajes.show(
        edicion::preguntaEliminarTrafo(codigo), edicion::tituloEliminar(Alineacion::Vista::Trafo),
        Mensajes::Icon::Critical, Mensajes::Buttons::YesNo, Mensajes::Answer::No);
    if (respuesta != Mensajes::Answer::Yes)
        return;

    // The deletion and the re-read that follows must not align the views row by row.
    Interruptor::Mientras sinSincronizar(m_estado.SincronizacionActiva, false);
    const Status borrado = trafos.deleteCurrent();
    if (!borrado) {
        m_mensajes.aviso(edicion::errorEliminar(trafos.lastDeleteErrorCode(), borrado.error()));
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
        Interruptor::Mientras reposicion(m_estado.ReposicionActiva, false);
        for (RecordView* v : {&m_vistas.Data1, &m_vistas.Data2, &m_vistas.Data3, &m_vistas.Data4})
            ignorarFallo(v->refresh(), logRecords(), "Releer una vista de registros");
        for (RecordView* v : {&m_vistas.Data2, &m_vistas.Data3, &m_vistas.Data4, &m_vistas.Data1}) {
            ignorarFallo(v->moveLast(), logRecords(), "Ir a la última fila");
            ignorarFallo(v->moveFirst(), logRecords(), "Ir a la primera fila");
        }
    }
    m_alineacion.alinearConTrafo();
    m_editandoTrafo = false;
    // An abandoned addition is over: a later save must not turn an existing transformer automatic.
    setAgregando(Alineacion::Vista::Trafo, false);
}

void EdicionRegistros::cancelarTrafo()
{
    if (!m_editandoTrafo) {
        // Changes typed into an existing transformer are abandoned: its stored values return
        // and the window stays on it.
        m_vistas.Data1.cancelUpdate();
        m_trafos.mostrarGuardado();
        return;
    }
    m_trafos.vaciarCodigo();
    {
        // The new row is dropped by re-reading the view.
        Interruptor::Mientras reposicion(m_estado.ReposicionActiva, false);
        ignorarFallo(m_vistas.Data1.refresh(), logRecords(), "Releer los transformadores");
    }
    volverAlRecordado();
    m_editandoTrafo = false;
    setAgregando(Alineacion::Vista::Trafo, false);
}

void EdicionRegistros::guardarAccesorios()
{
    if (m_estado.SoloLectura)
        return;
    // During an addition the new transformer is saved as a whole, with its code checked.
    if (m_editandoTrafo && m_vistas.Data1.editMode() == RecordView::EditMode::Add) {
        guardarTrafo();
        return;
    }
    RecordView& trafos = m_vistas.Data1;
    if (!hayFilaParaGuardar(trafos))
        return;
    Status escrito = m_trafos.escribir();
    if (escrito)
        escrito = trafos.update();
    if (!escrito)
        m_mensajes.aviso(escrito.error());
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
    m_codigoRecordado = codigo.toInt();
    {
        // Going to the table's last row must not take the window to that row's transformer.
        Interruptor::Mientras sincronizacion(m_estado.SincronizacionActiva, false);
        ignorarFallo(view.moveLast(), logRecords(), "Ir a la última fila");
        const Status nueva = view.addNew();
        ignorarFallo(nueva, logRecords(), "Agregar una fila");
        if (!nueva)
            return;
    }
    p->prepararNuevo(codigo);
    setAgregando(v, true);
}

void EdicionRegistros::guardar(Alineacion::Vista v)
{
    PaginaFechada* p = pagina(v);
    if (m_estado.SoloLectura || !p)
        return;
    RecordView& view = m_alineacion.vista(v);
    // The code box keeps the focus it had: the date box is where the user mends things.
    if (!aceptado(edicion::comprobarCodigo(p->textoCodigo())))
        return;
    if (!aceptado(edicion::comprobarFecha(p->textoFecha()))) {
        p->enfocarFecha();
        return;
    }
    if (!hayFilaParaGuardar(view))
        return;
    const bool nueva = view.editMode() == RecordView::EditMode::Add;
    const QByteArray marca = view.bookmark();
    Status escrito = p->escribir();
    if (escrito)
        escrito = view.update();
    if (!escrito) {
        m_mensajes.aviso(escrito.error());
        return;
    }
    if (!nueva)
        ignorarFallo(view.moveToBookmark(marca), logRecords(), "Volver a la fila guardada");
    setAgregando(v, false);
    if (nueva)
        p->setSinRegistros(false);
}

void EdicionRegistros::eliminar(Alineacion::Vista v)
{
    PaginaFechada* p = pagina(v);
    if (m_estado.SoloLectura || !p || agregando(v))
        return;
    RecordView& view = m_alineacion.vista(v);
    if (!enFila(view))
        return;
    const Mensajes::Answer respuesta = m_mensajes.show(
        edicion::preguntaEliminarFila(codigoTrafoActual(), p->textoFecha()), edicion::tituloEliminar(v),
        Mensajes::Icon::Critical, Mensajes::Buttons::YesNo, Mensajes::Answer::No);
    if (respuesta != Mensajes::Answer::Yes)
        return;
    const Status borrado = view.deleteCurrent();
    if (!borrado) {
        m_mensajes.aviso(edicion::errorEliminar(view.lastDeleteErrorCode(), borrado.error()));
        return;
    }
    // The next row of the table: the window follows it to its transformer.
    ignorarFallo(view.moveNext(), logRecords(), "Ir a la fila siguiente a la eliminada");
    // Past the table's last row there is nothing to follow: the transformer keeps its other rows,
    // and without any the view stands on the table's previous row, whose transformer the
    // window follows.
    if (view.eof()) {
        m_alineacion.refrescarFechada(v);
        if (view.eof() || view.bof()) {
            m_alineacion.antesDeNavegar(v);
            ignorarFallo(Alineacion::pasar(view, Alineacion::Paso::Ultimo), logRecords(),
                         "Ir a la fila anterior a la eliminada");
        }
    }
}

void EdicionRegistros::refrescar(Alineacion::Vista v)
{
    if (!pagina(v))
        return;
    m_alineacion.refrescarFechada(v);
    setAgregando(v, false);
}

void EdicionRegistros::cancelar(Alineacion::Vista v)
{
    PaginaFechada* p = pagina(v);
    if (!p)
        return;
    RecordView& view = m_alineacion.vista(v);
    if (!agregando(v)) {
        // An existing row's typed changes are abandoned and its stored values return.
        view.cancelUpdate();
        p->mostrarGuardado();
        return;
    }
    p->vaciarFecha();
    {
        Interruptor::Mientras reposicion(m_estado.ReposicionActiva, false);
        ignorarFallo(view.refresh(), logRecords(), "Releer la vista fechada");
    }
    setAgregando(v, false);
    volverAlRecordado();
}
