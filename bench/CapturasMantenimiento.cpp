// Pictures of the maintenance windows at work, for looking at them (run under xvfb-run):
//   quorvela-capturas-mantenimiento DIR DESTINO SALIDA
// On the data folder DIR (a copy: it is compacted, restored and backed up) the real main window
// makes a backup plain and compressed, a compaction, three restores (plain, ZIP, automatic copy)
// and two changes of the write password through its windows and real message boxes, saving a
// PNG of every window and message into SALIDA. Backups go to DESTINO; the passwords go to a
// settings file in SALIDA, never to the user's.
#include "app/logic/RunState.h"
#include "app/logic/Settings.h"
#include "app/ui/Composicion.h"
#include "app/ui/Herramientas.h"
#include "bench/BenchSupport.h"
#include "bench/VentanaAbierta.h"
#include "data/logic/Database.h"
#include "maintenance/logic/Mantenimiento.h"
#include "maintenance/logic/PasswordStore.h"
#include "records/logic/DataViews.h"
#include "records/ui/PaginaHerramientas.h"
#include "records/ui/Trafo.h"
#include "utilities/ui/MensajesQt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QQueue>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

// Real message boxes; the folder choices come from the script.
class MensajesGuion : public MensajesQt
{
public:
    QString chooseFolder(const QString&, const QString&) override
    {
        return carpetas.isEmpty() ? QString() : carpetas.dequeue();
    }
    QQueue<QString> carpetas;
};

QString g_salida;
int g_paso = 0;

void foto(QWidget* w, const QString& nombre)
{
    QTest::qWait(150);
    const QString archivo = QDir(g_salida).filePath(
        QStringLiteral("%1-%2.png").arg(++g_paso, 2, 10, QLatin1Char('0')).arg(nombre));
    if (!w->grab().save(archivo))
        bench::fail(QStringLiteral("no se pudo guardar ") + archivo);
    std::printf("%s\n", qPrintable(archivo));
}

// Waits for a window (by object name, or a message box by a piece of its text), photographs it
// and acts on it. Runs from the event loop of whatever modal window is open.
void cuando(const QString& quien, const QString& nombre, std::function<void(QWidget*)> accion)
{
    auto* reloj = new QTimer;
    reloj->setInterval(50);
    auto intentos = std::make_shared<int>(0);
    QObject::connect(reloj, &QTimer::timeout, [=] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible())
                continue;
            auto* caja = qobject_cast<QMessageBox*>(w);
            if (w->objectName() == quien || (caja && caja->text().contains(quien))) {
                reloj->stop();
                reloj->deleteLater();
                foto(w, nombre);
                accion(w);
                return;
            }
        }
        if (++*intentos > 200)
            bench::fail(QStringLiteral("no apareció ") + quien);
    });
    reloj->start();
}

void pulsar(QWidget* w, const char* nombre)
{
    auto* b = w->findChild<QAbstractButton*>(QLatin1String(nombre));
    if (!b)
        bench::fail(QStringLiteral("falta el botón ") + QLatin1String(nombre));
    b->click();
}

// A message box answered with the button of that caption.
std::function<void(QWidget*)> responder(const QString& boton)
{
    return [boton](QWidget* w) {
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
            if (b->text() == boton) {
                b->click();
                return;
            }
        bench::fail(QStringLiteral("falta el botón ") + boton);
    };
}

void escribir(QWidget* w, const char* caja, const QString& texto)
{
    auto* e = w->findChild<QLineEdit*>(QLatin1String(caja));
    e->clear();
    QTest::keyClicks(e, texto);
}

