#pragma once

#include "data/logic/Result.h"

#include <QString>

// Makes data files to look at and to measure with: a small realistic demo plant whose
// tests between them set off every observation rule, every gas-method fault and all four
// states, and large generated plants for the benchmarks.
namespace demo {

struct PlantSize
{
    int transformers = 10000;
    int testsPerTransformer = 10;
    int inspectionsPerTransformer = 10;
    int maintenancePerTransformer = 10;
    quint32 seed = 1;
};

// A new trafos.mdb in folder holding the demo plant. Refuses an existing file.
Status createDemo(const QString& folder);
// A new trafos.mdb in folder holding a generated plant of the given size.
Status createLarge(const QString& folder, const PlantSize& size);

} // namespace demo
