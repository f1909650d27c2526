#pragma once

#include "maintenance/ui/EnlaceDatos.h"

#include <QDateTime>
#include <QDialog>
#include <functional>

class Mensajes;
class QLineEdit;
class QListWidget;
struct RunState;

// The restore window: a folder (the automatic copies' at first) and the copies in it; the one
// chosen replaces the data file once it has passed its checks, and the main window reconnects.
class Rest : public QDialog
{
    Q_OBJECT
public:
    Rest(RunState& estado, Mensajes& mensajes, const QString& carpetaCopias, std::function<QDateTime()> ahora,
         EnlaceDatos enlace, QWidget* parent = nullptr);

    // "&Aceptar": restores the selected copy; the window closes only after a success.
    void aceptar();
    // Shows the copies of a folder.
    void mostrarCarpeta(const QString& carpeta);

    // The mode and the texts the window refuses to restore with.
    static QString mensajeSoloLectura();

private:
    void listar();
    void examinar();

    RunState& m_estado;
    Mensajes& m_mensajes;
    QString m_carpetaCopias;
    std::function<QDateTime()> m_ahora;
    EnlaceDatos m_enlace;
    QLineEdit* m_directorio = nullptr;
    QListWidget* m_file1 = nullptr;
};
