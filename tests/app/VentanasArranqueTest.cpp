#include "Version.h"
#include "app/logic/RunState.h"
#include "app/logic/Settings.h"
#include "app/logic/StartupSequence.h"
#include "app/ui/ArranqueQt.h"
#include "app/ui/AvisoRespaldo.h"
#include "app/ui/Logo.h"
#include "app/ui/VentanaInicio.h"
#include "maintenance/logic/PasswordStore.h"
#include "records/logic/DataViews.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaHerramientas.h"
#include "records/ui/Trafo.h"
#include "tests/support/ScriptedMensajes.h"
#include "tests/support/TempData.h"
#include "tests/support/Texto.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QString label(const Trafo& w, const char* name)
{
    auto* l = w.findChild<QLabel*>(QString::fromLatin1(name));
    return l ? l->text() : QStringLiteral("<sin etiqueta>");
}

} // namespace

// ---- Start-up and backup-notice windows ------------------------------------------------

TEST(StartupWindow, HandsOverOnceAfterItsIntervalAndCloses)
{
    int entregas = 0;
    QPointer<VentanaInicio> w = new VentanaInicio([&] { ++entregas; });
    EXPECT_EQ(w->intervalo(), 5000);
    EXPECT_EQ(w->textoVersion(), QStringLiteral(QUORVELA_VERSION_TEXT));
    w->setIntervalo(80);
    w->show();
    QTest::qWait(20);
    EXPECT_EQ(entregas, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.isNull(); }, 2000)); // closes and deletes itself
    EXPECT_EQ(entregas, 1);
}

TEST(BackupNotice, ClosesByItselfOnlyTheFirstTime)
{
    bool yaMostrado = false;
    QObject guarda; // the safety timers die with the test
    QElapsedTimer reloj;
    reloj.start();
    QTimer::singleShot(4000, &guarda, [] {
        if (auto* w = QApplication::activeModalWidget())
            w->close(); // keeps a failing test from hanging
    });
    AvisoRespaldo::mostrar(yaMostrado, nullptr, 150);
    EXPECT_GE(reloj.elapsed(), 140);
    EXPECT_LT(reloj.elapsed(), 3000);
    EXPECT_TRUE(yaMostrado);

    // Second showing: still up long after the interval, closed only by a key.
    bool seguiaAbierto = false;
    QTimer::singleShot(600, [&] {
        auto* aviso = qobject_cast<AvisoRespaldo*>(QApplication::activeModalWidget());
        seguiaAbierto = aviso && aviso->isVisible();
        if (aviso) {
            EXPECT_FALSE(aviso->cierreAutomatico());
            QTest::keyClick(aviso, Qt::Key_Space);
        }
    });
    QTimer::singleShot(5000, &guarda, [] {
        if (auto* w = QApplication::activeModalWidget())
            w->close(); // keeps a failing test from hanging
    });
    reloj.restart();
    AvisoRespaldo::mostrar(yaMostrado, nullptr, 150);
    EXPECT_TRUE(seguiaAbierto);
    EXPECT_LT(reloj.elapsed(), 4000);
}

TEST(Logo, DrawsTheTransformerSymbol)
{
    Logo logo;
    logo.resize(100, 100);
    const QImage img = logo.grab().toImage();
    ASSERT_EQ(img.size(), QSize(100, 100));
    const QColor placa = img.pixelColor(10, 90);
    EXPECT_GT(placa.blue(), placa.red() + 60) << "the plate is blue";
    EXPECT_EQ(img.pixelColor(16, 50), QColor(Qt::white)) << "left winding";
    EXPECT_EQ(img.pixelColor(84, 50), QColor(Qt::white)) << "right winding";
    const QColor rayo = img.pixelColor(50, 50);
    EXPECT_GT(rayo.red(), 200) << "the bolt crosses the core";
    EXPECT_LT(rayo.blue(), 80);
}

