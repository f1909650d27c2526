#include "Version.h"
#include "app/logic/RunState.h"
#include "app/logic/Settings.h"
#include "app/logic/StartupSequence.h"
#include "app/ui/ArranqueQt.h"
#include "app/ui/AvisoRespaldo.h"
#include "app/ui/Logo.h"
#include "app/ui/VentanaInicio.h"
#include "data/logic/PriorityList.h"
#include "maintenance/logic/PasswordStore.h"
#include "records/logic/DataViews.h"
#include "records/logic/DisposicionTrafo.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaHerramientas.h"
#include "records/ui/Trafo.h"
#include "tests/support/ScriptedMensajes.h"
#include "tests/support/TempData.h"
#include "utilities/ui/MensajesQt.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
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

// A main window on a fresh run state, with the program's end counted instead of performed.
struct Ventana
{
    explicit Ventana(bool soloLectura = false, const QString& rutaDatos = QStringLiteral("/datos/planta"))
    {
        estado.SoloLectura = soloLectura;
        estado.apuntarDatos(rutaDatos);
        trafo = std::make_unique<Trafo>(estado, vistas);
        trafo->setTerminar([this] { ++terminado; });
        trafo->setAbrirEnlace([this](const QUrl& url) { enlaces << url; });
    }
    RunState estado;
    DataViews vistas{estado};
    std::unique_ptr<Trafo> trafo;
    int terminado = 0;
    QList<QUrl> enlaces;
};

} // namespace

// ---- The shell ------------------------------------------------------------------------

TEST(MainWindow, TitleTabsAndTitlePanel)
{
    Ventana v;
    EXPECT_EQ(v.trafo->windowTitle(), QStringLiteral("Quorvela"));
    EXPECT_EQ(v.trafo->objectName(), QStringLiteral("Trafo"));
    const QStringList esperadas{QStringLiteral("&BUSCAR"),       QStringLiteral("TRAFOS"),
                                QString::fromUtf8("REVISIÓN"),   QStringLiteral("ENSAYOS"),
                                QStringLiteral("MANTENIMIENTO"), QStringLiteral("PRIORIDADES"),
                                QStringLiteral("HERRAMIENTAS")};
    QStringList vistas;
    for (int i = 0; i < v.trafo->tabs()->count(); ++i)
        vistas << v.trafo->tabs()->tabText(i);
    EXPECT_EQ(vistas, esperadas);
    EXPECT_EQ(label(*v.trafo, "Titulo"), QStringLiteral("Quorvela " QUORVELA_VERSION_TEXT));
}

TEST(MainWindow, ModeAndFolderLabels)
{
    struct Caso
    {
        bool soloLectura;
        QString carpeta;
        QString modo;
    };
    const Caso casos[] = {
        {true, QStringLiteral("/srv/planta norte"), QStringLiteral("MODO: Solo Lectura")},
        {false, QString::fromUtf8("/home/ana/Subestación"), QString::fromUtf8("MODO: Edición")},
    };
    for (const Caso& c : casos) {
        Ventana v(c.soloLectura, c.carpeta);
        EXPECT_EQ(label(*v.trafo, "LabelModo"), c.modo);
        EXPECT_EQ(label(*v.trafo, "LabelCarpeta"), QString::fromUtf8("Dirección BD: ") + c.carpeta);
    }
}

