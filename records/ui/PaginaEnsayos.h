#pragma once

#include "diagnosis/logic/EvaluacionEnsayo.h"
#include "diagnosis/logic/MetodosGas.h"
#include "records/ui/PaginaFechada.h"

class QLabel;
class QPlainTextEdit;
struct RunState;

// The oil tests tab: physico-chemical values, the other groups, gases, observation and the
// test's diagnosis. A group's boxes are enabled only while its check box is ticked. The page
// evaluates the test it shows: the gas-ratio table, the observations with their highlighted
// boxes and light, and the totals that follow a typed value.
class PaginaEnsayos : public PaginaFechada
{
    Q_OBJECT
public:
    explicit PaginaEnsayos(RunState& estado, QWidget* parent = nullptr);

    // Enables the boxes of every group from its check box (ENS).
    void habilitarGrupos();
    // The gas-ratio table of the test shown (Calculus); the open method windows recompute first.
    void mostrarRelacionGases();
    // The observations, highlighted boxes and light of the test shown (Diagnos).
    void mostrarDiagnostico();
    // The totals that follow a typed change of the box bound to campo (Calculos).
    void recalcularTotales(const QString& campo);

    // The test on screen as the evaluation reads it, and its gases for the method windows.
    diagnostico::EnsayoEnPantalla ensayoEnPantalla() const;
    diagnostico::EnsayoGases ensayoGases() const;

    // A test is being added: the furan and PCB totals follow their parts only then.
    void setAgregando(bool agregando);

    // The test's three-lamp diagnosis light, made by the program; it takes the place kept
    // for it on the DIAGNÓSTICO sub-tab.
    void setSemaforo(QWidget* semaforo);
    // Sets the diagnosis light to a state code (0 off ... 3 red); nothing without a light.
    void setEstadoSemaforo(int estado);
    // Empties the test's diagnosis text.
    void limpiarDiagnostico();
    QWidget* semaforo() const { return m_semaforo; }
    // The observation display.
    QPlainTextEdit* observaciones() const { return m_observaciones; }
    // Gas-ratio labels 1 to 24 and the forced marker.
    QLabel* etiquetaRelacion(int indice) const { return m_relaciones.value(indice - 1); }
    QLabel* etiquetaForzado() const { return m_forzado; }
    // "Dornenburg", "Rogers", "Gases", "Duval", "Pentágono".
    QPushButton* botonMetodo(int indice) const { return m_metodos.value(indice); }
    // The gas levels' status beside the light.
    QLabel* etiquetaIeee() const { return m_ieee; }

    // The check box of a group by its element number (0 EFQ ... 8 IN), and a box by its element.
    QWidget* casilla(int indice) const;
    QWidget* cajaTxt(int indice) const;

signals:
    // A method window was asked for: 0 Dornenburg, 1 Rogers, 2 gas ratios, 3 Duval's
    // triangle, 4 Duval's pentagon.
    void metodoPedido(int indice);
    // The gas ratios are being recomputed: the open method windows follow the test shown.
    void ensayoEvaluado();

protected:
    const schema::Table& tablaEsquema() const override;
    void construirDetalle(QTabWidget* detalle, EnlaceCampos& enlace) override;
    QString nombreBotonInforme() const override { return QStringLiteral("Command33"); }
    void ajustarEntrada(EntradaValidada& entrada, const schema::Field& campo) override;

private:
    void habilitarGrupo(int casilla);
    void evaluar();
    bool hayEnsayo() const;
    bool marcada(int casilla) const;
    void ponerTotal(const QString& campo, const std::optional<double>& valor);
    void mostrarSubpestana(const QString& titulo);
    void mostrarNiveles(const diagnostico::ieee::NivelesGas& niveles);
    QWidget* construirDiagnostico();

    RunState& m_estado;
    QPlainTextEdit* m_observaciones = nullptr;
    QWidget* m_hueco = nullptr;
    QWidget* m_semaforo = nullptr;
    QList<QLabel*> m_relaciones;
    QLabel* m_forzado = nullptr;
    QLabel* m_ieee = nullptr;
    QList<QPushButton*> m_metodos;
    bool m_agregando = false;
};
