#include "diagnosis/ui/Diagnostico3.h"

Diagnostico3::Diagnostico3(FuenteEnsayo fuente, bool& siempreVisible, QWidget* parent)
    : VentanaMetodo(diagnostico::tablaRelacionGases(), QString::fromUtf8("Relación de Gases"),
                    std::move(fuente), siempreVisible, parent)
{
    setObjectName(QStringLiteral("Diagnostico3"));
}
