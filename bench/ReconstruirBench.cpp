// "RECONSTRUIR" from the window on a large plant: total time, and how often the progress bar
// moves (it must move at least every 100 ms so the user sees the run going on).
//
//   quorvela-reconstruir-bench DIR   works on a copy of DIR/trafos.mdb (made first when missing)
#include "bench/BenchSupport.h"
#include "records/logic/DataViews.h"
#include "records/ui/PaginaPrioridades.h"
#include "records/ui/Trafo.h"
#include "utilities/logic/Mensajes.h"

#include <QApplication>
#include <QProgressBar>
#include <QTemporaryDir>

using namespace bench;

namespace {

// Every message of the run would be a failure: print it instead of waiting for an answer.
class MensajesBench : public Mensajes
{
public:
    Answer show(const QString& text, const QString&, Icon, Buttons, Answer) override
    {
        std::fprintf(stderr, "mensaje: %s\n", text.toUtf8().constData());
        ++count;
        return Answer::Ok;
    }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    QString chooseFile(const QString&, const QString&, const QString&, bool) override { return {}; }
    void setBusy(bool) override {}
    int count = 0;
};

} // namespace

int main(int argc, char** argv)
{
    sinPantalla();
    QApplication app(argc, argv);
    const QStringList args = argumentos("uso: quorvela-reconstruir-bench CARPETA");
    ensurePlant(args.at(1));
    QTemporaryDir copy;
    if (!QFile::copy(RunState::rutaBaseDe(args.at(1)), RunState::rutaBaseDe(copy.path())))
        fail(QStringLiteral("no se pudo copiar la planta"));

    RunState estado;
    DataViews vistas(estado);
    MensajesBench mensajes;
    Trafo trafo(estado, vistas, mensajes);
    if (const Status st = vistas.openAll(RunState::rutaBaseDe(copy.path()), false); !st)
        fail(st.error());
    trafo.alinear();
    trafo.show();
    PaginaPrioridades& pagina = *trafo.paginaPrioridades();
    QProgressBar* barra = pagina.barraProgreso();

    QElapsedTimer reloj;
    std::vector<double> momentos;
    QObject::connect(barra, &QProgressBar::valueChanged, [&](int) { momentos.push_back(msSince(reloj)); });
    reloj.start();
    pagina.reconstruir();
    const double total = msSince(reloj);

    std::vector<double> pausas;
    double anterior = 0, mayor = 0;
    for (double m : momentos) {
        pausas.push_back(m - anterior);
        mayor = std::max(mayor, m - anterior);
        anterior = m;
    }
    pausas.push_back(total - anterior);
    mayor = std::max(mayor, total - anterior);
    std::printf(
        "RECONSTRUIR: %.0f ms en total, %zu movimientos de la barra, pausa mediana %.1f ms, máxima %.1f ms "
        "[objetivo <= 100], mensajes %d\n",
        total, momentos.size(), median(pausas), mayor, mensajes.count);
    std::printf("memoria: pico VmHWM %ld kB\n", statusKb("VmHWM"));
    return mensajes.count == 0 ? 0 : 1;
}