TEST(MainWindow, ResizeCentresTheTabControlByTheTwipsRule)
{
    Ventana v;
    v.trafo->show();
    ASSERT_EQ(v.trafo->logicalDpiY(), 96); // 15 twips per pixel
    QTabWidget* tabs = v.trafo->tabs();
    auto* panel = v.trafo->findChild<QWidget*>(QStringLiteral("PanelInferior"));
    auto* modo = v.trafo->findChild<QLabel*>(QStringLiteral("LabelModo"));
    auto* carpeta = v.trafo->findChild<QLabel*>(QStringLiteral("LabelCarpeta"));
    auto* enlace = v.trafo->findChild<QLabel*>(QStringLiteral("Label7"));
    ASSERT_TRUE(panel && modo && carpeta && enlace);

    // Tab control 15000 x 8700 twips = 1000 x 580 px.
    const QSize tamTabs(1000, 580);
    struct Caso
    {
        QSize ventana;
        QPoint tabs; // (W - 1000) / 2, (H - 580) / 2 - 650 / 15
    };
    const Caso casos[] = {
        {{1300, 800}, {150, 67}},  // 110 - 43.3
        {{1366, 768}, {183, 51}},  // 94 - 43.3
        {{1201, 900}, {101, 117}}, // 100.5 rounds up; 160 - 43.3
    };
    for (const Caso& c : casos) {
        v.trafo->resize(c.ventana);
        QCoreApplication::processEvents();
        ASSERT_EQ(v.trafo->size(), c.ventana);
        EXPECT_EQ(tabs->size(), tamTabs);
        EXPECT_EQ(tabs->pos(), c.tabs) << c.ventana.width() << "x" << c.ventana.height();
        // The panel is centred 60 twips (4 px) below the tab control.
        EXPECT_EQ(panel->y(), tabs->geometry().bottom() + 1 + 4);
        EXPECT_NEAR(panel->x() + panel->width() / 2.0, c.ventana.width() / 2.0, 0.5);
        // The labels sit 50 twips (3 px) below the panel, aligned with its edges.
        EXPECT_EQ(modo->y(), panel->geometry().bottom() + 1 + 3);
        EXPECT_EQ(modo->x(), panel->x());
        EXPECT_EQ(carpeta->x(), panel->x());
        EXPECT_GE(carpeta->y(), modo->geometry().bottom());
        EXPECT_EQ(enlace->y(), modo->y());
        EXPECT_EQ(enlace->geometry().right(), panel->geometry().right());
    }
}

TEST(MainWindow, SmallWindowKeepsEverythingInside)
{
    const DisposicionTrafo::Piezas p{{1000, 580}, {1000, 48}, {120, 18}, {300, 18}, {140, 18}};
    for (const QSize ventana : {QSize(1000, 600), QSize(900, 500), QSize(1020, 700)}) {
        const auto g = DisposicionTrafo::calcular(ventana, p, 96);
        EXPECT_GE(g.tabs.x(), 0);
        EXPECT_GE(g.tabs.y(), 0);
        const QSize minimo = DisposicionTrafo::minimo(p, 96);
        if (ventana.height() >= minimo.height()) {
            EXPECT_LE(g.carpeta.bottom(), ventana.height() - 1) << ventana.height();
        }
    }
    // Tall enough for everything: only the clamp at the bottom moves the tab control up.
    const auto justo = DisposicionTrafo::calcular(QSize(1000, 672), p, 96);
    EXPECT_EQ(justo.carpeta.bottom(), 671);
    EXPECT_EQ(DisposicionTrafo::minimo(p, 96), QSize(1000, 580 + 4 + 48 + 3 + 18 + 18));
    // At 144 dpi a twip is 1/10 px: 650 twips lift the tab control by 65 px.
    const DisposicionTrafo::Piezas grande{{1500, 870}, {1500, 72}, {180, 27}, {400, 27}, {200, 27}};
    const auto g = DisposicionTrafo::calcular(QSize(1800, 1200), grande, 144);
    EXPECT_EQ(g.tabs.topLeft(), QPoint(150, 100));
    EXPECT_EQ(g.panel.y(), 100 + 870 + 6);
}

TEST(MainWindow, SalirRunsOnceWhetherButtonOrClose)
{
    Ventana v;
    TempData temp;
    ASSERT_TRUE(v.vistas.openAll(temp.file(), false).ok());
    ASSERT_TRUE(v.vistas.database());
    v.trafo->show();
    int alSalir = 0;
    v.trafo->setAlSalir([&] { ++alSalir; });

    auto* salir = v.trafo->findChild<QPushButton*>(QStringLiteral("Command9"));
    ASSERT_TRUE(salir);
    EXPECT_EQ(salir->text(), QStringLiteral("&Salir"));
    QTest::mouseClick(salir, Qt::LeftButton);
    EXPECT_EQ(v.terminado, 1);
    EXPECT_EQ(alSalir, 1);
    EXPECT_FALSE(v.vistas.database()); // the views let go of the data file
    v.trafo->close();
    EXPECT_EQ(v.terminado, 1);
    EXPECT_EQ(alSalir, 1);
}

