#include "app/ui/Herramientas.h"
#include "app/logic/Settings.h"
#include "app/ui/ArranqueQt.h"
#include "maintenance/logic/Mantenimiento.h"
#include "maintenance/logic/NombresCopia.h"
#include "maintenance/logic/PasswordStore.h"
#include "records/ui/PaginaCalendario.h"
#include "records/ui/PaginaFechada.h"
#include "records/ui/PaginaHerramientas.h"
#include "records/ui/PaginaRevision.h"
#include "tests/support/Texto.h"
#include "tests/support/VentanaPrueba.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QDate kHoy(2026, 12, 5);

// The main window on two transformers, the first with an inspection, with its maintenance side
// as the program composes it: copies in a folder of the test, a short notice, a calculator
// that the test starts or not.
struct Principal
{
    Principal()
        : v([](const TempData& d) {
              d.exec(u("INSERT INTO Trafoge ([CÓDIGO]) VALUES (10), (20)"));
              d.exec(u("INSERT INTO Revision ([CÓDIGO], FECHA, [SEC  / PRIM A TIERRA 10']) "
                       "VALUES (10, '2024-01-10', 250)"));
          })
    {
        v.estado.apuntarDatos(v.datos.folder());
        v.trafo().setTerminar([this] { ++terminado; });
        Herramientas::Opciones o;
        o.hoy = [] { return kHoy; };
        o.ahora = [] { return QDateTime(kHoy, QTime(10, 30)); };
        o.carpetaCopias = copias.path();
        o.avisoMs = 30;
        o.calculadora = [this] {
            ++calculadoras;
            return hayCalculadora;
        };
        herramientas = std::make_unique<Herramientas>(v.estado, claves, v.mensajes, v.trafo(), o);
        v.trafo().tabs()->setCurrentWidget(v.trafo().paginaHerramientas());
    }
    void pulsar(int indice) const
    {
        QTest::mouseClick(v.trafo().paginaHerramientas()->boton(indice), Qt::LeftButton);
    }
    // Plays the modal window that the next click opens: jugar runs on it, then it is closed.
    static void enModal(const char* nombre, std::function<void(QWidget&)> jugar)
    {
        QTimer::singleShot(50, [nombre, jugar] {
            QWidget* w = QApplication::activeModalWidget();
            ASSERT_TRUE(w && w->objectName() == QLatin1String(nombre)) << nombre;
            jugar(*w);
            if (w->isVisible())
                w->close();
        });
    }
    static void clic(QWidget& w, const char* boton)
    {
        QTest::mouseClick(w.findChild<QPushButton*>(QLatin1String(boton)), Qt::LeftButton);
    }
    QString copiaDelDia() const { return copias.filePath(copias::nombreCopiaAutomatica(kHoy)); }

    VentanaPrueba v;
    QTemporaryDir copias, config;
    Settings ajustes{config.filePath(u("Quorvela.conf"))};
    PasswordStore claves{ajustes};
    std::unique_ptr<Herramientas> herramientas;
    int terminado = 0, calculadoras = 0;
    bool hayCalculadora = false;
};

} // namespace

TEST(Herramientas, CompactionCopiesReconnectsAndTheLaterExitStillEndsTheProgram)
{
    Principal p;
    p.v.estado.FormulaTrafo = u("[CÓDIGO] = 20");
    p.v.estado.OperadorFecha = u(">");
    PaginaCalendario* calendario = p.v.trafo().paginaRevision()->calendario();
    calendario->mostrarFecha(QDate(2020, 1, 1));

    p.enModal("Compact", [](QWidget& w) { Principal::clic(w, "Command25"); });
    p.pulsar(PaginaHerramientas::CompactarBase);
    EXPECT_EQ(p.v.mensajes.texts(), QStringList{u("Archivo Compactado")});
    EXPECT_TRUE(mantenimiento::verificar(p.copiaDelDia()).ok());
    EXPECT_EQ(p.terminado, 0);
    EXPECT_FALSE(p.v.estado.RecargaEnCurso);
    // As after start-up: no selection, the calendars on today, the views on the full tables.
    EXPECT_EQ(p.v.estado.FormulaTrafo, u("1=1"));
    EXPECT_EQ(p.v.estado.OperadorFecha, u("="));
    EXPECT_EQ(calendario->calendario()->selectedDate(), kHoy);
    ASSERT_TRUE(p.v.vistas.database());
    EXPECT_EQ(p.v.vistas.Data1.recordCount(), 2);

    // The real exit later runs in full; its notice now waits for a key.
    QTimer::singleShot(50, [] {
        QWidget* aviso = QApplication::activeModalWidget();
        ASSERT_TRUE(aviso && aviso->objectName() == u("AvisoRespaldo"));
        QTest::keyClick(aviso, Qt::Key_Space);
    });
    p.v.trafo().Salir();
    EXPECT_EQ(p.terminado, 1);
    EXPECT_FALSE(p.v.vistas.database());
}

