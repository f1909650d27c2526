#include "app/logic/StartupSequence.h"

#include "app/logic/RunState.h"
#include "app/logic/Settings.h"
#include "app/logic/StartupUi.h"
#include "data/logic/Database.h"
#include "tests/support/ScriptedMensajes.h"
#include "tests/support/TempData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Windows of start-up played from a script; every step is written to a shared log.
class ScriptedStartupUi : public StartupUi
{
public:
    explicit ScriptedStartupUi(QStringList& log) : m_log(log) {}

    void showConnection() override
    {
        m_log << QStringLiteral("Pas");
        if (onConnection)
            onConnection();
    }
    void showLocation() override
    {
        m_log << QStringLiteral("Direcc");
        if (!locations.isEmpty())
            locations.takeFirst()();
    }
    void showRestore() override
    {
        m_log << QStringLiteral("Rest");
        if (onRestore)
            onRestore();
    }
    void loadMainWindow(const std::shared_ptr<Database>& db) override
    {
        m_log << QStringLiteral("Trafo");
        database = db;
    }

    std::function<void()> onConnection;
    QList<std::function<void()>> locations; // one answer per showing; none: cancelled
    std::function<void()> onRestore;
    std::shared_ptr<Database> database;

private:
    QStringList& m_log;
};

class StartupSequenceTest : public ::testing::Test
{
protected:
    StartupSequenceTest()
    {
        mensajes.onShow = [this](const ScriptedMensajes::Shown& shown) {
            log << QStringLiteral("msg:") + shown.text;
        };
        ui.onConnection = [this] { grant(false); };
    }

    void grant(bool readOnly)
    {
        state.SoloLectura = readOnly;
        state.AccesoConcedido = true;
    }
    // A location window in which the user confirms folder (as the real one: saves DIR).
    std::function<void()> confirm(const QString& folder)
    {
        return [this, folder] {
            recargaDuringLocation = state.RecargaEnCurso;
            ASSERT_TRUE(settings.setDataFolder(folder).ok());
        };
    }
    QString emptyFolder() const { return programDir.filePath(QStringLiteral("vacia")); }

    QTemporaryDir configDir;
    Settings settings{configDir.filePath(QStringLiteral("Quorvela.conf"))};
    RunState state;
    QStringList log;
    ScriptedMensajes mensajes;
    ScriptedStartupUi ui{log};
    StartupSequence sequence{state, settings, ui, mensajes};
    QTemporaryDir programDir;
    TempData data;
    bool recargaDuringLocation = false;

    const QString sinBase = QStringLiteral("msg:No se puede conectar con la Base de Datos 'Trafos.mdb'");

    void SetUp() override { ASSERT_TRUE(QDir(programDir.path()).mkdir(QStringLiteral("vacia"))); }
};

} // namespace

TEST_F(StartupSequenceTest, RefusedAccessEndsBeforeAnythingElse)
{
    ASSERT_TRUE(settings.setDataFolder(data.folder()).ok());
    state.AccesoConcedido = true; // left over: the connection window must grant it afresh
    ui.onConnection = [] {};

    EXPECT_FALSE(sequence.run(programDir.path()));
    EXPECT_EQ(log, QStringList{QStringLiteral("Pas")});
    EXPECT_FALSE(state.AccesoConcedido);
    EXPECT_TRUE(state.RutaBase.isEmpty());
    EXPECT_EQ(ui.database, nullptr);
}

TEST_F(StartupSequenceTest, ReadOnlyModeOpensTheStoredFolderReadOnly)
{
    ASSERT_TRUE(settings.setDataFolder(data.folder()).ok());
    ui.onConnection = [this] { grant(true); };
    state.FormulaEnsayos = QStringLiteral("[ACIDEZ]>1");
    state.OperadorFecha = QStringLiteral("<");
    state.ReposicionActiva = false;
    state.SincronizacionActiva = true;
    state.AgregandoEnsayo = true;

    ASSERT_TRUE(sequence.run(programDir.path()));
    EXPECT_EQ(log, (QStringList{QStringLiteral("Pas"), QStringLiteral("Trafo")}));
    EXPECT_TRUE(state.SoloLectura);
    EXPECT_FALSE(state.RecargaEnCurso);
    EXPECT_EQ(state.RutaPrograma, programDir.path());
    EXPECT_EQ(state.RutaDatos, data.folder());
    EXPECT_EQ(state.RutaBase, data.file());
    ASSERT_NE(ui.database, nullptr);
    EXPECT_TRUE(ui.database->isReadOnly());
    EXPECT_EQ(state.FormulaEnsayos, QStringLiteral("1=1"));
    EXPECT_EQ(state.OperadorFecha, QStringLiteral("="));
    EXPECT_TRUE(state.ReposicionActiva);
    EXPECT_FALSE(state.SincronizacionActiva);
    EXPECT_FALSE(state.AgregandoEnsayo);
}

