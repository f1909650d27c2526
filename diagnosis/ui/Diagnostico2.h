#pragma once

#include "diagnosis/ui/VentanaMetodo.h"

// "Diagnóstico Rogers": the twelve-row Rogers table.
class Diagnostico2 : public VentanaMetodo
{
    Q_OBJECT

public:
    Diagnostico2(FuenteEnsayo fuente, bool& siempreVisible, QWidget* parent = nullptr);
};
