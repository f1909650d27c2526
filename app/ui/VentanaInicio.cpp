#include "app/ui/VentanaInicio.h"

#include "Version.h"
#include "app/ui/Logo.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

VentanaInicio::VentanaInicio(std::function<void()> alTerminar, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_alTerminar(std::move(alTerminar))
{
    setObjectName(QStringLiteral("VentanaInicio"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Quorvela"));

    auto* marco = new QFrame(this);
    marco->setObjectName(QStringLiteral("Marco"));
    marco->setFrameShape(QFrame::Box);
    marco->setLineWidth(2);
    marco->setStyleSheet(QStringLiteral("#Marco { background: #f4f6fa; border: 2px solid #1f4e8c; }"));

    auto* logo = new Logo(marco);
    logo->setFixedSize(112, 112);

    auto* nombre = new QLabel(QStringLiteral("Quorvela"), marco);
    nombre->setObjectName(QStringLiteral("Nombre"));
    QFont f = nombre->font();
    f.setPointSizeF(f.pointSizeF() * 2.4);
    f.setBold(true);
    nombre->setFont(f);
    nombre->setStyleSheet(QStringLiteral("color: #1f4e8c;"));

    auto* texto = new QLabel(QString::fromUtf8("Mantenimiento de transformadores de potencia"), marco);
    texto->setObjectName(QStringLiteral("Texto"));

    m_version = new QLabel(QStringLiteral(QUORVELA_VERSION_TEXT), marco);
    m_version->setObjectName(QStringLiteral("Version"));
    m_version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* textos = new QVBoxLayout;
    textos->addStretch();
    textos->addWidget(nombre);
    textos->addWidget(texto);
    textos->addStretch();
    textos->addWidget(m_version);

    auto* fila = new QHBoxLayout(marco);
    fila->setContentsMargins(24, 20, 24, 16);
    fila->setSpacing(24);
    fila->addWidget(logo, 0, Qt::AlignVCenter);
    fila->addLayout(textos, 1);

    auto* exterior = new QVBoxLayout(this);
    exterior->setContentsMargins(0, 0, 0, 0);
    exterior->addWidget(marco);
    setFixedSize(480, 180);

    m_timer.setSingleShot(true);
    m_timer.setInterval(5000);
    connect(&m_timer, &QTimer::timeout, this, &VentanaInicio::terminar);
}

void VentanaInicio::setIntervalo(int ms)
{
    m_timer.setInterval(ms);
}

int VentanaInicio::intervalo() const
{
    return m_timer.interval();
}

QString VentanaInicio::textoVersion() const
{
    return m_version->text();
}

void VentanaInicio::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    if (!m_terminado && !m_timer.isActive())
        m_timer.start();
}

void VentanaInicio::terminar()
{
    if (m_terminado)
        return;
    m_terminado = true;
    // The main window goes up first, so there is always a window on screen.
    if (m_alTerminar)
        m_alTerminar();
    close();
}
