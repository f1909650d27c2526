#include "app/ui/Herramientas.h"

#include "app/logic/RunState.h"
#include "app/ui/AvisoRespaldo.h"
#include "maintenance/logic/Mantenimiento.h"
#include "maintenance/logic/PasswordStore.h"
#include "maintenance/ui/Back.h"
#include "maintenance/ui/Compact.h"
#include "maintenance/ui/PassFrm.h"
#include "maintenance/ui/Rest.h"
#include "records/logic/DataViews.h"
#include "records/ui/EdicionRegistros.h"
#include "records/ui/PaginaHerramientas.h"
#include "records/ui/Trafo.h"
#include "utilities/logic/Calculadora.h"
#include "utilities/logic/Mensajes.h"

Herramientas::Herramientas(RunState& estado, PasswordStore& passwords, Mensajes& mensajes, Trafo& trafo,
                           Opciones opciones)
    : m_estado(estado), m_passwords(passwords), m_mensajes(mensajes), m_trafo(trafo),
      m_opciones(std::move(opciones))
{
    if (m_opciones.carpetaCopias.isEmpty())
        m_opciones.carpetaCopias = mantenimiento::carpetaCopiasAutomaticas();
    if (!m_opciones.calculadora)
        m_opciones.calculadora = [] { return calculadora::abrir(); };

    m_trafo.setAlSalir([this] { m_ultimaCopia = copiaDeSalida(); });
    m_trafo.setComandoHerramientas(PaginaHerramientas::RealizarBackup, [this] {
        Back back(m_estado, m_mensajes, m_opciones.hoy, enlace().guardarPendientes, &m_trafo);
        back.exec();
    });
    m_trafo.setComandoHerramientas(PaginaHerramientas::CompactarBase, [this] {
        Compact compact(m_estado, m_mensajes, enlace(), &m_trafo);
        compact.exec();
    });
    m_trafo.setComandoHerramientas(PaginaHerramientas::RestaurarBackup, [this] {
        restaurar(m_estado, m_mensajes, m_opciones.carpetaCopias, m_opciones.ahora, enlace(), &m_trafo);
    });
    // The password windows do not block the main window.
    const auto contrasena = [this](const QString& seccion) {
        auto* ventana = new PassFrm(seccion, m_passwords, m_mensajes, &m_trafo);
        ventana->setWindowFlag(Qt::Window);
        ventana->setAttribute(Qt::WA_DeleteOnClose);
        ventana->show();
    };
    m_trafo.setComandoHerramientas(PaginaHerramientas::ContrasenaLectura,
                                   [contrasena] { contrasena(PasswordStore::seccionLectura()); });
    m_trafo.setComandoHerramientas(PaginaHerramientas::ContrasenaEscritura,
                                   [contrasena] { contrasena(PasswordStore::seccionEscritura()); });
    m_trafo.setCalculadora([this] {
        if (!m_opciones.calculadora())
            m_mensajes.aviso(calculadora::mensajeSinCalculadora());
    });
}

void Herramientas::restaurar(RunState& estado, Mensajes& mensajes, const QString& carpetaCopias,
                             std::function<QDateTime()> ahora, EnlaceDatos enlace, QWidget* parent)
{
    Rest rest(estado, mensajes, carpetaCopias, std::move(ahora), std::move(enlace), parent);
    rest.exec();
}

bool Herramientas::copiaDeSalida()
{
    // A copy holds what the user sees: pending edits go in first (a refusal has been told).
    if (m_trafo.edicion())
        m_trafo.edicion()->guardarPendientes();
    AvisoRespaldo::mostrar(m_avisoMostrado, &m_trafo, m_opciones.avisoMs);
    m_mensajes.setBusy(true);
    auto hecha =
        mantenimiento::copiaAutomatica(m_estado.RutaBase, m_opciones.carpetaCopias, m_opciones.hoy());
    m_mensajes.setBusy(false);
    if (!hecha) {
        m_mensajes.error(hecha.error());
        return false;
    }
    // An old copy that cannot be deleted costs nothing now; it is tried again next time.
    if (!hecha.value().errorPoda.isEmpty())
        m_mensajes.error(hecha.value().errorPoda);
    return true;
}

EnlaceDatos Herramientas::enlace()
{
    EnlaceDatos e;
    e.guardarPendientes = [this] { return !m_trafo.edicion() || m_trafo.edicion()->guardarPendientes(); };
    e.cerrarDatos = [this] { m_trafo.vistas().closeAll(); };
    e.reconectar = [this] { m_trafo.Reconectar(m_opciones.hoy()); };
    // As the exit procedure runs when the main window closes to be loaded again.
    e.copiaAutomatica = [this] {
        m_trafo.Salir();
        return m_ultimaCopia;
    };
    return e;
}
