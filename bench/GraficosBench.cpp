// Timings of the trend graphs on a large plant where one transformer has 100 more tests: one
// "Redibujar" of each graph, the enlarged window opened and drawn, a step of the transformer
// view with the GRÁFICOS sub-tab on screen, and the memory after drawing in 2D and 3D (3D
// needs an X server: run under xvfb-run with QT_QPA_PLATFORM=xcb).
//
//   quorvela-graficos-bench DIR [RUNS]   uses DIR/trafos.mdb, making a 10,000-transformer
//                                        plant first when there is none, then adds the tests
#include "app/logic/RunState.h"
#include "app/ui/Composicion.h"
#include "data/logic/Database.h"
#include "graphs/ui/Graficos.h"
#include "graphs/ui/Grafo.h"
#include "graphs/ui/LienzoGrafico.h"
#include "graphs/ui/PanelGrafico.h"
#include "records/logic/DataViews.h"
#include "records/ui/BarraNavegacion.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaMantenimiento.h"
#include "records/ui/PaginaRevision.h"
#include "records/ui/PaginaTrafos.h"
#include "records/ui/Trafo.h"

#include "bench/BenchSupport.h"

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

using namespace bench;

namespace {

constexpr int kCodigo = 4242;

// The transformer of the measure, with 100 tests added after every other row of the table.
void prepararTrafo(const QString& folder)
{
    auto db = Database::open(RunState::rutaBaseDe(folder));
    if (!db)
        fail(db.error());
    Database& d = *db.value();
    auto hay =
        Statement::prepare(d, QStringLiteral("SELECT COUNT(*) FROM Ensayos WHERE \"Código\" = ?"), {kCodigo});
    if (!hay || !hay.value().step() || hay.value().int64(0) >= 100)
        return;
    const Status t =
        d.exec(QString::fromUtf8("INSERT OR IGNORE INTO Trafoge (\"CÓDIGO\", \"DENOMINACIÓN\", MARCA, "
                                 "\"NRO DE SERIE\") VALUES (%1, 'Banco', 'Tadeo', 'B-1')")
                   .arg(kCodigo));
    if (!t)
        fail(t.error());
    QString sql = QString::fromUtf8("INSERT INTO Ensayos (\"Código\", Fecha, Acidez, Diel, \"Hidrógeno\", "
                                    "\"Metano\", \"Total Gas\") VALUES ");
    for (int i = 0; i < 100; ++i)
        sql += QStringLiteral("%1(%2, '%3', %4, %5, %6, %7, %8)")
                   .arg(i ? QStringLiteral(", ") : QString())
                   .arg(kCodigo)
                   .arg(QDate(2000, 1, 1).addDays(i * 60).toString(Qt::ISODate))
                   .arg(0.01 * (i + 1))
                   .arg(30 + i % 20)
                   .arg(10 + i)
                   .arg(5 + i % 7)
                   .arg(500 + i);
    if (const Status st = d.exec(sql); !st)
        fail(st.error());
    for (const char* tabla : {"Revision", "Mantenimiento"}) {
        const bool rev = QByteArray(tabla) == "Revision";
        QString s =
            QString::fromUtf8(rev ? "INSERT INTO Revision (\"CÓDIGO\", FECHA, \"PRIM / SEC A TIERRA 1'\", "
                                    "\"PORCENTAJE OXÍGENO\") VALUES "
                                  : "INSERT INTO Mantenimiento (\"Código\", Fecha, Pintado, "
                                    "\"Limpieza General\") VALUES ");
        for (int i = 0; i < 20; ++i)
            s += QStringLiteral("%1(%2, '%3', %4, %5)")
                     .arg(i ? QStringLiteral(", ") : QString())
                     .arg(kCodigo)
                     .arg(QDate(2000, 1, 1).addDays(i * 90).toString(Qt::ISODate))
                     .arg(rev ? 100 + i : 1)
                     .arg(rev ? 2 : i % 2);
        if (const Status st = d.exec(s); !st)
            fail(st.error());
    }
}

} // namespace

