#include "records/logic/Alineacion.h"

#include "app/logic/RunState.h"
#include "data/logic/Campos.h"
#include "records/logic/DataViews.h"
#include "records/logic/Logging.h"

namespace {

constexpr Alineacion::Vista kFechadas[] = {Alineacion::Vista::Revision, Alineacion::Vista::Ensayos,
                                           Alineacion::Vista::Mantenimiento};

} // namespace

Alineacion::Alineacion(RunState& estado, DataViews& vistas, QObject* parent)
    : QObject(parent), m_estado(estado), m_vistas(vistas)
{
    connect(&m_vistas.Data1, &RecordView::repositioned, this, &Alineacion::trafoMovido);
    connect(&m_vistas.Data2, &RecordView::repositioned, this, [this] { fechadaMovida(Vista::Revision); });
    connect(&m_vistas.Data3, &RecordView::repositioned, this, [this] { fechadaMovida(Vista::Ensayos); });
    connect(&m_vistas.Data4, &RecordView::repositioned, this,
            [this] { fechadaMovida(Vista::Mantenimiento); });
    connect(&m_vistas.Data2, &RecordView::validate, this, &Alineacion::validarRevision);
    connect(&m_vistas.Data3, &RecordView::validate, this, &Alineacion::validarEnsayo);
}

void Alineacion::setEvaluacionEnsayo(EvaluacionEnsayo evaluacion)
{
    m_evaluacion = std::move(evaluacion);
}

RecordView& Alineacion::vista(Vista v) const
{
    switch (v) {
    case Vista::Revision:
        return m_vistas.Data2;
    case Vista::Ensayos:
        return m_vistas.Data3;
    case Vista::Mantenimiento:
        return m_vistas.Data4;
    case Vista::Trafo:
        break;
    }
    return m_vistas.Data1;
}

bool Alineacion::aparcada(Vista v) const
{
    return m_aparcada[static_cast<size_t>(v)];
}

void Alineacion::reiniciar()
{
    m_alinea.fill(true);
    m_aparcada.fill(false);
}

bool Alineacion::enFila(const RecordView& view)
{
    return view.isOpen() && !view.bof() && !view.eof() && !view.isDeleted();
}

bool Alineacion::encontrar(RecordView& view, const QString& criterio)
{
    // A find that matches nothing is no error; an engine error is logged and counts as no match.
    const Result<bool> found = view.findFirst(criterio);
    ignorarFallo(found, logRecords(), "Buscar en la vista");
    return found.ok() && found.value();
}

void Alineacion::trafoMovido()
{
    RecordView& trafos = m_vistas.Data1;
    emit estadoTrafo(trafos.value(campo::trafoge::ESTADO).toInt(),
                     trafos.value(campo::trafoge::AUTO).toBool(), trafos.value(campo::trafoge::GRAVEDAD));

    // The program's own moves (opening, parking, refreshes) align nothing and leave the
    // synchronisation as it was, so that opening the views never aligns them.
    if (!m_estado.ReposicionActiva)
        return;
    if (m_estado.SincronizacionActiva && alinea(Vista::Trafo))
        alinearDesdeTrafo();
    m_estado.activarSincronizacion();
}

void Alineacion::alinearConTrafo()
{
    m_estado.activarSincronizacion();
    if (m_estado.ReposicionActiva)
        alinearDesdeTrafo();
}

void Alineacion::alinearDesdeTrafo()
{
    RecordView& trafos = m_vistas.Data1;
    if (m_alineando || !enFila(trafos))
        return;
    Bandera guard(m_alineando, true);
    alinearFechadas(trafos.value(0).toString(), Vista::Trafo);
    alinea(Vista::Trafo) = true;
}

void Alineacion::fechadaMovida(Vista v)
{
    RecordView& view = vista(v);
    if (!m_estado.ReposicionActiva)
        return;
    if (v == Vista::Ensayos && enFila(view))
        evaluarEnsayo();
    if (!m_estado.SincronizacionActiva || !alinea(v) || m_alineando)
        return;
    if (!enFila(view)) {
        // Before the first or past the last row there is no transformer to align to.
        emit sinRegistros(v, true);
        return;
    }

    Bandera guard(m_alineando, true);
    Bandera trafo(alinea(Vista::Trafo), false);
    const QString codigo = view.value(0).toString();
    // The inspection table writes its code field in capitals; the criterion follows it.
    const QString criterio = v == Vista::Revision ? QStringLiteral("[CÓDIGO]=") : QStringLiteral("[código]=");
    encontrar(m_vistas.Data1, criterio + codigo);
    alinearFechadas(codigo, v);
    emit sinRegistros(v, false);
    // The view stands on a row of its own now, whatever brought it there.
    aparcadaFlag(v) = false;
    alinea(v) = true;
}

