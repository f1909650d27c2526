#include "app/logic/StartupSequence.h"

#include "app/logic/RunState.h"
#include "app/logic/Settings.h"
#include "app/logic/StartupUi.h"
#include "data/logic/Database.h"
#include "tests/support/ScriptedMensajes.h"
#include "tests/support/TempData.h"
#include "tests/support/Texto.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

// One start-up on its own settings store and program folder, its windows played from a script.
// pasos records each window and message in order: P the connection window, D the location window,
// R the restore window, T the main window, m the missing-file message, ! any other message.
struct Arranque : StartupUi
{
    Arranque()
    {
        mensajes.onShow = [this](const ScriptedMensajes::Shown& s) {
            pasos += s.text == u("No se puede conectar con la Base de Datos 'Trafos.mdb'") ? 'm' : '!';
        };
    }
    bool run() { return secuencia.run(programa.path()); }

    void showConnection() override
    {
        pasos += 'P';
        estado.AccesoConcedido = concede;
        estado.SoloLectura = soloLectura;
    }
    void showLocation() override
    {
        pasos += 'D';
        EXPECT_TRUE(estado.RecargaEnCurso);
        // As the real window: saves DIR when the user confirms a folder.
        const QString elegida = ubicaciones.isEmpty() ? QString() : ubicaciones.takeFirst();
        if (!elegida.isEmpty()) {
            ASSERT_TRUE(ajustes.setDataFolder(elegida).ok());
        }
    }
    void showRestore() override
    {
        pasos += 'R';
        alRestaurar();
    }
    void loadMainWindow(const std::shared_ptr<Database>& db) override
    {
        pasos += 'T';
        base = db;
    }

    QTemporaryDir config, programa;
    Settings ajustes{config.filePath(QStringLiteral("Quorvela.conf"))};
    RunState estado;
    ScriptedMensajes mensajes;
    StartupSequence secuencia{estado, ajustes, *this, mensajes};
    std::string pasos;
    bool concede = true, soloLectura = false;
    QStringList ubicaciones; // per showing of the location window: the folder confirmed; empty: cancelled
    std::function<void()> alRestaurar = [] {};
    std::shared_ptr<Database> base;
};

} // namespace

TEST(StartupSequence, RefusedAccessEndsBeforeAnythingElse)
{
    Arranque a;
    a.estado.AccesoConcedido = true; // left over: the connection window must grant it afresh
    a.concede = false;

    EXPECT_FALSE(a.run());
    EXPECT_EQ(a.pasos, "P");
    EXPECT_FALSE(a.estado.AccesoConcedido);
}

