#include "controls/Factory.h"

#include <QWidget>

namespace lumerix {

QWidget* createControl(const QString& identifier, QWidget* parent, QString* error)
{
    Q_UNUSED(parent);
    if (error)
        *error = QStringLiteral("No existe el control '%1' en la biblioteca Lumerix").arg(identifier);
    return nullptr;
}

} // namespace lumerix
