// quorvela-cli: headless commands over a data folder.
#include "Version.h"
#include "data/logic/Database.h"
#include "data/logic/DemoPlant.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <cstdio>

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
        const Status st = Database::create(QDir(folder).filePath(QStringLiteral("trafos.mdb")));
        if (!st)
            return fail(st.error());
        out(QStringLiteral("Base de datos creada: %1")
                .arg(QDir(folder).absoluteFilePath(QStringLiteral("trafos.mdb"))));
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
        out(QStringLiteral("Planta de demostración creada en %1")
                .arg(QDir(folder).absoluteFilePath(QStringLiteral("trafos.mdb"))));
        return 0;
    }
    return usage();
}
