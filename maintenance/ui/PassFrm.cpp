#include "maintenance/ui/PassFrm.h"

#include "maintenance/logic/PasswordStore.h"
#include "utilities/logic/Mensajes.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

class StarMaskStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

const QString kInicioSesion = QString::fromUtf8("Inicio de sesión");

} // namespace

QString PassFrm::titulo(const QString& seccion)
{
    return seccion == PasswordStore::seccionLectura() ? QString::fromUtf8("Contraseña Lectura")
                                                      : QString::fromUtf8("Contraseña Escritura");
}

PassFrm::PassFrm(const QString& seccion, PasswordStore& passwords, Mensajes& mensajes, QWidget* parent)
    : QDialog(parent), m_seccion(seccion), m_passwords(passwords), m_mensajes(mensajes)
{
    setObjectName(seccion == PasswordStore::seccionLectura() ? QStringLiteral("PassFrm1")
                                                             : QStringLiteral("PassFrm2"));
    setWindowTitle(titulo(seccion));

    auto* mascara = new StarMaskStyle;
    mascara->setParent(this);
    auto* formulario = new QFormLayout;
    const char* etiquetas[] = {"Vieja Contraseña:", "Nueva Contraseña:", "Confirme Contraseña:"};
    for (int i = 0; i < 3; ++i) {
        m_cajas[i] = new QLineEdit(this);
        m_cajas[i]->setObjectName(QStringLiteral("txtPassword_%1").arg(i));
        m_cajas[i]->setEchoMode(QLineEdit::Password);
        m_cajas[i]->setStyle(mascara);
        // What the connection window can take, and no more.
        m_cajas[i]->setMaxLength(PasswordStore::kLongitudMaxima);
        formulario->addRow(QString::fromUtf8(etiquetas[i]), m_cajas[i]);
    }
    m_paletaNormal = m_cajas[0]->palette();

    m_ok = new QPushButton(QStringLiteral("&Aceptar"), this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    auto* cancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cancelar->setObjectName(QStringLiteral("cmdCancel"));
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(m_ok);
    botones->addWidget(cancelar);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(formulario);
    layout->addLayout(botones);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_ok, &QPushButton::clicked, this, &PassFrm::aceptar);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    leerEstado();
}

void PassFrm::leerEstado()
{
    // The setting is read afresh: the other window or another run may have changed it.
    m_sinClaveAnterior = !m_passwords.hasPassword(m_seccion);
    QLineEdit* vieja = m_cajas[0];
    vieja->setEnabled(!m_sinClaveAnterior);
    QPalette paleta = m_paletaNormal;
    if (m_sinClaveAnterior)
        paleta.setColor(QPalette::Base, paleta.color(QPalette::Button));
    vieja->setPalette(paleta);
}

void PassFrm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    leerEstado();
    enfocar(m_sinClaveAnterior ? m_cajas[1] : m_cajas[0]);
}

void PassFrm::enfocar(QLineEdit* caja)
{
    caja->setFocus();
    caja->selectAll();
}

void PassFrm::aceptar()
{
    const QString vieja = m_cajas[0]->text();
    const QString nueva = m_cajas[1]->text();
    const QString confirmada = m_cajas[2]->text();

    if (!m_sinClaveAnterior && !m_passwords.matches(m_seccion, vieja)) {
        m_mensajes.show(QString::fromUtf8("La contraseña no es válida. Vuelva a intentarlo"), kInicioSesion);
        enfocar(m_cajas[0]);
        return;
    }
    if (nueva.isEmpty() && confirmada.isEmpty()) {
        const Status st = m_passwords.removePassword(m_seccion);
        m_mensajes.aviso(
            st ? QString::fromUtf8("Se ha deshabilitado la contraseña")
               : QString::fromUtf8("Se ha producido un error al intentar deshabilitar la contraseña"));
        accept();
        return;
    }
    if (nueva != confirmada) {
        m_mensajes.show(QStringLiteral("Las nuevas contraseñas no son iguales. Vuelva a intentarlo"),
                        kInicioSesion);
        enfocar(m_cajas[1]);
        return;
    }
    // Hashing takes a noticeable moment on purpose.
    m_mensajes.setBusy(true);
    const Status st = m_passwords.setPassword(m_seccion, nueva);
    m_mensajes.setBusy(false);
    if (st)
        m_mensajes.aviso(m_sinClaveAnterior ? QString::fromUtf8("Se ha habilitado la contraseña")
                                            : QString::fromUtf8("La contraseña se ha cambiado con Éxito"));
    else
        m_mensajes.aviso(
            m_sinClaveAnterior
                ? QString::fromUtf8("Se ha producido un error al intentar habilitar la contraseña")
                : QString::fromUtf8("Se ha producido un error al intentar cambiar la contraseña"));
    accept();
}
