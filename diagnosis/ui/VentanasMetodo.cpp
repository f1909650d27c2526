#include "diagnosis/ui/VentanasMetodo.h"

#include "diagnosis/ui/Diagnostico1.h"
#include "diagnosis/ui/Diagnostico2.h"
#include "diagnosis/ui/Diagnostico3.h"

VentanasMetodo::VentanasMetodo(FuenteEnsayo fuente, QObject* parent)
    : QObject(parent), m_fuente(std::move(fuente))
{
}

VentanasMetodo::~VentanasMetodo()
{
    // The windows are top-level: nothing else deletes them.
    for (const QPointer<VentanaMetodo>& v : m_ventanas)
        delete v.data();
    for (const QPointer<VentanaDuval>& v : m_duval)
        delete v.data();
}

VentanaDuval* VentanasMetodo::duval(DibujoDuval::Figura figura) const
{
    return m_duval.at(figura == DibujoDuval::Figura::Triangulo ? 0 : 1).data();
}

VentanaDuval* VentanasMetodo::abrirDuval(DibujoDuval::Figura figura)
{
    const bool triangulo = figura == DibujoDuval::Figura::Triangulo;
    QPointer<VentanaDuval>& v = m_duval[triangulo ? 0 : 1];
    if (!v)
        v = new VentanaDuval(figura, m_fuente,
                             triangulo ? m_siempreVisible.duval : m_siempreVisible.pentagono);
    v->show();
    v->raise();
    v->activateWindow();
    v->recalcular();
    return v;
}

void VentanasMetodo::pedir(int indice)
{
    if (indice == 3)
        abrirDuval(DibujoDuval::Figura::Triangulo);
    else if (indice == 4)
        abrirDuval(DibujoDuval::Figura::Pentagono);
    else
        abrir(indice);
}

VentanaMetodo* VentanasMetodo::ventana(int indice) const
{
    return indice >= 0 && indice < 3 ? m_ventanas.at(static_cast<size_t>(indice)).data() : nullptr;
}

VentanaMetodo* VentanasMetodo::abrir(int indice)
{
    if (indice < 0 || indice > 2)
        return nullptr;
    QPointer<VentanaMetodo>& v = m_ventanas[static_cast<size_t>(indice)];
    if (!v) {
        switch (indice) {
        case 0:
            v = new Diagnostico1(m_fuente, m_siempreVisible.dornenburg);
            break;
        case 1:
            v = new Diagnostico2(m_fuente, m_siempreVisible.rogers);
            break;
        default:
            v = new Diagnostico3(m_fuente, m_siempreVisible.relacionGases);
            break;
        }
    }
    v->show();
    v->raise();
    v->activateWindow();
    v->recalcular();
    return v;
}

void VentanasMetodo::recalcular()
{
    const bool siempre[] = {m_siempreVisible.dornenburg, m_siempreVisible.rogers,
                            m_siempreVisible.relacionGases};
    for (const QPointer<VentanaMetodo>& v : m_ventanas)
        if (v && v->isVisible())
            v->recalcular();
    for (size_t i = 0; i < m_ventanas.size(); ++i)
        if (m_ventanas.at(i) && m_ventanas.at(i)->isVisible() && siempre[i])
            m_ventanas.at(i)->raise();
    const bool siempreDuval[] = {m_siempreVisible.duval, m_siempreVisible.pentagono};
    for (size_t i = 0; i < m_duval.size(); ++i)
        if (const QPointer<VentanaDuval>& v = m_duval.at(i); v && v->isVisible()) {
            v->recalcular();
            if (siempreDuval[i])
                v->raise();
        }
}
