#include "maintenance/ui/Back.h"

#include "app/logic/RunState.h"
#include "maintenance/logic/Mantenimiento.h"
#include "maintenance/logic/NombresCopia.h"
#include "utilities/logic/Mensajes.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

Back::Back(RunState& estado, Mensajes& mensajes, std::function<QDate()> hoy,
           std::function<bool()> guardarPendientes, QWidget* parent)
    : QDialog(parent), m_estado(estado), m_mensajes(mensajes), m_hoy(std::move(hoy)),
      m_guardarPendientes(std::move(guardarPendientes))
{
    setObjectName(QStringLiteral("Back"));
    setWindowTitle(QStringLiteral("Backup"));
    setModal(true);

    auto* elija = new QLabel(QStringLiteral("Elija la Unidad y el Directorio para realizar la copia"), this);
    m_directorio = new QLineEdit(QDir::toNativeSeparators(estado.RutaDatos), this);
    m_directorio->setObjectName(QStringLiteral("Directorio"));
    m_directorio->setMinimumWidth(360);
    auto* examinar = new QPushButton(QStringLiteral("..."), this);
    examinar->setObjectName(QStringLiteral("Examinar"));
    examinar->setToolTip(QStringLiteral("Elegir la carpeta"));

    auto* comprimir = new QGroupBox(QStringLiteral("Comprimir (ZIP)"), this);
    m_si = new QRadioButton(QStringLiteral("Si"), comprimir);
    m_si->setObjectName(QStringLiteral("Option1_0"));
    m_no = new QRadioButton(QStringLiteral("No"), comprimir);
    m_no->setObjectName(QStringLiteral("Option1_1"));
    m_no->setChecked(true);
    auto* opciones = new QHBoxLayout(comprimir);
    opciones->addWidget(m_si);
    opciones->addWidget(m_no);

    m_label2 = new QLabel(this);
    m_label2->setObjectName(QStringLiteral("Label2"));

    auto* aceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    aceptar->setObjectName(QStringLiteral("Command25"));
    aceptar->setDefault(true);
    auto* cancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cancelar->setObjectName(QStringLiteral("Command22"));

    auto* carpeta = new QHBoxLayout;
    carpeta->addWidget(m_directorio, 1);
    carpeta->addWidget(examinar);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(aceptar);
    botones->addWidget(cancelar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(elija);
    layout->addLayout(carpeta);
    layout->addWidget(comprimir);
    layout->addWidget(m_label2);
    layout->addLayout(botones);

    connect(m_si, &QRadioButton::toggled, this, &Back::actualizarEtiqueta);
    connect(examinar, &QPushButton::clicked, this, &Back::examinar);
    connect(aceptar, &QPushButton::clicked, this, &Back::aceptar);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    actualizarEtiqueta();
}

QString Back::nombre() const
{
    return copias::nombreRespaldo(m_hoy(), m_si->isChecked());
}

void Back::actualizarEtiqueta()
{
    m_label2->setText(QStringLiteral("Archivo: ") + nombre());
}

void Back::examinar()
{
    const QString elegida = m_mensajes.chooseFolder(
        QStringLiteral("Elija el Directorio para realizar la copia"), m_directorio->text());
    if (!elegida.isEmpty())
        m_directorio->setText(QDir::toNativeSeparators(elegida));
}

void Back::aceptar()
{
    const QString carpeta = QDir::fromNativeSeparators(m_directorio->text().trimmed());
    if (carpeta.isEmpty() || !QFileInfo(carpeta).isDir()) {
        m_mensajes.error(QStringLiteral("No existe la carpeta '%1'").arg(m_directorio->text()));
        return;
    }
    const QString destino = QDir(carpeta).filePath(nombre());
    if (QFileInfo::exists(destino) &&
        m_mensajes.show(mantenimiento::mensajeYaExiste(), QStringLiteral("Backup"),
                        Mensajes::Icon::Exclamation, Mensajes::Buttons::YesNo,
                        Mensajes::Answer::No) != Mensajes::Answer::Yes)
        return;
    // The copy holds what the user sees: pending edits are saved first.
    if (m_guardarPendientes && !m_guardarPendientes())
        return;
    m_mensajes.setBusy(true);
    auto hecho = mantenimiento::respaldar(m_estado.RutaBase, carpeta, m_hoy(), m_si->isChecked(), true);
    m_mensajes.setBusy(false);
    if (!hecho) {
        m_mensajes.error(hecho.error());
        return;
    }
    m_mensajes.aviso(QStringLiteral("Archivo Copiado"));
    accept();
}
