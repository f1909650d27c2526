// Timings of the main window on a large plant: building it and opening and aligning its views,
// and one step of the transformer view with the whole alignment (dated views, list, boxes).
//
//   quorvela-alineacion-bench DIR [STEPS]   uses DIR/trafos.mdb, making a 10,000-transformer
//                                           plant first when there is none
#include "app/logic/RunState.h"
#include "data/logic/DemoPlant.h"
#include "records/logic/DataViews.h"
#include "records/ui/BarraNavegacion.h"
#include "records/ui/PaginaTrafos.h"
#include "records/ui/Trafo.h"

#include "bench/BenchSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QToolButton>
#include <algorithm>

#include <cstdio>
#include <vector>

using namespace bench;

namespace {

double percentil(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto i = static_cast<std::size_t>(p * double(values.size() - 1) + 0.5);
    return values[std::min(i, values.size() - 1)];
}

} // namespace

int main(int argc, char** argv)
{
    sinPantalla();
    QApplication app(argc, argv);
    const QStringList args = argumentos("uso: quorvela-alineacion-bench CARPETA [PASOS]");
    const QString folder = args.at(1);
    const int pasos = args.size() > 2 ? std::max(1, args.at(2).toInt()) : 100;
    bench::ensurePlant(folder);

    QElapsedTimer inicio;
    inicio.start();
    RunState estado;
    DataViews vistas(estado);
    bench::SinMensajes mensajes;
    Trafo trafo(estado, vistas, mensajes);
    if (const Status st = vistas.openAll(RunState::rutaBaseDe(folder), false); !st)
        fail(st.error());
    trafo.alinear();
    trafo.resize(1366, 768);
    trafo.show();
    app.processEvents();
    const double abrir = msSince(inicio);

    // The user's step: the bar's next button, then the repaint of the window.
    QToolButton* siguiente = trafo.paginaTrafos()->barra()->boton(BarraNavegacion::Siguiente);
    std::vector<double> tiempos;
    for (int i = 0; i < pasos; ++i) {
        QElapsedTimer t;
        t.start();
        siguiente->click();
        trafo.repaint();
        tiempos.push_back(msSince(t));
    }

    std::printf("transformadores: %d\n", vistas.Data1.recordCount());
    std::printf("ventana construida, vistas abiertas y alineadas: %.1f ms\n", abrir);
    std::printf("paso de la vista de transformadores (%d pasos): mediana %.2f ms, p90 %.2f ms, max %.2f ms\n",
                pasos, percentil(tiempos, 0.5), percentil(tiempos, 0.9), percentil(tiempos, 1.0));
    std::printf("memoria: VmRSS %ld kB, pico VmHWM %ld kB\n", statusKb("VmRSS"), statusKb("VmHWM"));
    return 0;
}