TEST(MainWindow, ClosingTheWindowRunsSalir)
{
    Ventana v;
    v.trafo->show();
    v.trafo->close();
    EXPECT_EQ(v.terminado, 1);
    EXPECT_FALSE(v.trafo->isVisible());
}

TEST(MainWindow, ReloadKeepsDataOpenAndProgramRunning)
{
    Ventana v;
    TempData temp;
    ASSERT_TRUE(v.vistas.openAll(temp.file(), false).ok());
    v.estado.RecargaEnCurso = true;
    v.trafo->close();
    EXPECT_EQ(v.terminado, 0);
    EXPECT_TRUE(v.vistas.database());
}

TEST(MainWindow, ToolButtonsAndLinks)
{
    Ventana v;
    int direccion = 0;
    v.trafo->setAbrirDireccion([&] { ++direccion; });
    v.trafo->show();
    struct Caso
    {
        int indice;
        const char* texto;
    };
    const Caso casos[] = {{0, "Realizar Backup"},
                          {1, "Compactar Base de Datos"},
                          {3, "Restaurar Backup"},
                          {4, "Dirección Base de Datos"},
                          {5, "Cambiar Contraseña de Lectura"},
                          {6, "Cambiar Contraseña de Escritura"},
                          {8, "Buscar Actualizaciones"}};
    for (const Caso& c : casos) {
        auto* b = v.trafo->findChild<QPushButton*>(QStringLiteral("CommandH_%1").arg(c.indice));
        ASSERT_TRUE(b) << c.indice;
        EXPECT_EQ(b->text(), QString::fromUtf8(c.texto));
    }
    v.trafo->tabs()->setCurrentIndex(6);
    PaginaHerramientas* pagina = v.trafo->paginaHerramientas();
    QTest::mouseClick(pagina->boton(PaginaHerramientas::DireccionBase), Qt::LeftButton);
    EXPECT_EQ(direccion, 1);
    // A button without a window to open is disabled; giving it one enables it.
    EXPECT_FALSE(pagina->boton(PaginaHerramientas::RealizarBackup)->isEnabled());
    int respaldo = 0;
    v.trafo->setComandoHerramientas(PaginaHerramientas::RealizarBackup, [&] { ++respaldo; });
    EXPECT_TRUE(pagina->boton(PaginaHerramientas::RealizarBackup)->isEnabled());
    QTest::mouseClick(pagina->boton(PaginaHerramientas::RealizarBackup), Qt::LeftButton);
    EXPECT_EQ(respaldo, 1);
    EXPECT_EQ(direccion, 1);
    v.trafo->setComandoHerramientas(PaginaHerramientas::RealizarBackup, nullptr);
    EXPECT_FALSE(pagina->boton(PaginaHerramientas::RealizarBackup)->isEnabled());

    QTest::mouseClick(v.trafo->paginaHerramientas()->boton(PaginaHerramientas::BuscarActualizaciones),
                      Qt::LeftButton);
    ASSERT_EQ(v.enlaces.size(), 1);
    EXPECT_EQ(v.enlaces.last(),
              Trafo::direccionWeb().resolved(QUrl(QStringLiteral("index_archivos/Quorvela.htm"))));

    auto* enlace = v.trafo->findChild<QLabel*>(QStringLiteral("Label7"));
    ASSERT_TRUE(enlace);
    QTest::mouseClick(enlace, Qt::LeftButton, {}, enlace->rect().center());
    ASSERT_EQ(v.enlaces.size(), 2);
    EXPECT_EQ(v.enlaces.last(), Trafo::direccionWeb());
}

// ---- The record views ------------------------------------------------------------------

