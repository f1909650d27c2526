#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace diagnostico {

// Box texts of the test on screen, by field name of the data model.
using TextosEnsayo = QHash<QString, QString>;

// The nine gases in the order of the test form, and the six that burn.
const QStringList& camposGases();
const QStringList& camposCombustibles();
// The furan compounds summed into `Total` and the PCB components summed into `TOTAL PCB`.
const QStringList& camposFuranos();
const QStringList& camposPcb();

// Sum of the numeric values of the given boxes; nothing when the sum overflows, in which
// case the total box keeps what it had.
std::optional<double> sumaCampos(const TextosEnsayo& textos, const QStringList& campos);

struct TotalesGas
{
    std::optional<double> totalGas;         // `Total Gas`: all nine gases
    std::optional<double> totalCombustible; // `Total combustible`: H2, CH4, CO, C2H6, C2H4, C2H2
};
TotalesGas totalesGas(const TextosEnsayo& textos);

// Polarization index of one pair of insulation readings: the 10-minute reading over the
// 1-minute one, as text with two decimals and a point. Empty when either reading is empty or
// "0", or when the 1-minute reading is worth 0 in any other spelling ("0.0"), which would
// otherwise divide by zero.
QString indicePolarizacion(const QString& unMinuto, const QString& diezMinutos);

} // namespace diagnostico
