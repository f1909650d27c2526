#include "app/ui/Composicion.h"

#include "app/CamposInforme.h"
#include "diagnosis/ui/Semaforo.h"
#include "diagnosis/ui/VentanasMetodo.h"
#include "graphs/ui/Graficos.h"
#include "graphs/ui/PanelGrafico.h"
#include "records/logic/DataViews.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaMantenimiento.h"
#include "records/ui/PaginaPrioridades.h"
#include "records/ui/PaginaRevision.h"
#include "records/ui/PaginaTrafos.h"
#include "records/ui/Trafo.h"
#include "search/ui/VistaPreviaInforme.h"
#include "utilities/logic/Mensajes.h"
#include "utilities/ui/Cal.h"

#include <QVBoxLayout>

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

    // The trend graphs go into the GRÁFICOS sub-tabs of the three dated tabs.
    v.graficos = new Graficos(vistas.Data1, {&vistas.Data2, &vistas.Data3, &vistas.Data4}, v.trafo.get());
    const std::array<PaginaFechada*, 3> paginas = {v.trafo->paginaRevision(), v.trafo->paginaEnsayos(),
                                                   v.trafo->paginaMantenimiento()};
    for (int g = 0; g < 3; ++g) {
        auto* dentro = new QVBoxLayout(paginas[size_t(g)]->contenedorGraficos());
        dentro->setContentsMargins(0, 0, 0, 0);
        dentro->addWidget(v.graficos->panel(g));
    }
    QObject::connect(v.trafo.get(), &Trafo::saliendo, v.graficos, &Graficos::cerrarVentanas);
    QObject::connect(v.graficos, &Graficos::fallo, v.trafo.get(),
                     [&mensajes](const QString& texto) { mensajes.error(texto); });

    // The report buttons: each tab's report with the transformer formula and its date formula.
    using informe::SegundaFormula;
    v.informes = new informe::ImpresionInformes(estado, mensajes, calculadorInformes(), v.trafo.get());
    auto* informes = v.informes;
    auto conectar = [informes](auto* pagina, auto senal, const QString& archivo, SegundaFormula segunda) {
        QObject::connect(pagina, senal, informes,
                         [informes, archivo, segunda] { informes->imprimir(archivo, segunda); });
    };
    conectar(v.trafo->paginaTrafos(), &PaginaTrafos::informeAccesoriosPedido,
             QStringLiteral("accesorios.rpt"), SegundaFormula::Ninguna);
    QObject::connect(
        v.trafo->paginaTrafos(), &PaginaTrafos::informePedido, informes, [informes](int eleccion) {
            static const QStringList archivos = {QStringLiteral("trafos2.rpt"), QStringLiteral("trafos3.rpt"),
                                                 QStringLiteral("trafos.rpt")};
            informes->imprimir(archivos.value(eleccion, archivos.first()), SegundaFormula::Ninguna);
        });
    conectar(v.trafo->paginaRevision(), &PaginaFechada::informePedido, QStringLiteral("revision.rpt"),
             SegundaFormula::Revision);
    conectar(v.trafo->paginaEnsayos(), &PaginaFechada::informePedido, QStringLiteral("ensayos.rpt"),
             SegundaFormula::Ensayos);
    conectar(v.trafo->paginaMantenimiento(), &PaginaFechada::informePedido,
             QStringLiteral("mantenimiento.rpt"), SegundaFormula::Mantenimiento);
    // The priority list prints with the maintenance date formula, as the program always handed it.
    conectar(v.trafo->paginaPrioridades(), &PaginaPrioridades::informePedido,
             QStringLiteral("prioridades.rpt"), SegundaFormula::Mantenimiento);

    // The day picked in the calendar window is shared by every date box of the window.
    auto eleccion = std::make_shared<EleccionFecha>();
    v.trafo->setHoy(hoy);
    v.trafo->setSelectorFecha([eleccion, hoy = std::move(hoy)](QWidget* parent, const QDate& enCaja) {
        return Cal::elegirFecha(*eleccion, hoy, parent, enCaja);
    });
    return v;
}
