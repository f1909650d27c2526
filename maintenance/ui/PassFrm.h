#pragma once

#include <QDialog>

class Mensajes;
class PasswordStore;
class QLineEdit;
class QPushButton;

// The password windows of the two access modes: PassFrm1 "Contraseña Lectura" for the read
// password (section "QL1") and PassFrm2 "Contraseña Escritura" for the write password ("QL2").
// The old password, the new one twice: both new boxes empty remove the password.
class PassFrm : public QDialog
{
    Q_OBJECT
public:
    PassFrm(const QString& seccion, PasswordStore& passwords, Mensajes& mensajes, QWidget* parent = nullptr);

    // The window for a section: "QL1" gives PassFrm1, "QL2" PassFrm2.
    static QString titulo(const QString& seccion);

    // "&Aceptar": checks the old password and stores, changes or removes the password.
    void aceptar();
    // No password was set when the window opened: the old box is disabled.
    bool sinClaveAnterior() const { return m_sinClaveAnterior; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void leerEstado();
    void enfocar(QLineEdit* caja);

    QString m_seccion;
    PasswordStore& m_passwords;
    Mensajes& m_mensajes;
    QLineEdit* m_cajas[3] = {};
    QPushButton* m_ok = nullptr;
    QPalette m_paletaNormal;
    bool m_sinClaveAnterior = false;
};