TEST_F(StartupSequenceTest, ReadWriteModeOpensTheFileWritable)
{
    ASSERT_TRUE(settings.setDataFolder(data.folder()).ok());
    ASSERT_TRUE(sequence.run(programDir.path()));
    EXPECT_FALSE(state.SoloLectura);
    ASSERT_NE(ui.database, nullptr);
    EXPECT_FALSE(ui.database->isReadOnly());
}

TEST_F(StartupSequenceTest, FirstRunAsksForTheFolderBeforeAnyMessage)
{
    ui.locations << confirm(data.folder());

    ASSERT_TRUE(sequence.run(programDir.path()));
    EXPECT_EQ(log, (QStringList{QStringLiteral("Pas"), QStringLiteral("Direcc"), QStringLiteral("Trafo")}));
    EXPECT_TRUE(recargaDuringLocation);
    EXPECT_EQ(state.RutaBase, data.file());
    EXPECT_NE(ui.database, nullptr);
}

TEST_F(StartupSequenceTest, MissingFileWalksThroughMessagesLocationAndRestore)
{
    struct Case
    {
        const char* name;
        bool storedFolder;         // DIR names a folder without the file
        QList<bool> locationFinds; // per showing: the user confirms the data folder
        bool restoreCreates;       // the restore window writes the data file
        QStringList expected;
        bool opened;
    };
    const QString pas = QStringLiteral("Pas"), direcc = QStringLiteral("Direcc"),
                  rest = QStringLiteral("Rest"), trafo = QStringLiteral("Trafo");
    const QList<Case> cases = {
        {"location finds it", true, {true}, false, {pas, sinBase, direcc, trafo}, true},
        {"location cancelled", true, {false}, false, {pas, sinBase, direcc, sinBase, rest, trafo}, false},
        {"restore brings it back", true, {false}, true, {pas, sinBase, direcc, sinBase, rest, trafo}, true},
        {"no folder at all",
         false,
         {false, false},
         false,
         {pas, direcc, sinBase, direcc, sinBase, rest, trafo},
         false},
        {"no folder, found the second time",
         false,
         {false, true},
         false,
         {pas, direcc, sinBase, direcc, trafo},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir config, program;
        Settings store(config.filePath(QStringLiteral("Quorvela.conf")));
        RunState run;
        QStringList steps;
        ScriptedMensajes said;
        said.onShow = [&](const ScriptedMensajes::Shown& s) { steps << QStringLiteral("msg:") + s.text; };
        ScriptedStartupUi scripted(steps);
        scripted.onConnection = [&] { run.AccesoConcedido = true; };
        if (c.storedFolder) {
            ASSERT_TRUE(store.setDataFolder(program.path()).ok());
        }
        for (bool finds : c.locationFinds) {
            scripted.locations << [&, finds] {
                EXPECT_TRUE(run.RecargaEnCurso);
                if (finds) {
                    ASSERT_TRUE(store.setDataFolder(data.folder()).ok());
                }
            };
        }
        QString restoredInto;
        if (c.restoreCreates) {
            scripted.onRestore = [&] {
                restoredInto = run.RutaBase;
                ASSERT_TRUE(Database::create(run.RutaBase).ok());
            };
        }

        StartupSequence startup(run, store, scripted, said);
        ASSERT_TRUE(startup.run(program.path()));
        EXPECT_EQ(steps, c.expected);
        EXPECT_EQ(scripted.database != nullptr, c.opened);
        EXPECT_FALSE(run.RecargaEnCurso);
        EXPECT_FALSE(run.RutaDatos.isEmpty());
        EXPECT_EQ(run.RutaBase, run.RutaDatos + QStringLiteral("/trafos.mdb"));
        if (c.restoreCreates) {
            EXPECT_EQ(restoredInto, program.filePath(QStringLiteral("trafos.mdb")));
        }
        for (const auto& shown : said.shown) {
            EXPECT_TRUE(shown.title.isEmpty()); // the program's title
            EXPECT_EQ(shown.buttons, Mensajes::Buttons::Ok);
        }
    }
}

TEST_F(StartupSequenceTest, WithoutAnyFolderTheProgramFolderIsUsed)
{
    ASSERT_TRUE(sequence.run(programDir.path()));
    EXPECT_EQ(state.RutaDatos, programDir.path());
    EXPECT_EQ(state.RutaBase, programDir.filePath(QStringLiteral("trafos.mdb")));
    EXPECT_EQ(ui.database, nullptr);
}

TEST_F(StartupSequenceTest, CommandLineFolderWinsForThisRunAndIsNotSaved)
{
    TempData other;
    ASSERT_TRUE(settings.setDataFolder(data.folder()).ok());
    sequence.setDataFolderOverride(other.folder() + QStringLiteral("/"));

    ASSERT_TRUE(sequence.run(programDir.path()));
    EXPECT_EQ(log, (QStringList{QStringLiteral("Pas"), QStringLiteral("Trafo")}));
    EXPECT_EQ(state.RutaDatos, other.folder());
    ASSERT_NE(ui.database, nullptr);
    EXPECT_EQ(ui.database->path(), other.file());
    EXPECT_EQ(Settings(settings.fileName()).dataFolder(), data.folder());
}

TEST_F(StartupSequenceTest, CommandLineFolderStandsInForAMissingSetting)
{
    sequence.setDataFolderOverride(data.folder());
    ASSERT_TRUE(sequence.run(programDir.path()));
    EXPECT_EQ(log, (QStringList{QStringLiteral("Pas"), QStringLiteral("Trafo")}));
    EXPECT_EQ(state.RutaBase, data.file());
    EXPECT_TRUE(settings.dataFolder().isEmpty());
}

TEST_F(StartupSequenceTest, CommandLineFolderWithoutTheFileGivesWayToTheUsersChoice)
{
    sequence.setDataFolderOverride(emptyFolder());
    ui.locations << confirm(data.folder());

    ASSERT_TRUE(sequence.run(programDir.path()));
    EXPECT_EQ(log, (QStringList{QStringLiteral("Pas"), sinBase, QStringLiteral("Direcc"),
                                QStringLiteral("Trafo")}));
    EXPECT_EQ(state.RutaDatos, data.folder());
    EXPECT_NE(ui.database, nullptr);
}

TEST_F(StartupSequenceTest, AFileTheProgramCannotUseIsReportedAndTheWindowStillOpens)
{
    struct Case
    {
        const char* name;
        std::function<void(const QString& folder)> spoil;
        QString named; // part of the message that says what is wrong
    };
    const QList<Case> cases = {
        {"not a database",
         [](const QString& folder) {
             QFile file(folder + QStringLiteral("/trafos.mdb"));
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("Standard Jet DB, not SQLite at all, just some bytes to fill a page.");
         },
         QStringLiteral("trafos.mdb")},
        {"missing table",
         [](const QString& folder) {
             ASSERT_TRUE(Database::create(folder + QStringLiteral("/trafos.mdb")).ok());
             auto db = Database::open(folder + QStringLiteral("/trafos.mdb"));
             ASSERT_TRUE(db.ok());
             ASSERT_TRUE(db.value()->exec(QStringLiteral("DROP TABLE Mantenimiento")).ok());
         },
         QStringLiteral("Mantenimiento")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder, config;
        c.spoil(folder.path());
        Settings store(config.filePath(QStringLiteral("Quorvela.conf")));
        ASSERT_TRUE(store.setDataFolder(folder.path()).ok());
        RunState run;
        QStringList steps;
        ScriptedMensajes said;
        ScriptedStartupUi scripted(steps);
        scripted.onConnection = [&] { run.AccesoConcedido = true; };

        StartupSequence startup(run, store, scripted, said);
        ASSERT_TRUE(startup.run(QStringLiteral("/nonexistent-program-folder")));
        EXPECT_EQ(steps, (QStringList{QStringLiteral("Pas"), QStringLiteral("Trafo")}));
        EXPECT_EQ(scripted.database, nullptr);
        ASSERT_EQ(said.shown.size(), 1);
        EXPECT_EQ(said.shown[0].title, QStringLiteral("¡Error!"));
        EXPECT_EQ(said.shown[0].icon, Mensajes::Icon::Critical);
        EXPECT_TRUE(said.shown[0].text.contains(c.named)) << said.shown[0].text.toStdString();
        EXPECT_EQ(run.RutaBase, folder.filePath(QStringLiteral("trafos.mdb")));
    }
}
