// Pictures of a search worked through with the BUSCAR tab's controls, step by step:
//   quorvela-capturas-busqueda DIR SALIDA
// composes two lines with the choosers, searches, steps with Siguiente, sub-groups, selects the
// tests from 1 October 2026 inside the sub-group, saves the search, restores, loads it back and
// sub-groups again; one PNG per step into SALIDA, and each message the program shows on stdout.
#include "app/logic/RunState.h"
#include "app/ui/Composicion.h"
#include "bench/BenchSupport.h"
#include "bench/VentanaAbierta.h"
#include "data/logic/Database.h"
#include "records/logic/DataViews.h"
#include "records/ui/PaginaBuscar.h"
#include "records/ui/PaginaCalendario.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaFechada.h"
#include "records/ui/Trafo.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <cstdio>

namespace {

// Messages go to stdout; the file dialogs answer with the search file in the output folder.
class MensajesAnotados : public Mensajes
{
public:
    explicit MensajesAnotados(QString archivo) : m_archivo(std::move(archivo)) {}
    Answer show(const QString& texto, const QString& titulo, Icon, Buttons, Answer) override
    {
        std::printf("mensaje [%s]: %s\n", qPrintable(titulo), qPrintable(texto));
        return Answer::Yes;
    }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    QString chooseFile(const QString& titulo, const QString&, const QString&, bool) override
    {
        std::printf("diálogo [%s]: %s\n", qPrintable(titulo), qPrintable(m_archivo));
        return m_archivo;
    }
    void setBusy(bool) override {}

private:
    QString m_archivo;
};

QPushButton* botonEn(QWidget* zona, const char* nombre)
{
    for (QPushButton* b : zona->findChildren<QPushButton*>())
        if (b->objectName() == QLatin1String(nombre))
            return b;
    bench::fail(QStringLiteral("no existe el botón ") + QLatin1String(nombre));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QStringList args = bench::argumentos("uso: quorvela-capturas-busqueda CARPETA SALIDA");
    if (args.size() < 3)
        bench::fail(QStringLiteral("uso: quorvela-capturas-busqueda CARPETA SALIDA"));
    const QDir salida(args.at(2));
    QDir().mkpath(salida.path());
    RunState estado;
    estado.apuntarDatos(args.at(1));
    DataViews vistas(estado);
    MensajesAnotados mensajes(salida.filePath(QStringLiteral("puerto-o-acidas.abs")));
    VentanaCompuesta v = componerVentana(estado, vistas, mensajes, [] { return QDate::currentDate(); });
    bench::abrirVistas(*v.trafo, vistas, Database::rutaEn(args.at(1)), false);
    bench::mostrarVentana(*v.trafo);

    PaginaBuscar* p = v.trafo->paginaBuscar();
    QTabWidget* tabs = v.trafo->tabs();
    auto pestana = [&](const QString& texto) {
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->tabText(i).remove(QLatin1Char('&')) == texto)
                return tabs->setCurrentIndex(i);
        bench::fail(QStringLiteral("no existe la pestaña ") + texto);
    };
    int paso = 0;
    auto guardar = [&](const char* nombre) {
        QTest::qWait(200);
        const QString archivo =
            QStringLiteral("%1-%2.png").arg(++paso, 2, 10, QLatin1Char('0')).arg(QLatin1String(nombre));
        std::printf("-- %s: transformador %s, %d en la vista, lista de condiciones: %s\n",
                    qPrintable(archivo),
                    qPrintable(vistas.Data1.value(QString::fromUtf8("CÓDIGO")).toString()),
                    vistas.Data1.recordCount(), qPrintable(p->lineas().join(QStringLiteral(" | "))));
        if (!v.trafo->grab().save(salida.filePath(archivo)))
            bench::fail(QStringLiteral("no se pudo guardar ") + archivo);
    };
    auto elegir = [&](int combo, const QString& texto) {
        QComboBox* c = p->combo(combo);
        const int i = c->findText(texto);
        if (i < 0)
            bench::fail(QStringLiteral("no se ofrece ") + texto);
        c->setCurrentIndex(i);
        emit c->activated(i);
    };
    auto clic = [&](const char* nombre) {
        QTest::mouseClick(p->boton(QLatin1String(nombre)), Qt::LeftButton);
    };
    auto linea = [&](const char* tabla, const char* campo, const char* comparacion, const char* valor,
                     const char* conector) {
        elegir(6, QString::fromUtf8(tabla));
        elegir(1, QString::fromUtf8(campo));
        elegir(2, QString::fromUtf8(comparacion));
        p->valor()->setEditText(QString::fromUtf8(valor));
        p->combo(7)->setCurrentIndex(p->combo(7)->findText(QString::fromUtf8(conector)));
        clic("VxBoton12");
    };

    pestana(QStringLiteral("BUSCAR"));
    linea("Trafos", "AREA", "=", "PUERTO", " ");
    linea("Ensayos", "Acidez", ">", "0,1", "Or");
    guardar("compuesta");
    clic("Command1");
    guardar("buscar");
    clic("Command2");
    guardar("siguiente");
    clic("Command4");
    guardar("subgrupo");
    pestana(QStringLiteral("PRIORIDADES"));
    guardar("subgrupo-prioridades");
    pestana(QStringLiteral("TRAFOS"));
    guardar("subgrupo-trafos");

    // The tests from 1 October 2026 inside the sub-group, from the ENSAYOS calendar page.
    PaginaFechada* ensayos = v.trafo->paginaEnsayos();
    pestana(QStringLiteral("ENSAYOS"));
    ensayos->subtabs()->setCurrentIndex(ensayos->subtabs()->count() - 1);
    QWidget* zona = ensayos->calendario()->zonaBotones();
    zona->findChild<QComboBox*>()->setEditText(QStringLiteral(">="));
    ensayos->calendario()->mostrarFecha(QDate(2026, 10, 1));
    QTest::mouseClick(botonEn(zona, "Command47"), Qt::LeftButton);
    guardar("seleccion-fecha");
    std::printf("fórmulas: trafo %s | ensayos %s\n", qPrintable(estado.FormulaTrafo),
                qPrintable(estado.FormulaEnsayos));
    pestana(QStringLiteral("PRIORIDADES"));
    guardar("seleccion-prioridades");

    pestana(QStringLiteral("BUSCAR"));
    clic("CommandAG_1");
    QFile abs(salida.filePath(QStringLiteral("puerto-o-acidas.abs")));
    if (abs.open(QIODevice::ReadOnly))
        std::printf("archivo guardado:\n%s", abs.readAll().constData());
    clic("Command3");
    guardar("restaurado");
    p->setLineas({});
    guardar("lista-vacia");
    clic("CommandAG_0");
    guardar("cargado");
    clic("Command4");
    guardar("subgrupo-otra-vez");
    pestana(QStringLiteral("PRIORIDADES"));
    guardar("subgrupo-otra-vez-prioridades");

    v.trafo->setTerminar([] {});
    v.trafo->Salir();
    return 0;
}