TEST(StartupSequence, FindsTheDataFileThroughMessagesLocationAndRestore)
{
    TempData datos, otra;
    // Folders by letter: d holds the data file, o another one, p is the program folder (no file).
    struct Caso
    {
        const char* nombre;
        char guardada;           // DIR before start-up; 0: none
        char lineaDeOrdenes;     // the command line's folder; 0: none
        const char* ubicaciones; // per showing of the location window: the folder confirmed, '-' none
        bool restauraCrea;       // the restore window writes the data file
        const char* pasos;
        char usada; // the folder the run ends on
    };
    const Caso casos[] = {
        {"stored folder holds the file", 'd', 0, "", false, "PT", 'd'},
        {"first run, the location finds it", 0, 0, "d", false, "PDT", 'd'},
        {"stored folder without the file", 'p', 0, "d", false, "PmDT", 'd'},
        {"location cancelled", 'p', 0, "-", false, "PmDmRT", 'p'},
        {"restore brings it back", 'p', 0, "-", true, "PmDmRT", 'p'},
        {"no folder at all", 0, 0, "--", false, "PDmDmRT", 'p'},
        {"no folder, found the second time", 0, 0, "-d", false, "PDmDT", 'd'},
        {"command line wins and is not saved", 'd', 'o', "", false, "PT", 'o'},
        {"command line stands in for DIR", 0, 'd', "", false, "PT", 'd'},
        {"command line without the file gives way", 0, 'p', "d", false, "PmDT", 'd'},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        Arranque a;
        // Half the cases choose read-only work. Selection and switches are left dirty: start-up
        // puts them at rest.
        a.soloLectura = (&c - casos) % 2 == 0;
        a.estado.FormulaEnsayos = QStringLiteral("[ACIDEZ]>1");
        a.estado.OperadorFecha = QStringLiteral("<");
        a.estado.activarSincronizacion();
        const auto carpeta = [&](char letra) {
            return letra == 'd'   ? datos.folder()
                   : letra == 'o' ? otra.folder()
                   : letra == 'p' ? a.programa.path()
                                  : QString();
        };
        if (c.guardada) {
            ASSERT_TRUE(a.ajustes.setDataFolder(carpeta(c.guardada)).ok());
        }
        if (c.lineaDeOrdenes)
            a.secuencia.setDataFolderOverride(carpeta(c.lineaDeOrdenes) + QStringLiteral("/"));
        for (const char* e = c.ubicaciones; *e; ++e)
            a.ubicaciones << carpeta(*e);
        QString restauradaEn;
        if (c.restauraCrea) {
            a.alRestaurar = [&] {
                restauradaEn = a.estado.RutaBase;
                ASSERT_TRUE(Database::create(a.estado.RutaBase).ok());
            };
        }

        ASSERT_TRUE(a.run());
        EXPECT_EQ(a.pasos, c.pasos);
        EXPECT_FALSE(a.estado.RecargaEnCurso);
        EXPECT_EQ(a.estado.RutaPrograma, a.programa.path());
        EXPECT_EQ(a.estado.RutaDatos, carpeta(c.usada));
        EXPECT_EQ(a.estado.RutaBase, Database::rutaEn(carpeta(c.usada)));
        const bool abierta = c.usada != 'p' || c.restauraCrea;
        ASSERT_EQ(a.base != nullptr, abierta);
        if (abierta) {
            EXPECT_EQ(a.base->path(), a.estado.RutaBase);
            EXPECT_EQ(a.base->isReadOnly(), a.soloLectura);
        }
        EXPECT_EQ(restauradaEn, c.restauraCrea ? Database::rutaEn(a.programa.path()) : QString());
        // Only the user's choice is saved, never the command line's folder.
        const bool elegida = QString::fromLatin1(c.ubicaciones).contains(QLatin1Char('d'));
        EXPECT_EQ(Settings(a.ajustes.fileName()).dataFolder(),
                  elegida ? datos.folder() : carpeta(c.guardada));
        for (const auto& shown : a.mensajes.shown) {
            EXPECT_TRUE(shown.title.isEmpty()); // the program's title
            EXPECT_EQ(shown.buttons, Mensajes::Buttons::Ok);
        }
        EXPECT_EQ(a.estado.FormulaEnsayos, QStringLiteral("1=1"));
        EXPECT_EQ(a.estado.OperadorFecha, QStringLiteral("="));
        EXPECT_FALSE(a.estado.SincronizacionActiva);
    }
}

TEST(StartupSequence, AFileTheProgramCannotUseIsReportedAndTheWindowStillOpens)
{
    QTemporaryDir ajena;
    QFile archivo(Database::rutaEn(ajena.path()));
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.write("Standard Jet DB, not SQLite at all, just some bytes to fill a page.");
    archivo.close();
    Arranque a;
    ASSERT_TRUE(a.ajustes.setDataFolder(ajena.path()).ok());

    ASSERT_TRUE(a.run());
    EXPECT_EQ(a.pasos, "P!T");
    EXPECT_EQ(a.base, nullptr);
    EXPECT_EQ(a.estado.RutaBase, archivo.fileName());
    ASSERT_EQ(a.mensajes.shown.size(), 1);
    EXPECT_EQ(a.mensajes.shown[0].title, u("¡Error!"));
    EXPECT_EQ(a.mensajes.shown[0].icon, Mensajes::Icon::Critical);
    EXPECT_TRUE(a.mensajes.shown[0].text.contains(Database::nombreArchivo()))
        << a.mensajes.shown[0].text.toStdString();
}
