#pragma once

#include "diagnosis/ui/SiempreVisible.h"
#include "diagnosis/ui/VentanaDuval.h"
#include "diagnosis/ui/VentanaMetodo.h"

#include <QObject>
#include <QPointer>
#include <array>

// The gas-method windows of the test shown in the main window (the three ratio methods,
// Duval's triangle and pentagon): opened (or raised) on
// request, recomputed whenever the main window evaluates a test, and the ones marked
// "Siempre Visible" brought forward then. Each reads the test through fuente.
class VentanasMetodo : public QObject
{
    Q_OBJECT
public:
    explicit VentanasMetodo(FuenteEnsayo fuente, QObject* parent = nullptr);
    ~VentanasMetodo() override;

    // Opens (or raises) window 0 Dornenburg, 1 Rogers, 2 gas ratios, recomputed at once.
    VentanaMetodo* abrir(int indice);
    // Opens (or raises) Duval's triangle or pentagon, recomputed at once.
    VentanaDuval* abrirDuval(DibujoDuval::Figura figura);
    // A button of the test's diagnosis: 0 to 2 the ratio methods, 3 the triangle, 4 the pentagon.
    void pedir(int indice);
    VentanaDuval* duval(DibujoDuval::Figura figura) const;
    // Recomputes the open windows and brings forward those kept visible.
    void recalcular();
    VentanaMetodo* ventana(int indice) const;

private:
    FuenteEnsayo m_fuente;
    SiempreVisible m_siempreVisible;
    std::array<QPointer<VentanaMetodo>, 3> m_ventanas;
    std::array<QPointer<VentanaDuval>, 2> m_duval; // triangle, pentagon
};