TEST(DataViews, OpenAllSharesOneConnectionAndSetsSources)
{
    TempData temp;
    temp.exec(QStringLiteral("INSERT INTO Trafoge ([CÓDIGO], [TIPO AISLANTE]) VALUES (7, 'Aceite mineral'), "
                             "(3, 'Silicona'), (5, 'Aceite mineral')"));
    for (const bool soloLectura : {false, true}) {
        RunState estado;
        DataViews vistas(estado);
        QList<bool> reposicionAlAbrir;
        QObject::connect(&vistas.Data1, &RecordView::repositioned,
                         [&] { reposicionAlAbrir << estado.ReposicionActiva; });
        ASSERT_TRUE(vistas.openAll(temp.file(), soloLectura).ok());
        EXPECT_TRUE(estado.ReposicionActiva);
        EXPECT_FALSE(reposicionAlAbrir.isEmpty());
        for (const bool activa : reposicionAlAbrir)
            EXPECT_FALSE(activa) << "opening the views must not run their reposition handlers";

        const auto db = vistas.database();
        ASSERT_TRUE(db);
        for (int n = 1; n <= 10; ++n)
            EXPECT_EQ(vistas.data(n)->database(), db) << n;
        EXPECT_EQ(vistas.Ado1.database(), db);
        for (int n = 1; n <= 4; ++n)
            EXPECT_EQ(vistas.data(n)->isReadOnly(), soloLectura) << n;

        const QStringList fuentes{QStringLiteral("trafoge"),
                                  QStringLiteral("Revision"),
                                  QStringLiteral("ensayos"),
                                  QStringLiteral("mantenimiento"),
                                  QStringLiteral("trafoge"),
                                  QStringLiteral("SELECT DISTINCT [Fecha]  FROM mantenimiento"),
                                  QStringLiteral("SELECT DISTINCT [Fecha]  FROM ensayos"),
                                  QStringLiteral("SELECT DISTINCT [Fecha]  FROM Revision"),
                                  QStringLiteral("trafoge"),
                                  QStringLiteral("SELECT DISTINCT [TIPO AISLANTE]  FROM Trafoge order by "
                                                 "[TIPO AISLANTE] asc")};
        for (int n = 1; n <= 10; ++n)
            EXPECT_EQ(vistas.data(n)->recordSource(), fuentes[n - 1]) << n;
        EXPECT_EQ(vistas.Ado1.recordSource(), PriorityList::priorityQuery());

        EXPECT_TRUE(vistas.Data1.isOpen());
        EXPECT_EQ(vistas.Data1.recordCount(), 3);
        EXPECT_EQ(vistas.Data10.recordCount(), 2);
        EXPECT_TRUE(vistas.Ado1.isOpen());
        EXPECT_EQ(vistas.Ado1.recordCount(), 3);

        vistas.closeAll();
        EXPECT_FALSE(vistas.database());
        EXPECT_FALSE(vistas.Data1.isOpen());
        EXPECT_FALSE(vistas.Ado1.isOpen());
    }
}

TEST(DataViews, MissingFileLeavesEmptyViewsAndReportsTheError)
{
    QTemporaryDir vacia;
    RunState estado;
    DataViews vistas(estado);
    const Status st = vistas.openAll(vacia.filePath(QStringLiteral("trafos.mdb")), false);
    EXPECT_FALSE(st.ok());
    EXPECT_FALSE(st.error().isEmpty());
    EXPECT_FALSE(vistas.database());
    EXPECT_FALSE(vistas.Data1.isOpen());
    EXPECT_EQ(vistas.Data1.recordCount(), 0);
    EXPECT_TRUE(estado.ReposicionActiva);
}

