// The copies of the data file on the large plant, against the sqlite3 tool and gzip on the same
// file: the exit copy, a backup, a compressed backup, a compaction and a restore (checks and
// load). Prints the medians of several runs and the ratios of the same run.
//   quorvela-mantenimiento-bench PLANT_FOLDER [RUNS]
// Targets: exit copy <= 1.5 s; backup <= 2x ".backup"; compaction <= 2x "VACUUM INTO";
// restore <= 3x ".backup"; the compressed backup beside "gzip -6".
#include "bench/BenchSupport.h"
#include "data/logic/Database.h"
#include "maintenance/logic/CopiaBase.h"
#include "maintenance/logic/Mantenimiento.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>

namespace {

double medir(const std::function<void()>& trabajo)
{
    QElapsedTimer reloj;
    reloj.start();
    trabajo();
    return bench::msSince(reloj);
}

void ejecutar(const QString& programa, const QStringList& args, const QString& salida = QString())
{
    QProcess p;
    if (!salida.isEmpty())
        p.setStandardOutputFile(salida);
    p.start(programa, args);
    if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        bench::fail(programa + QStringLiteral(" falló: ") + QString::fromLocal8Bit(p.readAllStandardError()));
}

template <typename T> void exigir(const Result<T>& r)
{
    if (!r)
        bench::fail(r.error());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = bench::argumentos("uso: quorvela-mantenimiento-bench CARPETA_PLANTA [VECES]");
    if (args.size() < 2)
        bench::fail(QStringLiteral("uso: quorvela-mantenimiento-bench CARPETA_PLANTA [VECES]"));
    const QString planta = Database::rutaEn(args.at(1));
    const int veces = args.size() > 2 ? args.at(2).toInt() : 5;
    if (!QFileInfo(planta).isFile())
        bench::fail(QStringLiteral("falta la planta ") + planta);

    QTemporaryDir trabajo(QDir(QFileInfo(planta).absolutePath()).filePath(QStringLiteral("bench-XXXXXX")));
    const QDir dir(trabajo.path());
    QDir().mkpath(dir.filePath(QStringLiteral("datos")));
    QDir().mkpath(dir.filePath(QStringLiteral("destino")));
    const QString datos = Database::rutaEn(dir.filePath(QStringLiteral("datos")));
    exigir(mantenimiento::respaldar(planta, dir.path(), QDate(2026, 12, 5), false, true));
    QFile::rename(dir.filePath(QStringLiteral("T-051226.mdb")), datos);
    const QString destino = dir.filePath(QStringLiteral("destino"));
    const QString copias = dir.filePath(QStringLiteral("AutoBack"));
    const QDate hoy(2026, 12, 5);

    std::vector<double> salida, respaldo, sqliteBackup, zip, gzip, compacta, vacuum, restaura;
    qint64 tamanoZip = 0, tamanoGzip = 0;
    for (int i = 0; i < veces; ++i) {
        salida.push_back(medir([&] { exigir(mantenimiento::copiaAutomatica(datos, copias, hoy)); }));
        respaldo.push_back(
            medir([&] { exigir(mantenimiento::respaldar(datos, destino, hoy, false, true)); }));
        const QString otra = dir.filePath(QStringLiteral("sqlite.mdb"));
        QFile::remove(otra);
        sqliteBackup.push_back(medir([&] {
            ejecutar(QStringLiteral("sqlite3"), {datos, QStringLiteral(".backup '%1'").arg(otra)});
        }));
        zip.push_back(medir([&] { exigir(mantenimiento::respaldar(datos, destino, hoy, true, true)); }));
        const QString gz = dir.filePath(QStringLiteral("trafos.mdb.gz"));
        gzip.push_back(medir([&] {
            ejecutar(QStringLiteral("gzip"), {QStringLiteral("-6"), QStringLiteral("-c"), datos}, gz);
        }));
        tamanoZip = QFileInfo(dir.filePath(QStringLiteral("destino/T-051226.zip"))).size();
        tamanoGzip = QFileInfo(gz).size();
        const QString vacio = dir.filePath(QStringLiteral("vacuum.mdb"));
        QFile::remove(vacio);
        vacuum.push_back(medir([&] {
            ejecutar(QStringLiteral("sqlite3"), {datos, QStringLiteral("VACUUM INTO '%1'").arg(vacio)});
        }));
        compacta.push_back(medir([&] {
            const Status st = mantenimiento::compactar(datos);
            if (!st)
                bench::fail(st.error());
        }));
        restaura.push_back(medir([&] {
            exigir(mantenimiento::restaurar(dir.filePath(QStringLiteral("destino/T-051226.mdb")), datos,
                                            copias, QDateTime(hoy, QTime(0, 0)).addSecs(i)));
        }));
    }
    // The restore's parts, once.
    const QString candidata = dir.filePath(QStringLiteral("destino/T-051226.mdb"));
    const double integridad =
        medir([&] { exigir(copia::comprobar(candidata, copia::Comprobacion::Completa)); });
    const double rapida = medir([&] { exigir(copia::comprobar(candidata, copia::Comprobacion::Rapida)); });
    const double copiaSegura =
        medir([&] { exigir(copia::copiarBase(datos, dir.filePath(QStringLiteral("previa.mdb")))); });
    const double b = bench::median(sqliteBackup);
    std::printf("Archivo de datos: %s, %.1f MB, %d veces (medianas)\n", qPrintable(planta),
                QFileInfo(datos).size() / 1048576.0, veces);
    std::printf("copia de salida:        %8.0f ms   (objetivo <= 1500 ms)\n", bench::median(salida));
    std::printf("respaldo:               %8.0f ms   sqlite3 .backup %6.0f ms   razón %.2f (objetivo <= 2)\n",
                bench::median(respaldo), b, bench::median(respaldo) / b);
    std::printf(
        "compactación:           %8.0f ms   sqlite3 VACUUM INTO %6.0f ms   razón %.2f (objetivo <= 2)\n",
        bench::median(compacta), bench::median(vacuum), bench::median(compacta) / bench::median(vacuum));
    std::printf("restauración:           %8.0f ms   razón con .backup %.2f (objetivo <= 3)\n",
                bench::median(restaura), bench::median(restaura) / b);
    std::printf("  partes: integrity_check %.0f ms, quick_check %.0f ms, copia comprobada %.0f ms\n",
                integridad, rapida, copiaSegura);
    std::printf("respaldo comprimido:    %8.0f ms, %.1f MB   gzip -6 %6.0f ms, %.1f MB\n", bench::median(zip),
                tamanoZip / 1048576.0, bench::median(gzip), tamanoGzip / 1048576.0);
    return 0;
}
