#include "diagnosis/ui/Controles.h"

#include "diagnosis/ui/Semaforo.h"

namespace quorvela {

QWidget* createControl(const QString& identifier, QWidget* parent, QString* error)
{
    // Identifiers ignore case, as names in the component registry always did.
    if (identifier.compare(QLatin1String("Quorvela.Semaforo"), Qt::CaseInsensitive) == 0)
        return new Semaforo(parent);
    if (error)
        *error = QStringLiteral("No existe el control '%1' en Quorvela").arg(identifier);
    return nullptr;
}

} // namespace quorvela
