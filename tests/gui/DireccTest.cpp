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
    void press(const char* name)
    {
        auto* button = direcc->findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_TRUE(button) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void typeFolder(const QString& folder)
    {
        box->clear();
        for (const QChar ch : folder)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
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
    QTemporaryDir empty;
};

} // namespace

TEST_F(DireccTest, ShowsTheStoredFolder)
{
    ASSERT_TRUE(settings.setDataFolder(QStringLiteral("/datos/planta/")).ok());
    open();
    EXPECT_EQ(direcc->objectName(), QStringLiteral("Direcc"));
    EXPECT_EQ(direcc->windowTitle(), QStringLiteral("Direccion de la Base de Datos"));
    EXPECT_EQ(box->text(), QStringLiteral("/datos/planta"));
    auto* examinar = direcc->findChild<QPushButton*>(QStringLiteral("cmdExaminar"));
    ASSERT_TRUE(examinar);
    EXPECT_EQ(examinar->text(), QStringLiteral("..."));
    EXPECT_EQ(examinar->toolTip(), QStringLiteral("Seleccionar Base de Datos"));
}

TEST_F(DireccTest, DuringStartUpSavesAndClosesWithoutReopening)
{
    state.RecargaEnCurso = true;
    open();
    typeFolder(data.folder() + QStringLiteral("/"));
    press("cmdAceptar");

    EXPECT_EQ(storedFolder(), data.folder());
    EXPECT_TRUE(reopened.isEmpty());
    EXPECT_FALSE(direcc->isVisible());
    EXPECT_EQ(direcc->result(), QDialog::Accepted);
    EXPECT_TRUE(mensajes.shown.isEmpty());
}

TEST_F(DireccTest, LaterItSavesAndReopensOnTheNewFolder)
{
    state.RecargaEnCurso = false;
    open();
    typeFolder(data.folder());
    press("cmdAceptar");

    EXPECT_EQ(storedFolder(), data.folder());
    EXPECT_EQ(reopened, QStringList{data.folder()});
    EXPECT_FALSE(direcc->isVisible());
}

TEST_F(DireccTest, AFolderWithoutTheDataFileIsRefusedAndNothingSaved)
{
    QDir(empty.path()).mkdir(QStringLiteral("trafos.mdb"));
    QTemporaryDir otherName;
    QFile wrongCase(otherName.filePath(QStringLiteral("TRAFOS.MDB")));
    ASSERT_TRUE(wrongCase.open(QIODevice::WriteOnly));
    wrongCase.close();
    const QString cases[] = {QString(), empty.path(), otherName.path(),
                             data.folder() + QStringLiteral("/falta"), data.file()};
    for (const QString& folder : cases) {
        SCOPED_TRACE(folder.toStdString());
        ASSERT_TRUE(settings.setDataFolder(QStringLiteral("/anterior")).ok());
        mensajes.shown.clear();
        open();
        typeFolder(folder);
        press("cmdAceptar");

        ASSERT_EQ(mensajes.shown.size(), 1);
        EXPECT_EQ(mensajes.shown[0].text, kSinBase);
        EXPECT_EQ(mensajes.shown[0].icon, Mensajes::Icon::Exclamation);
        EXPECT_TRUE(mensajes.shown[0].title.isEmpty());
        EXPECT_TRUE(direcc->isVisible());
        EXPECT_EQ(storedFolder(), QStringLiteral("/anterior"));
        EXPECT_TRUE(reopened.isEmpty());
    }
}

TEST_F(DireccTest, AFailedSaveShowsTheErrorAndStaysOpen)
{
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

TEST_F(DireccTest, CancelChangesNothing)
{
    ASSERT_TRUE(settings.setDataFolder(QStringLiteral("/anterior")).ok());
    open();
    typeFolder(data.folder());
    press("cmdCancelar");
    EXPECT_FALSE(direcc->isVisible());
    EXPECT_EQ(direcc->result(), QDialog::Rejected);
    EXPECT_EQ(storedFolder(), QStringLiteral("/anterior"));
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
        EXPECT_EQ(browse->folder(), data.folder());
        auto* files = browse->findChild<QListWidget*>(QStringLiteral("File1"));
        files->setCurrentRow(0);
        QTest::mouseClick(browse->findChild<QPushButton*>(QStringLiteral("cmdAceptar")), Qt::LeftButton);
    });
    press("cmdExaminar");
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
    void press(const char* name)
    {
        QTest::mouseClick(browse->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    }

    ScriptedMensajes mensajes;
    std::unique_ptr<CambiarDireccion> browse;
    QListWidget* files = nullptr;
    QTreeView* tree = nullptr;
    TempData data;
};

} // namespace

TEST_F(CambiarDireccionTest, ListsOnlyTheDataFile)
{
    for (const char* name : {"otro.mdb", "trafos.rar", "Trafos.mdb", "T-051226.mdb"}) {
        QFile file(QDir(data.folder()).filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    open(data.folder());
    EXPECT_EQ(browse->windowTitle(), QStringLiteral("Cambiar Dirección Base de Datos"));
    EXPECT_EQ(browse->folder(), data.folder());
    EXPECT_EQ(listed(), QStringList{QStringLiteral("trafos.mdb")});
}

TEST_F(CambiarDireccionTest, AceptarWithoutASelectedFileAsksForOneAndStays)
{
    open(data.folder());
    ASSERT_EQ(files->count(), 1);
    press("cmdAceptar");
    EXPECT_EQ(mensajes.texts(), QStringList{QStringLiteral("Seleccione el Archivo de Base de Datos ")});
    EXPECT_TRUE(mensajes.shown[0].title.isEmpty());
    EXPECT_TRUE(browse->isVisible());
    EXPECT_TRUE(browse->chosenFolder().isEmpty());

    files->setCurrentRow(0);
    press("cmdAceptar");
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
    EXPECT_EQ(listed(), QStringList{QStringLiteral("trafos.mdb")});
    EXPECT_EQ(model->filePath(tree->currentIndex()), data.folder());

    tree->setCurrentIndex(model->index(other.path()));
    EXPECT_TRUE(listed().isEmpty());
    // The data file selected earlier is gone with its folder.
    press("cmdAceptar");
    EXPECT_EQ(mensajes.texts(), QStringList{QStringLiteral("Seleccione el Archivo de Base de Datos ")});
}

TEST_F(CambiarDireccionTest, AnUnreadableFolderKeepsThePreviousChoice)
{
    open(data.folder());
    EXPECT_FALSE(browse->setFolder(data.folder() + QStringLiteral("/desaparecida")));
    EXPECT_EQ(mensajes.texts(), QStringList{QStringLiteral("Unidad no disponble")});
    EXPECT_EQ(browse->folder(), data.folder());
    EXPECT_EQ(listed(), QStringList{QStringLiteral("trafos.mdb")});
}

TEST_F(CambiarDireccionTest, AMissingStartFolderOpensOnItsNearestParent)
{
    open(data.folder() + QStringLiteral("/no/existe"));
    EXPECT_EQ(browse->folder(), data.folder());
    EXPECT_TRUE(mensajes.shown.isEmpty());
}
