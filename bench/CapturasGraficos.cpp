// Pictures of the trend graphs, for looking at them (under xvfb-run, so that 3D bars draw):
//   quorvela-capturas-graficos DIR SALIDA CÓDIGO   opens DIR's data file as the program does, goes
//                                  to transformer CÓDIGO and saves into SALIDA each GRÁFICOS sub-tab
//                                  in 2D and 3D, the window Grafo, the gas dialog and a printed
//                                  page of the tests graph (PDF).
#include "app/logic/RunState.h"
#include "app/ui/Composicion.h"
#include "bench/BenchSupport.h"
#include "bench/VentanaAbierta.h"
#include "data/logic/Database.h"
#include "graphs/ui/Dialog.h"
#include "graphs/ui/Graficos.h"
#include "graphs/ui/Grafo.h"
#include "graphs/ui/PanelGrafico.h"
#include "records/logic/DataViews.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaMantenimiento.h"
#include "records/ui/PaginaRevision.h"
#include "records/ui/Trafo.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QStringList args = bench::argumentos("uso: quorvela-capturas-graficos CARPETA SALIDA CÓDIGO");
    if (args.size() < 4)
        bench::fail(QStringLiteral("uso: quorvela-capturas-graficos CARPETA SALIDA CÓDIGO"));
    const QDir salida(args.at(2));
    QDir().mkpath(salida.path());
    RunState estado;
    estado.apuntarDatos(args.at(1));
    DataViews vistas(estado);
    bench::SinMensajes mensajes;
    VentanaCompuesta v = componerVentana(estado, vistas, mensajes, [] { return QDate::currentDate(); });
    v.graficos->nombrarArchivos(salida.path());
    bench::abrirVistas(*v.trafo, vistas, Database::rutaEn(args.at(1)), false);
    const Result<bool> hallado = vistas.Data1.findFirst(QStringLiteral("[código]=%1").arg(args.at(3)));
    if (!hallado.ok() || !hallado.value())
        bench::fail(QStringLiteral("no existe el transformador ") + args.at(3));
    bench::mostrarVentana(*v.trafo);

    // The screen, not grab(): OpenGL windows are blank in a widget's own picture.
    auto guardar = [&](QWidget* ventana, const QString& nombre) {
        QTest::qWait(400);
        const QRect r = ventana->frameGeometry();
        const QPixmap p =
            QGuiApplication::primaryScreen()->grabWindow(0, r.x(), r.y(), r.width(), r.height());
        if (!p.save(salida.filePath(nombre + QStringLiteral(".png"))))
            bench::fail(QStringLiteral("no se pudo guardar ") + nombre);
    };
    const std::array<PaginaFechada*, 3> paginas = {v.trafo->paginaRevision(), v.trafo->paginaEnsayos(),
                                                   v.trafo->paginaMantenimiento()};
    const char* nombres[] = {"REVISION", "ENSAYOS", "MANTENIMIENTO"};
    for (int g = 0; g < 3; ++g) {
        v.trafo->tabs()->setCurrentWidget(paginas[size_t(g)]);
        paginas[size_t(g)]->subtabs()->setCurrentIndex(2);
        v.graficos->setTresD(g, false);
        guardar(v.trafo.get(), QStringLiteral("%1-2D").arg(QString::fromLatin1(nombres[g])));
        v.graficos->setTresD(g, true);
        guardar(v.trafo.get(), QStringLiteral("%1-3D").arg(QString::fromLatin1(nombres[g])));
    }
    v.graficos->setTresD(1, false);

    // The tests graph enlarged, then in 3D as well.
    v.graficos->abrirAmpliado(1);
    Grafo* grafo = v.graficos->grafo();
    grafo->setGeometry(40, 40, 1000, 650);
    QTest::qWait(300);
    v.graficos->dibujarAmpliado();
    guardar(grafo, QStringLiteral("Grafo"));
    v.graficos->abrirAmpliado(2);
    v.graficos->setTresD(2, true);
    v.graficos->dibujarAmpliado();
    guardar(grafo, QStringLiteral("Grafo-mantenimiento-3D"));

    // A printed page of the tests graph and of the enlarged window, as PDF.
    int pagina = 0;
    v.graficos->setImpresion([&](QPrinter& printer, const std::function<void(QPrinter*)>& pintar) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(salida.filePath(QStringLiteral("impresion-%1.pdf").arg(++pagina)));
        pintar(&printer);
    });
    if (const Status st = v.graficos->imprimir(1); !st)
        bench::fail(st.error());
    if (const Status st = v.graficos->imprimirAmpliado(); !st)
        bench::fail(st.error());
    grafo->close();

    // The gas dialog with two gases ticked.
    v.trafo->tabs()->setCurrentWidget(paginas[1]);
    v.graficos->panel(1)->opcion(6)->setChecked(true);
    Dialog* dialogo = v.graficos->dialogo();
    dialogo->gas(0)->setChecked(true);
    dialogo->gas(3)->setChecked(true);
    dialogo->move(200, 200);
    guardar(dialogo, QStringLiteral("Dialog"));
    dialogo->aceptar()->click();
    v.graficos->redibujar(1);
    guardar(v.trafo.get(), QStringLiteral("ENSAYOS-gases"));

    v.trafo->setTerminar([] {});
    v.trafo->Salir();
    return 0;
}
