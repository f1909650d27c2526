#pragma once

#include <QDialog>
#include <QPalette>

class Mensajes;
class PasswordStore;
class QLineEdit;
class QPushButton;
class QRadioButton;
struct RunState;

// The connection window: the user picks read-only or read/write work and, when that mode
// has a password, types it. Sets AccesoConcedido and SoloLectura of the run state.
class Pas : public QDialog
{
    Q_OBJECT
public:
    Pas(RunState& state, const PasswordStore& passwords, Mensajes& mensajes, QWidget* parent = nullptr);

    // "Aceptar": decides access and closes the window in every case.
    void aceptar();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString seccionElegida() const;
    // Enables the password box only when the chosen mode has a password.
    void actualizarClave();

    RunState& m_state;
    const PasswordStore& m_passwords;
    Mensajes& m_mensajes;
    QRadioButton* m_option1 = nullptr;
    QRadioButton* m_option2 = nullptr;
    QLineEdit* m_text1 = nullptr;
    QPushButton* m_command1 = nullptr;
    QPalette m_normalPalette;
    bool m_decidido = false;
};
