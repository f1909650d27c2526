#pragma once

#include "data/logic/Result.h"

#include <QList>
#include <QVariant>
#include <QWidget>

class BarraNavegacion;
class CabeceraTrafo;
class EnlaceCampos;
class Interruptor;
class Mensajes;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class RecordView;
class TablaRegistros;

// The transformers tab: detail with the state area, table, accessories and general diagnosis.
class PaginaTrafos : public QWidget
{
    Q_OBJECT
public:
    enum Boton
    {
        Agregar,
        Eliminar,
        Refrescar,
        Guardar,
        Cancelar,
        GuardarAccesorios
    };

    explicit PaginaTrafos(QWidget* parent = nullptr);

    // Builds the boxes and binds them to the transformer view.
    void enlazar(RecordView& trafos);
    // The insulating-oil list offers the oils the view of stored oils holds, re-read with it.
    void setAislantes(RecordView& aislantes);
    // Fits every bound box that has a keystroke checker with it (messages go to mensajes);
    // the program's own moves (reposicion off) show rows without checking them.
    void setEntradas(Mensajes& mensajes, const Interruptor& reposicion);
    // Read-only mode hides the buttons that change rows.
    void setSoloLectura(bool soloLectura);

    // Manual mode (pressed) unlocks the state list and the severity box.
    void aplicarModo();

    // What the editing commands read and set through the page.
    struct EstadoElegido
    {
        bool manual = false; // the "Manual"/"Automático" button pressed
        int estado = 0;      // the state list's index, 0 when nothing is chosen
        QVariant gravedad;   // the severity box's text, null when empty
    };
    EstadoElegido estadoElegido() const;
    QString textoCodigo() const;
    // The type list's text, stored with a new transformer.
    QString tipoElegido() const;
    void vaciarCodigo();
    // Shows the row's stored values again (boxes, header, state area), dropping what was typed.
    void mostrarGuardado();
    void enfocarCodigo();
    // A new row on screen: empty boxes, the proposed code, "T.EXPANSIÓN", "ACT.YPF 64",
    // "Automático", and the focus in AREA.
    void prepararNuevo(const QString& codigoPropuesto);
    // Releases the mode button: the row is saved in automatic mode.
    void ponerAutomatico();
    // Writes the boxes the user changed into the current row.
    Status escribir();

    BarraNavegacion* barra() const { return m_barra; }
    CabeceraTrafo* cabecera() const { return m_cabecera; }
    EnlaceCampos* enlace() const { return m_enlace; }
    QTabWidget* subtabs() const { return m_subtabs; }
    TablaRegistros* tabla() const { return m_tabla; }
    QPushButton* boton(Boton b) const { return m_botones.value(b); }
    QComboBox* listaEstado() const { return m_estado; }
    QLineEdit* cajaGravedad() const { return m_gravedad; }
    QPushButton* botonModo() const { return m_modo; }
    QList<QWidget*> luces() const { return m_luces; }
    void setEstadoLuces(int estado);
    // The state area of the transformer shown: the state list and lights, the mode button
    // (pressed: manual) and the severity boxes (empty when gravedad is invalid).
    void mostrarEstadoTrafo(int estado, bool manual, const QVariant& gravedad);

    // The report choice of the detail page: "Generar &informe" opens the frame "Informe" in
    // place of the record buttons; "Aceptar" asks for the chosen report, "Cancelar" only closes.
    QPushButton* botonInforme() const { return m_botonInforme; }
    QGroupBox* marcoInforme() const { return m_marcoInforme; }
    QRadioButton* opcionInforme(int eleccion) const { return m_opcionesInforme.value(eleccion); }
    QPushButton* aceptarInforme() const { return m_aceptarInforme; }
    QPushButton* cancelarInforme() const { return m_cancelarInforme; }
    void abrirInforme();
    void cerrarInforme();

signals:
    // eleccion: 0 "General", 1 "Resumido", 2 "Detallado".
    void informePedido(int eleccion);
    // "&Generar informe" of the ACCESORIOS page.
    void informeAccesoriosPedido();

private:
    QWidget* construirDetalle();
    QGroupBox* construirInforme(QWidget* pagina);
    void aceptarElInforme();
    QWidget* construirAccesorios();
    QWidget* construirDiagnostico();
    void mostrarEstado();

    RecordView* m_vista = nullptr;
    CabeceraTrafo* m_cabecera = nullptr;
    QTabWidget* m_subtabs = nullptr;
    BarraNavegacion* m_barra = nullptr;
    EnlaceCampos* m_enlace = nullptr;
    TablaRegistros* m_tabla = nullptr;
    QComboBox* m_estado = nullptr;
    QLineEdit* m_gravedad = nullptr;
    QLineEdit* m_gravedadDiagnostico = nullptr;
    QPushButton* m_modo = nullptr;
    QList<QPushButton*> m_botones;
    QList<QWidget*> m_luces;
    QPushButton* m_botonInforme = nullptr;
    QGroupBox* m_marcoInforme = nullptr;
    QList<QRadioButton*> m_opcionesInforme;
    QPushButton* m_aceptarInforme = nullptr;
    QPushButton* m_cancelarInforme = nullptr;
    bool m_soloLectura = false;
};
