// Pictures of the print preview of every report button, for looking at the reports as the
// program shows them (run under xvfb-run):
//   quorvela-capturas-informes DIR SALIDA   opens DIR's data file as the program does, presses each
//                                           report button and saves the preview as SALIDA/<informe>.png
#include "app/logic/RunState.h"
#include "app/ui/Composicion.h"
#include "bench/BenchSupport.h"
#include "bench/VentanaAbierta.h"
#include "data/logic/Database.h"
#include "records/logic/DataViews.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaMantenimiento.h"
#include "records/ui/PaginaPrioridades.h"
#include "records/ui/PaginaRevision.h"
#include "records/ui/PaginaTrafos.h"
#include "records/ui/Trafo.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QStringList args = bench::argumentos("uso: quorvela-capturas-informes CARPETA SALIDA");
    if (args.size() < 3)
        bench::fail(QStringLiteral("uso: quorvela-capturas-informes CARPETA SALIDA"));
    RunState estado;
    estado.RutaPrograma = QCoreApplication::applicationDirPath() + QStringLiteral("/../app");
    estado.apuntarDatos(args.at(1));
    DataViews vistas(estado);
    bench::SinMensajes mensajes;
    VentanaCompuesta v = componerVentana(estado, vistas, mensajes, [] { return QDate::currentDate(); });
    bench::abrirVistas(*v.trafo, vistas, Database::rutaEn(args.at(1)), true);
    bench::mostrarVentana(*v.trafo);
    QDir().mkpath(args.at(2));

    // Saves the preview once it shows, then closes it.
    auto capturar = [&](const QString& nombre, const std::function<void()>& pulsar) {
        QTimer::singleShot(400, [&, nombre] {
            auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialogo)
                bench::fail(QStringLiteral("no se abrió la vista previa de ") + nombre);
            dialogo->resize(1100, 850);
            // A long report's preview counts its pages once the first shows.
            QTest::qWait(1500);
            if (!dialogo->grab().save(QDir(args.at(2)).filePath(nombre + QStringLiteral(".png"))))
                bench::fail(QStringLiteral("no se pudo guardar ") + nombre);
            dialogo->reject();
        });
        pulsar();
        QTest::qWait(100);
    };
    Trafo& t = *v.trafo;
    PaginaTrafos* trafos = t.paginaTrafos();
    const char* eleccion[] = {"trafos2", "trafos3", "trafos"};
    for (int i = 0; i < 3; ++i) {
        t.tabs()->setCurrentWidget(trafos);
        trafos->botonInforme()->click();
        trafos->opcionInforme(i)->click();
        capturar(QString::fromLatin1(eleccion[i]), [&] { trafos->aceptarInforme()->click(); });
    }
    capturar(QStringLiteral("accesorios"),
             [&] { trafos->findChild<QPushButton*>(QStringLiteral("Command35"))->click(); });
    const QList<std::pair<QString, std::pair<QWidget*, QPushButton*>>> botones = {
        {QStringLiteral("revision"), {t.paginaRevision(), t.paginaRevision()->botonInforme()}},
        {QStringLiteral("ensayos"), {t.paginaEnsayos(), t.paginaEnsayos()->botonInforme()}},
        {QStringLiteral("mantenimiento"), {t.paginaMantenimiento(), t.paginaMantenimiento()->botonInforme()}},
        {QStringLiteral("prioridades"), {t.paginaPrioridades(), t.paginaPrioridades()->botonImprimir()}},
    };
    for (const auto& [nombre, pagina] : botones) {
        t.tabs()->setCurrentWidget(pagina.first);
        QTest::qWait(100);
        capturar(nombre, [boton = pagina.second] { boton->click(); });
    }
    return 0;
}
