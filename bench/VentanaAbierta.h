// The main window of the screenshot programs, opened as the program opens it at start-up.
#pragma once

#include "app/ui/Composicion.h"
#include "bench/BenchSupport.h"
#include "data/logic/Database.h"
#include "records/logic/DataViews.h"
#include "records/ui/Trafo.h"

#include <QTest>

namespace bench {

// The data file opened in every view, the state shown and the views aligned.
inline void abrirVistas(Trafo& trafo, DataViews& vistas, const QString& rutaBase, bool soloLectura)
{
    if (const Status st = vistas.openAll(rutaBase, soloLectura); !st)
        fail(st.error());
    trafo.mostrarEstado();
    trafo.alinear();
}

// The window at the screen's top left, at the size every screenshot uses, settled.
inline void mostrarVentana(Trafo& trafo)
{
    trafo.setGeometry(0, 0, 1366, 768);
    trafo.show();
    QTest::qWait(300);
}

} // namespace bench
