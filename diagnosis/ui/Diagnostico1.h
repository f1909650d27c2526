#pragma once

#include "diagnosis/ui/VentanaMetodo.h"

class Dornenburg;

// "Diagnóstico Dornenburg": the Dörnenburg table at the right and its ratio chart at the left.
class Diagnostico1 : public VentanaMetodo
{
    Q_OBJECT

public:
    Diagnostico1(FuenteEnsayo fuente, bool& siempreVisible, QWidget* parent = nullptr);

    Dornenburg* grafico() const { return m_grafico; }

protected:
    diagnostico::ResultadoMetodo evaluar(const diagnostico::EnsayoGases& ensayo) override;

private:
    Dornenburg* m_grafico = nullptr;
};
