#pragma once

#include <QDate>
#include <QDialog>
#include <functional>

class Mensajes;
class QLabel;
class QLineEdit;
class QRadioButton;
struct RunState;

// The backup window: a folder, plain or compressed, and the day's backup name.
class Back : public QDialog
{
    Q_OBJECT
public:
    Back(RunState& estado, Mensajes& mensajes, std::function<QDate()> hoy,
         std::function<bool()> guardarPendientes, QWidget* parent = nullptr);

    // "&Aceptar": makes the backup; the window closes only after a success.
    void aceptar();
    // The backup's name for the current choice, "T-ddmmyy.mdb" or ".zip".
    QString nombre() const;

private:
    void actualizarEtiqueta();
    void examinar();

    RunState& m_estado;
    Mensajes& m_mensajes;
    std::function<QDate()> m_hoy;
    std::function<bool()> m_guardarPendientes;
    QLineEdit* m_directorio = nullptr;
    QRadioButton* m_si = nullptr;
    QRadioButton* m_no = nullptr;
    QLabel* m_label2 = nullptr;
};
