#include "controls/Factory.h"

#include "controls/Registro.h"
#include "controls/SemaforoLuz.h"

namespace lumerix {

QWidget* createControl(const QString& identifier, QWidget* parent, QString* error)
{
    // Identifiers ignore case, as names in the component registry always did.
    if (identifier.compare(QLatin1String("Lumerix.SemaforoLuz"), Qt::CaseInsensitive) == 0)
        return new SemaforoLuz(parent);
    if (identifier.compare(QLatin1String("Lumerix.Registro"), Qt::CaseInsensitive) == 0)
        return new Registro(parent);
    if (error)
        *error = QStringLiteral("No existe el control '%1' en la biblioteca Lumerix").arg(identifier);
    return nullptr;
}

} // namespace lumerix
