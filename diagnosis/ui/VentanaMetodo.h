#pragma once

#include "diagnosis/logic/MetodosGas.h"

#include <QList>
#include <QStringList>
#include <QWidget>
#include <functional>

class QCheckBox;
class QHBoxLayout;
class QLabel;

// Supplies the test that is current in the main window, as the methods read it.
using FuenteEnsayo = std::function<diagnostico::EnsayoGases()>;

// A modeless window that shows a gas method's criteria table and marks what the method's
// evaluator returns for the current test. It owns no data: recalcular reads the test again.
class VentanaMetodo : public QWidget
{
    Q_OBJECT

public:
    // siempreVisible: this window's keep-visible flag, set by a click on "Siempre Visible"
    // and cleared when the window closes; it must stay valid while the window can close.
    VentanaMetodo(const diagnostico::TablaMetodo& tabla, const QString& caption, FuenteEnsayo fuente,
                  bool& siempreVisible, QWidget* parent = nullptr);

    // Recomputes everything from the current test and refreshes the window.
    void recalcular();

    // What the window shows: captions of the visible cells row by row, the visible fault
    // names, both in table order, and whether "Forzado" shows.
    QStringList celdasVisibles() const;
    QStringList fallosVisibles() const;
    bool forzadoVisible() const;

    QLabel* celda(int fila, int indice) const { return m_celdas.at(fila).at(indice); }
    QLabel* fallo(int fila) const { return m_fallos.at(fila); }
    QLabel* forzado() const { return m_forzado; }
    QCheckBox* check1() const { return m_check1; }

protected:
    // The method's evaluation of one test; a window with a chart also moves its point here.
    virtual diagnostico::ResultadoMetodo evaluar(const diagnostico::EnsayoGases& ensayo);
    // The row under the title: the table sits at its right end.
    QHBoxLayout* cuerpo() const { return m_cuerpo; }

    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* crearTabla();
    void mostrar(const diagnostico::ResultadoMetodo& resultado);

    const diagnostico::TablaMetodo& m_tabla;
    FuenteEnsayo m_fuente;
    bool& m_siempreVisible;
    QHBoxLayout* m_cuerpo = nullptr;
    QCheckBox* m_check1 = nullptr;
    QLabel* m_forzado = nullptr;
    QList<QList<QLabel*>> m_celdas;
    QList<QLabel*> m_fallos;
};
