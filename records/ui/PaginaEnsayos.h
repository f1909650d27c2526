#pragma once

#include "data/logic/RecordView.h"
#include "records/ui/PaginaFechada.h"

#include <functional>

class QLabel;
class QPlainTextEdit;

// The oil tests tab: physico-chemical values, the other groups, gases, observation and the
// test's diagnosis. A group's boxes are enabled only while its check box is ticked.
class PaginaEnsayos : public PaginaFechada
{
    Q_OBJECT
public:
    explicit PaginaEnsayos(QWidget* parent = nullptr);

    // Enables the boxes of every group from its check box, in the order EFQ, KF, FUR, MET, PCB,
    // GAS, LD, INH (the inhibitor box follows its own check box, last).
    void ENS();
    void EFQ();
    void KF();
    void FUR();
    void MET();
    void PCB();
    void GAS();
    void LD();
    void INH();

    // The evaluation run for every test shown: the gas ratios (Calculus), then the diagnosis
    // (Diagnos); the group enabling (ENS) follows them. The forced-doubtful box runs both.
    void setEvaluacion(std::function<void()> calculus, std::function<void()> diagnos);

    // The test's three-lamp diagnosis light, made by the program's control factory; it takes
    // the place kept for it on the DIAGNÓSTICO sub-tab.
    void setSemaforo(QWidget* semaforo);
    // Sets the diagnosis light to a state code (0 off ... 3 red); nothing without a light.
    void setEstadoSemaforo(int estado);
    // Empties the test's diagnosis text.
    void limpiarDiagnostico();
    // Whether the page runs the evaluation and clears the diagnosis on its own (default). The
    // main window turns it off when the record alignment runs them in its fixed order, so that
    // nothing runs twice per move.
    void setEvaluacionPropia(bool propia);
    QWidget* semaforo() const { return m_semaforo; }
    // The observation display.
    QPlainTextEdit* observaciones() const { return m_observaciones; }
    // Gas-ratio labels 1 to 24 and the forced marker.
    QLabel* etiquetaRelacion(int indice) const { return m_relaciones.value(indice - 1); }
    QLabel* etiquetaForzado() const { return m_forzado; }
    // "Dornenburg", "Rogers", "Gases".
    QPushButton* botonMetodo(int indice) const { return m_metodos.value(indice); }

    // The check box of a group by its element number (0 EFQ ... 8 IN), and a box by its element.
    QWidget* casilla(int indice) const;
    QWidget* cajaTxt(int indice) const;

signals:
    // The forced-doubtful check box was clicked: the gas ratios and the diagnosis are redone.
    void forzadoPulsado();

protected:
    const schema::Table& tablaEsquema() const override;
    void construirDetalle(QTabWidget* detalle, EnlaceCampos& enlace) override;

private:
    void EFQConInhibidor();
    void testMostrado();
    void evaluar();
    void dejandoFila(RecordView::Action accion);
    void habilitar(int casilla, std::initializer_list<int> cajas);
    QWidget* construirDiagnostico();

    QPlainTextEdit* m_observaciones = nullptr;
    QWidget* m_hueco = nullptr;
    QWidget* m_semaforo = nullptr;
    QList<QLabel*> m_relaciones;
    QLabel* m_forzado = nullptr;
    QList<QPushButton*> m_metodos;
    std::function<void()> m_calculus;
    std::function<void()> m_diagnos;
    bool m_evaluacionPropia = true;
};
