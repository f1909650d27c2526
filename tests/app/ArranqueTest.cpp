#include "app/logic/RunState.h"
#include "app/logic/Settings.h"
#include "app/logic/StartupSequence.h"
#include "app/logic/StartupUi.h"
#include "app/ui/ArranqueQt.h"
#include "app/ui/AvisoRespaldo.h"
#include "app/ui/VentanaInicio.h"
#include "data/logic/Database.h"
#include "graphs/ui/Graficos.h"
#include "maintenance/logic/Mantenimiento.h"
#include "maintenance/logic/NombresCopia.h"
#include "maintenance/logic/PasswordStore.h"
#include "records/logic/DataViews.h"
#include "records/ui/PaginaHerramientas.h"
#include "records/ui/Trafo.h"
#include "tests/support/ScriptedMensajes.h"
#include "tests/support/TempData.h"
#include "tests/support/Texto.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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
            // The missing-file message names the file it looked for, in full.
            const QString buscado =
                estado.RutaDatos.isEmpty()
                    ? u("'Trafos.mdb': no se eligió la carpeta de datos")
                    : u("'") + QDir(estado.RutaDatos).absoluteFilePath(u("trafos.mdb")) + u("'");
            pasos += s.text == u("No se puede conectar con la Base de Datos ") + buscado ? 'm' : '!';
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
    void avanceConversion(const QString& tabla, qint64 hechas, qint64 total) override
    {
        avances << u("%1 %2/%3").arg(tabla).arg(hechas).arg(total);
    }
    void finConversion() override { avances << u("fin"); }

    QTemporaryDir config, programa;
    Settings ajustes{config.filePath(u("Quorvela.conf"))};
    RunState estado;
    ScriptedMensajes mensajes;
    StartupSequence secuencia{estado, ajustes, *this, mensajes};
    std::string pasos;
    bool concede = true, soloLectura = false;
    QStringList ubicaciones; // per showing of the location window: the folder confirmed; empty: cancelled
    std::function<void()> alRestaurar = [] {};
    std::shared_ptr<Database> base;
    QStringList avances; // the conversion's progress as the windows were told it
};

QString label(const Trafo& w, const char* name)
{
    auto* l = w.findChild<QLabel*>(QString::fromLatin1(name));
    return l ? l->text() : u("<sin etiqueta>");
}

// Plays the next modal window once it is up: checks it is the one named, clicks the button or
// fills the box called campo, and presses boton.
void jugarModal(const char* nombre, const char* campo, const QString& texto, const char* boton)
{
    QTimer::singleShot(100, [=] {
        QWidget* w = QApplication::activeModalWidget();
        EXPECT_TRUE(w && w->objectName() == QLatin1String(nombre)) << nombre;
        if (!w)
            return;
        if (auto* b = w->findChild<QAbstractButton*>(QLatin1String(campo)))
            b->click();
        if (auto* caja = w->findChild<QLineEdit*>(QLatin1String(campo)))
            caja->setText(texto);
        if (auto* b = w->findChild<QAbstractButton*>(QLatin1String(boton)))
            b->click();
        if (w->isVisible())
            w->close();
    });
}

} // namespace

TEST(RunState, ResetsPutSelectionAndSwitchesAtRestAndGuardsPutValuesBack)
{
    RunState estado;
    QString RunState::*const formulas[] = {&RunState::FormulaTrafo, &RunState::FormulaRevision,
                                           &RunState::FormulaEnsayos, &RunState::FormulaMantenimiento,
                                           &RunState::FiltroCodigos};
    for (QString RunState::*f : formulas)
        estado.*f = u("[CÓDIGO]=3");
    estado.OperadorFecha = u(">");
    estado.activarSincronizacion();
    ASSERT_TRUE(estado.SincronizacionActiva);
    bool bandera = false;
    // Nested guards, left through an early return or at the end of their scope.
    const auto enGuardias = [&](bool salirAntes) {
        Interruptor::Mientras a(estado.ReposicionActiva, false), b(estado.RecorridoEnsayos, true),
            c(estado.ListaSinc1, true), d(estado.ListaSinc2, true);
        {
            Interruptor::Mientras dentro(estado.ReposicionActiva, true);
            Bandera puesta(bandera, true);
            if (salirAntes)
                return;
        }
        EXPECT_FALSE(estado.ReposicionActiva.activo() || bandera);
        estado.resetSelection();
        estado.resetNavigation();
        EXPECT_FALSE(estado.SincronizacionActiva);
        EXPECT_TRUE(estado.ReposicionActiva);
        EXPECT_FALSE(estado.RecorridoEnsayos || estado.ListaSinc1 || estado.ListaSinc2);
    };
    for (bool salirAntes : {true, false}) {
        enGuardias(salirAntes);
        EXPECT_TRUE(estado.ReposicionActiva.activo() && !estado.RecorridoEnsayos && !bandera) << salirAntes;
    }
    for (QString RunState::*f : formulas)
        EXPECT_EQ(estado.*f, u("1=1"));
    EXPECT_EQ(estado.OperadorFecha, u("="));
}

