#pragma once

#include "data/logic/Result.h"
#include "records/ui/EntradaValidada.h"

#include <QDate>
#include <QHash>
#include <QUrl>
#include <QWidget>
#include <functional>

class Alineacion;
class DataViews;
class EdicionRegistros;
class Mensajes;
class PaginaFechada;
class BotonesCalendario;
class PaginaBuscar;
class PaginaEnsayos;
class PaginaHerramientas;
class PaginaMantenimiento;
class PaginaPrioridades;
class PaginaRevision;
class PaginaTrafos;
class QFrame;
class QLabel;
class QPushButton;
class QTabWidget;
struct RunState;

// The main window: the hub that holds the tab pages and owns the record views for the run.
// The program ends only through Salir, run by "&Salir" and by closing the window.
class Trafo : public QWidget
{
    Q_OBJECT
public:
    Trafo(RunState& estado, DataViews& vistas, Mensajes& mensajes, QWidget* parent = nullptr);
    ~Trafo() override;

    // The maker's home page, opened by the link label.
    static QUrl direccionWeb();

    // What a HERRAMIENTAS button does (the windows are supplied by the program); a button
    // without an action stays disabled. "Buscar Actualizaciones" needs none.
    void setComandoHerramientas(int indice, std::function<void()> accion);
    // Opens the data file's location window.
    void setAbrirDireccion(std::function<void()> abrir);
    // Opens a web address; the program passes the desktop's browser.
    void setAbrirEnlace(std::function<void(const QUrl&)> abrir);
    // Work done by Salir before the views are closed (the automatic backup).
    void setAlSalir(std::function<void()> alSalir);
    // Ends the program; by default the application's event loop.
    void setTerminar(std::function<void()> terminar);

    // The exit procedure: runs once, however the window closes.
    void Salir();

    // Points every view at the data file in folder and shows the folder; no edit, addition or
    // parked view outlives the file it belonged to.
    Status reabrir(const QString& folder);
    // After the data file was replaced or rebuilt: every view on the file again with no
    // selection, no edit or addition, and the three calendars on hoy.
    void Reconectar(const QDate& hoy);
    // The calculator button SSCommand1; without an action it stays disabled.
    void setCalculadora(std::function<void()> abrir);
    // Shows the mode and RutaDatos from the run state.
    void mostrarEstado();
    // Brings the dated views and the list to the current transformer and turns the
    // synchronisation on; run once the views are opened (start-up and every re-open).
    void alinear();

    // The date boxes of the dated tabs open picker on a click.
    void setSelectorFecha(EntradaValidada::DatePicker picker);
    // Today's date as the program reads it ("&Hoy" of the calendar pages).
    void setHoy(std::function<QDate()> hoy) { m_hoy = std::move(hoy); }

    EdicionRegistros* edicion() const { return m_edicion; }

    Alineacion* alineacion() const { return m_alineacion; }
    // The eight state lights of the window, by element number.
    QList<QWidget*> luces() const;

    QTabWidget* tabs() const { return m_tabs; }
    PaginaBuscar* paginaBuscar() const { return m_buscar; }
    PaginaTrafos* paginaTrafos() const { return m_trafos; }
    PaginaRevision* paginaRevision() const { return m_revision; }
    PaginaEnsayos* paginaEnsayos() const { return m_ensayos; }
    PaginaMantenimiento* paginaMantenimiento() const { return m_mantenimiento; }
    PaginaPrioridades* paginaPrioridades() const { return m_prioridades; }
    PaginaHerramientas* paginaHerramientas() const { return m_herramientas; }
    RunState& estado() const { return m_estado; }
    DataViews& vistas() const { return m_vistas; }

signals:
    // Salir has begun: the auxiliary windows close.
    void saliendo();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void disponer();
    void comandoHerramientas(int indice);
    void conectarAlineacion();
    void pestanaCambiada(int indice);
    PaginaFechada* paginaFechada(int vista) const;

    RunState& m_estado;
    DataViews& m_vistas;
    Mensajes& m_mensajes;

    QTabWidget* m_tabs = nullptr;
    PaginaBuscar* m_buscar = nullptr;
    PaginaTrafos* m_trafos = nullptr;
    PaginaRevision* m_revision = nullptr;
    PaginaEnsayos* m_ensayos = nullptr;
    PaginaMantenimiento* m_mantenimiento = nullptr;
    PaginaPrioridades* m_prioridades = nullptr;
    PaginaHerramientas* m_herramientas = nullptr;
    QLabel* m_titulo = nullptr;
    QFrame* m_panel = nullptr;
    QPushButton* m_salir = nullptr;
    QPushButton* m_calculadora = nullptr;
    QLabel* m_modo = nullptr;
    QLabel* m_carpeta = nullptr;
    QLabel* m_enlace = nullptr;
    Alineacion* m_alineacion = nullptr;
    EdicionRegistros* m_edicion = nullptr;

    QHash<int, std::function<void()>> m_comandos;
    std::function<void(const QUrl&)> m_abrirEnlace;
    EntradaValidada::DatePicker m_selectorFecha;
    std::function<QDate()> m_hoy = [] { return QDate::currentDate(); };
    QList<BotonesCalendario*> m_botonesCalendario;
    std::function<void()> m_alSalir;
    std::function<void()> m_abrirCalculadora;
    std::function<void()> m_terminar;
    bool m_salido = false;
};
