#include "app/ui/AvisoRespaldo.h"

#include "Version.h"
#include "app/ui/Logo.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

AvisoRespaldo::AvisoRespaldo(bool cierreAutomatico, int intervaloMs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_cierreAutomatico(cierreAutomatico)
{
    setObjectName(QStringLiteral("AvisoRespaldo"));
    setWindowTitle(QStringLiteral("Quorvela"));
    setModal(true);

    auto* marco = new QFrame(this);
    marco->setObjectName(QStringLiteral("Marco"));
    marco->setStyleSheet(QStringLiteral("#Marco { background: #f4f6fa; border: 2px solid #1f4e8c; }"));

    auto* titulo = new QLabel(QStringLiteral("Quorvela"), marco);
    titulo->setObjectName(QStringLiteral("Titulo"));
    QFont f = titulo->font();
    f.setPointSizeF(f.pointSizeF() * 1.8);
    f.setBold(true);
    titulo->setFont(f);
    titulo->setStyleSheet(QStringLiteral("color: #1f4e8c;"));

    auto* texto = new QLabel(QStringLiteral("Realizando Back Up de la Base de Datos..."), marco);
    texto->setObjectName(QStringLiteral("Texto"));

    auto* version = new QLabel(QString::fromUtf8("Versión ") + QStringLiteral(QUORVELA_VERSION_TEXT), marco);
    version->setObjectName(QStringLiteral("Version"));

    auto* logo = new Logo(marco);
    logo->setFixedSize(80, 80);

    auto* textos = new QVBoxLayout;
    textos->addWidget(titulo);
    textos->addStretch();
    textos->addWidget(texto);
    textos->addStretch();
    textos->addWidget(version);

    auto* fila = new QHBoxLayout(marco);
    fila->setContentsMargins(20, 16, 20, 14);
    fila->setSpacing(20);
    fila->addWidget(logo, 0, Qt::AlignVCenter);
    fila->addLayout(textos, 1);

    auto* exterior = new QVBoxLayout(this);
    exterior->setContentsMargins(0, 0, 0, 0);
    exterior->addWidget(marco);
    setFixedSize(440, 140);

    m_timer.setSingleShot(true);
    m_timer.setInterval(intervaloMs);
    connect(&m_timer, &QTimer::timeout, this, &QDialog::accept);
}

void AvisoRespaldo::mostrar(bool& yaMostrado, QWidget* parent, int intervaloMs)
{
    AvisoRespaldo aviso(!yaMostrado, intervaloMs, parent);
    aviso.exec();
    yaMostrado = true;
}

bool AvisoRespaldo::cierreAutomatico() const
{
    return m_cierreAutomatico;
}

void AvisoRespaldo::keyPressEvent(QKeyEvent* event)
{
    // Every key closes the notice, Escape included.
    event->accept();
    accept();
}

void AvisoRespaldo::mousePressEvent(QMouseEvent* event)
{
    QDialog::mousePressEvent(event);
    accept();
}

void AvisoRespaldo::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_cierreAutomatico && !m_timer.isActive())
        m_timer.start();
}
