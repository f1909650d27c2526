#include "app/ui/Composicion.h"

#include "diagnosis/ui/Semaforo.h"
#include "diagnosis/ui/VentanasMetodo.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/Trafo.h"
#include "utilities/ui/Cal.h"

VentanaCompuesta componerVentana(RunState& estado, DataViews& vistas, Mensajes& mensajes,
                                 std::function<QDate()> hoy)
{
    VentanaCompuesta v;
    v.trafo = std::make_unique<Trafo>(estado, vistas, mensajes);
    PaginaEnsayos* ensayos = v.trafo->paginaEnsayos();
    ensayos->setSemaforo(new Semaforo);

    v.metodos = new VentanasMetodo([ensayos] { return ensayos->ensayoGases(); }, v.trafo.get());
    QObject::connect(ensayos, &PaginaEnsayos::metodoPedido, v.metodos, &VentanasMetodo::pedir);
    QObject::connect(ensayos, &PaginaEnsayos::ensayoEvaluado, v.metodos, &VentanasMetodo::recalcular);

    // The day picked in the calendar window is shared by every date box of the window.
    auto eleccion = std::make_shared<EleccionFecha>();
    v.trafo->setHoy(hoy);
    v.trafo->setSelectorFecha([eleccion, hoy = std::move(hoy)](QWidget* parent, const QDate& enCaja) {
        return Cal::elegirFecha(*eleccion, hoy, parent, enCaja);
    });
    return v;
}
