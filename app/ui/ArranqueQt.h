#pragma once

#include "app/logic/StartupUi.h"
#include "app/ui/VentanaInicio.h"

#include <QDate>

#include <QPointer>
#include <QProgressDialog>
#include <functional>
#include <memory>

class DataViews;
class Graficos;
class Herramientas;
class Mensajes;
class PasswordStore;
class Settings;
class Trafo;
class QWidget;
struct RunState;

// The start-up windows of the program behind the start-up sequence: the connection,
// location and restore windows, then the main window with its views and the start-up window.
class ArranqueQt : public StartupUi
{
public:
    struct Opciones
    {
        // Show the main window at once instead of after the start-up window.
        bool sinEspera = false;
        int esperaMs = 5000;
        // Run once the main window is on screen.
        std::function<void(Trafo&)> alMostrar;
        // Ends the program (Salir's last step).
        std::function<void()> terminar;
        // Today's date for the calendar window and the copies' names.
        std::function<QDate()> hoy = [] { return QDate::currentDate(); };
        // The automatic copies' folder (empty: the user's data folder of the program) and how
        // long their notice stays up the first time.
        QString carpetaCopias;
        int avisoMs = 2000;
        // The folder of the graphs' picture files (empty: the user's data folder of the program).
        QString carpetaImagenes;
    };

    ArranqueQt(RunState& estado, Settings& settings, PasswordStore& passwords, Mensajes& mensajes,
               DataViews& vistas, Opciones opciones);
    ~ArranqueQt() override;

    void showConnection() override;
    void showLocation() override;
    void showRestore() override;
    void loadMainWindow(const std::shared_ptr<Database>& database) override;
    void avanceConversion(const QString& tabla, qint64 hechas, qint64 total) override;
    void finConversion() override;

    Trafo* trafo() const { return m_trafo.get(); }
    Graficos* graficos() const { return m_graficos; }
    VentanaInicio* ventanaInicio() const { return m_inicio; }

private:
    void mostrarPrincipal();
    void abrirDireccion();
    void reabrir(const QString& folder);
    void nombrarImagenes();

    RunState& m_estado;
    Settings& m_settings;
    PasswordStore& m_passwords;
    Mensajes& m_mensajes;
    DataViews& m_vistas;
    Opciones m_opciones;
    std::unique_ptr<Trafo> m_trafo;
    Graficos* m_graficos = nullptr; // owned by the main window
    std::unique_ptr<Herramientas> m_herramientas;
    QPointer<VentanaInicio> m_inicio;
    std::unique_ptr<QProgressDialog> m_avance;
};
