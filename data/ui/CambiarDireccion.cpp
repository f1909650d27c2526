#include "data/ui/CambiarDireccion.h"

#include "app/logic/RunState.h"
#include "data/logic/Database.h"
#include "utilities/logic/Mensajes.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

bool legible(const QString& folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

// The nearest folder that still exists, so a stale setting still opens somewhere sensible.
QString existente(QString folder)
{
    folder = folder.isEmpty() ? QDir::rootPath() : QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!legible(folder) && folder != QDir::rootPath()) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            break;
        folder = parent;
    }
    return folder;
}

} // namespace

CambiarDireccion::CambiarDireccion(const QString& startFolder, Mensajes& mensajes, QWidget* parent)
    : QDialog(parent), m_mensajes(mensajes)
{
    setObjectName(QStringLiteral("CambiarDireccion"));
    setWindowTitle(QStringLiteral("Cambiar Dirección Base de Datos"));
    setModal(true);

    auto* texto = new QLabel(
        QStringLiteral("Elija la Unidad y el Directorio donde se encuentra la Base de Datos"), this);

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QDir::rootPath());
    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("Directorio"));
    m_tree->setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_tree->hideColumn(column);
    m_tree->header()->hide();
    m_tree->setMinimumSize(300, 240);

    auto* titulo = new QLabel(QStringLiteral("Archivos de Respaldo en el Directorio:"), this);
    m_files = new QListWidget(this);
    m_files->setObjectName(QStringLiteral("File1"));
    m_files->setMinimumWidth(180);

    auto* aceptarBoton = new QPushButton(QStringLiteral("&Aceptar"), this);
    aceptarBoton->setObjectName(QStringLiteral("cmdAceptar"));
    aceptarBoton->setAutoDefault(false);
    auto* cancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cancelar->setAutoDefault(false);

    auto* archivos = new QVBoxLayout;
    archivos->addWidget(titulo);
    archivos->addWidget(m_files);
    auto* listas = new QHBoxLayout;
    listas->addWidget(m_tree, 3);
    listas->addLayout(archivos, 2);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(aceptarBoton);
    botones->addWidget(cancelar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(texto);
    layout->addLayout(listas);
    layout->addLayout(botones);

    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!m_moviendo && current.isValid())
                    setFolder(m_model->filePath(current));
            });
    connect(m_files, &QListWidget::itemDoubleClicked, this, &CambiarDireccion::aceptar);
    connect(aceptarBoton, &QPushButton::clicked, this, &CambiarDireccion::aceptar);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);

    m_folder = existente(startFolder);
    seleccionarEnArbol(m_folder);
    llenarArchivos();
}

bool CambiarDireccion::setFolder(const QString& folder)
{
    const QString clean = QDir::cleanPath(folder);
    if (!legible(clean)) {
        m_mensajes.aviso(QStringLiteral("Unidad no disponble"));
        seleccionarEnArbol(m_folder);
        return false;
    }
    m_folder = clean;
    seleccionarEnArbol(m_folder);
    llenarArchivos();
    return true;
}

void CambiarDireccion::seleccionarEnArbol(const QString& folder)
{
    m_moviendo = true;
    const QModelIndex index = m_model->index(folder);
    if (index.isValid()) {
        m_tree->setCurrentIndex(index);
        m_tree->scrollTo(index);
    }
    m_moviendo = false;
}

void CambiarDireccion::llenarArchivos()
{
    m_files->clear();
    // Only the data file's own name is listed, with the case the program opens it with.
    if (RunState::contieneBase(m_folder))
        m_files->addItem(Database::nombreArchivo());
}

void CambiarDireccion::aceptar()
{
    if (m_files->selectedItems().isEmpty()) {
        m_mensajes.aviso(QStringLiteral("Seleccione el Archivo de Base de Datos "));
        return;
    }
    m_chosen = m_folder;
    accept();
}
