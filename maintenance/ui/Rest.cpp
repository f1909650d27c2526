#include "maintenance/ui/Rest.h"

#include "app/logic/Interruptor.h"
#include "app/logic/RunState.h"
#include "maintenance/logic/Mantenimiento.h"
#include "maintenance/logic/NombresCopia.h"
#include "utilities/logic/Mensajes.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kTitulo = QStringLiteral("Restaurar Backup");
}

Rest::Rest(RunState& estado, Mensajes& mensajes, const QString& carpetaCopias,
           std::function<QDateTime()> ahora, EnlaceDatos enlace, QWidget* parent)
    : QDialog(parent), m_estado(estado), m_mensajes(mensajes), m_carpetaCopias(carpetaCopias),
      m_ahora(std::move(ahora)), m_enlace(std::move(enlace))
{
    setObjectName(QStringLiteral("Rest"));
    setWindowTitle(kTitulo);
    setModal(true);

    auto* elija = new QLabel(
        QString::fromUtf8("Elija la Unidad y el Directorio donde se encuentra la Base de Datos a Restaurar"),
        this);
    m_directorio = new QLineEdit(this);
    m_directorio->setObjectName(QStringLiteral("Directorio"));
    m_directorio->setMinimumWidth(380);
    auto* examinar = new QPushButton(QStringLiteral("..."), this);
    examinar->setObjectName(QStringLiteral("Examinar"));
    examinar->setToolTip(QStringLiteral("Elegir la carpeta"));
    auto* archivos = new QLabel(QStringLiteral("Archivos de Respaldo en el Directorio:"), this);
    m_file1 = new QListWidget(this);
    m_file1->setObjectName(QStringLiteral("File1"));
    archivos->setBuddy(m_file1);

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
    layout->addWidget(archivos);
    layout->addWidget(m_file1, 1);
    layout->addLayout(botones);

    connect(m_directorio, &QLineEdit::textChanged, this, &Rest::listar);
    connect(examinar, &QPushButton::clicked, this, &Rest::examinar);
    connect(aceptar, &QPushButton::clicked, this, &Rest::aceptar);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    // The window opens where the automatic copies really are.
    mostrarCarpeta(m_carpetaCopias);
}

QString Rest::mensajeSoloLectura()
{
    return QString::fromUtf8("En el modo Solo Lectura no se puede restaurar ni compactar la Base de Datos. "
                             "Vuelva a entrar en el modo Lectura / Escritura.");
}

void Rest::mostrarCarpeta(const QString& carpeta)
{
    m_directorio->setText(QDir::toNativeSeparators(carpeta));
    listar();
}

void Rest::listar()
{
    m_file1->clear();
    const QDir carpeta(QDir::fromNativeSeparators(m_directorio->text().trimmed()));
    if (m_directorio->text().trimmed().isEmpty() || !carpeta.exists())
        return;
    for (const QString& nombre : carpeta.entryList(QDir::Files, QDir::Name))
        if (copias::seRestaura(nombre))
            m_file1->addItem(nombre);
}

void Rest::examinar()
{
    const QString elegida = m_mensajes.chooseFolder(
        QString::fromUtf8("Elija el Directorio donde se encuentra la Base de Datos a Restaurar"),
        m_directorio->text());
    if (!elegida.isEmpty())
        mostrarCarpeta(elegida);
}

void Rest::aceptar()
{
    // A read-only user must not get round the write password by loading another file.
    if (m_estado.SoloLectura) {
        m_mensajes.show(mensajeSoloLectura(), kTitulo, Mensajes::Icon::Exclamation);
        return;
    }
    QListWidgetItem* elegido = m_file1->currentItem();
    if (!elegido || !elegido->isSelected()) {
        m_mensajes.aviso(QStringLiteral("Seleccione el Archivo a restaurar"));
        return;
    }
    const QString archivo =
        QDir(QDir::fromNativeSeparators(m_directorio->text().trimmed())).filePath(elegido->text());
    if (!QFileInfo(archivo).isFile()) {
        m_mensajes.show(QString::fromUtf8("No se encuentra la Base de Datos en esa ubicación"), kTitulo,
                        Mensajes::Icon::Exclamation);
        return;
    }
    if (m_mensajes.show(QString::fromUtf8("La Base de Datos Existente será reemplazada por la copia de "
                                          "seguridad\n¿Está seguro que desea Reemplazarla?"),
                        kTitulo, Mensajes::Icon::Exclamation, Mensajes::Buttons::YesNo,
                        Mensajes::Answer::No) != Mensajes::Answer::Yes)
        return;
    const QFileInfo datos(m_estado.RutaBase);
    if (QFileInfo(archivo).absoluteFilePath() == datos.absoluteFilePath() ||
        (datos.exists() && QFileInfo(archivo).canonicalFilePath() == datos.canonicalFilePath())) {
        m_mensajes.show(mantenimiento::mensajeMismoArchivo(), QStringLiteral("Backup"),
                        Mensajes::Icon::Critical);
        return;
    }
    if (m_enlace.guardarPendientes && !m_enlace.guardarPendientes())
        return;

    m_mensajes.setBusy(true);
    // At start-up nothing has the file open yet.
    const bool cerrar = !m_estado.RecargaEnCurso && m_enlace.cerrarDatos;
    if (cerrar)
        m_enlace.cerrarDatos();
    auto hecho = mantenimiento::restaurar(archivo, m_estado.RutaBase, m_carpetaCopias, m_ahora());
    m_mensajes.setBusy(false);
    if (hecho)
        m_mensajes.aviso(QStringLiteral("Archivo Restaurado"));
    else
        m_mensajes.error(hecho.error());
    // The views were closed: they come back on the file, restored or as it was.
    if (cerrar && m_enlace.reconectar)
        m_enlace.reconectar();
    if (hecho)
        accept();
}
