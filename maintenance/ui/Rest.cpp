#include "maintenance/ui/Rest.h"

#include "data/logic/Database.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Rest::Rest(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Rest"));
    setWindowTitle(QStringLiteral("Restaurar Backup"));
    setModal(true);

    auto* texto =
        new QLabel(QStringLiteral("La restauración de copias de seguridad todavía no está disponible.\n"
                                  "Copie el archivo %1 en la carpeta de datos y vuelva a iniciar "
                                  "el programa.")
                       .arg(Database::nombreArchivo()),
                   this);
    texto->setWordWrap(true);
    auto* cerrar = new QPushButton(QStringLiteral("&Cerrar"), this);
    cerrar->setObjectName(QStringLiteral("cmdCerrar"));
    connect(cerrar, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(texto);
    layout->addWidget(cerrar, 0, Qt::AlignHCenter);
}
