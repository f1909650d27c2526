#pragma once

#include "data/logic/Result.h"

#include <QStringList>
#include <functional>

class Database;

// The general diagnosis over a whole data file: every transformer of `Trafoge` with its tests,
// newest first, through `diagnosticarTrafo`, and the results written back into `Trafoge`.
// `Ensayos` is only read.
namespace diagnostico {

// Called with the transformers done and the total, at the start, at the end and at least every
// `intervaloProgresoMs` of work in between.
using ProgresoCorrida = std::function<void(int hechos, int total)>;

struct OpcionesCorrida
{
    // Transformers written per transaction: a failure rolls back its whole batch, so every
    // transformer is left either as before or as after the run, and the file is synced once
    // per batch rather than once per row.
    int trafosPorTransaccion = 1000;
    int intervaloProgresoMs = 50;
};

struct ResumenCorrida
{
    int trafos = 0;  // transformers diagnosed and written
    int ensayos = 0; // test rows read
    // Transformers that could not be diagnosed or written: they keep their old values.
    int fallidos = 0;
    QStringList primerosFallidos; // the codes of the first few of them
    QString primerMotivo;         // why the first one failed

    // "No se pudo diagnosticar ..." naming how many failed, the first codes and the first
    // reason; empty when none did.
    QString avisoFallidos() const;
};

// Runs the diagnosis over the open file. Refuses a file that cannot be written before touching
// anything. A transformer whose tests cannot be read or whose row refuses the write keeps its
// old values and the run goes on; the summary counts them. A failure that takes the whole
// batch with it (the disk full, the file gone) stops the run, rolls back the batch in progress
// and says which transformer it was on (the batches already written stay).
Result<ResumenCorrida> diagnosticarArchivo(Database& db, const ProgresoCorrida& progreso = {},
                                           const OpcionesCorrida& opciones = {});

} // namespace diagnostico