void Alineacion::alinearFechadas(const QString& codigo, Vista excepto)
{
    struct Paso
    {
        Vista vista;
        bool encontrada;
    };
    Paso pasos[3];
    int n = 0;
    {
        // The views moved here align nothing in turn.
        Bandera revision(alinea(Vista::Revision), excepto == Vista::Revision && alinea(Vista::Revision));
        Bandera ensayos(alinea(Vista::Ensayos), excepto == Vista::Ensayos && alinea(Vista::Ensayos));
        Bandera mantenimiento(alinea(Vista::Mantenimiento),
                              excepto == Vista::Mantenimiento && alinea(Vista::Mantenimiento));
        for (Vista v : kFechadas) {
            if (v == excepto)
                continue;
            pasos[n++] = {v, encontrar(vista(v), QStringLiteral("[código]=") + codigo)};
        }
        if (!m_estado.ListaSinc1 && !m_estado.ListaSinc2)
            reposicionarLista(codigo);

        for (int i = 0; i < n; ++i)
            emit sinRegistros(pasos[i].vista, !pasos[i].encontrada);
        for (int i = 0; i < n; ++i) {
            RecordView& view = vista(pasos[i].vista);
            if (view.recordCount() == 0)
                continue;
            if (!pasos[i].encontrada)
                aparcar(view);
            aparcadaFlag(pasos[i].vista) = !pasos[i].encontrada;
        }
    }
    // After the parking, whose leaving of the test row lights the diagnosis light with 1:
    // a transformer without tests shows it off.
    for (int i = 0; i < n; ++i) {
        if (pasos[i].vista == Vista::Ensayos && !pasos[i].encontrada)
            emit semaforoEnsayo(0);
    }
}

void Alineacion::reposicionarLista(const QString& codigo)
{
    // The list's own selection handler must not move the transformer view back while the
    // list is being put on the transformer the window already shows.
    Interruptor::Mientras sinc1(m_estado.ListaSinc1, true);
    Interruptor::Mientras sinc2(m_estado.ListaSinc2, true);
    PriorityList& lista = m_vistas.Ado1;
    const Status releida = lista.requery();
    ignorarFallo(releida, logRecords(), "La lista de prioridades al alinear");
    if (releida)
        ignorarFallo(lista.find(QStringLiteral("CÓDIGO LIKE ") + codigo), logRecords(),
                     "El transformador en la lista de prioridades");
}

void Alineacion::aparcar(RecordView& view)
{
    if (view.eof())
        return; // already past its last row
    Interruptor::Mientras reposicion(m_estado.ReposicionActiva, false);
    if (view.moveLast().ok())
        ignorarFallo(view.moveNext(), logRecords(), "Aparcar la vista tras su última fila");
}

void Alineacion::evaluarEnsayo()
{
    for (const std::function<void()>* paso :
         {&m_evaluacion.relacionGases, &m_evaluacion.diagnostico, &m_evaluacion.grupos})
        if (*paso)
            (*paso)();
}

namespace {

// Saving the current row keeps it on screen; every other action leaves it.
bool dejaLaFila(RecordView::Action action)
{
    return action != RecordView::Action::Update;
}

} // namespace

void Alineacion::validarRevision(RecordView::Action action)
{
    if (dejaLaFila(action))
        emit blanquearRevision();
}

void Alineacion::validarEnsayo(RecordView::Action action)
{
    if (!dejaLaFila(action))
        return;
    emit limpiarDiagnosticoEnsayo();
    emit semaforoEnsayo(1);
}

void Alineacion::antesDeNavegar(Vista v)
{
    if (!aparcada(v))
        return;
    aparcadaFlag(v) = false;
    RecordView& view = vista(v);
    if (view.eof())
        return; // a step back lands on the last row of the table, a step to the first on the first
    Interruptor::Mientras reposicion(m_estado.ReposicionActiva, false);
    if (view.moveFirst().ok() && !view.bof())
        ignorarFallo(view.movePrevious(), logRecords(), "Llevar la vista antes de su primera fila");
}

Status Alineacion::pasar(RecordView& view, Paso paso)
{
    if (!view.isOpen())
        return {};
    const int posicion = view.absolutePosition();
    switch (paso) {
    case Paso::Primero:
        return view.moveFirst();
    case Paso::Anterior:
        if (view.bof())
            return view.moveFirst();
        if (posicion != 0)
            return view.movePrevious();
        break;
    case Paso::Siguiente:
        if (view.eof())
            return view.moveLast();
        if (posicion != view.recordCount() - 1)
            return view.moveNext();
        break;
    case Paso::Ultimo:
        return view.moveLast();
    }
    return {};
}

void Alineacion::refrescarFechada(Vista v)
{
    if (v == Vista::Trafo)
        return;
    RecordView& view = vista(v);
    {
        // Re-reading lands on the table's first row, which may belong to another transformer.
        Interruptor::Mientras reposicion(m_estado.ReposicionActiva, false);
        ignorarFallo(view.refresh(), logRecords(), "Releer la vista fechada");
    }
    RecordView& trafos = m_vistas.Data1;
    bool encontrada = false;
    if (enFila(trafos)) {
        // The move runs the test's evaluation but aligns nothing: the window already stands
        // on this transformer.
        Bandera propia(alinea(v), false);
        encontrada = encontrar(view, QStringLiteral("[código]=") + trafos.value(0).toString());
    }
    emit sinRegistros(v, !encontrada);
    if (!encontrada && view.recordCount() > 0)
        aparcar(view);
    aparcadaFlag(v) = !encontrada && view.recordCount() > 0;
    if (v == Vista::Ensayos && !encontrada)
        emit semaforoEnsayo(0);
}

bool Alineacion::sinRegistrosAlCambiarPestana(Vista v, bool codigoVacio)
{
    return v != Vista::Trafo && codigoVacio;
}
