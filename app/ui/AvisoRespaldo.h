#pragma once

#include <QDialog>
#include <QTimer>

// The notice shown while the automatic backup runs. Any key or a click on its frame closes
// it; the first showing of a run also closes by itself after a short wait.
class AvisoRespaldo : public QDialog
{
    Q_OBJECT
public:
    // cierreAutomatico: close by itself after intervaloMs.
    explicit AvisoRespaldo(bool cierreAutomatico, int intervaloMs = 2000, QWidget* parent = nullptr);

    // Shows the notice modally. yaMostrado is the run's flag: while false the notice closes by
    // itself, and it becomes true once the notice has closed.
    static void mostrar(bool& yaMostrado, QWidget* parent = nullptr, int intervaloMs = 2000);

    bool cierreAutomatico() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QTimer m_timer;
    bool m_cierreAutomatico;
};
