#pragma once

#include "diagnosis/logic/EvaluacionEnsayo.h"
#include "diagnosis/ui/SiempreVisible.h"
#include "diagnosis/ui/VentanaMetodo.h"

#include <QObject>
#include <QPointer>
#include <array>

class DataViews;
class Mensajes;
class Trafo;
struct RunState;

// Connects the test tab of the main window to the evaluation: the gas-ratio table, the
// observations with their highlighted boxes and light, the totals typed into, the three gas
// method windows and the general diagnosis of the whole file.
class DiagnosticoPantalla : public QObject
{
    Q_OBJECT
public:
    DiagnosticoPantalla(RunState& estado, DataViews& vistas, Mensajes& mensajes, Trafo& trafo,
                        QObject* parent = nullptr);
    ~DiagnosticoPantalla() override;

    // The gas-ratio table of the test tab; refreshes the open method windows first.
    void Calculus();
    // The observations, highlighted boxes and light of the test on screen.
    void Diagnos();
    // The totals that follow a typed change of the box bound to `campo`.
    void Calculos(const QString& campo);
    // Opens (or raises) method window 0 Dornenburg, 1 Rogers, 2 gas ratios.
    VentanaMetodo* abrirMetodo(int indice);
    VentanaMetodo* ventanaMetodo(int indice) const { return m_ventanas.at(indice); }
    // The general diagnosis of every transformer, with the priority list re-ordered after it.
    void reconstruir();

    // The test on screen as the evaluation reads it.
    diagnostico::EnsayoEnPantalla ensayoEnPantalla() const;
    diagnostico::EnsayoGases ensayoGases() const;

private:
    bool hayEnsayo() const;
    bool marcada(int casilla) const;
    void ponerTexto(const QString& campo, const std::optional<double>& valor);
    void indicesPolarizacion();

    RunState& m_estado;
    DataViews& m_vistas;
    Mensajes& m_mensajes;
    Trafo& m_trafo;
    SiempreVisible m_siempreVisible;
    std::array<QPointer<VentanaMetodo>, 3> m_ventanas;
};
