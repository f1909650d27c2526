#pragma once

#include "diagnosis/logic/Totales.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <array>
#include <optional>

// The dissolved-gas levels of IEEE C57.104-2019: each measured gas of a sample compared with
// the 90th (Table 1) and 95th (Table 2) percentile of transformers like it. The ratio methods
// judge only ratios; this rule makes sure a sample full of a gas never reads as normal.
namespace diagnostico::ieee {

// The gases the tables give, in the order the results list them.
enum class GasIeee
{
    H2,
    CH4,
    C2H6,
    C2H4,
    C2H2,
    CO,
    CO2,
};
constexpr int kGasesIeee = 7;

// "H2", "CH4", ... as the results name them; the field of the test that holds the gas.
QString formula(GasIeee gas);
const QString& campoGas(GasIeee gas);

// One sample as the rule reads it: a gas left empty was not measured.
struct MuestraGases
{
    std::array<std::optional<double>, kGasesIeee> gases;
    std::optional<double> o2;
    std::optional<double> n2;
    std::optional<int> edad; // years since manufacture at the test, when known
};

// The test on screen (box texts; an empty box is not measured, any other text reads by the
// numeric value rule) or a stored test row (Null or blank is not measured).
MuestraGases muestraDeTextos(const TextosEnsayo& textos, std::optional<int> edad);
MuestraGases muestraGuardada(const QVariantMap& fila, std::optional<int> edad);

// The transformer's age at the test: the test's year minus `AÑO`. Unknown when `AÑO` is
// empty, not a whole number, or later than the test, or when the test has no valid date.
// `fecha` is a date or its YYYY-MM-DD (or DD/MM/YYYY) text.
std::optional<int> edadAlEnsayo(const QVariant& anio, const QVariant& fecha);

struct NivelesGas
{
    int estado = 0; // the worst gas: 1, 2 or 3; 0 when no gas was measured
    // Per measured gas, in the order of GasIeee: the gas and its status.
    QList<std::pair<GasIeee, int>> gases;
    bool oxigenoBajo = false; // the O2/N2 <= 0.2 columns were used
    std::optional<int> edad;

    // Some gas lies above the 95th percentile: the test gets the level observation.
    bool elevada() const { return estado == 3; }
    // "O2/N2<=0.2" or "O2/N2>0.2".
    QString columna() const;
};

// The levels of one sample. 1: at or below Table 1; 2: above Table 1 and at or below Table 2;
// 3: above Table 2.
NivelesGas evaluarNiveles(const MuestraGases& muestra);

// The limits of one gas for one sample: {Table 1, Table 2}.
std::pair<double, double> limites(GasIeee gas, bool oxigenoBajo, std::optional<int> edad);

// " Gases: Concentración elevada (IEEE C57.104-2019)", the observation of a sample with a gas
// above Table 2.
QString textoConcentracionElevada();

} // namespace diagnostico::ieee