void elegir(QWidget* rest, const QString& archivo)
{
    auto* lista = rest->findChild<QListWidget*>(QStringLiteral("File1"));
    const auto items = lista->findItems(archivo, Qt::MatchExactly);
    if (items.isEmpty())
        bench::fail(QStringLiteral("la lista no muestra ") + archivo);
    lista->setCurrentItem(items.first());
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvela"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvela"));
    const QStringList args = bench::argumentos("uso: quorvela-capturas-mantenimiento DIR DESTINO SALIDA");
    if (args.size() < 4)
        bench::fail(QStringLiteral("uso: quorvela-capturas-mantenimiento DIR DESTINO SALIDA"));
    const QString destino = args.at(2);
    g_salida = args.at(3);
    QDir().mkpath(g_salida);
    QDir().mkpath(destino);

    RunState estado;
    estado.apuntarDatos(args.at(1));
    DataViews vistas(estado);
    MensajesGuion mensajes;
    Settings ajustes(QDir(g_salida).filePath(QStringLiteral("Quorvela.conf")));
    PasswordStore claves(ajustes);
    VentanaCompuesta v = componerVentana(estado, vistas, mensajes, [] { return QDate::currentDate(); });
    Trafo& trafo = *v.trafo;
    mensajes.setOwner(&trafo);
    Herramientas herramientas(estado, claves, mensajes, trafo, Herramientas::Opciones());
    bench::abrirVistas(trafo, vistas, estado.RutaBase, false);
    trafo.tabs()->setCurrentWidget(trafo.paginaHerramientas());
    bench::mostrarVentana(trafo);
    foto(&trafo, QStringLiteral("herramientas"));
    const auto boton = [&](int i) { trafo.paginaHerramientas()->boton(i)->click(); };
    const QString hoy = QDate::currentDate().toString(QStringLiteral("ddMMyy"));

    // Backup, plain then compressed.
    for (const bool zip : {false, true}) {
        mensajes.carpetas.enqueue(destino);
        cuando(QStringLiteral("Back"), zip ? QStringLiteral("backup-zip") : QStringLiteral("backup"),
               [&, zip](QWidget* w) {
                   pulsar(w, "Examinar");
                   if (zip)
                       w->findChild<QRadioButton*>(QStringLiteral("Option1_0"))->click();
                   foto(w, zip ? QStringLiteral("backup-zip-elegido") : QStringLiteral("backup-elegido"));
                   cuando(QStringLiteral("Archivo Copiado"), QStringLiteral("archivo-copiado"),
                          responder(QStringLiteral("Aceptar")));
                   pulsar(w, "Command25");
               });
        boton(PaginaHerramientas::RealizarBackup);
    }
    // The same plain backup again: the question.
    mensajes.carpetas.enqueue(destino);
    cuando(QStringLiteral("Back"), QStringLiteral("backup-otra-vez"), [&](QWidget* w) {
        pulsar(w, "Examinar");
        cuando(QStringLiteral("El Archivo ya existe"), QStringLiteral("ya-existe"), [](QWidget* caja) {
            cuando(QStringLiteral("Archivo Copiado"), QStringLiteral("archivo-copiado-reemplazado"),
                   responder(QStringLiteral("Aceptar")));
            responder(QString::fromUtf8("Sí"))(caja);
        });
        pulsar(w, "Command25");
    });
    boton(PaginaHerramientas::RealizarBackup);

    // Compaction: its advice, the automatic copy's notice, the result.
    cuando(QStringLiteral("Compact"), QStringLiteral("compactar"), [&](QWidget* w) {
        cuando(QStringLiteral("AvisoRespaldo"), QStringLiteral("aviso-copia"), [](QWidget*) {
            cuando(QStringLiteral("Archivo Compactado"), QStringLiteral("archivo-compactado"),
                   responder(QStringLiteral("Aceptar")));
        });
        pulsar(w, "Command25");
    });
    boton(PaginaHerramientas::CompactarBase);

    // Three restores: the plain backup, the compressed one, the automatic copy.
    const QString autoBack = mantenimiento::carpetaCopiasAutomaticas();
    const QList<QPair<QString, QString>> restauraciones = {{destino, QStringLiteral("T-%1.mdb").arg(hoy)},
                                                           {destino, QStringLiteral("T-%1.zip").arg(hoy)},
                                                           {autoBack, QStringLiteral("AB%1.mdb").arg(hoy)}};
    int n = 0;
    for (const auto& [carpeta, archivo] : restauraciones) {
        ++n;
        mensajes.carpetas.enqueue(carpeta);
        cuando(QStringLiteral("Rest"), QStringLiteral("restaurar-%1").arg(n),
               [&, archivo = archivo, n](QWidget* w) {
                   pulsar(w, "Examinar");
                   elegir(w, archivo);
                   foto(w, QStringLiteral("restaurar-%1-elegido").arg(n));
                   cuando(QStringLiteral("será reemplazada"), QStringLiteral("restaurar-%1-pregunta").arg(n),
                          [n](QWidget* caja) {
                              cuando(QStringLiteral("Archivo Restaurado"),
                                     QStringLiteral("archivo-restaurado-%1").arg(n),
                                     responder(QStringLiteral("Aceptar")));
                              responder(QString::fromUtf8("Sí"))(caja);
                          });
                   pulsar(w, "Command25");
               });
        boton(PaginaHerramientas::RestaurarBackup);
    }
    foto(&trafo, QStringLiteral("tras-restaurar"));

    // The write password: set, then changed.
    const QList<QPair<QString, QString>> claveCambios = {
        {QString(), QStringLiteral("clave1")}, {QStringLiteral("clave1"), QStringLiteral("clave2")}};
    for (const auto& [vieja, nueva] : claveCambios) {
        boton(PaginaHerramientas::ContrasenaEscritura);
        QWidget* w = nullptr;
        const bool visible = QTest::qWaitFor([&] {
            w = trafo.findChild<QWidget*>(QStringLiteral("PassFrm2"));
            return w && w->isVisible();
        });
        if (!visible)
            bench::fail(QStringLiteral("no apareció PassFrm2"));
        if (!vieja.isEmpty())
            escribir(w, "txtPassword_0", vieja);
        escribir(w, "txtPassword_1", nueva);
        escribir(w, "txtPassword_2", nueva);
        foto(w, vieja.isEmpty() ? QStringLiteral("clave-nueva") : QStringLiteral("clave-cambio"));
        cuando(QStringLiteral("contraseña"),
               vieja.isEmpty() ? QStringLiteral("clave-habilitada") : QStringLiteral("clave-cambiada"),
               responder(QStringLiteral("Aceptar")));
        pulsar(w, "cmdOK");
        QTest::qWait(200);
    }
    if (!claves.matches(PasswordStore::seccionEscritura(), QStringLiteral("clave2")))
        bench::fail(QStringLiteral("la contraseña no quedó cambiada"));

    // The real exit: the notice shown a second time waits for a key.
    bool terminado = false;
    trafo.setTerminar([&] { terminado = true; });
    cuando(QStringLiteral("AvisoRespaldo"), QStringLiteral("aviso-salida"),
           [](QWidget* w) { QTest::keyClick(w, Qt::Key_Space); });
    trafo.Salir();
    if (!terminado)
        bench::fail(QStringLiteral("Salir no terminó el programa"));
    return 0;
}