TEST(Settings, UserStoreIsRedirectedSectionsStayApartAndTheDataFolderLosesItsTrailingSeparator)
{
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_FALSE(configHome.isEmpty()) << "tests must redirect XDG_CONFIG_HOME";
    ASSERT_NE(QDir::cleanPath(configHome), QDir::cleanPath(QDir::homePath() + u("/.config")));
    Settings usuario;
    EXPECT_EQ(QDir::cleanPath(usuario.fileName()),
              QDir::cleanPath(configHome + u("/Quorvela/Quorvela.conf")));
    const QString key = u("PRUEBA_REDIRECCION");
    ASSERT_TRUE(usuario.setValue(u("QL"), key, u("sí")).ok());
    EXPECT_EQ(Settings().value(u("QL"), key), u("sí"));
    ASSERT_TRUE(usuario.remove(u("QL"), key).ok()); // leaves the test store as it was
    // A store of its own keeps its sections and keys apart.
    QTemporaryDir dir;
    Settings settings(dir.filePath(u("Quorvela.conf")));
    ASSERT_TRUE(settings.setDataFolder(u("/datos/planta")).ok());
    ASSERT_TRUE(settings.setPassword(u("QL1"), u("lectura")).ok());
    ASSERT_TRUE(settings.setPassword(u("QL2"), u("escritura")).ok());
    QFile file(settings.fileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    for (const char* line : {"[QL]", "DIR=/datos/planta", "[QL1]", "PASS=lectura", "[QL2]", "PASS=escritura"})
        EXPECT_TRUE(text.contains(QLatin1String(line))) << line << " in\n" << text.toStdString();
    ASSERT_TRUE(settings.removePassword(u("QL1")).ok());
    EXPECT_TRUE(settings.removePassword(u("QL1")).ok()) << "removing what is not there";
    // A second object reads the file afresh.
    const Settings again(settings.fileName());
    EXPECT_TRUE(again.password(u("QL1")).value().isEmpty());
    EXPECT_EQ(again.password(u("QL2")).value(), u("escritura"));
    const char* const folders[][2] = {
        {"/datos/planta/", "/datos/planta"},
        {"/datos//planta///", "/datos/planta"},
        {"/", "/"},
        {"/datos/ñandú/", "/datos/ñandú"},
    };
    for (const auto& [given, stored] : folders) {
        ASSERT_TRUE(settings.setDataFolder(u(given)).ok());
        EXPECT_EQ(settings.value(u("QL"), u("DIR")), u(stored)) << given;
        // As another program may have written it.
        ASSERT_TRUE(settings.setValue(u("QL"), u("DIR"), u(given)).ok());
        EXPECT_EQ(settings.dataFolder(), u(stored)) << given;
    }
}

TEST(StartupSequence, FindsTheDataFileThroughMessagesLocationAndRestore)
{
    TempData datos, otra;
    // Folders by letter: d holds the data file, o another one, p is the program folder (no file).
    // Each case: DIR before start-up and the command line's folder (0: none), the folder confirmed
    // per showing of the location window ('-': none), whether the restore window writes the data
    // file, the steps and the folder the run ends on.
    struct Caso
    {
        const char* nombre;
        char guardada, lineaDeOrdenes;
        const char* ubicaciones;
        bool restauraCrea;
        const char* pasos;
        char usada;
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
        a.estado.FormulaEnsayos = u("[ACIDEZ]>1");
        a.estado.OperadorFecha = u("<");
        a.estado.activarSincronizacion();
        const QMap<char, QString> carpetas{
            {'d', datos.folder()}, {'o', otra.folder()}, {'p', a.programa.path()}};
        const auto carpeta = [&](char letra) { return carpetas.value(letra); };
        if (c.guardada) {
            ASSERT_TRUE(a.ajustes.setDataFolder(carpeta(c.guardada)).ok());
        }
        if (c.lineaDeOrdenes)
            a.secuencia.setDataFolderOverride(carpeta(c.lineaDeOrdenes) + u("/"));
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
        EXPECT_EQ(a.estado.FormulaEnsayos, u("1=1"));
        EXPECT_EQ(a.estado.OperadorFecha, u("="));
        EXPECT_FALSE(a.estado.SincronizacionActiva);
    }
}

TEST(StartupSequence, RefusedAccessEndsAtOnceAndAFileTheProgramCannotUseIsReported)
{
    Arranque negado;
    negado.estado.AccesoConcedido = true; // left over: the connection window must grant it afresh
    negado.concede = false;
    EXPECT_FALSE(negado.run());
    EXPECT_EQ(negado.pasos, "P");
    EXPECT_FALSE(negado.estado.AccesoConcedido);
    // A file that is no data file of ours is reported, and the main window still opens.
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
    const ScriptedMensajes::Shown& error = a.mensajes.shown[0];
    EXPECT_TRUE(error.title == u("¡Error!") && error.icon == Mensajes::Icon::Critical);
    EXPECT_TRUE(error.text.contains(Database::nombreArchivo())) << error.text.toStdString();
}

// A data file of the earlier program is offered for conversion: declined, start-up goes on as for
// any file it cannot use and nothing is written; accepted, the original keeps its bytes under
// trafos-jet.mdb, the converted file opens as trafos.mdb and the report is shown.
TEST(StartupSequence, AJetDataFileIsConvertedOnlyWhenTheUserSaysSo)
{
    QFile muestra(u(QUORVELA_MUESTRAS_MDB "/jet3-nwind.mdb"));
    ASSERT_TRUE(muestra.open(QIODevice::ReadOnly));
    // Two of its tables renamed byte for byte as the data model's, so that it converts.
    const QByteArray jet =
        muestra.readAll().replace("Order Details", "Mantenimiento").replace("Ums\xe4tze", "Trafoge");
    struct Caso
    {
        const char* que;
        bool soloLectura;
        Mensajes::Answer respuesta;
        bool convierte;
    };
    for (const Caso& c : {Caso{"rechazada", false, Mensajes::Answer::No, false},
                          Caso{"aceptada", false, Mensajes::Answer::Yes, true},
                          Caso{"solo lectura", true, Mensajes::Answer::Yes, false}}) {
        SCOPED_TRACE(c.que);
        QTemporaryDir datos;
        const QString ruta = Database::rutaEn(datos.path());
        {
            QFile f(ruta);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(jet) == jet.size());
        }
        Arranque a;
        a.soloLectura = c.soloLectura;
        a.mensajes.answers.enqueue(c.respuesta);
        ASSERT_TRUE(a.ajustes.setDataFolder(datos.path()).ok());
        ASSERT_TRUE(a.run());
        const QStringList textos = a.mensajes.texts();
        if (!c.soloLectura) {
            ASSERT_FALSE(a.mensajes.shown.isEmpty());
            const ScriptedMensajes::Shown& oferta = a.mensajes.shown[0];
            EXPECT_EQ(oferta.text, StartupSequence::mensajeConvertir(ruta));
            EXPECT_TRUE(oferta.text.contains(u("trafos-jet.mdb")));
            EXPECT_EQ(oferta.buttons, Mensajes::Buttons::YesNo);
            EXPECT_EQ(oferta.icon, Mensajes::Icon::Question);
        }
        EXPECT_FALSE(a.mensajes.busyNow);
        QFile abierto(ruta);
        ASSERT_TRUE(abierto.open(QIODevice::ReadOnly));
        if (!c.convierte) {
            // As before: the file the program cannot use is reported and nothing is written.
            EXPECT_EQ(a.pasos, c.soloLectura ? "P!T" : "P!!T");
            EXPECT_EQ(a.base, nullptr);
            EXPECT_EQ(a.mensajes.shown.last().title, u("¡Error!"));
            EXPECT_TRUE(abierto.readAll() == jet);
            EXPECT_EQ(QDir(datos.path()).entryList(QDir::Files), QStringList{u("trafos.mdb")});
            EXPECT_TRUE(a.avances.isEmpty());
            continue;
        }
        EXPECT_EQ(a.pasos, "P!!T");
        ASSERT_NE(a.base, nullptr) << textos.join(u("\n")).toStdString();
        EXPECT_EQ(a.base->path(), QFileInfo(ruta).absoluteFilePath());
        QFile original(QDir(datos.path()).filePath(u("trafos-jet.mdb")));
        ASSERT_TRUE(original.open(QIODevice::ReadOnly));
        EXPECT_TRUE(original.readAll() == jet);
        const QString informe = QDir(datos.path()).filePath(u("importacion.txt"));
        ASSERT_TRUE(QFile::exists(informe));
        const QString resumen = textos.value(1);
        for (const QString& debe :
             {u("La base de datos se convirtió"), u("Trafoge: 0 importadas de 830 leídas"),
              u("Mantenimiento: 0 importadas de 2155 leídas"), u("trafos-jet.mdb"), informe,
              u("importacion-apartadas.csv")})
            EXPECT_TRUE(resumen.contains(debe)) << debe.toStdString() << " en " << resumen.toStdString();
        EXPECT_EQ(a.mensajes.shown.value(1).icon, Mensajes::Icon::Information);
        // The long work says how far it got, table by table, and then ends.
        EXPECT_EQ(a.avances, QStringList({u("Trafoge 830/830"), u("Mantenimiento 2000/2155"),
                                          u("Mantenimiento 2155/2155"), u("fin")}));
    }
}

