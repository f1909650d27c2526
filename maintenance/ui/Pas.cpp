#include "maintenance/ui/Pas.h"

#include "app/logic/RunState.h"
#include "maintenance/logic/PasswordStore.h"
#include "utilities/logic/Mensajes.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// Masks typed characters with '*' whatever the platform style would use.
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

bool isEnter(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

Pas::Pas(RunState& state, const PasswordStore& passwords, Mensajes& mensajes, QWidget* parent)
    : QDialog(parent), m_state(state), m_passwords(passwords), m_mensajes(mensajes)
{
    setObjectName(QStringLiteral("Pas"));
    setWindowTitle(QStringLiteral("Conexión"));
    setModal(true);

    auto* elija = new QLabel(QStringLiteral("Elija una opción:"), this);
    m_option1 = new QRadioButton(QStringLiteral("Solo Lectura"), this);
    m_option1->setObjectName(QStringLiteral("Option1"));
    m_option1->setChecked(true);
    m_option2 = new QRadioButton(QStringLiteral("Lectura / Escritura"), this);
    m_option2->setObjectName(QStringLiteral("Option2"));

    auto* clave = new QLabel(QStringLiteral("Pasword:"), this);
    m_text1 = new QLineEdit(this);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setEchoMode(QLineEdit::Password);
    m_text1->setMaxLength(PasswordStore::kLongitudMaxima);
    auto* mask = new StarMaskStyle;
    mask->setParent(this);
    m_text1->setStyle(mask);
    clave->setBuddy(m_text1);
    m_normalPalette = m_text1->palette();

    m_command1 = new QPushButton(QStringLiteral("Aceptar"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    // Enter is handled by the box and the first choice alone, not by a dialog default button.
    m_command1->setAutoDefault(false);
    m_command1->setDefault(false);

    auto* claveFila = new QHBoxLayout;
    claveFila->addWidget(clave);
    claveFila->addWidget(m_text1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(elija);
    layout->addWidget(m_option1);
    layout->addWidget(m_option2);
    layout->addLayout(claveFila);
    layout->addWidget(m_command1, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_option1, &QRadioButton::toggled, this, &Pas::actualizarClave);
    connect(m_option2, &QRadioButton::toggled, this, &Pas::actualizarClave);
    connect(m_command1, &QPushButton::clicked, this, &Pas::aceptar);
    connect(m_text1, &QLineEdit::returnPressed, this, [this] {
        m_command1->setFocus();
        aceptar();
    });
    m_option1->installEventFilter(this);
    actualizarClave();
}

QString Pas::seccionElegida() const
{
    if (m_option1->isChecked())
        return PasswordStore::seccionLectura();
    if (m_option2->isChecked())
        return PasswordStore::seccionEscritura();
    return QString();
}

void Pas::actualizarClave()
{
    const QString section = seccionElegida();
    const bool conClave = !section.isEmpty() && m_passwords.hasPassword(section);
    m_text1->setEnabled(conClave);
    if (conClave) {
        m_text1->setPalette(m_normalPalette);
        if (m_option2->isChecked())
            m_text1->setFocus();
    } else {
        QPalette grey = m_normalPalette;
        grey.setColor(QPalette::Base, QColor(224, 224, 224));
        m_text1->setPalette(grey);
    }
}

void Pas::aceptar()
{
    if (m_decidido)
        return;
    m_decidido = true;

    const QString section = seccionElegida();
    if (section.isEmpty()) {
        reject();
        return;
    }
    m_state.SoloLectura = m_option1->isChecked();
    if (!m_passwords.verify(section, m_text1->text())) {
        m_mensajes.aviso(QStringLiteral("PASSWORD INCORRECTO"));
        reject();
        return;
    }
    m_state.AccesoConcedido = true;
    accept();
}

void Pas::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_decidido = false;
    actualizarClave();
}

void Pas::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        actualizarClave();
}

bool Pas::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_option1 && isEnter(event)) {
        aceptar();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