TEST(Herramientas, BackupSavesPendingEditsAndRestoreBringsBackAnAutomaticCopy)
{
    Principal p;
    // An automatic copy of yesterday, then a third transformer.
    ASSERT_TRUE(mantenimiento::copiaAutomatica(p.v.estado.RutaBase, p.copias.path(), kHoy.addDays(-1)).ok());
    p.v.datos.exec(u("INSERT INTO Trafoge ([CÓDIGO]) VALUES (30)"));

    // An edit typed and not saved goes into the backup.
    QLineEdit* tierra = VentanaPrueba::caja(p.v.trafo().paginaRevision(), u("SEC  / PRIM A TIERRA 10'"));
    ASSERT_TRUE(tierra && tierra->isEnabled());
    VentanaPrueba::escribir(tierra, u("777"));
    QTemporaryDir destino;
    p.v.mensajes.folders.enqueue(destino.path());
    p.enModal("Back", [](QWidget& w) {
        Principal::clic(w, "Examinar");
        Principal::clic(w, "Command25");
    });
    p.pulsar(PaginaHerramientas::RealizarBackup);
    EXPECT_EQ(p.v.mensajes.texts(), QStringList{u("Archivo Copiado")});
    {
        auto copia = Database::open(QDir(destino.path()).filePath(u("T-051226.mdb")), true);
        ASSERT_TRUE(copia.ok()) << copia.error().toStdString();
        EXPECT_EQ(
            queryRows(*copia.value(), u("SELECT [SEC  / PRIM A TIERRA 10'] FROM Revision")).value(0).value(0),
            QVariant(777));
    }

    p.v.mensajes.shown.clear();
    p.v.mensajes.answers.enqueue(Mensajes::Answer::Yes);
    p.v.estado.FiltroCodigos = u("[CÓDIGO] IN (10)");
    p.enModal("Rest", [](QWidget& w) {
        auto* lista = w.findChild<QListWidget*>(u("File1"));
        ASSERT_TRUE(lista && lista->count() == 1);
        lista->setCurrentRow(0);
        Principal::clic(w, "Command25");
    });
    p.pulsar(PaginaHerramientas::RestaurarBackup);
    ASSERT_EQ(p.v.mensajes.shown.size(), 2) << p.v.mensajes.texts().join(u("|")).toStdString();
    EXPECT_EQ(p.v.mensajes.shown[1].text, u("Archivo Restaurado"));
    ASSERT_TRUE(p.v.vistas.database());
    EXPECT_EQ(p.v.vistas.Data1.recordCount(), 2);
    EXPECT_EQ(p.v.estado.FiltroCodigos, u("1=1"));
    EXPECT_EQ(p.v.valor(u("SELECT count(*) FROM Trafoge")).toInt(), 2);
    // The file before the restore, with its third transformer and the saved edit, is kept.
    auto previa = Database::open(p.copias.filePath(u("PreRestauracion-051226-103000.mdb")), true);
    ASSERT_TRUE(previa.ok());
    EXPECT_EQ(queryRows(*previa.value(), u("SELECT count(*) FROM Trafoge")).value(0).value(0), QVariant(3));
}

TEST(Herramientas, PasswordWindowsDoNotBlockAndTheCalculatorSaysWhenMissing)
{
    Principal p;
    for (const auto& [indice, nombre, titulo] :
         {std::tuple{int(PaginaHerramientas::ContrasenaLectura), "PassFrm1", "Contraseña Lectura"},
          std::tuple{int(PaginaHerramientas::ContrasenaEscritura), "PassFrm2", "Contraseña Escritura"}}) {
        p.pulsar(indice);
        auto* ventana = p.v.trafo().findChild<QWidget*>(QLatin1String(nombre));
        ASSERT_TRUE(ventana) << nombre;
        EXPECT_TRUE(ventana->isVisible());
        EXPECT_FALSE(ventana->isModal());
        EXPECT_EQ(ventana->windowTitle(), QString::fromUtf8(titulo));
        ventana->close();
    }
    QPushButton* calculadora = p.v.trafo().findChild<QPushButton*>(u("SSCommand1"));
    ASSERT_TRUE(calculadora && calculadora->isEnabled());
    EXPECT_TRUE(calculadora->text().isEmpty());
    QTest::mouseClick(calculadora, Qt::LeftButton);
    EXPECT_EQ(p.v.mensajes.texts(), QStringList{u("No se encontró la calculadora")});
    p.hayCalculadora = true;
    QTest::mouseClick(calculadora, Qt::LeftButton);
    EXPECT_EQ(p.calculadoras, 2);
    EXPECT_EQ(p.v.mensajes.shown.size(), 1);
}

// Start-up with the data file missing ends in the restore window, which can bring back an
// automatic copy where start-up looks for the file.
TEST(Herramientas, StartUpRestoreWindowPutsACopyWhereTheDataFileIsMissing)
{
    TempData origen;
    QTemporaryDir vacia, copias, config;
    ASSERT_TRUE(mantenimiento::copiaAutomatica(origen.file(), copias.path(), kHoy).ok());
    Settings settings(config.filePath(u("Quorvela.conf")));
    PasswordStore passwords(settings);
    ScriptedMensajes mensajes;
    mensajes.answers.enqueue(Mensajes::Answer::Yes);
    RunState estado;
    estado.RecargaEnCurso = true;
    estado.apuntarDatos(vacia.path());
    DataViews vistas(estado);
    ArranqueQt::Opciones opciones;
    opciones.carpetaCopias = copias.path();
    ArranqueQt arranque(estado, settings, passwords, mensajes, vistas, opciones);
    Principal::enModal("Rest", [](QWidget& w) {
        auto* lista = w.findChild<QListWidget*>(u("File1"));
        ASSERT_TRUE(lista && lista->count() == 1);
        lista->setCurrentRow(0);
        Principal::clic(w, "Command25");
    });
    arranque.showRestore();
    EXPECT_EQ(mensajes.texts().last(), u("Archivo Restaurado"));
    EXPECT_TRUE(RunState::contieneBase(vacia.path()));
    EXPECT_TRUE(mantenimiento::verificar(Database::rutaEn(vacia.path())).ok());
}