// The first showing closes by itself after its interval; later ones wait for a key or a click.
TEST(BackupNotice, ClosesByItselfOnlyTheFirstTime)
{
    QObject guarda; // the safety timers die with the test
    const auto cerrarTrasMs = [&](int ms) {
        QTimer::singleShot(ms, &guarda, [] {
            if (auto* w = QApplication::activeModalWidget())
                w->close(); // keeps a failing test from hanging
        });
    };
    bool yaMostrado = false;
    QElapsedTimer reloj;
    reloj.start();
    cerrarTrasMs(4000);
    AvisoRespaldo::mostrar(yaMostrado, nullptr, 150);
    EXPECT_GE(reloj.elapsed(), 140);
    EXPECT_LT(reloj.elapsed(), 3000);
    EXPECT_TRUE(yaMostrado);
    bool seguiaAbierto = false;
    QTimer::singleShot(600, [&] {
        auto* aviso = qobject_cast<AvisoRespaldo*>(QApplication::activeModalWidget());
        seguiaAbierto = aviso && aviso->isVisible();
        if (aviso)
            QTest::keyClick(aviso, Qt::Key_Space);
    });
    cerrarTrasMs(5000);
    reloj.restart();
    AvisoRespaldo::mostrar(yaMostrado, nullptr, 150);
    EXPECT_TRUE(seguiaAbierto);
    EXPECT_LT(reloj.elapsed(), 4000);
    AvisoRespaldo aviso(false);
    aviso.show();
    QTest::mouseClick(aviso.findChild<QWidget*>(u("Marco")), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(aviso.isVisible());
    EXPECT_EQ(aviso.result(), QDialog::Accepted);
}

// The conversion at start-up shows how far it got in a window of its own, closed at the end.
TEST(ArranqueQt, TheConversionShowsItsProgressUntilItEnds)
{
    QTemporaryDir config;
    Settings settings(config.filePath(u("Quorvela.conf")));
    PasswordStore passwords(settings);
    ScriptedMensajes mensajes;
    RunState estado;
    DataViews vistas(estado);
    ArranqueQt arranque(estado, settings, passwords, mensajes, vistas, {});
    const auto avance = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QProgressDialog*>(w); d && d->isVisible())
                return d;
        return static_cast<QProgressDialog*>(nullptr);
    };
    arranque.avanceConversion(u("Ensayos"), 500, 2000);
    QProgressDialog* d = avance();
    ASSERT_TRUE(d);
    EXPECT_TRUE(d->labelText().contains(u("Tabla Ensayos: 500 de 2000 filas")))
        << d->labelText().toStdString();
    EXPECT_EQ(d->value() * 4, d->maximum());
    arranque.avanceConversion(u("Mantenimiento"), 2000, 2000);
    d = avance();
    ASSERT_TRUE(d) << "a table's end closed the window";
    EXPECT_TRUE(d->labelText().contains(u("Mantenimiento")));
    arranque.finConversion();
    EXPECT_EQ(avance(), nullptr);
}

