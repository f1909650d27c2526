// Timings of the priority list on a large plant: filling the list after its query runs again,
// scrolling from top to bottom a page at a time with a repaint of each page, and the memory
// the list adds to the open views.
//
//   quorvela-lista-bench DIR [RUNS]   uses DIR/trafos.mdb, making a 10,000-transformer plant first
//                                     when there is none
#include "app/logic/RunState.h"
#include "data/logic/DemoPlant.h"
#include "records/logic/DataViews.h"
#include "records/logic/ModeloPrioridades.h"
#include "records/ui/ListaTrafos.h"
#include "records/ui/PaginaPrioridades.h"

#include "bench/BenchSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <algorithm>

#include <cstdio>
#include <ctime>
#include <vector>

using namespace bench;

int main(int argc, char** argv)
{
    sinPantalla();
    QApplication app(argc, argv);
    const QStringList args = argumentos("uso: quorvela-lista-bench CARPETA [CORRIDAS]");
    const QString folder = args.at(1);
    const int runs = args.size() > 2 ? std::max(1, args.at(2).toInt()) : 5;
    bench::ensurePlant(folder);

    RunState estado;
    DataViews vistas(estado);
    if (const Status st = vistas.openAll(RunState::rutaBaseDe(folder), true); !st)
        fail(st.error());
    const int filas = vistas.Ado1.recordCount();
    app.processEvents();
    const long rssAntes = statusKb("VmRSS");

    bench::SinMensajes mensajes;
    PaginaPrioridades pagina(estado, vistas, mensajes);
    pagina.resize(1000, 580);
    pagina.show();
    app.processEvents();
    ListaTrafos* lista = pagina.lista();
    QWidget* viewport = lista->viewport();

    // Filling: the query runs again, the model starts over and the first page is painted.
    std::vector<double> llenado;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        if (const Status st = vistas.Ado1.requery(); !st)
            fail(st.error());
        viewport->repaint();
        llenado.push_back(msSince(t));
    }

    // Scrolling: from the top to the bottom, one page and one repaint at a time.
    std::vector<double> porPagina;
    std::vector<double> cpuPorPagina;
    std::vector<double> recorridos;
    int paginas = 0;
    for (int i = 0; i < runs; ++i) {
        QScrollBar* barra = lista->verticalScrollBar();
        barra->setValue(0);
        viewport->repaint();
        QElapsedTimer total;
        total.start();
        paginas = 0;
        while (barra->value() < barra->maximum()) {
            QElapsedTimer t;
            t.start();
            const double cpu0 = cpuMs();
            barra->setValue(barra->value() + barra->pageStep());
            viewport->repaint();
            porPagina.push_back(msSince(t));
            cpuPorPagina.push_back(cpuMs() - cpu0);
            ++paginas;
        }
        recorridos.push_back(msSince(total));
    }
    // The painting alone: the same page again, its values already read.
    std::vector<double> repintado;
    for (int i = 0; i < 50; ++i) {
        QElapsedTimer t;
        t.start();
        viewport->repaint();
        repintado.push_back(msSince(t));
    }
    app.processEvents();
    const long rssDespues = statusKb("VmRSS");

    std::printf("filas en la lista: %d (%d por página, %d páginas)\n", filas,
                lista->viewport()->height() / std::max(1, lista->tamanoFila().height()), paginas);
    std::printf(
        "llenado tras re-ejecutar la consulta: mediana %.2f ms (mín %.2f, máx %.2f) [objetivo <= 100]\n",
        median(llenado), *std::min_element(llenado.begin(), llenado.end()),
        *std::max_element(llenado.begin(), llenado.end()));
    std::printf("desplazamiento por página con repintado: mediana %.3f ms, máx %.3f ms [objetivo <= 5]\n",
                median(porPagina), *std::max_element(porPagina.begin(), porPagina.end()));
    std::vector<double> ordenadas = porPagina;
    std::sort(ordenadas.begin(), ordenadas.end());
    const auto percentil = [&](double p) { return ordenadas[std::size_t(p * (ordenadas.size() - 1))]; };
    const long lentas = std::count_if(ordenadas.begin(), ordenadas.end(), [](double ms) { return ms > 5; });
    std::printf("  percentiles 90/99: %.3f / %.3f ms; páginas de más de 5 ms: %ld de %zu\n", percentil(0.9),
                percentil(0.99), lentas, ordenadas.size());
    const long cpuLentas =
        std::count_if(cpuPorPagina.begin(), cpuPorPagina.end(), [](double ms) { return ms > 5; });
    std::printf("  tiempo de CPU del hilo por página: mediana %.3f ms, máx %.3f ms; de más de 5 ms: %ld\n",
                median(cpuPorPagina), *std::max_element(cpuPorPagina.begin(), cpuPorPagina.end()), cpuLentas);
    std::printf("  de ello, repintar una página ya leída: mediana %.3f ms\n", median(repintado));
    std::printf("recorrido completo de arriba abajo: mediana %.1f ms\n", median(recorridos));
    std::printf("memoria agregada por la lista: %.1f MB (RSS %ld -> %ld kB, pico %ld kB) [objetivo <= 20]\n",
                (rssDespues - rssAntes) / 1024.0, rssAntes, rssDespues, statusKb("VmHWM"));
    std::printf("filas en la caché de Ado1: %d\n", vistas.Ado1.cachedRowCount());
    return 0;
}
