#pragma once

#include <QString>

class Mensajes;
struct RunState;
class Settings;
class StartupUi;

// The start-up of the program: access mode, the data file's folder, then the main window.
// It decides and speaks through Mensajes; the windows are behind StartupUi.
class StartupSequence
{
public:
    StartupSequence(RunState& state, Settings& settings, StartupUi& ui, Mensajes& mensajes);

    // A folder given on the command line: it stands for the stored DIR in this run and is
    // never saved. Once the user picks a folder in the location window, the store wins again.
    void setDataFolderOverride(const QString& folder);

    // Runs start-up. false: access was refused and the program must end; nothing was opened.
    bool run(const QString& rutaPrograma);

    // The missing-file message names the file it looked for, in full.
    static QString mensajeSinBase(const QString& carpeta);
    // The offer to convert a data file of the earlier program.
    static QString mensajeConvertir(const QString& ruta);

private:
    QString readDataFolder();
    void settleDataFolder();
    void openData();
    void ofrecerConversion();

    RunState& m_state;
    Settings& m_settings;
    StartupUi& m_ui;
    Mensajes& m_mensajes;
    QString m_override;
};
