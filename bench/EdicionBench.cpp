// Timings of the editing commands on a copy of the large plant: what the user waits for after
// pressing "&Agregar" (the views are re-read whole) and "&Guardar" of a new transformer, and
// after adding and saving an inspection and deleting it again.
//
//   quorvela-edicion-bench DIR [RUNS]   copies DIR/trafos.mdb (made first when missing) and
//                                       works on the copy, so the plant stays as it was
#include "app/logic/RunState.h"
#include "records/logic/DataViews.h"
#include "records/ui/EdicionRegistros.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/PaginaRevision.h"
#include "records/ui/PaginaTrafos.h"
#include "records/ui/Trafo.h"
#include "utilities/logic/Mensajes.h"

#include "bench/BenchSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

using namespace bench;

namespace {

template <typename F> double medir(F&& f)
{
    QElapsedTimer t;
    t.start();
    f();
    QApplication::processEvents();
    return msSince(t);
}

} // namespace

int main(int argc, char** argv)
{
    sinPantalla();
    QApplication app(argc, argv);
    const QStringList args = argumentos("uso: quorvela-edicion-bench CARPETA [VECES]");
    const int veces = args.size() > 2 ? std::max(1, args.at(2).toInt()) : 5;
    ensurePlant(args.at(1));
    QTemporaryDir copia;
    if (!QFile::copy(RunState::rutaBaseDe(args.at(1)), RunState::rutaBaseDe(copia.path())))
        fail(QStringLiteral("no se pudo copiar la planta"));

    RunState estado;
    DataViews vistas(estado);
    SinMensajes mensajes; // answers Yes to the deletions, as a user confirming them
    Trafo trafo(estado, vistas, mensajes);
    if (const Status st = vistas.openAll(RunState::rutaBaseDe(copia.path()), false); !st)
        fail(st.error());
    trafo.alinear();
    trafo.resize(1366, 768);
    trafo.show();
    app.processEvents();

    EdicionRegistros& edicion = *trafo.edicion();
    std::vector<double> agregar, guardar, eliminar, agregarRevision, guardarRevision, eliminarRevision;
    for (int i = 0; i < veces; ++i) {
        agregar.push_back(medir([&] { edicion.agregarTrafo(); }));
        auto* area = qobject_cast<QLineEdit*>(trafo.paginaTrafos()->enlace()->caja(QStringLiteral("AREA")));
        area->setText(QStringLiteral("BANCO DE PRUEBAS"));
        guardar.push_back(medir([&] { edicion.guardarTrafo(); }));
        if (trafo.edicion()->editandoTrafo())
            fail(QStringLiteral("el transformador nuevo no se guardó"));

        agregarRevision.push_back(medir([&] { edicion.agregar(Alineacion::Vista::Revision); }));
        trafo.paginaRevision()
            ->enlace()
            ->caja(QStringLiteral("FECHA"))
            ->setProperty("text", QStringLiteral("06/12/2026"));
        guardarRevision.push_back(medir([&] { edicion.guardar(Alineacion::Vista::Revision); }));
        eliminarRevision.push_back(medir([&] { edicion.eliminar(Alineacion::Vista::Revision); }));
        eliminar.push_back(medir([&] { edicion.eliminarTrafo(); }));
    }

    std::printf("transformadores: %d, revisiones: %d (%d veces, mediana / max)\n", vistas.Data1.recordCount(),
                vistas.Data2.recordCount(), veces);
    const struct
    {
        const char* nombre;
        const std::vector<double>& t;
    } filas[] = {{"Agregar transformador (re-lee todas las vistas)", agregar},
                 {"Guardar transformador nuevo (alineación y lista)", guardar},
                 {"Agregar revisión", agregarRevision},
                 {"Guardar revisión nueva", guardarRevision},
                 {"Eliminar revisión", eliminarRevision},
                 {"Eliminar transformador (re-lee las cuatro vistas)", eliminar}};
    for (const auto& f : filas)
        std::printf("%-52s %8.1f ms %8.1f ms\n", f.nombre, median(f.t),
                    *std::max_element(f.t.begin(), f.t.end()));
    std::printf("memoria: pico VmHWM %ld kB\n", statusKb("VmHWM"));
    return 0;
}
