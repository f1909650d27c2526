#pragma once

#include "diagnosis/logic/MetodosGas.h"
#include "diagnosis/logic/NivelesGas.h"
#include "diagnosis/logic/Totales.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// The evaluation of one oil test: the ordered threshold rules that turn its values into
// observations, highlighted boxes, a count and the light of the test tab.
namespace diagnostico {

// Light states shared with the status light and the stored `ESTADO`.
enum Estado : int
{
    Apagado = 0,
    Verde = 1,
    Amarillo = 2,
    Rojo = 3,
};

enum class Resaltado
{
    Normal,
    Amarillo,
    Naranja,
};

// "normal", "amarillo", "naranja".
QString nombreResaltado(Resaltado r);

// The group flags of a test (`EFQ`, `KF`, `FUR`, `MET`, `PCB`, `GAS`, `FD`, `LD`, `IN`);
// a Null flag counts as not ticked.
struct GruposEnsayo
{
    std::optional<bool> efq, kf, fur, met, pcb, gas, fd, ld, in;
};

// The test on screen: its box texts by field name (`Sedimentos` holds the sludge list's
// text; a missing or blank one is a Null sludge) and its group flags.
struct EnsayoEnPantalla
{
    TextosEnsayo textos;
    GruposEnsayo grupos;
    // The transformer's age in years at the test, when known: it picks the gas levels' column.
    std::optional<int> edad;

    EnsayoGases ensayoGases() const;
};

struct EvaluacionEnsayo
{
    QStringList observaciones; // each with its leading blank, without the line break
    int estado = Verde;        // the light `Semaforo1`
    int cuenta = 0;
    bool grave = false;
    // Every box the rules colour, by field name (`Sedimentos` for the sludge list).
    QMap<QString, Resaltado> resaltados;
    // The gas levels of the test; no gas is judged when the `GAS` group is not ticked.
    ieee::NivelesGas niveles;

    // The observation display: each observation followed by CR LF.
    QString texto() const;
};

// The boxes the rules colour, in the order of the rules.
const QStringList& camposResaltados();

// Evaluates the test on screen. The gas rules read the fault names of the gas-ratio table
// computed from the same texts.
EvaluacionEnsayo evaluarEnsayo(const EnsayoEnPantalla& ensayo);
// The same, with the gas-ratio table already computed by the caller.
EvaluacionEnsayo evaluarEnsayo(const EnsayoEnPantalla& ensayo, const ResultadoMetodo& relacionGases);
// No current test: " Sin Ensayos", red, count 6, every box normal.
EvaluacionEnsayo evaluarSinEnsayo();

} // namespace diagnostico
