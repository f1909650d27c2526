#pragma once

#include <QDialog>
#include <functional>

class Mensajes;
class QLineEdit;
class QPushButton;
class Settings;
struct RunState;

// The location window: shows the folder of the data file and saves a new one in "DIR".
// During start-up it only saves; afterwards it hands the folder to the owner's re-open,
// which points every view of the main window at the file in that folder.
class Direcc : public QDialog
{
    Q_OBJECT
public:
    using Reabrir = std::function<void(const QString& folder)>;

    Direcc(RunState& state, Settings& settings, Mensajes& mensajes, Reabrir reabrir,
           QWidget* parent = nullptr);

    QString folderText() const;
    void setFolderText(const QString& folder);

    // "&Aceptar": saves a folder that holds the data file, re-opens when not starting up.
    void aceptar();
    // "...": the browse window, modal; its folder replaces the box's on acceptance.
    void buscar();

private:
    RunState& m_state;
    Settings& m_settings;
    Mensajes& m_mensajes;
    Reabrir m_reabrir;
    QLineEdit* m_folder = nullptr;
};
