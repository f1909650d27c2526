#include "data/ui/Direcc.h"

#include "app/logic/RunState.h"
#include "app/logic/Settings.h"
#include "data/ui/CambiarDireccion.h"
#include "tests/support/ScriptedMensajes.h"
#include "tests/support/TempData.h"

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

namespace {

const QString kSinBase = QStringLiteral("No se encuentra la Base de Datos en esa ubicación");
const QString kSeleccione = QStringLiteral("Seleccione el Archivo de Base de Datos ");

void press(QWidget* window, const char* name)
{
    auto* button = window->findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_TRUE(button) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

class DireccTest : public ::testing::Test
{
protected:
    void open()
    {
        direcc = std::make_unique<Direcc>(state, settings, mensajes,
                                          [this](const QString& folder) { reopened << folder; });
        box = direcc->findChild<QLineEdit*>(QStringLiteral("txtDireccion"));
        ASSERT_TRUE(box);
        direcc->show();
    }
    // Types a folder into the box as the keyboard does, then presses a button.
    void typeAndPress(const QString& folder, const char* button)
    {
        box->clear();
        for (const QChar ch : folder)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        press(direcc.get(), button);
    }
    QString storedFolder() const { return Settings(settings.fileName()).dataFolder(); }

    QTemporaryDir configDir;
    Settings settings{configDir.filePath(QStringLiteral("Quorvela.conf"))};
    RunState state;
    ScriptedMensajes mensajes;
    QStringList reopened;
    std::unique_ptr<Direcc> direcc;
    QLineEdit* box = nullptr;
    TempData data;
};

} // namespace

TEST_F(DireccTest, AceptarSavesTheFolderAndReopensOnlyAfterStartUp)
{
    for (const bool startingUp : {true, false}) {
        SCOPED_TRACE(startingUp ? "starting up" : "later");
        ASSERT_TRUE(settings.setDataFolder(QStringLiteral("/anterior")).ok());
        reopened.clear();
        state.RecargaEnCurso = startingUp;
        open();
        typeAndPress(data.folder() + QStringLiteral("/"), "cmdAceptar");

        EXPECT_EQ(storedFolder(), data.folder());
        // During start-up nothing is open yet: start-up reads the setting again.
        EXPECT_EQ(reopened, startingUp ? QStringList() : QStringList{data.folder()});
        EXPECT_FALSE(direcc->isVisible());
        EXPECT_EQ(direcc->result(), QDialog::Accepted);
        EXPECT_TRUE(mensajes.shown.isEmpty());
    }
}

TEST_F(DireccTest, AFolderWithoutTheDataFileIsRefusedAndNothingSaved)
{
    QTemporaryDir sameNameFolder;
    ASSERT_TRUE(QDir(sameNameFolder.path()).mkdir(Database::nombreArchivo()));
    QTemporaryDir otherCase;
    QFile wrongCase(QDir(otherCase.path()).filePath(Database::nombreArchivo().toUpper()));
    ASSERT_TRUE(wrongCase.open(QIODevice::WriteOnly));
    wrongCase.close();
    const QString cases[] = {QString(), sameNameFolder.path(), otherCase.path(),
                             data.folder() + QStringLiteral("/falta"), data.file()};
    for (const QString& folder : cases) {
        SCOPED_TRACE(folder.toStdString());
        ASSERT_TRUE(settings.setDataFolder(QStringLiteral("/anterior")).ok());
        mensajes.shown.clear();
        open();
        typeAndPress(folder, "cmdAceptar");

        ASSERT_EQ(mensajes.shown.size(), 1);
        EXPECT_EQ(mensajes.shown[0].text, kSinBase);
        EXPECT_EQ(mensajes.shown[0].icon, Mensajes::Icon::Exclamation);
        EXPECT_TRUE(direcc->isVisible());
        EXPECT_EQ(storedFolder(), QStringLiteral("/anterior"));
        EXPECT_TRUE(reopened.isEmpty());
    }
}

TEST_F(DireccTest, AFailedSaveShowsTheErrorAndStaysOpen)
{
    // The settings file would go inside a plain file: it cannot be written.
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("bloqueo")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Settings broken(dir.filePath(QStringLiteral("bloqueo/Quorvela.conf")));
    Direcc window(state, broken, mensajes, [this](const QString& folder) { reopened << folder; });
    window.show();
    window.setFolderText(data.folder());
    window.aceptar();

    ASSERT_EQ(mensajes.shown.size(), 1);
    EXPECT_EQ(mensajes.shown[0].title, QStringLiteral("¡Error!"));
    EXPECT_EQ(mensajes.shown[0].icon, Mensajes::Icon::Critical);
    EXPECT_FALSE(mensajes.shown[0].text.isEmpty());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(reopened.isEmpty());
}

TEST_F(DireccTest, ShowsTheStoredFolderAndCancelChangesNothing)
{
    ASSERT_TRUE(settings.setDataFolder(QStringLiteral("/datos/planta/")).ok());
    open();
    EXPECT_EQ(box->text(), QStringLiteral("/datos/planta"));
    typeAndPress(data.folder(), "cmdCancelar");
    EXPECT_FALSE(direcc->isVisible());
    EXPECT_EQ(direcc->result(), QDialog::Rejected);
    EXPECT_EQ(storedFolder(), QStringLiteral("/datos/planta"));
    EXPECT_TRUE(reopened.isEmpty());
}

TEST_F(DireccTest, BrowseButtonPutsTheChosenFolderInTheBox)
{
    state.RutaDatos = data.folder();
    open();
    box->setText(QStringLiteral("/otra"));
    bool sawBrowse = false;
    QTimer::singleShot(0, direcc.get(), [&] {
        auto* browse = qobject_cast<CambiarDireccion*>(QApplication::activeModalWidget());
        ASSERT_TRUE(browse);
        sawBrowse = true;
        // The browse window starts on the folder in use.
        EXPECT_EQ(browse->folder(), data.folder());
        browse->findChild<QListWidget*>(QStringLiteral("File1"))->setCurrentRow(0);
        press(browse, "cmdAceptar");
    });
    press(direcc.get(), "cmdExaminar");
    EXPECT_TRUE(sawBrowse);
    EXPECT_EQ(box->text(), data.folder());
    // Choosing is not accepting: nothing is saved until "&Aceptar".
    EXPECT_TRUE(storedFolder().isEmpty());
}

namespace {

class CambiarDireccionTest : public ::testing::Test
{
protected:
    void open(const QString& start)
    {
        browse = std::make_unique<CambiarDireccion>(start, mensajes);
        files = browse->findChild<QListWidget*>(QStringLiteral("File1"));
        tree = browse->findChild<QTreeView*>(QStringLiteral("Directorio"));
        ASSERT_TRUE(files && tree);
        browse->show();
    }
    QStringList listed() const
    {
        QStringList names;
        for (int i = 0; i < files->count(); ++i)
            names << files->item(i)->text();
        return names;
    }

