#pragma once

#include "data/logic/Result.h"
#include "data/logic/Schema.h"
#include "records/ui/EntradaValidada.h"

#include <QList>
#include <QWidget>

class BarraNavegacion;
class CabeceraTrafo;
class EnlaceCampos;
class Interruptor;
class Mensajes;
class PaginaCalendario;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class RecordView;
class TablaRegistros;
struct RunState;

// A tab of dated rows (inspections, tests, maintenance): the transformer strip, the sub-tabs
// DETALLE, TABLA, GRÁFICOS and CALENDARIO, the record buttons and the navigation bar.
// Each tab fills its own detail sub-tabs.
class PaginaFechada : public QWidget
{
    Q_OBJECT
public:
    enum Boton
    {
        Agregar,
        Eliminar,
        Refrescar,
        Guardar,
        Cancelar
    };

    // Builds the boxes and binds them to the tab's view and the strip to the transformer view.
    void enlazar(RecordView& datos, RecordView& trafos);
    // Puts the date list and calendar into the CALENDARIO sub-tab; the list is re-read from
    // fechas each time that sub-tab is selected.
    void setCalendario(RunState& estado, RecordView& fechas);
    PaginaCalendario* calendario() const { return m_calendario; }
    // Fits every bound box that has a keystroke checker with it (messages go to mensajes) and
    // lets a click into the date box open picker. The program's own moves (reposicion off)
    // show rows without checking them.
    void setEntradas(Mensajes& mensajes, const Interruptor& reposicion, EntradaValidada::DatePicker picker);
    // Read-only mode hides the buttons that change rows and keeps the dates as they are.
    void setSoloLectura(bool soloLectura);
    // The notice shown while the current transformer has no rows in this tab's table.
    void setSinRegistros(bool visible);
    bool sinRegistros() const;
    QLabel* avisoSinRegistros() const { return m_sinRegistros; }

    BarraNavegacion* barra() const { return m_barra; }
    CabeceraTrafo* cabecera() const { return m_cabecera; }
    EnlaceCampos* enlace() const { return m_enlace; }
    // The transformer view the strip follows; null before enlazar.
    RecordView* vistaTrafos() const { return m_trafos; }
    QTabWidget* subtabs() const { return m_subtabs; }
    QTabWidget* detalle() const { return m_detalle; }
    // The GRÁFICOS sub-tab, empty until the program puts the tab's graph into it.
    QWidget* contenedorGraficos() const { return m_graficos; }
    TablaRegistros* tabla() const { return m_tabla; }
    QPushButton* boton(Boton b) const { return m_botones.value(b); }
    // "Generar &informe": prints the tab's report.
    QPushButton* botonInforme() const { return m_botonInforme; }
    // The code box of the row shown; empty while the tab has no row.
    QLineEdit* cajaCodigo() const;

    // What the editing commands read and set through the page.
    QString textoCodigo() const;
    QString textoFecha() const;
    void vaciarFecha();
    // Shows the row's stored values again, dropping what was typed.
    void mostrarGuardado();
    void enfocarFecha();
    // A new row on screen: empty boxes, the transformer's code and the focus in the date box.
    void prepararNuevo(const QString& codigo);
    // Writes the boxes the user changed into the current row.
    Status escribir();
    QList<QWidget*> luces() const;
    void setEstadoLuces(int estado);

signals:
    void informePedido();

protected:
    PaginaFechada(const QString& nombre, const QString& prefijo, int indiceLuz, QWidget* parent);
    virtual const schema::Table& tablaEsquema() const = 0;
    // Adds the detail's sub-tabs; the identity boxes (code, date, ...) are already built.
    virtual void construirDetalle(QTabWidget* detalle, EnlaceCampos& enlace) = 0;
    // The object name of the tab's "Generar &informe".
    virtual QString nombreBotonInforme() const = 0;
    // A page that scrolls when the group is taller than the tab.
    static QWidget* desplazable(QWidget* contenido);
    // A tab's own rules for the checks of one box, after the common ones are set.
    virtual void ajustarEntrada(EntradaValidada& entrada, const schema::Field& campo);

private:
    QString m_prefijo;
    RecordView* m_trafos = nullptr;
    CabeceraTrafo* m_cabecera = nullptr;
    QTabWidget* m_subtabs = nullptr;
    QTabWidget* m_detalle = nullptr;
    QWidget* m_paginaDetalle = nullptr;
    QWidget* m_paginaTabla = nullptr;
    TablaRegistros* m_tabla = nullptr;
    BarraNavegacion* m_barra = nullptr;
    EnlaceCampos* m_enlace = nullptr;
    QLabel* m_sinRegistros = nullptr;
    QWidget* m_marcoCalendario = nullptr;
    QWidget* m_graficos = nullptr;
    PaginaCalendario* m_calendario = nullptr;
    QList<QPushButton*> m_botones;
    QPushButton* m_botonInforme = nullptr;
    bool m_soloLectura = false;
};
