#pragma once

#include "data/logic/RecordView.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <array>
#include <functional>

class DataViews;
struct RunState;

// Keeps the four record views of the main window (and the priority list) on one transformer:
// a move in any of Data1..Data4 brings the other three and Ado1 to the transformer of the new
// row. A view moved by the alignment aligns nothing in turn. Pure logic: the pages show what
// the signals tell them; their navigation bars call antesDeNavegar() before they move.
//
// Engine errors are ignored here (the views report them through errorOccurred, which the
// window answers by going on); a find that matches nothing is no error.
class Alineacion : public QObject
{
    Q_OBJECT
public:
    enum class Vista
    {
        Trafo,         // Data1
        Revision,      // Data2
        Ensayos,       // Data3
        Mantenimiento, // Data4
    };
    Q_ENUM(Vista)
    // The four buttons of a navigation bar.
    enum class Paso
    {
        Primero,
        Anterior,
        Siguiente,
        Ultimo,
    };

    // The evaluation of the test on screen, run in this order on every move of Data3 onto a
    // row while ReposicionActiva is on (the user's moves and the alignment's alike): the
    // gas-ratio table, the diagnosis, then the enabling of the groups' boxes.
    struct EvaluacionEnsayo
    {
        std::function<void()> relacionGases;
        std::function<void()> diagnostico;
        std::function<void()> grupos;
    };

    Alineacion(RunState& estado, DataViews& vistas, QObject* parent = nullptr);

    void setEvaluacionEnsayo(EvaluacionEnsayo evaluacion);

    RecordView& vista(Vista v) const;
    // The dated view stands past its last row because the transformer has no rows there.
    bool aparcada(Vista v) const;
    // Every view may align and none is parked, as after opening the views.
    void reiniciar();

    // Brings the dated views and the list to the current transformer now and turns the
    // synchronisation on: for the window once its views are opened, since opening them
    // (and the first move of Data1) aligns nothing.
    void alinearConTrafo();

    // A press on a dated view's navigation bar while it is parked: the user's step must land
    // on the first or last row of the whole table, not on nothing.
    void antesDeNavegar(Vista v);
    // One step of a navigation bar. The bar never leaves the view before its first or after
    // its last row: a step past either end stays on that end, and a step from outside the rows
    // lands on the nearest end.
    static Status pasar(RecordView& view, Paso paso);

    // Re-reads a dated view and puts it on the current transformer's first row, or parks it
    // with its notice shown when the transformer has none there. The other views stay.
    void refrescarFechada(Vista v);

    // On a change of the main tab: whether a dated tab shows its "S/ Registros" notice.
    static bool sinRegistrosAlCambiarPestana(Vista v, bool codigoVacio);

signals:
    // The transformer view moved: ESTADO for the state list and the eight lights (0..3, 0 when
    // empty), AUTO for the "Manual"/"Automático" button (true: pressed, reads "Manual", state and
    // severity editable; false: locked) and GRAVEDAD for both severity boxes (invalid when empty).
    void estadoTrafo(int estado, bool pulsado, const QVariant& gravedad);
    // The "S/ Registros" notice of a dated view.
    void sinRegistros(Alineacion::Vista v, bool visible);
    // The test's diagnosis light (Semaforo1).
    void semaforoEnsayo(int estado);
    // Data2 leaves its row: its pending edits are in the view's buffer by now (bound boxes
    // write them in their validate slot, connected before this object was built, or in the
    // slot of this signal before blanking); the page blanks its lists, boxes and observations.
    void blanquearRevision();
    // Data3 leaves its row: the page empties the test's diagnosis text.
    void limpiarDiagnosticoEnsayo();

private:
    void trafoMovido();
    void fechadaMovida(Vista v);
    void alinearDesdeTrafo();
    void validarRevision(RecordView::Action action);
    void validarEnsayo(RecordView::Action action);

    // Finds the first row of a code in the dated views other than except, parks those that
    // found nothing and updates their notices.
    void alinearFechadas(const QString& codigo, Vista excepto);
    void reposicionarLista(const QString& codigo);
    void aparcar(RecordView& view);
    void evaluarEnsayo();

    bool& alinea(Vista v) { return m_alinea[static_cast<size_t>(v)]; }
    bool& aparcadaFlag(Vista v) { return m_aparcada[static_cast<size_t>(v)]; }
    static bool enFila(const RecordView& view);
    static bool encontrar(RecordView& view, const QString& criterio);

    RunState& m_estado;
    DataViews& m_vistas;
    EvaluacionEnsayo m_evaluacion;
    // Raised while an alignment runs: the moves it makes re-enter the handlers through the
    // views' signals, and none of them may start another alignment.
    bool m_alineando = false;
    // A view aligns the others only while its own flag is on; at rest all four are.
    std::array<bool, 4> m_alinea{true, true, true, true};
    // The dated views parked past their last row (the transformer view is never parked).
    std::array<bool, 4> m_aparcada{false, false, false, false};
};
