#pragma once

#include "maintenance/ui/EnlaceDatos.h"

#include <QDialog>

class Mensajes;
struct RunState;

// The compaction window: its advice, then the day's automatic copy, the compaction and the
// reconnection of the main window.
class Compact : public QDialog
{
    Q_OBJECT
public:
    Compact(RunState& estado, Mensajes& mensajes, EnlaceDatos enlace, QWidget* parent = nullptr);

    // "&Aceptar": compacts the data file and closes the window.
    void aceptar();

private:
    RunState& m_estado;
    Mensajes& m_mensajes;
    EnlaceDatos m_enlace;
};
