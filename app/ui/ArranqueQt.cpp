#include "app/ui/ArranqueQt.h"

#include "app/logic/Logging.h"
#include "app/logic/RunState.h"
#include "app/logic/Settings.h"
#include "app/ui/Composicion.h"
#include "app/ui/Herramientas.h"
#include "app/ui/VentanaInicio.h"
#include "data/ui/Direcc.h"
#include "graphs/logic/Archivos.h"
#include "graphs/ui/Graficos.h"
#include "maintenance/logic/Mantenimiento.h"
#include "maintenance/logic/PasswordStore.h"
#include "maintenance/ui/Pas.h"
#include "records/logic/DataViews.h"
#include "records/ui/Trafo.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

ArranqueQt::ArranqueQt(RunState& estado, Settings& settings, PasswordStore& passwords, Mensajes& mensajes,
                       DataViews& vistas, Opciones opciones)
    : m_estado(estado), m_settings(settings), m_passwords(passwords), m_mensajes(mensajes), m_vistas(vistas),
      m_opciones(std::move(opciones))
{
}

ArranqueQt::~ArranqueQt()
{
    m_herramientas.reset();
    if (m_inicio)
        delete m_inicio;
}

// The conversion runs before any window of the program is up: a progress window of its own says
// that the program is working, and on what.
void ArranqueQt::avanceConversion(const QString& tabla, qint64 hechas, qint64 total)
{
    if (!m_avance) {
        m_avance = std::make_unique<QProgressDialog>();
        m_avance->setWindowTitle(QStringLiteral("Quorvela"));
        m_avance->setCancelButton(nullptr);
        m_avance->setMinimumDuration(0);
        m_avance->setWindowModality(Qt::ApplicationModal);
        m_avance->setRange(0, 1000);
        // A table's end is not the conversion's: the window stays until finConversion().
        m_avance->setAutoClose(false);
        m_avance->setAutoReset(false);
    }
    m_avance->setLabelText(QStringLiteral("Convirtiendo la base de datos del programa anterior...\n"
                                          "Tabla %1: %2 de %3 filas")
                               .arg(tabla)
                               .arg(hechas)
                               .arg(total));
    m_avance->setValue(total > 0 ? int(hechas * 1000 / total) : 1000);
    QCoreApplication::processEvents();
}

void ArranqueQt::finConversion()
{
    m_avance.reset();
}

void ArranqueQt::showConnection()
{
    Pas pas(m_estado, m_passwords, m_mensajes);
    pas.exec();
}

void ArranqueQt::showLocation()
{
    // While starting up the window only saves the folder; start-up reads it again.
    Direcc direcc(m_estado, m_settings, m_mensajes, [this](const QString& folder) { reabrir(folder); });
    direcc.exec();
}

void ArranqueQt::showRestore()
{
    // Nothing has the data file open yet; start-up looks for it again afterwards.
    Herramientas::restaurar(
        m_estado, m_mensajes,
        m_opciones.carpetaCopias.isEmpty() ? mantenimiento::carpetaCopiasAutomaticas()
                                           : m_opciones.carpetaCopias,
        [] { return QDateTime::currentDateTime(); }, EnlaceDatos(), nullptr);
}

void ArranqueQt::loadMainWindow(const std::shared_ptr<Database>& database)
{
    VentanaCompuesta compuesta = componerVentana(m_estado, m_vistas, m_mensajes, m_opciones.hoy);
    m_trafo = std::move(compuesta.trafo);
    m_graficos = compuesta.graficos;
    if (m_opciones.terminar)
        m_trafo->setTerminar(m_opciones.terminar);
    m_trafo->setAbrirDireccion([this] { abrirDireccion(); });
    Herramientas::Opciones herramientas;
    herramientas.hoy = m_opciones.hoy;
    herramientas.carpetaCopias = m_opciones.carpetaCopias;
    herramientas.avisoMs = m_opciones.avisoMs;
    m_herramientas =
        std::make_unique<Herramientas>(m_estado, m_passwords, m_mensajes, *m_trafo, herramientas);

    m_vistas.openAll(database, m_estado.SoloLectura);
    nombrarImagenes();
    // The window starts on the first transformer with every tab and the list on it.
    m_trafo->alinear();

    if (m_opciones.sinEspera) {
        mostrarPrincipal();
        return;
    }
    m_inicio = new VentanaInicio([this] { mostrarPrincipal(); });
    m_inicio->setIntervalo(m_opciones.esperaMs);
    m_inicio->show();
}

void ArranqueQt::mostrarPrincipal()
{
    // The hub fills the screen; a desktop without a window manager ignores "maximized".
    if (QScreen* screen = QGuiApplication::primaryScreen())
        m_trafo->setGeometry(screen->availableGeometry());
    m_trafo->showMaximized();
    if (m_opciones.alMostrar)
        m_opciones.alMostrar(*m_trafo);
}

void ArranqueQt::abrirDireccion()
{
    Direcc direcc(
        m_estado, m_settings, m_mensajes, [this](const QString& folder) { reabrir(folder); }, m_trafo.get());
    direcc.exec();
}

void ArranqueQt::reabrir(const QString& folder)
{
    // Engine errors while re-opening are ignored: the views that fail stay empty until the
    // user accepts a working folder.
    const Status abierta = m_trafo ? m_trafo->reabrir(folder) : m_vistas.reabrir(folder);
    ignorarFallo(abierta, logApp(), "Abrir el archivo de datos de la carpeta elegida");
    nombrarImagenes();
}

void ArranqueQt::nombrarImagenes()
{
    if (m_graficos)
        m_graficos->nombrarArchivos(m_opciones.carpetaImagenes.isEmpty() ? graficos::carpetaImagenes()
                                                                         : m_opciones.carpetaImagenes);
}