TEST(Smoke, RealStartupOpensTheMainWindowOnTheDataFileAndCloses)
{
    TempData temp;
    temp.exec(u("INSERT INTO Trafoge ([CÓDIGO], [ESTADO], [GRAVEDAD]) VALUES (10, 1, 0), (20, 3, 4)"));
    QTemporaryDir config;
    Settings settings(config.filePath(u("Quorvela.conf")));
    PasswordStore passwords(settings);
    ScriptedMensajes mensajes;
    RunState estado;
    DataViews vistas(estado);
    int terminado = 0, mostrada = 0;
    ArranqueQt::Opciones opciones;
    opciones.sinEspera = false;
    opciones.esperaMs = 100;
    opciones.terminar = [&] { ++terminado; };
    opciones.alMostrar = [&](Trafo&) { ++mostrada; };
    QTemporaryDir carpetaCopias;
    opciones.carpetaCopias = carpetaCopias.path();
    opciones.avisoMs = 50;
    QTemporaryDir imagenes;
    opciones.carpetaImagenes = imagenes.path();
    ArranqueQt arranque(estado, settings, passwords, mensajes, vistas, opciones);
    StartupSequence inicio(estado, settings, arranque, mensajes);
    inicio.setDataFolderOverride(temp.folder());
    // The connection window: read/write work, no passwords set.
    jugarModal("Pas", "Option2", QString(), "Command1");
    ASSERT_TRUE(inicio.run(QDir::currentPath()));
    EXPECT_TRUE(mensajes.shown.isEmpty()) << mensajes.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(estado.SoloLectura);
    Trafo* trafo = arranque.trafo();
    ASSERT_TRUE(trafo);
    EXPECT_FALSE(trafo->isVisible()); // the start-up window comes first
    ASSERT_TRUE(arranque.ventanaInicio() && arranque.ventanaInicio()->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return trafo->isVisible(); }, 3000));
    EXPECT_EQ(mostrada, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return arranque.ventanaInicio() == nullptr; }, 1000));
    EXPECT_EQ(label(*trafo, "LabelModo"), u("MODO: Edición"));
    EXPECT_EQ(label(*trafo, "LabelCarpeta"), u("Dirección BD: ") + temp.folder());
    ASSERT_TRUE(vistas.database());
    EXPECT_EQ(vistas.database()->path(), temp.file());
    // The list stands on the window's transformer, the first by code, not on its red first row.
    EXPECT_EQ(vistas.Ado1.value(u("CÓDIGO")).toInt(), 10);
    EXPECT_EQ(vistas.Data1.value(0).toInt(), 10);
    // The graphs' picture files are named in the user's folder, one spelling each.
    ASSERT_TRUE(arranque.graficos());
    EXPECT_EQ(arranque.graficos()->archivos().grafico[2], QDir(imagenes.path()).filePath(u("graph1(2).svg")));
    EXPECT_EQ(arranque.graficos()->archivos().ampliado, QDir(imagenes.path()).filePath(u("graph4.svg")));
    arranque.graficos()->nombrarArchivos(u("/otra"));
    // "Dirección Base de Datos" moves the window to another data file and names them again.
    TempData otra;
    jugarModal("Direcc", "txtDireccion", otra.folder(), "cmdAceptar");
    trafo->tabs()->setCurrentIndex(6);
    QTest::mouseClick(trafo->paginaHerramientas()->boton(PaginaHerramientas::DireccionBase), Qt::LeftButton);
    ASSERT_TRUE(vistas.database());
    EXPECT_EQ(vistas.database()->path(), otra.file());
    EXPECT_EQ(arranque.graficos()->archivos().grafico[0], QDir(imagenes.path()).filePath(u("graph1(0).svg")));
    trafo->close();
    EXPECT_EQ(terminado, 1);
    EXPECT_FALSE(vistas.database());
    // Closing made the day's automatic copy of the file in use, behind its notice.
    const QString copia =
        QDir(carpetaCopias.path()).filePath(copias::nombreCopiaAutomatica(QDate::currentDate()));
    EXPECT_TRUE(mantenimiento::verificar(copia).ok());
    EXPECT_EQ(QDir(carpetaCopias.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}
