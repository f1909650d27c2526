#include "diagnosis/ui/Diagnostico1.h"

#include "diagnosis/ui/Dornenburg.h"

#include <QHBoxLayout>

Diagnostico1::Diagnostico1(FuenteEnsayo fuente, bool& siempreVisible, QWidget* parent)
    : VentanaMetodo(diagnostico::tablaDornenburg(), QString::fromUtf8("Diagnóstico Dornenburg"),
                    std::move(fuente), siempreVisible, parent),
      m_grafico(new Dornenburg)
{
    setObjectName(QStringLiteral("Diagnostico1"));
    cuerpo()->insertWidget(0, m_grafico, 0, Qt::AlignTop);
}

diagnostico::ResultadoMetodo Diagnostico1::evaluar(const diagnostico::EnsayoGases& ensayo)
{
    const diagnostico::ResultadoDornenburg r = diagnostico::evaluarDornenburg(ensayo);
    // A test the method does not judge has no point: the chart shows none rather than the
    // point of a test shown before.
    if (r.punto) {
        m_grafico->setEjeX(r.punto->x());
        m_grafico->setEjeY(r.punto->y());
    }
    m_grafico->setMarcadorVisible(r.punto.has_value());
    return r;
}
