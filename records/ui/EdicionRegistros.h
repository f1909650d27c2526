#pragma once

#include "data/logic/Result.h"
#include "records/logic/Alineacion.h"

#include <QObject>
#include <QWidget>

class DataViews;
class Mensajes;
class PaginaFechada;
class PaginaTrafos;
struct RunState;

// The editing commands of the four record tabs: add, save, delete, refresh and cancel for
// transformers and for the dated rows (inspections, tests, maintenance), and the accessories
// page's save. The pages own the buttons; this object answers them.
//
// What the file refuses is never silent: a save or deletion that fails shows the reason in
// Spanish and keeps the edit with everything typed, so the user can mend it and save again.
class EdicionRegistros : public QObject
{
    Q_OBJECT
public:
    EdicionRegistros(RunState& estado, DataViews& vistas, Alineacion& alineacion, PaginaTrafos& trafos,
                     PaginaFechada& revision, PaginaFechada& ensayos, PaginaFechada& mantenimiento,
                     QObject* parent = nullptr);

    // Until it is set the commands do nothing that needs the user (no message is lost: the
    // program sets it before the window is shown).
    void setMensajes(Mensajes* mensajes);

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

private:
    PaginaFechada* pagina(Alineacion::Vista v) const;
    bool& agregando(Alineacion::Vista v) const;
    QString codigoTrafoActual() const;
    QWidget* caja(PaginaFechada& p, const QString& campo) const;
    // Shows a message with one OK button and the program's title.
    void aviso(const QString& texto);
    // A check of a box before a save: false after showing its message and putting the focus
    // in the box (when one is given) to mend it.
    template <typename T> bool aceptado(const Result<T>& comprobado, QWidget* caja)
    {
        if (comprobado)
            return true;
        aviso(comprobado.error());
        if (caja)
            caja->setFocus();
        return false;
    }
    // A save needs a row being added or a row shown; otherwise the user is told.
    bool hayFilaParaGuardar(const RecordView& vista);

    RunState& m_estado;
    DataViews& m_vistas;
    Alineacion& m_alineacion;
    PaginaTrafos& m_trafos;
    PaginaFechada& m_revision;
    PaginaFechada& m_ensayos;
    PaginaFechada& m_mantenimiento;
    Mensajes* m_mensajes = nullptr;
};