int main(int argc, char** argv)
{
    sinPantalla();
    QApplication app(argc, argv);
    const QStringList args = argumentos("uso: quorvela-graficos-bench CARPETA [VECES]");
    const QString folder = args.at(1);
    const int veces = args.size() > 2 ? std::max(1, args.at(2).toInt()) : 30;
    bench::ensurePlant(folder);
    prepararTrafo(folder);

    RunState estado;
    DataViews vistas(estado);
    bench::SinMensajes mensajes;
    VentanaCompuesta v = componerVentana(estado, vistas, mensajes, [] { return QDate::currentDate(); });
    Trafo& trafo = *v.trafo;
    Graficos& graficos = *v.graficos;
    graficos.nombrarArchivos(folder);
    if (const Status st = vistas.openAll(RunState::rutaBaseDe(folder), false); !st)
        fail(st.error());
    trafo.alinear();
    trafo.resize(1366, 768);
    trafo.show();
    app.processEvents();
    auto hallado = vistas.Data1.findFirst(QStringLiteral("[código]=%1").arg(kCodigo));
    if (!hallado || !hallado.value())
        fail(QStringLiteral("no se encontró el transformador %1").arg(kCodigo));
    app.processEvents();
    std::printf("ensayos en la tabla: %d; memoria tras abrir: VmRSS %ld kB\n", vistas.Data3.recordCount(),
                statusKb("VmRSS"));

    const char* nombres[] = {"revisiones", "ensayos", "mantenimiento"};
    for (int g = 0; g < 3; ++g) {
        PaginaFechada* pagina = g == 0   ? static_cast<PaginaFechada*>(trafo.paginaRevision())
                                : g == 1 ? static_cast<PaginaFechada*>(trafo.paginaEnsayos())
                                         : static_cast<PaginaFechada*>(trafo.paginaMantenimiento());
        trafo.tabs()->setCurrentWidget(pagina);
        pagina->subtabs()->setCurrentIndex(2);
        app.processEvents();
        std::vector<double> tiempos;
        for (int i = 0; i < veces; ++i) {
            QElapsedTimer t;
            t.start();
            graficos.panel(g)->redibujar()->click();
            graficos.panel(g)->repaint();
            tiempos.push_back(msSince(t));
        }
        std::printf("Redibujar %s (%d puntos): mediana %.2f ms, max %.2f ms\n", nombres[g],
                    graficos.panel(g)->lienzo()->dibujo().puntos(), median(tiempos),
                    *std::max_element(tiempos.begin(), tiempos.end()));
    }

    std::vector<double> ampliado;
    for (int i = 0; i < veces; ++i) {
        QElapsedTimer t;
        t.start();
        graficos.abrirAmpliado(1);
        graficos.dibujarAmpliado();
        graficos.grafo()->repaint();
        ampliado.push_back(msSince(t));
    }
    std::printf("Grafo abierto y dibujado: mediana %.2f ms\n", median(ampliado));
    graficos.grafo()->close();

    // A step of the transformer view with the tests' GRÁFICOS sub-tab on screen.
    trafo.tabs()->setCurrentWidget(trafo.paginaEnsayos());
    trafo.paginaEnsayos()->subtabs()->setCurrentIndex(2);
    app.processEvents();
    QToolButton* siguiente = trafo.paginaTrafos()->barra()->boton(BarraNavegacion::Siguiente);
    std::vector<double> pasos;
    for (int i = 0; i < 100; ++i) {
        QElapsedTimer t;
        t.start();
        siguiente->click();
        trafo.repaint();
        pasos.push_back(msSince(t));
    }
    std::printf("paso de transformador con GRÁFICOS a la vista: mediana %.2f ms\n", median(pasos));

    const long base = statusKb("VmRSS");
    for (int g = 0; g < 3; ++g)
        graficos.setTresD(g, false);
    app.processEvents();
    const long en2D = statusKb("VmRSS");
    for (int g = 0; g < 3; ++g)
        graficos.setTresD(g, true);
    app.processEvents();
    std::printf("memoria: antes %ld kB, tras los tres en 2D %ld kB, tras los tres en 3D %ld kB (3D %s), pico "
                "VmHWM %ld kB\n",
                base, en2D, statusKb("VmRSS"),
                graficos.panel(0)->lienzo()->en3D() ? "dibujado" : "sin OpenGL", statusKb("VmHWM"));
    return 0;
}