TEST(BackupNotice, ShowsItsTextsAndClosesOnAClick)
{
    AvisoRespaldo aviso(false);
    auto texto = [&](const char* name) {
        auto* l = aviso.findChild<QLabel*>(QString::fromLatin1(name));
        return l ? l->text() : QString();
    };
    EXPECT_EQ(texto("Titulo"), QStringLiteral("Quorvela"));
    EXPECT_EQ(texto("Texto"), QStringLiteral("Realizando Back Up de la Base de Datos..."));
    EXPECT_EQ(texto("Version"), QString::fromUtf8("Versión ") + QStringLiteral(QUORVELA_VERSION_TEXT));
    aviso.show();
    ASSERT_TRUE(aviso.isVisible());
    QTest::mouseClick(aviso.findChild<QWidget*>(QStringLiteral("Marco")), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(aviso.isVisible());
    EXPECT_EQ(aviso.result(), QDialog::Accepted);
}

// ---- The whole start-up with the real windows --------------------------------------------

TEST(Smoke, RealStartupOpensTheMainWindowOnTheDataFileAndCloses)
{
    TempData temp;
    temp.exec(
        QStringLiteral("INSERT INTO Trafoge ([CÓDIGO], [ESTADO], [GRAVEDAD]) VALUES (10, 1, 0), (20, 3, 4)"));
    QTemporaryDir config;
    Settings settings(config.filePath(QStringLiteral("Quorvela.conf")));
    PasswordStore passwords(settings);
    ScriptedMensajes mensajes;
    RunState estado;
    DataViews vistas(estado);
    int terminado = 0;
    int mostrada = 0;
    ArranqueQt::Opciones opciones;
    opciones.sinEspera = false;
    opciones.esperaMs = 100;
    opciones.terminar = [&] { ++terminado; };
    opciones.alMostrar = [&](Trafo&) { ++mostrada; };
    ArranqueQt arranque(estado, settings, passwords, mensajes, vistas, opciones);
    StartupSequence inicio(estado, settings, arranque, mensajes);
    inicio.setDataFolderOverride(temp.folder());

    // The connection window: read/write work, no passwords set.
    bool conexionVista = false;
    QTimer::singleShot(100, [&] {
        QWidget* pas = QApplication::activeModalWidget();
        conexionVista = pas && pas->objectName() == QStringLiteral("Pas");
        if (!pas)
            return;
        if (auto* edicion = pas->findChild<QAbstractButton*>(QStringLiteral("Option2")))
            edicion->click();
        if (auto* aceptar = pas->findChild<QPushButton*>(QStringLiteral("Command1")))
            aceptar->click();
        if (pas->isVisible())
            pas->close();
    });
    ASSERT_TRUE(inicio.run(QDir::currentPath()));
    EXPECT_TRUE(conexionVista);
    EXPECT_TRUE(mensajes.shown.isEmpty()) << mensajes.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(estado.SoloLectura);

    Trafo* trafo = arranque.trafo();
    ASSERT_TRUE(trafo);
    EXPECT_FALSE(trafo->isVisible()); // the start-up window comes first
    ASSERT_TRUE(arranque.ventanaInicio());
    EXPECT_TRUE(arranque.ventanaInicio()->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return trafo->isVisible(); }, 3000));
    EXPECT_EQ(mostrada, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return arranque.ventanaInicio() == nullptr; }, 1000));

    EXPECT_EQ(label(*trafo, "LabelModo"), QString::fromUtf8("MODO: Edición"));
    EXPECT_EQ(label(*trafo, "LabelCarpeta"), QString::fromUtf8("Dirección BD: ") + temp.folder());
    ASSERT_TRUE(vistas.database());
    EXPECT_EQ(vistas.database()->path(), temp.file());
    EXPECT_EQ(vistas.Ado1.recordCount(), 2);
    // The list stands on the window's transformer, the first by code, not on its red first row.
    EXPECT_EQ(vistas.Ado1.value(QString::fromUtf8("CÓDIGO")).toInt(), 10);
    EXPECT_EQ(vistas.Data1.value(0).toInt(), 10);
    // The test's diagnosis light, made by the diagnosis controls, sits on the tests page.
    QWidget* semaforo = trafo->findChild<QWidget*>(QStringLiteral("Semaforo1"));
    ASSERT_TRUE(semaforo);
    EXPECT_TRUE(trafo->paginaEnsayos()->isAncestorOf(semaforo));
    EXPECT_TRUE(semaforo->property("Estado").isValid());

    // "Dirección Base de Datos" moves every view to another data file.
    TempData otra;
    otra.exec(QStringLiteral("INSERT INTO Trafoge ([CÓDIGO]) VALUES (1), (2), (3)"));
    estado.FormulaTrafo = QStringLiteral("[CÓDIGO]=10");
    bool direccVista = false;
    QTimer::singleShot(100, [&] {
        QWidget* direcc = QApplication::activeModalWidget();
        direccVista = direcc && direcc->objectName() == QStringLiteral("Direcc");
        if (!direcc)
            return;
        if (auto* carpeta = direcc->findChild<QLineEdit*>(QStringLiteral("txtDireccion")))
            carpeta->setText(otra.folder());
        if (auto* aceptar = direcc->findChild<QPushButton*>(QStringLiteral("cmdAceptar")))
            aceptar->click();
        if (direcc->isVisible())
            direcc->close();
    });
    trafo->tabs()->setCurrentIndex(6);
    QTest::mouseClick(trafo->paginaHerramientas()->boton(PaginaHerramientas::DireccionBase), Qt::LeftButton);
    EXPECT_TRUE(direccVista);
    EXPECT_EQ(settings.dataFolder(), otra.folder());
    ASSERT_TRUE(vistas.database());
    EXPECT_EQ(vistas.database()->path(), otra.file());
    EXPECT_EQ(vistas.Data1.recordCount(), 3);
    EXPECT_EQ(estado.FormulaTrafo, QStringLiteral("1=1"));
    EXPECT_EQ(label(*trafo, "LabelCarpeta"), QString::fromUtf8("Dirección BD: ") + otra.folder());

    trafo->close();
    EXPECT_EQ(terminado, 1);
    EXPECT_FALSE(vistas.database());
}
