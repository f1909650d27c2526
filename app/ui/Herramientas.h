#pragma once

#include "maintenance/ui/EnlaceDatos.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>

class Mensajes;
class PasswordStore;
class Trafo;
struct RunState;

// The maintenance side of the main window: the exit procedure's automatic copy with its
// notice, the HERRAMIENTAS windows (backup, compaction, restore, passwords) and the calculator.
class Herramientas
{
public:
    struct Opciones
    {
        std::function<QDate()> hoy = [] { return QDate::currentDate(); };
        std::function<QDateTime()> ahora = [] { return QDateTime::currentDateTime(); };
        // The folder of the automatic copies (the user's data folder of the program by default).
        QString carpetaCopias;
        // How long the backup notice stays up the first time.
        int avisoMs = 2000;
        // Starts the desktop's calculator; false when none could be started.
        std::function<bool()> calculadora;
    };

    Herramientas(RunState& estado, PasswordStore& passwords, Mensajes& mensajes, Trafo& trafo,
                 Opciones opciones);

    // The exit procedure's work before the views close: pending edits saved, the notice shown,
    // the day's automatic copy made and the old copies pruned. false when the copy failed (the
    // user has been told with "¡Error!").
    bool copiaDeSalida();
    // What the maintenance windows ask of the main window.
    EnlaceDatos enlace();
    // The restore window, also shown by start-up when the data file is missing.
    static void restaurar(RunState& estado, Mensajes& mensajes, const QString& carpetaCopias,
                          std::function<QDateTime()> ahora, EnlaceDatos enlace, QWidget* parent);

private:
    RunState& m_estado;
    PasswordStore& m_passwords;
    Mensajes& m_mensajes;
    Trafo& m_trafo;
    Opciones m_opciones;
    bool m_avisoMostrado = false;
    bool m_ultimaCopia = true;
};
