#pragma once

#include "data/logic/Result.h"

#include <QString>
#include <functional>

class Database;

// Makes data files to look at and to measure with: a small realistic demo plant whose
// tests between them set off every observation rule, every gas-method fault and all four
// states, and large generated plants for the benchmarks.
namespace demo {

// Bounds of a generated plant: transformer codes are 16-bit, and up to a thousand records of
// each kind per transformer keep a full plant within some tens of millions of rows and its
// dates within the calendar.
inline constexpr int kMaxTransformadores = 32767;
inline constexpr int kMaxPorTransformador = 1000;

struct PlantSize
{
    int transformers = 10000;
    int testsPerTransformer = 10;
    int inspectionsPerTransformer = 10;
    int maintenancePerTransformer = 10;
    quint32 seed = 1;
};

// Work done on the finished plant before it takes the data file's name (the command-line
// program stores the diagnosis); its failure fails the creation.
using Remate = std::function<Status(Database&)>;

// A new trafos.mdb in folder (made if missing) holding the demo plant. Refuses an existing
// file. The plant is built under a temporary name in the same folder and renamed when complete,
// so a failure or an interruption never leaves a partial trafos.mdb; a failure also removes
// the temporary file.
Status createDemo(const QString& folder, const Remate& remate = {});
// The same with a generated plant of the given size, refused outside the bounds above.
Status createLarge(const QString& folder, const PlantSize& size, const Remate& remate = {});

} // namespace demo
