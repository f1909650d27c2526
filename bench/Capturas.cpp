// Pictures of the main window's tabs, for looking at what the program shows:
//   quorvela-capturas DIR SALIDA [CÓDIGO [LÍNEA...]]   opens DIR's data file as the program does and
//                                  saves one PNG per tab (and the ENSAYOS diagnosis sub-tab, with Duval's
//                                  triangle and pentagon) into SALIDA, on transformer CÓDIGO when given;
//                                  condition LÍNEAs are searched on BUSCAR and sub-grouped.
#include "app/logic/RunState.h"
#include "app/ui/Composicion.h"
#include "bench/BenchSupport.h"
#include "bench/VentanaAbierta.h"
#include "data/logic/Database.h"
#include "diagnosis/ui/VentanasMetodo.h"
#include "records/logic/DataViews.h"
#include "records/ui/PaginaBuscar.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/Trafo.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTest>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QStringList args = bench::argumentos("uso: quorvela-capturas CARPETA SALIDA");
    if (args.size() < 3)
        bench::fail(QStringLiteral("uso: quorvela-capturas CARPETA SALIDA"));
    RunState estado;
    estado.apuntarDatos(args.at(1));
    DataViews vistas(estado);
    bench::SinMensajes mensajes;
    VentanaCompuesta v = componerVentana(estado, vistas, mensajes, [] { return QDate::currentDate(); });
    bench::abrirVistas(*v.trafo, vistas, Database::rutaEn(args.at(1)), false);
    if (args.size() > 3) {
        const Result<bool> hallado = vistas.Data1.findFirst(QStringLiteral("[código]=%1").arg(args.at(3)));
        if (!hallado.ok() || !hallado.value())
            bench::fail(QStringLiteral("no existe el transformador ") + args.at(3));
        // Its newest test, the one the diagnosis judges.
        static_cast<void>(vistas.Data3.findLast(QString::fromUtf8("[Código]=%1").arg(args.at(3))));
    }
    bench::mostrarVentana(*v.trafo);
    QDir().mkpath(args.at(2));
    auto guardar = [&](const QString& nombre) {
        QTest::qWait(200);
        if (!v.trafo->grab().save(QDir(args.at(2)).filePath(nombre + QStringLiteral(".png"))))
            bench::fail(QStringLiteral("no se pudo guardar ") + nombre);
    };
    if (args.size() > 4) {
        PaginaBuscar* buscar = v.trafo->paginaBuscar();
        buscar->setLineas(args.mid(4));
        buscar->subAgrupar();
        buscar->buscarPrimero();
        buscar->buscarSiguiente();
    }
    for (int i = 0; i <= 5; ++i) {
        v.trafo->tabs()->setCurrentIndex(i);
        guardar(QStringLiteral("%1-%2").arg(i).arg(v.trafo->tabs()->tabText(i).remove(QLatin1Char('&'))));
    }
    v.trafo->tabs()->setCurrentWidget(v.trafo->paginaEnsayos());
    QTabWidget* detalle = v.trafo->paginaEnsayos()->detalle();
    detalle->setCurrentIndex(detalle->count() - 1);
    guardar(QStringLiteral("3-ENSAYOS-DIAGNOSTICO"));
    v.trafo->paginaEnsayos()->subtabs()->setCurrentIndex(v.trafo->paginaEnsayos()->subtabs()->count() - 1);
    guardar(QStringLiteral("3-ENSAYOS-CALENDARIO"));
    v.trafo->paginaEnsayos()->subtabs()->setCurrentIndex(0);
    for (const auto& [figura, nombre] : {std::pair(DibujoDuval::Figura::Triangulo, "Duval-triangulo"),
                                         std::pair(DibujoDuval::Figura::Pentagono, "Duval-pentagono")}) {
        VentanaDuval* ventana = v.metodos->abrirDuval(figura);
        QTest::qWait(200);
        if (!ventana->grab().save(
                QDir(args.at(2)).filePath(QString::fromLatin1(nombre) + QStringLiteral(".png"))))
            bench::fail(QStringLiteral("no se pudo guardar ") + QString::fromLatin1(nombre));
    }
    v.trafo->setTerminar([] {});
    v.trafo->Salir();
    return 0;
}
