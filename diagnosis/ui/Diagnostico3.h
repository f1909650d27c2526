#pragma once

#include "diagnosis/ui/VentanaMetodo.h"

// "Relación de Gases": the six-row table of the three basic gas ratios.
class Diagnostico3 : public VentanaMetodo
{
    Q_OBJECT

public:
    Diagnostico3(FuenteEnsayo fuente, bool& siempreVisible, QWidget* parent = nullptr);
};
