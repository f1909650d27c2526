#include "app/logic/RunState.h"
#include "app/logic/Settings.h"
#include "app/logic/StartupSequence.h"
#include "app/ui/ArranqueQt.h"
#include "data/logic/Database.h"
#include "maintenance/logic/PasswordStore.h"
#include "records/logic/DataViews.h"
#include "records/ui/Trafo.h"
#include "utilities/ui/MensajesQt.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvela"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvela"));
    // The program ends through the main window's exit procedure only, never because the
    // last window happened to close (the start-up dialogs close before the main one shows).
    QApplication::setQuitOnLastWindowClosed(false);
    // Every text of the program is Spanish; the standard dialogs (font, colour, files) too.
    QTranslator traduccionQt;
    if (traduccionQt.load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&traduccionQt);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Quorvela"));
    parser.addHelpOption();
    const QCommandLineOption datos(
        QStringLiteral("datos"),
        QStringLiteral("Carpeta del archivo %1 para esta ejecución (no se guarda).")
            .arg(Database::nombreArchivo()),
        QStringLiteral("DIR"));
    const QCommandLineOption captura(
        QStringLiteral("captura"),
        QStringLiteral("Guarda una imagen de la ventana principal en FILE y termina."),
        QStringLiteral("FILE"));
    const QCommandLineOption sinEspera(
        QStringLiteral("sin-espera"),
        QStringLiteral("Muestra la ventana principal sin la ventana de inicio."));
    parser.addOption(datos);
    parser.addOption(captura);
    parser.addOption(sinEspera);
    parser.process(app);

    RunState estado;
    Settings settings;
    PasswordStore passwords(settings);
    MensajesQt mensajes;
    DataViews vistas(estado);

    int codigo = 0;
    ArranqueQt::Opciones opciones;
    opciones.sinEspera = parser.isSet(sinEspera);
    opciones.terminar = [&codigo] { QCoreApplication::exit(codigo); };
    if (parser.isSet(captura)) {
        const QString archivo = parser.value(captura);
        opciones.alMostrar = [&codigo, archivo](Trafo& trafo) {
            // Let the window lay itself out and paint before it is captured.
            QTimer::singleShot(500, &trafo, [&codigo, archivo, &trafo] {
                if (!trafo.grab().save(archivo)) {
                    std::fprintf(stderr, "No se pudo guardar la imagen %s\n", qPrintable(archivo));
                    codigo = 1;
                }
                trafo.Salir();
            });
        };
    }
    ArranqueQt arranque(estado, settings, passwords, mensajes, vistas, opciones);

    StartupSequence inicio(estado, settings, arranque, mensajes);
    if (parser.isSet(datos))
        inicio.setDataFolderOverride(parser.value(datos));
    if (!inicio.run(QCoreApplication::applicationDirPath()))
        return 0;
    if (arranque.trafo())
        mensajes.setOwner(arranque.trafo());
    return app.exec();
}
