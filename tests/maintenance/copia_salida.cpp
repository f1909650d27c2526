// The exit procedure's automatic copy on its own, for the fault-injection tests:
//   copia_salida DATA_FILE COPIES_FOLDER YYYY-MM-DD
#include "maintenance/logic/Mantenimiento.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 2;
    const QDate hoy = QDate::fromString(args[3], Qt::ISODate);
    auto hecha = mantenimiento::copiaAutomatica(args[1], args[2], hoy);
    if (!hecha) {
        std::fputs(qPrintable(hecha.error() + QLatin1Char('\n')), stderr);
        return 1;
    }
    return 0;
}
