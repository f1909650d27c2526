#pragma once

#include "data/logic/RecordView.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <functional>

class DataViews;
struct RunState;

// Keeps the four record views of the main window (and the priority list) on one transformer:
// a move in any of Data1..Data4 brings the other three and Ado1 to the transformer of the new
// row. A view moved by the alignment aligns nothing in turn. Pure logic: the pages show what
// the signals tell them and call navegar() from their navigation bars.
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
    enum class Accion
    {
        Primero,
        Anterior,
        Siguiente,
        Ultimo,
    };
    Q_ENUM(Accion)

    // The evaluation of the test on screen, run in this order on every move of Data3 onto a
    // row while ReposicionActiva is on (the user's moves and the alignment's alike).
    struct EvaluacionEnsayo
    {
        std::function<void()> Calculus;
        std::function<void()> Diagnos;
        std::function<void()> ENS;
    };

    Alineacion(RunState& estado, DataViews& vistas, QObject* parent = nullptr);

    void setEvaluacionEnsayo(EvaluacionEnsayo evaluacion);

    RecordView& vista(Vista v) const;
    // The bar caption before any move: "TRA", "REV", "ENS", "MAN".
    static QString leyendaEnReposo(Vista v);
    // "TRA:" + (position + 1) + "-" + row count of the view as it stands now.
    QString leyenda(Vista v) const;
    bool aparcada(Vista v) const;

    // Brings the dated views and the list to the current transformer now and turns the
    // synchronisation on: for the window once its views are opened, since opening them
    // (and the first move of Data1) aligns nothing.
    void alinearConTrafo();

    // A press on a dated view's navigation bar while it is parked: the user's step must land
    // on the first or last row of the whole table, not on nothing.
    void antesDeNavegar(Vista v);
    // The navigation bar's four buttons. The bar stops at the ends of the table (a step past the
    // first or last row stays where it is).
    void navegar(Vista v, Accion accion);

    // Re-reads a dated view and puts it on the current transformer's first row, or parks it
    // with its notice shown when the transformer has none there. The other views stay.
    void refrescarFechada(Vista v);

    // On a change of the main tab: whether a dated tab shows its "S/ Registros" notice.
    static bool sinRegistrosAlCambiarPestana(Vista v, bool codigoVacio);

signals:
    void leyendaCambiada(Alineacion::Vista v, const QString& texto);
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

    bool& alinea(Vista v) const;
    bool* aparcadaFlag(Vista v) const; // nullptr for the transformer view
    static bool enFila(const RecordView& view);
    static bool encontrar(RecordView& view, const QString& criterio);

    RunState& m_estado;
    DataViews& m_vistas;
    EvaluacionEnsayo m_evaluacion;
    // Raised while an alignment runs: the moves it makes re-enter the handlers through the
    // views' signals, and none of them may start another alignment.
    bool m_alineando = false;
};
