#pragma once

#include <QWidget>
#include <functional>

class DataViews;
class ListaTrafos;
class Mensajes;
class ModeloPrioridades;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
struct RunState;

// The PRIORIDADES tab: the priority list (Ado1) in priority order, and beside it the general
// diagnosis, the summary of observations and the severity of the list's current row.
// Making a row current moves the transformer view to it; a move of the transformer view made
// elsewhere brings the list to that transformer.
class PaginaPrioridades : public QWidget
{
    Q_OBJECT
public:
    PaginaPrioridades(RunState& estado, DataViews& vistas, Mensajes& mensajes, QWidget* parent = nullptr);

    // The selection handler: moves Ado1 to the list's current row and the transformer view to
    // its code, with the list-sync flags raised meanwhile. It runs whenever a row becomes
    // current; the general diagnosis calls it at its end. Errors are ignored.
    void filaActualCambiada();
    // Re-runs the list's query and stands on the transformer with that code, without moving
    // the transformer view back. Does nothing while the list-sync flags are set.
    void seguirTransformador(int codigo);
    // While on (the default), a move of the transformer view re-positions the list by itself;
    // whoever aligns the views and calls seguirTransformador turns this off.
    void setSeguirDatos1(bool seguir);
    // Read-only mode hides "RECONSTRUIR": the general diagnosis writes every transformer.
    // Runs before RECONSTRUIR touches anything: saves what is being edited; false stops the run.
    void setAntesDeReconstruir(std::function<bool()> antes) { m_antesDeReconstruir = std::move(antes); }
    void setSoloLectura(bool soloLectura);

    // "RECONSTRUIR": the general diagnosis of every transformer in the file, with the bar in
    // the list's place meanwhile; the views are re-read after it and the list stands on its
    // first row. A failure is shown once the list is back.
    void reconstruir();

    ListaTrafos* lista() const { return m_lista; }
    ModeloPrioridades* modelo() const { return m_modelo; }
    QLabel* tituloLista() const { return m_titulo; }
    // The state light of the window's transformer at the page's top right (element 6).
    QWidget* luz() const { return m_luz; }
    void setEstadoLuz(int estado);
    // "RECONSTRUIR" under the list and the bar that takes the list's place while it runs.
    QPushButton* botonReconstruir() const { return m_reconstruir; }
    // "IMPRIMIR": the priority report.
    QPushButton* botonImprimir() const { return m_imprimir; }
    QProgressBar* barraProgreso() const { return m_progreso; }

signals:
    void informePedido();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void datos1Movido();
    // Puts the list's current row on Ado1's position without running the handler.
    void seguirAdo1();
    void mostrarDetalle();

    RunState& m_estado;
    DataViews& m_vistas;
    Mensajes& m_mensajes;
    ModeloPrioridades* m_modelo = nullptr;
    ListaTrafos* m_lista = nullptr;
    QLabel* m_titulo = nullptr;
    QPlainTextEdit* m_diagnostico = nullptr;
    QPlainTextEdit* m_resumen = nullptr;
    QLineEdit* m_gravedad = nullptr;
    QPushButton* m_reconstruir = nullptr;
    QPushButton* m_imprimir = nullptr;
    QProgressBar* m_progreso = nullptr;
    QWidget* m_luz = nullptr;
    bool m_seguirDatos1 = true;
    // The page itself moves the list's current row: not a user's choice.
    bool m_moviendoLista = false;
    std::function<bool()> m_antesDeReconstruir;
};
