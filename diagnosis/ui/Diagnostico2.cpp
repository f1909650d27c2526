#include "diagnosis/ui/Diagnostico2.h"

Diagnostico2::Diagnostico2(FuenteEnsayo fuente, bool& siempreVisible, QWidget* parent)
    : VentanaMetodo(diagnostico::tablaRogers(), QString::fromUtf8("Diagnóstico Rogers"), std::move(fuente),
                    siempreVisible, parent)
{
    setObjectName(QStringLiteral("Diagnostico2"));
}
