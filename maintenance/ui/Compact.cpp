#include "maintenance/ui/Compact.h"

#include "app/logic/Interruptor.h"
#include "app/logic/RunState.h"
#include "maintenance/logic/Mantenimiento.h"
#include "maintenance/ui/Rest.h"
#include "utilities/logic/Mensajes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Compact::Compact(RunState& estado, Mensajes& mensajes, EnlaceDatos enlace, QWidget* parent)
    : QDialog(parent), m_estado(estado), m_mensajes(mensajes), m_enlace(std::move(enlace))
{
    setObjectName(QStringLiteral("Compact"));
    setWindowTitle(QStringLiteral("Compactar Base de Datos"));
    setModal(true);

    auto* consejo =
        new QLabel(QStringLiteral("Se Recomienda que realice primero un Backup de la Base de Datos"), this);
    consejo->setObjectName(QStringLiteral("Consejo"));
    auto* aceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    aceptar->setObjectName(QStringLiteral("Command25"));
    auto* cancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cancelar->setObjectName(QStringLiteral("Command22"));
    cancelar->setDefault(true);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(aceptar);
    botones->addWidget(cancelar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(consejo);
    layout->addLayout(botones);

    connect(aceptar, &QPushButton::clicked, this, &Compact::aceptar);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
}

void Compact::aceptar()
{
    if (m_estado.SoloLectura) {
        m_mensajes.show(Rest::mensajeSoloLectura(), windowTitle(), Mensajes::Icon::Exclamation);
        return;
    }
    if (m_enlace.guardarPendientes && !m_enlace.guardarPendientes())
        return;
    {
        // The exit procedure runs for its copy only; the flag goes down on every path.
        Bandera recarga(m_estado.RecargaEnCurso, true);
        // The day's automatic copy is the compaction's safety net: without it, no compaction.
        if (m_enlace.copiaAutomatica && !m_enlace.copiaAutomatica())
            return;
        m_mensajes.setBusy(true);
        if (m_enlace.cerrarDatos)
            m_enlace.cerrarDatos();
        const Status st = mantenimiento::compactar(m_estado.RutaBase);
        m_mensajes.setBusy(false);
        if (st)
            m_mensajes.aviso(QStringLiteral("Archivo Compactado"));
        else
            m_mensajes.error(st.error());
        if (m_enlace.reconectar)
            m_enlace.reconectar();
    }
    accept();
}
