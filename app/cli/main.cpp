// quorvela-cli: headless commands over a data folder.
#include "Version.h"
#include "data/logic/Database.h"
#include "data/logic/DemoPlant.h"
#include "diagnosis/logic/CorridaDiagnostico.h"
#include "diagnosis/logic/EvaluarEnsayoJson.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStringList>
#include <cstdio>
#include <optional>

namespace {

void out(const QString& text)
{
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stdout);
}
int fail(const QString& text)
{
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    return 1;
}

int usage()
{
    return fail(QStringLiteral("Uso:\n"
                               "  quorvela-cli crear DIR\n"
                               "  quorvela-cli demo DIR [--transformadores N --ensayos-por-trafo M "
                               "--revisiones-por-trafo M --mantenimientos-por-trafo M --semilla S]\n"
                               "  quorvela-cli diagnosticar DIR\n"
                               "  quorvela-cli evaluar DIR --codigo N [--fecha AAAA-MM-DD]\n"
                               "  quorvela-cli version"));
}

// Reads "--name value" pairs of whole numbers; anything else is an error.
bool readOptions(const QStringList& args, demo::PlantSize& size, bool& large, QString& error)
{
    for (int i = 0; i < args.size(); i += 2) {
        const QString& name = args[i];
        if (i + 1 >= args.size()) {
            error = QStringLiteral("Falta el valor de la opción %1").arg(name);
            return false;
        }
        bool ok = false;
        const qlonglong value = args[i + 1].toLongLong(&ok);
        if (!ok || value < 0 || value > 1000000000) {
            error = QStringLiteral("El valor '%1' de la opción %2 no es un número entero válido")
                        .arg(args[i + 1], name);
            return false;
        }
        if (name == QLatin1String("--transformadores"))
            size.transformers = int(value);
        else if (name == QLatin1String("--ensayos-por-trafo"))
            size.testsPerTransformer = int(value);
        else if (name == QLatin1String("--revisiones-por-trafo"))
            size.inspectionsPerTransformer = int(value);
        else if (name == QLatin1String("--mantenimientos-por-trafo"))
            size.maintenancePerTransformer = int(value);
        else if (name == QLatin1String("--semilla"))
            size.seed = quint32(value);
        else {
            error = QStringLiteral("Opción desconocida: %1").arg(name);
            return false;
        }
        large = true;
    }
    return true;
}

// The data file of a folder, opened as it is: never created, never converted.
Result<std::shared_ptr<Database>> openFolder(const QString& folder, bool readOnly)
{
    using R = Result<std::shared_ptr<Database>>;
    if (!QFileInfo(folder).isDir())
        return R::failure(QStringLiteral("No existe la carpeta '%1'").arg(folder));
    return Database::open(Database::rutaEn(folder), readOnly);
}

int diagnosticar(const QString& folder)
{
    auto db = openFolder(folder, false);
    if (!db)
        return fail(db.error());
    // A few progress lines a second are enough for a person or a log.
    QElapsedTimer clock;
    clock.start();
    qint64 shown = -1000;
    const auto progress = [&](int done, int total) {
        if (done < total && clock.elapsed() - shown < 250)
            return;
        shown = clock.elapsed();
        std::fputs(QStringLiteral("Diagnosticando: %1/%2\n").arg(done).arg(total).toLocal8Bit().constData(),
                   stderr);
        std::fflush(stderr);
    };
    auto run = diagnostico::diagnosticarArchivo(*db.value(), progress);
    if (!run)
        return fail(run.error());
    out(QStringLiteral("Diagnóstico general terminado: %1 transformadores, %2 ensayos")
            .arg(run.value().trafos)
            .arg(run.value().ensayos));
    return 0;
}

int evaluar(const QString& folder, const QStringList& options)
{
    std::optional<qint64> code;
    std::optional<QDate> date;
    for (int i = 0; i < options.size(); i += 2) {
        const QString& name = options[i];
        if (name != QLatin1String("--codigo") && name != QLatin1String("--fecha"))
            return fail(QStringLiteral("Opción desconocida: %1").arg(name));
        if (i + 1 >= options.size())
            return fail(QStringLiteral("Falta el valor de la opción %1").arg(name));
        const QString& value = options[i + 1];
        if (name == QLatin1String("--codigo")) {
            bool ok = false;
            const int n = value.toInt(&ok);
            // Transformer codes are whole numbers in the 16-bit range, never 0.
            if (!ok || n == 0 || n < -32768 || n > 32767)
                return fail(
                    QStringLiteral("El código '%1' no es un código de transformador válido").arg(value));
            code = n;
        } else {
            const QDate d = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
            if (!d.isValid())
                return fail(QStringLiteral("La fecha '%1' no es válida: se espera AAAA-MM-DD").arg(value));
            date = d;
        }
    }
    if (!code)
        return fail(QStringLiteral("Falta la opción --codigo"));
    auto db = openFolder(folder, true);
    if (!db)
        return fail(db.error());
    auto report = diagnostico::evaluarEnsayoGuardado(*db.value(), *code, date);
    if (!report)
        return fail(report.error());
    std::fputs(QJsonDocument(report.value()).toJson(QJsonDocument::Indented).constData(), stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args[0];
    if (command == QLatin1String("version")) {
        out(QStringLiteral("Quorvela " QUORVELA_VERSION_TEXT));
        return 0;
    }
    if (args.size() < 2)
        return usage();
    const QString folder = args[1];
    if (command == QLatin1String("crear")) {
        if (args.size() != 2)
            return usage();
        if (!QDir(folder).exists())
            return fail(QStringLiteral("No existe la carpeta '%1'").arg(folder));
        const Status st = Database::create(Database::rutaEn(folder));
        if (!st)
            return fail(st.error());
        out(QStringLiteral("Base de datos creada: %1")
                .arg(QFileInfo(Database::rutaEn(folder)).absoluteFilePath()));
        return 0;
    }
    if (command == QLatin1String("demo")) {
        demo::PlantSize size;
        bool large = false;
        QString error;
        if (!readOptions(args.mid(2), size, large, error))
            return fail(error);
        const Status st = large ? demo::createLarge(folder, size) : demo::createDemo(folder);
        if (!st)
            return fail(st.error());
        // The stored diagnosis of a new plant is the one the program itself computes.
        auto db = Database::open(Database::rutaEn(folder));
        if (!db)
            return fail(db.error());
        if (auto run = diagnostico::diagnosticarArchivo(*db.value()); !run)
            return fail(run.error());
        out(QStringLiteral("Planta de demostración creada en %1")
                .arg(QFileInfo(Database::rutaEn(folder)).absoluteFilePath()));
        return 0;
    }
    if (command == QLatin1String("diagnosticar")) {
        if (args.size() != 2)
            return usage();
        return diagnosticar(folder);
    }
    if (command == QLatin1String("evaluar"))
        return evaluar(folder, args.mid(2));
    return usage();
}
