#pragma once

#include "data/logic/Result.h"
#include "records/logic/Alineacion.h"

#include <QObject>
#include <array>

class DataViews;
class Mensajes;
class PaginaFechada;
class PaginaTrafos;
struct RunState;

// The editing commands of the four record tabs: add, save, delete, refresh and cancel for
// transformers and for the dated rows (inspections, tests, maintenance), and the accessories
// page's save. The pages own the buttons and the boxes; this object answers the buttons and
// asks the pages for what the user typed.
//
// What the file refuses is never silent: a save or deletion that fails shows the reason in
// Spanish and keeps the edit with everything typed, so the user can mend it and save again.
class EdicionRegistros : public QObject
{
    Q_OBJECT
public:
    EdicionRegistros(RunState& estado, DataViews& vistas, Alineacion& alineacion, Mensajes& mensajes,
                     PaginaTrafos& trafos, PaginaFechada& revision, PaginaFechada& ensayos,
                     PaginaFechada& mantenimiento, QObject* parent = nullptr);

    void agregarTrafo();
    void guardarTrafo();
    void eliminarTrafo();
    void refrescarTrafo();
    void cancelarTrafo();
    void guardarAccesorios();

    void agregar(Alineacion::Vista v);
    void guardar(Alineacion::Vista v);
    void eliminar(Alineacion::Vista v);
    void refrescar(Alineacion::Vista v);
    void cancelar(Alineacion::Vista v);

    // A transformer edit is in progress: "&Agregar" and "&Eliminar" do nothing meanwhile.
    bool editandoTrafo() const { return m_editandoTrafo; }
    // A row of the view is being added (for the transformer view: until it is saved).
    bool agregando(Alineacion::Vista v) const { return m_agregando[static_cast<size_t>(v)]; }
    // No edit and no addition: the state after the views were opened on another file.
    // Saves the edits of the four record views as leaving their rows would, and ends any
    // addition; a save the file refuses is reported and false returned.
    bool guardarPendientes();
    void reiniciar();

signals:
    // The adding state of a view changed (the tests tab recomputes its totals only then).
    void agregandoCambiado(Alineacion::Vista v, bool agregando);

private:
    PaginaFechada* pagina(Alineacion::Vista v) const;
    void setAgregando(Alineacion::Vista v, bool agregando);
    QString codigoTrafoActual() const;
    // Goes back to the transformer remembered when the addition started.
    void volverAlRecordado();
    // A check before a save: false after showing its message.
    template <typename T> bool aceptado(const Result<T>& comprobado)
    {
        if (comprobado)
            return true;
        avisar(comprobado.error());
        return false;
    }
    void avisar(const QString& texto);
    // A save needs a row being added or a row shown; otherwise the user is told.
    bool hayFilaParaGuardar(const RecordView& vista);

    RunState& m_estado;
    DataViews& m_vistas;
    Alineacion& m_alineacion;
    Mensajes& m_mensajes;
    PaginaTrafos& m_trafos;
    PaginaFechada& m_revision;
    PaginaFechada& m_ensayos;
    PaginaFechada& m_mantenimiento;

    bool m_editandoTrafo = false;
    std::array<bool, 4> m_agregando{false, false, false, false};
    // The transformer shown when an addition started; Cancelar goes back to it.
    int m_codigoRecordado = 0;
};
