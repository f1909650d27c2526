#include "data/ui/Direcc.h"

#include "app/logic/RunState.h"
#include "app/logic/Settings.h"
#include "data/ui/CambiarDireccion.h"
#include "tests/support/ScriptedMensajes.h"
#include "tests/support/TempData.h"
#include "tests/support/Texto.h"

#include <QApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>
#include <optional>

namespace {

void press(QWidget* window, const char* name)
{
    auto* button = window->findChild<QPushButton*>(u(name));
    ASSERT_TRUE(button) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

// The location window on a settings file of its own.
class DireccTest : public ::testing::Test
{
protected:
    void open(Settings* use = nullptr)
    {
        direcc = std::make_unique<Direcc>(state, use ? *use : settings, mensajes,
                                          [this](const QString& folder) { reopened << folder; });
        box = direcc->findChild<QLineEdit*>(u("txtDireccion"));
        ASSERT_TRUE(box);
        direcc->show();
    }
    // Types a folder into the box as the keyboard does, then presses a button.
    void typeAndPress(const QString& folder, const char* button)
    {
        box->clear();
        QTest::keyClicks(box, folder);
        press(direcc.get(), button);
    }
    QString storedFolder() const { return Settings(settings.fileName()).dataFolder(); }

    QTemporaryDir configDir;
    Settings settings{configDir.filePath(u("Quorvela.conf"))};
    RunState state;
    ScriptedMensajes mensajes;
    QStringList reopened;
    TempData data;
    std::unique_ptr<Direcc> direcc;
    QLineEdit* box = nullptr;
};

} // namespace

TEST_F(DireccTest, AceptarSavesOnlyAFolderHoldingTheDataFileAndReopensOnlyAfterStartUp)
{
    // The settings file of the failed save would go inside a plain file: it cannot be written.
    ASSERT_TRUE(QFile(configDir.filePath(u("bloqueo"))).open(QIODevice::WriteOnly));
    Settings broken(configDir.filePath(u("bloqueo/Quorvela.conf")));
    // Only a regular file of the data file's exact name counts.
    QTemporaryDir sameNameFolder, otherCase;
    ASSERT_TRUE(QDir(sameNameFolder.path()).mkdir(Database::nombreArchivo()));
    ASSERT_TRUE(QFile(QDir(otherCase.path()).filePath(Database::nombreArchivo().toUpper()))
                    .open(QIODevice::WriteOnly));
    using Icon = Mensajes::Icon;
    const QString good = data.folder() + u("/");
    // Folder typed, button, starting up, whether the save fails; the message shown, if any (the
    // window then stays).
    const std::tuple<QString, const char*, bool, bool, std::optional<Icon>> cases[] = {
        {good, "cmdAceptar", true, false, {}},
        {good, "cmdAceptar", false, false, {}},
        {good, "cmdCancelar", false, false, {}},
        {QString(), "cmdAceptar", false, false, Icon::Exclamation},
        {sameNameFolder.path(), "cmdAceptar", false, false, Icon::Exclamation},
        {otherCase.path(), "cmdAceptar", false, false, Icon::Exclamation},
        {data.folder() + u("/falta"), "cmdAceptar", false, false, Icon::Exclamation},
        {data.file(), "cmdAceptar", false, false, Icon::Exclamation},
        {good, "cmdAceptar", false, true, Icon::Critical}};
    for (const auto& [typed, button, startingUp, saveFails, icon] : cases) {
        SCOPED_TRACE(typed.toStdString() + " " + button);
        const bool saved = !icon && qstrcmp(button, "cmdAceptar") == 0;
        ASSERT_TRUE(settings.setDataFolder(u("/datos/planta/")).ok());
        reopened.clear();
        mensajes.shown.clear();
        state.RecargaEnCurso = startingUp;
        open(saveFails ? &broken : nullptr);
        // The box shows the stored folder (none in the file that cannot be written).
        EXPECT_EQ(box->text(), saveFails ? QString() : u("/datos/planta"));
        typeAndPress(typed, button);

        EXPECT_EQ(storedFolder(), saved ? data.folder() : u("/datos/planta"));
        // During start-up nothing is open yet: start-up reads the setting again.
        EXPECT_EQ(reopened, saved && !startingUp ? QStringList{data.folder()} : QStringList());
        EXPECT_EQ(direcc->isVisible(), icon.has_value());
        EXPECT_EQ(direcc->result(), saved ? QDialog::Accepted : QDialog::Rejected);
        ASSERT_EQ(mensajes.shown.size(), icon ? 1 : 0);
        if (icon) {
            EXPECT_EQ(mensajes.shown[0].icon, *icon);
            EXPECT_EQ(mensajes.shown[0].text == u("No se encuentra la Base de Datos en esa ubicación"),
                      *icon == Icon::Exclamation);
        }
    }
}

TEST_F(DireccTest, BrowseListsOnlyTheDataFileOfTheFolderChosenAndPutsThatFolderInTheBox)
{
    const QString capitalised =
        Database::nombreArchivo().left(1).toUpper() + Database::nombreArchivo().mid(1);
    for (const QString& name : {u("otro.mdb"), u("trafos.rar"), capitalised, u("T-051226.mdb")})
        ASSERT_TRUE(QFile(QDir(data.folder()).filePath(name)).open(QIODevice::WriteOnly));
    QTemporaryDir other;
    // The folder in use has gone since: the browse window opens on its nearest parent.
    state.RutaDatos = data.folder() + u("/no/existe");
    open();
    box->setText(u("/otra"));
    QTimer::singleShot(0, direcc.get(), [&] {
        auto* browse = qobject_cast<CambiarDireccion*>(QApplication::activeModalWidget());
        auto* files = browse ? browse->findChild<QListWidget*>(u("File1")) : nullptr;
        auto* tree = browse ? browse->findChild<QTreeView*>(u("Directorio")) : nullptr;
        auto* model = tree ? qobject_cast<QFileSystemModel*>(tree->model()) : nullptr;
        if (!files || !model)
            return browse ? browse->reject() : void(); // the box keeps its text: fails below
        const auto listed = [files] {
            QStringList names;
            for (int i = 0; i < files->count(); ++i)
                names << files->item(i)->text();
            return names;
        };
        EXPECT_EQ(browse->folder(), data.folder());
        EXPECT_EQ(listed(), QStringList{Database::nombreArchivo()});
        // Choosing a folder gone since keeps the previous choice.
        EXPECT_FALSE(browse->setFolder(data.folder() + u("/desaparecida")));
        EXPECT_EQ(browse->folder(), data.folder());
        EXPECT_EQ(listed(), QStringList{Database::nombreArchivo()});
        // A folder chosen in the tree refreshes the list: the data file selected before goes with
        // its folder, and "&Aceptar" needs it selected.
        files->setCurrentRow(0);
        tree->setCurrentIndex(model->index(other.path()));
        EXPECT_EQ(browse->folder(), other.path());
        EXPECT_TRUE(listed().isEmpty());
        press(browse, "cmdAceptar");
        EXPECT_TRUE(browse->isVisible());
        tree->setCurrentIndex(model->index(data.folder()));
        files->setCurrentRow(0);
        press(browse, "cmdAceptar");
    });
    press(direcc.get(), "cmdExaminar");
    EXPECT_EQ(mensajes.texts(),
              (QStringList{u("Unidad no disponble"), u("Seleccione el Archivo de Base de Datos ")}));
    EXPECT_EQ(box->text(), data.folder());
    // Choosing is not accepting: nothing is saved until "&Aceptar".
    EXPECT_TRUE(storedFolder().isEmpty());
}