    ScriptedMensajes mensajes;
    std::unique_ptr<CambiarDireccion> browse;
    QListWidget* files = nullptr;
    QTreeView* tree = nullptr;
    TempData data;
};

} // namespace

TEST_F(CambiarDireccionTest, ListsOnlyTheDataFileAndAceptarNeedsItSelected)
{
    const QString capitalised =
        Database::nombreArchivo().left(1).toUpper() + Database::nombreArchivo().mid(1);
    for (const QString& name : {QStringLiteral("otro.mdb"), QStringLiteral("trafos.rar"), capitalised,
                                QStringLiteral("T-051226.mdb")}) {
        QFile file(QDir(data.folder()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    open(data.folder());
    EXPECT_EQ(browse->folder(), data.folder());
    ASSERT_EQ(listed(), QStringList{Database::nombreArchivo()});

    press(browse.get(), "cmdAceptar");
    EXPECT_EQ(mensajes.texts(), QStringList{kSeleccione});
    EXPECT_TRUE(browse->isVisible());
    EXPECT_TRUE(browse->chosenFolder().isEmpty());

    files->setCurrentRow(0);
    press(browse.get(), "cmdAceptar");
    EXPECT_EQ(mensajes.shown.size(), 1);
    EXPECT_FALSE(browse->isVisible());
    EXPECT_EQ(browse->result(), QDialog::Accepted);
    EXPECT_EQ(browse->chosenFolder(), data.folder());
}

TEST_F(CambiarDireccionTest, ChoosingAFolderInTheTreeRefreshesTheFileList)
{
    QTemporaryDir other;
    open(other.path());
    EXPECT_TRUE(listed().isEmpty());

    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    ASSERT_TRUE(model);
    tree->setCurrentIndex(model->index(data.folder()));
    EXPECT_EQ(browse->folder(), data.folder());
    EXPECT_EQ(listed(), QStringList{Database::nombreArchivo()});
    files->setCurrentRow(0);

    tree->setCurrentIndex(model->index(other.path()));
    EXPECT_TRUE(listed().isEmpty());
    // The data file selected earlier is gone with its folder.
    press(browse.get(), "cmdAceptar");
    EXPECT_EQ(mensajes.texts(), QStringList{kSeleccione});
}

TEST_F(CambiarDireccionTest, AMissingFolderKeepsThePreviousChoiceOrOpensOnItsNearestParent)
{
    open(data.folder() + QStringLiteral("/no/existe"));
    EXPECT_EQ(browse->folder(), data.folder());
    EXPECT_TRUE(mensajes.shown.isEmpty());

    EXPECT_FALSE(browse->setFolder(data.folder() + QStringLiteral("/desaparecida")));
    EXPECT_EQ(mensajes.texts(), QStringList{QStringLiteral("Unidad no disponble")});
    EXPECT_EQ(browse->folder(), data.folder());
    EXPECT_EQ(listed(), QStringList{Database::nombreArchivo()});
}
