// The reports on the large plant: a report to PDF, and the preview until its first page shows.
//   quorvela-informe-bench PLANT pdf NAME [RUNS] [CODES]  (CODES: the first N transformers only)
//   quorvela-informe-bench PLANT vista NAME [RUNS]
// Prints the median time and the process's peak memory; run one measure per process.
#include "app/CamposInforme.h"
#include "data/logic/Database.h"
#include "search/logic/MotorInforme.h"
#include "search/ui/PinturaInforme.h"
#include "search/ui/VistaPreviaInforme.h"
#include "utilities/logic/Mensajes.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QPrintPreviewDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

class SinMensajes : public Mensajes
{
public:
    Answer show(const QString& text, const QString&, Icon, Buttons, Answer) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return Answer::Ok;
    }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    QString chooseFile(const QString&, const QString&, const QString&, bool) override { return {}; }
    void setBusy(bool) override {}
};

double mediana(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

long picoMb()
{
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 3) {
        std::fprintf(stderr, "Uso: quorvela-informe-bench PLANTA pdf|vista NOMBRE [VECES] [CODIGOS]\n");
        return 2;
    }
    const QString planta = args[0], modo = args[1], nombre = informe::nombreArchivo(args[2]);
    const int veces = args.value(3, QStringLiteral("3")).toInt();
    const int cuantos = args.value(4, QStringLiteral("0")).toInt();
    const QString datos = Database::rutaEn(planta);

    QString formula = QStringLiteral("1=1");
    if (cuantos > 0) {
        // A sub-group as the program writes it: the first codes of the plant.
        auto db = Database::open(datos, true);
        if (!db)
            return std::fprintf(stderr, "%s\n", qPrintable(db.error())), 1;
        auto st = Statement::prepare(
            *db.value(), QStringLiteral("SELECT \"CÓDIGO\" FROM Trafoge ORDER BY 1 LIMIT ?"), {cuantos});
        QStringList terminos;
        while (st && st.value().step().value())
            terminos << QStringLiteral("({Trafoge.CÓDIGO}=%1)").arg(st.value().int64(0));
        formula = terminos.join(QStringLiteral(" or "));
    }

    informe::MotorInforme motor;
    motor.ponerCalculador(calculadorInformes());
    motor.ponerArchivoInforme(
        QDir(informe::carpetaInformes(QCoreApplication::applicationDirPath() + QStringLiteral("/../app")))
            .filePath(nombre));
    for (int i = 0; i < 4; ++i)
        motor.ponerArchivoDatos(i, datos);
    motor.ponerFormula(formula);

    QTemporaryDir salida;
    SinMensajes mensajes;
    QList<double> tiempos;
    for (int i = 0; i < veces; ++i) {
        QElapsedTimer reloj;
        reloj.start();
        int r = 0;
        if (modo == QLatin1String("pdf")) {
            r = motor.imprimir([&](const informe::InformePreparado& p) {
                return informe::exportarPdf(p, salida.filePath(QStringLiteral("informe.pdf")),
                                            QDateTime::currentDateTime());
            });
        } else {
            // The preview has shown its first page once its window is up: close it then.
            double abierta = 0;
            r = motor.imprimir([&](const informe::InformePreparado& p) {
                QTimer::singleShot(0, [&] {
                    abierta = double(reloj.nsecsElapsed()) / 1e6;
                    if (QWidget* w = QApplication::activeModalWidget())
                        w->close();
                });
                return informe::mostrarVistaPrevia(p, mensajes, nullptr);
            });
            tiempos << abierta;
        }
        if (r != 0) {
            std::fprintf(stderr, "%s\n", qPrintable(motor.ultimoError()));
            return 1;
        }
        if (modo == QLatin1String("pdf"))
            tiempos << double(reloj.nsecsElapsed()) / 1e6;
    }
    std::printf("%s %s%s: mediana %.0f ms en %d veces, pico de memoria %ld MB\n", qPrintable(nombre),
                modo == QLatin1String("pdf") ? "a PDF" : "vista previa hasta la primera página",
                cuantos > 0 ? qPrintable(QStringLiteral(" (subgrupo de %1)").arg(cuantos)) : "",
                mediana(tiempos), veces, picoMb());
    return 0;
}
