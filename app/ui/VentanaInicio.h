#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

class QLabel;

// The start-up window: logo, product name and version. After its interval it runs the
// hand-over (showing the main window) once and closes itself.
class VentanaInicio : public QWidget
{
    Q_OBJECT
public:
    explicit VentanaInicio(std::function<void()> alTerminar, QWidget* parent = nullptr);

    // 5000 ms unless changed before show().
    void setIntervalo(int ms);
    int intervalo() const;
    QString textoVersion() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void terminar();

    std::function<void()> m_alTerminar;
    QTimer m_timer;
    QLabel* m_version = nullptr;
    bool m_terminado = false;
};
