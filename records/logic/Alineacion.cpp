#include "records/logic/Alineacion.h"

#include "app/logic/RunState.h"
#include "records/logic/Bandera.h"
#include "records/logic/DataViews.h"

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

QString Alineacion::leyendaEnReposo(Vista v)
{
    switch (v) {
    case Vista::Revision:
        return QStringLiteral("REV");
    case Vista::Ensayos:
        return QStringLiteral("ENS");
    case Vista::Mantenimiento:
        return QStringLiteral("MAN");
    case Vista::Trafo:
        break;
    }
    return QStringLiteral("TRA");
}

QString Alineacion::leyenda(Vista v) const
{
    const RecordView& view = vista(v);
    return leyendaEnReposo(v) + QLatin1Char(':') + QString::number(view.absolutePosition() + 1) +
           QLatin1Char('-') + QString::number(view.recordCount());
}

bool Alineacion::aparcada(Vista v) const
{
    const bool* flag = aparcadaFlag(v);
    return flag && *flag;
}

bool& Alineacion::alinea(Vista v) const
{
    switch (v) {
    case Vista::Revision:
        return m_estado.AlineaRevision;
    case Vista::Ensayos:
        return m_estado.AlineaEnsayos;
    case Vista::Mantenimiento:
        return m_estado.AlineaMantenimiento;
    case Vista::Trafo:
        break;
    }
    return m_estado.AlineaTrafo;
}

bool* Alineacion::aparcadaFlag(Vista v) const
{
    switch (v) {
    case Vista::Revision:
        return &m_estado.AparcadaRevision;
    case Vista::Ensayos:
        return &m_estado.AparcadaEnsayos;
    case Vista::Mantenimiento:
        return &m_estado.AparcadaMantenimiento;
    case Vista::Trafo:
        break;
    }
    return nullptr; // the transformer view is never parked
}

bool Alineacion::enFila(const RecordView& view)
{
    return view.isOpen() && !view.bof() && !view.eof() && !view.isDeleted();
}

bool Alineacion::encontrar(RecordView& view, const QString& criterio)
{
    const Result<bool> found = view.findFirst(criterio);
    return found.ok() && found.value();
}

void Alineacion::trafoMovido()
{
    RecordView& trafos = m_vistas.Data1;
    emit leyendaCambiada(Vista::Trafo, leyenda(Vista::Trafo));
    emit estadoTrafo(trafos.value(QStringLiteral("ESTADO")).toInt(),
                     trafos.value(QStringLiteral("AUTO")).toBool(), trafos.value(QStringLiteral("GRAVEDAD")));

    // The program's own moves (opening, parking, refreshes) align nothing and leave the
    // synchronisation as it was, so that opening the views never aligns them.
    if (!m_estado.ReposicionActiva)
        return;
    if (m_estado.SincronizacionActiva && m_estado.AlineaTrafo)
        alinearDesdeTrafo();
    m_estado.SincronizacionActiva = true;
}

void Alineacion::alinearConTrafo()
{
    m_estado.SincronizacionActiva = true;
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
    m_estado.AlineaTrafo = true;
}

void Alineacion::fechadaMovida(Vista v)
{
    RecordView& view = vista(v);
    emit leyendaCambiada(v, leyenda(v));
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
    Bandera trafo(m_estado.AlineaTrafo, false);
    const QString codigo = view.value(0).toString();
    // The inspection table writes its code field in capitals; the criterion follows it.
    const QString campo = v == Vista::Revision ? QStringLiteral("[CÓDIGO]=") : QStringLiteral("[código]=");
    encontrar(m_vistas.Data1, campo + codigo);
    alinearFechadas(codigo, v);
    emit sinRegistros(v, false);
    // The view stands on a row of its own now, whatever brought it there.
    *aparcadaFlag(v) = false;
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
        Bandera revision(m_estado.AlineaRevision, excepto == Vista::Revision && m_estado.AlineaRevision);
        Bandera ensayos(m_estado.AlineaEnsayos, excepto == Vista::Ensayos && m_estado.AlineaEnsayos);
        Bandera mantenimiento(m_estado.AlineaMantenimiento,
                              excepto == Vista::Mantenimiento && m_estado.AlineaMantenimiento);
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
            *aparcadaFlag(pasos[i].vista) = !pasos[i].encontrada;
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
    Bandera sinc1(m_estado.ListaSinc1, true);
    Bandera sinc2(m_estado.ListaSinc2, true);
    PriorityList& lista = m_vistas.Ado1;
    if (!lista.requery().ok())
        return;
    lista.find(QStringLiteral("CÓDIGO LIKE ") + codigo);
}

void Alineacion::aparcar(RecordView& view)
{
    if (view.eof())
        return; // already past its last row
    Bandera reposicion(m_estado.ReposicionActiva, false);
    if (view.moveLast().ok())
        view.moveNext();
}

void Alineacion::evaluarEnsayo()
{
    if (m_evaluacion.Calculus)
        m_evaluacion.Calculus();
    if (m_evaluacion.Diagnos)
        m_evaluacion.Diagnos();
    if (m_evaluacion.ENS)
        m_evaluacion.ENS();
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
    bool* aparcadaAhora = aparcadaFlag(v);
    if (!aparcadaAhora || !*aparcadaAhora)
        return;
    *aparcadaAhora = false;
    RecordView& view = vista(v);
    if (view.eof())
        return; // a step back lands on the last row of the table, a step to the first on the first
    Bandera reposicion(m_estado.ReposicionActiva, false);
    if (view.moveFirst().ok() && !view.bof())
        view.movePrevious();
}

void Alineacion::navegar(Vista v, Accion accion)
{
    antesDeNavegar(v);
    RecordView& view = vista(v);
    if (!view.isOpen())
        return;
    switch (accion) {
    case Accion::Primero:
        view.moveFirst();
        break;
    case Accion::Ultimo:
        view.moveLast();
        break;
    case Accion::Anterior:
        if (!view.bof() && view.absolutePosition() != 0)
            view.movePrevious();
        break;
    case Accion::Siguiente:
        if (!view.eof() && view.absolutePosition() != view.recordCount() - 1)
            view.moveNext();
        break;
    }
}

void Alineacion::refrescarFechada(Vista v)
{
    if (v == Vista::Trafo)
        return;
    RecordView& view = vista(v);
    {
        // Re-reading lands on the table's first row, which may belong to another transformer.
        Bandera reposicion(m_estado.ReposicionActiva, false);
        view.refresh();
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
    *aparcadaFlag(v) = !encontrada && view.recordCount() > 0;
    if (v == Vista::Ensayos && !encontrada)
        emit semaforoEnsayo(0);
}

bool Alineacion::sinRegistrosAlCambiarPestana(Vista v, bool codigoVacio)
{
    return v != Vista::Trafo && codigoVacio;
}