TEST(DataViews, ReabrirMovesToTheNewFolderAndResetsSelections)
{
    TempData primera;
    TempData segunda;
    segunda.exec(QStringLiteral("INSERT INTO Trafoge ([CÓDIGO]) VALUES (1), (2)"));
    Ventana v(false, primera.folder());
    ASSERT_TRUE(v.vistas.openAll(primera.file(), false).ok());
    EXPECT_EQ(v.vistas.Data1.recordCount(), 0);
    v.estado.FormulaTrafo = QStringLiteral("[CÓDIGO]=2");
    v.estado.FiltroCodigos = QStringLiteral("[CÓDIGO] IN (2)");
    v.estado.OperadorFecha = QStringLiteral(">");
    v.estado.SincronizacionActiva = true;
    v.estado.AparcadaEnsayos = true;

    ASSERT_TRUE(v.trafo->reabrir(segunda.folder()).ok());
    EXPECT_EQ(v.estado.RutaDatos, segunda.folder());
    EXPECT_EQ(v.estado.RutaBase, segunda.file());
    EXPECT_EQ(v.estado.FormulaTrafo, QStringLiteral("1=1"));
    EXPECT_EQ(v.estado.FiltroCodigos, QStringLiteral("1=1"));
    EXPECT_EQ(v.estado.OperadorFecha, QStringLiteral("="));
    // The switches were reset, then the window aligned itself on the new file's first transformer.
    EXPECT_TRUE(v.estado.SincronizacionActiva);
    EXPECT_EQ(v.vistas.Data1.value(0).toInt(), 1);
    EXPECT_FALSE(v.estado.AparcadaEnsayos);
    EXPECT_EQ(v.vistas.database()->path(), segunda.file());
    EXPECT_EQ(v.vistas.Data1.recordCount(), 2);
    EXPECT_EQ(label(*v.trafo, "LabelCarpeta"), QString::fromUtf8("Dirección BD: ") + segunda.folder());
}

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

// ---- The real message boxes ------------------------------------------------------------

TEST(MensajesQt, SpanishButtonsDefaultAndTitle)
{
    struct Caso
    {
        Mensajes::Buttons botones;
        Mensajes::Answer porDefecto;
        QString titulo;
        QStringList textos;
        QString tituloVisto;
    };
    const Caso casos[] = {
        {Mensajes::Buttons::Ok,
         Mensajes::Answer::Ok,
         QString(),
         {QStringLiteral("Aceptar")},
         QStringLiteral("Quorvela")},
        {Mensajes::Buttons::YesNo,
         Mensajes::Answer::No,
         QString::fromUtf8("¡Error!"),
         {QString::fromUtf8("Sí"), QStringLiteral("No")},
         QString::fromUtf8("¡Error!")},
        {Mensajes::Buttons::YesNo,
         Mensajes::Answer::Yes,
         QString(),
         {QString::fromUtf8("Sí"), QStringLiteral("No")},
         QStringLiteral("Quorvela")},
        {Mensajes::Buttons::OkCancel,
         Mensajes::Answer::Cancel,
         QString(),
         {QStringLiteral("Aceptar"), QStringLiteral("Cancelar")},
         QStringLiteral("Quorvela")},
    };
    for (const Caso& c : casos) {
        MensajesQt mensajes;
        mensajes.setBusy(true);
        ASSERT_TRUE(QGuiApplication::overrideCursor());
        QStringList vistos;
        QString tituloVisto;
        bool conCursorNormal = false;
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            conCursorNormal = QGuiApplication::overrideCursor() == nullptr;
            tituloVisto = box->windowTitle();
            for (QAbstractButton* b : box->buttons())
                vistos << b->text();
            QTest::keyClick(box, Qt::Key_Return); // Enter chooses the default button
        });
        const auto respuesta = mensajes.show(QStringLiteral("texto"), c.titulo, Mensajes::Icon::Question,
                                             c.botones, c.porDefecto);
        vistos.sort();
        QStringList esperados = c.textos;
        esperados.sort();
        EXPECT_EQ(vistos, esperados);
        EXPECT_EQ(tituloVisto, c.tituloVisto);
        EXPECT_TRUE(conCursorNormal);
        EXPECT_EQ(respuesta, c.porDefecto);
    }
    EXPECT_FALSE(QGuiApplication::overrideCursor());
}

TEST(MensajesQt, EscapeAnswersNoOrCancel)
{
    MensajesQt mensajes;
    QTimer::singleShot(50, [] {
        if (auto* box = QApplication::activeModalWidget())
            QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(mensajes.show(QStringLiteral("¿Borrar?"), QString(), Mensajes::Icon::Question,
                            Mensajes::Buttons::YesNo, Mensajes::Answer::Yes),
              Mensajes::Answer::No);
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
