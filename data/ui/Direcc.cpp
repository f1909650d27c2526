#include "data/ui/Direcc.h"

#include "app/logic/RunState.h"
#include "app/logic/Settings.h"
#include "data/ui/CambiarDireccion.h"
#include "utilities/logic/Mensajes.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Direcc::Direcc(RunState& state, Settings& settings, Mensajes& mensajes, Reabrir reabrir, QWidget* parent)
    : QDialog(parent), m_state(state), m_settings(settings), m_mensajes(mensajes),
      m_reabrir(std::move(reabrir))
{
    setObjectName(QStringLiteral("Direcc"));
    setWindowTitle(QStringLiteral("Direccion de la Base de Datos"));
    setModal(true);

    auto* marco = new QGroupBox(QStringLiteral("Dirección Base de Datos"), this);
    m_folder = new QLineEdit(marco);
    m_folder->setObjectName(QStringLiteral("txtDireccion"));
    m_folder->setMinimumWidth(320);
    auto* examinar = new QPushButton(QStringLiteral("..."), marco);
    examinar->setObjectName(QStringLiteral("cmdExaminar"));
    examinar->setToolTip(QStringLiteral("Seleccionar Base de Datos"));
    examinar->setAutoDefault(false);
    auto* fila = new QHBoxLayout(marco);
    fila->addWidget(m_folder);
    fila->addWidget(examinar);

    auto* aceptarBoton = new QPushButton(QStringLiteral("&Aceptar"), this);
    aceptarBoton->setObjectName(QStringLiteral("cmdAceptar"));
    aceptarBoton->setDefault(true);
    auto* cancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cancelar->setAutoDefault(false);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(aceptarBoton);
    botones->addWidget(cancelar);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(marco);
    layout->addLayout(botones);

    connect(examinar, &QPushButton::clicked, this, &Direcc::buscar);
    connect(aceptarBoton, &QPushButton::clicked, this, &Direcc::aceptar);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);

    m_folder->setText(m_settings.dataFolder());
}

QString Direcc::folderText() const
{
    return m_folder->text();
}

void Direcc::setFolderText(const QString& folder)
{
    m_folder->setText(folder);
}

void Direcc::aceptar()
{
    const QString typed = m_folder->text();
    const QString folder = typed.isEmpty() ? typed : QDir::cleanPath(QFileInfo(typed).absoluteFilePath());
    if (!RunState::contieneBase(folder)) {
        m_mensajes.show(QStringLiteral("No se encuentra la Base de Datos en esa ubicación"), QString(),
                        Mensajes::Icon::Exclamation);
        return;
    }
    const Status saved = m_settings.setDataFolder(folder);
    if (!saved.ok()) {
        m_mensajes.error(saved.error());
        return;
    }
    // During start-up nothing is open yet: start-up reads the setting again.
    if (!m_state.RecargaEnCurso && m_reabrir)
        m_reabrir(folder);
    accept();
}

void Direcc::buscar()
{
    const QString start = m_state.RutaDatos.isEmpty() ? m_state.RutaPrograma : m_state.RutaDatos;
    CambiarDireccion browse(start, m_mensajes, this);
    if (browse.exec() == QDialog::Accepted)
        m_folder->setText(browse.chosenFolder());
}
