#include "app/logic/StartupSequence.h"

#include "app/logic/RunState.h"
#include "app/logic/Settings.h"
#include "app/logic/StartupUi.h"
#include "data/logic/Database.h"
#include "data/logic/Importacion.h"
#include "data/logic/LectorJet.h"
#include "utilities/logic/Mensajes.h"

#include <QDir>
#include <QFileInfo>

StartupSequence::StartupSequence(RunState& state, Settings& settings, StartupUi& ui, Mensajes& mensajes)
    : m_state(state), m_settings(settings), m_ui(ui), m_mensajes(mensajes)
{
}

void StartupSequence::setDataFolderOverride(const QString& folder)
{
    m_override = folder.isEmpty() ? folder : QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

QString StartupSequence::readDataFolder()
{
    return m_override.isEmpty() ? m_settings.dataFolder() : m_override;
}

bool StartupSequence::run(const QString& rutaPrograma)
{
    m_state.RecargaEnCurso = true;
    m_state.NombresTablas = RunState().NombresTablas;
    m_state.RutaPrograma = rutaPrograma;

    // The connection window reads the stored passwords itself when it opens.
    m_state.AccesoConcedido = false;
    m_state.SoloLectura = false;
    m_ui.showConnection();
    if (!m_state.AccesoConcedido)
        return false;

    if (readDataFolder().isEmpty()) {
        m_ui.showLocation();
        m_override.clear();
    }
    settleDataFolder();

    if (m_state.RutaDatos.isEmpty())
        m_state.RutaDatos = m_state.RutaPrograma;
    m_state.RecargaEnCurso = false;
    m_state.apuntarDatos(m_state.RutaDatos);

    m_state.resetSelection();
    m_state.resetNavigation();
    openData();
    return true;
}

QString StartupSequence::mensajeSinBase(const QString& carpeta)
{
    if (carpeta.trimmed().isEmpty())
        return QStringLiteral(
            "No se puede conectar con la Base de Datos 'Trafos.mdb': no se eligió la carpeta "
            "de datos");
    return QStringLiteral("No se puede conectar con la Base de Datos '%1'")
        .arg(QDir::toNativeSeparators(QFileInfo(Database::rutaEn(carpeta)).absoluteFilePath()));
}

void StartupSequence::settleDataFolder()
{
    m_state.RutaDatos = readDataFolder();
    if (RunState::contieneBase(m_state.RutaDatos))
        return;

    m_mensajes.aviso(mensajeSinBase(m_state.RutaDatos));
    m_ui.showLocation();
    // The user has been asked: from now on the stored folder counts, not the command line.
    m_override.clear();
    m_state.RutaDatos = readDataFolder();
    if (RunState::contieneBase(m_state.RutaDatos))
        return;

    m_mensajes.aviso(mensajeSinBase(m_state.RutaDatos));
    // The restore window writes the data file where the program will look for it next.
    m_state.apuntarDatos(m_state.RutaDatos.isEmpty() ? m_state.RutaPrograma : m_state.RutaDatos);
    m_ui.showRestore();
}

QString StartupSequence::mensajeConvertir(const QString& ruta)
{
    return QStringLiteral("El archivo '%1' es una base de datos del programa anterior (Jet), que Quorvela no "
                          "abre directamente.\n\n¿Desea convertirlo ahora? El original no se modifica: se "
                          "conserva como '%2' en la misma carpeta, y el archivo convertido toma el nombre "
                          "'%3'. Al terminar se muestra un informe de la conversión.")
        .arg(QDir::toNativeSeparators(QFileInfo(ruta).absoluteFilePath()), importacion::nombreOriginal(),
             Database::nombreArchivo());
}

// The earlier program's file is converted only when the user says so, and never in read-only
// mode, which promises to write nothing. Declined or failed, the file stays as it was and start-up
// goes on as for any file the program cannot use.
void StartupSequence::ofrecerConversion()
{
    if (m_state.SoloLectura || !jet::esArchivoJet(m_state.RutaBase))
        return;
    if (m_mensajes.show(mensajeConvertir(m_state.RutaBase), QString(), Mensajes::Icon::Question,
                        Mensajes::Buttons::YesNo, Mensajes::Answer::Yes) != Mensajes::Answer::Yes)
        return;
    m_mensajes.setBusy(true);
    auto hecho = importacion::convertirEnSuSitio(m_state.RutaDatos,
                                                 [this](const QString& tabla, qint64 hechas, qint64 total) {
                                                     m_ui.avanceConversion(tabla, hechas, total);
                                                 });
    m_ui.finConversion();
    m_mensajes.setBusy(false);
    if (!hecho) {
        QString motivo = hecho.error();
        if (!motivo.endsWith(QLatin1Char('.')))
            motivo += QLatin1Char('.');
        m_mensajes.error(
            QStringLiteral("No se pudo convertir el archivo '%1': %2 El original no se modificó.")
                .arg(QDir::toNativeSeparators(m_state.RutaBase), motivo));
        return;
    }
    m_mensajes.show(hecho.value().resumen(QDir::toNativeSeparators(
                        QDir(m_state.RutaDatos).absoluteFilePath(importacion::nombreInforme()))),
                    QString(), Mensajes::Icon::Information);
}

void StartupSequence::openData()
{
    std::shared_ptr<Database> database;
    // A missing file has already been reported twice; the views simply stay empty.
    if (RunState::contieneBase(m_state.RutaDatos)) {
        ofrecerConversion();
        auto opened = Database::open(m_state.RutaBase, m_state.SoloLectura);
        if (opened.ok())
            database = opened.value();
        else
            m_mensajes.error(opened.error());
    }
    m_ui.loadMainWindow(database);
}
