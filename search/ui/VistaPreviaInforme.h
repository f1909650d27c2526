#pragma once

#include "data/logic/Result.h"
#include "search/logic/MotorInforme.h"

#include <QObject>
#include <QString>

class Mensajes;
class QWidget;
struct RunState;

namespace informe {

// The report in a print preview, with its print button and "Exportar PDF" (the file chosen
// through `mensajes`). Returns when the preview is closed. A report of up to `paginasEnMemoria`
// pages shows in the standard print preview, which holds them all; a longer one in a preview
// that paints one page at a time, its first page at once.
Status mostrarVistaPrevia(const InformePreparado& informe, Mensajes& mensajes, QWidget* parent,
                          int paginasEnMemoria = 150);

// What the report buttons of the main window run: the engine with the run state's formulas,
// the report shown in the preview, a failure told in a message box with the engine's text.
class ImpresionInformes : public QObject
{
    Q_OBJECT
public:
    ImpresionInformes(RunState& estado, Mensajes& mensajes, Calculador calculador, QWidget* ventana);

    // Where a prepared report goes; the preview unless replaced (tests render it instead).
    void ponerSalida(MotorInforme::Salida salida) { m_salida = std::move(salida); }
    const MotorInforme& motor() const { return m_motor; }

    // Prints `archivo` ("trafos2.rpt") with the transformer formula and, when given, the
    // second formula; answers the engine's result.
    int imprimir(const QString& archivo, SegundaFormula segunda);

private:
    RunState& m_estado;
    Mensajes& m_mensajes;
    QWidget* m_ventana;
    MotorInforme m_motor;
    MotorInforme::Salida m_salida;
};

} // namespace informe
