#include "records/ui/BarraNavegacion.h"

#include "data/logic/RecordView.h"
#include "records/logic/Alineacion.h"
#include "records/logic/Logging.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

BarraNavegacion::BarraNavegacion(const QString& prefijo, QWidget* parent)
    : QWidget(parent), m_prefijo(prefijo)
{
    setObjectName(QStringLiteral("Barra") + prefijo);
    auto* fila = new QHBoxLayout(this);
    fila->setContentsMargins(0, 0, 0, 0);
    fila->setSpacing(2);
    const QString textos[4] = {QStringLiteral("|<"), QStringLiteral("<"), QStringLiteral(">"),
                               QStringLiteral(">|")};
    const QString nombres[4] = {QStringLiteral("Primero"), QStringLiteral("Anterior"),
                                QStringLiteral("Siguiente"), QStringLiteral("Ultimo")};
    const QString consejos[4] = {QStringLiteral("Primer registro"), QStringLiteral("Registro anterior"),
                                 QStringLiteral("Registro siguiente"), QString::fromUtf8("Último registro")};
    m_caption = new QLabel(prefijo, this);
    m_caption->setObjectName(QStringLiteral("Caption"));
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setMinimumWidth(110);
    m_caption->setFrameShape(QFrame::StyledPanel);
    for (int i = 0; i < 4; ++i) {
        m_botones[i] = new QToolButton(this);
        m_botones[i]->setText(textos[i]);
        m_botones[i]->setObjectName(nombres[i]);
        m_botones[i]->setToolTip(consejos[i]);
        m_botones[i]->setAutoRaise(false);
        connect(m_botones[i], &QToolButton::clicked, this, [this, i] { mover(static_cast<Boton>(i)); });
        if (i == 2)
            fila->addWidget(m_caption, 1);
        fila->addWidget(m_botones[i]);
    }
}

void BarraNavegacion::setVista(RecordView* vista)
{
    if (m_vista)
        disconnect(m_vista, nullptr, this, nullptr);
    m_vista = vista;
    if (m_vista)
        connect(m_vista, &RecordView::repositioned, this, &BarraNavegacion::actualizarCaption);
}

QString BarraNavegacion::caption() const
{
    return m_caption->text();
}

void BarraNavegacion::actualizarCaption()
{
    if (!m_vista || !m_vista->isOpen()) {
        m_caption->setText(m_prefijo);
        return;
    }
    m_caption->setText(QStringLiteral("%1:%2-%3")
                           .arg(m_prefijo)
                           .arg(m_vista->absolutePosition() + 1)
                           .arg(m_vista->recordCount()));
}

void BarraNavegacion::mover(Boton b)
{
    emit pulsado(b);
    if (!m_vista || !m_vista->isOpen())
        return;
    // A refused step (a pending edit the file would not take, say) leaves the row as it was;
    // the view has reported why.
    ignorarFallo(Alineacion::pasar(*m_vista, static_cast<Alineacion::Paso>(b)), logRecords(),
                 "Paso de la barra de navegación");
}
