#include "graphs/ui/Grafo.h"

#include "graphs/ui/LienzoGrafico.h"

#include <QEvent>
#include <QMenu>
#include <QVBoxLayout>

Grafo::Grafo(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Grafo"));
    setWindowTitle(QStringLiteral("Grafo"));
    resize(900, 600);
    auto* vertical = new QVBoxLayout(this);
    vertical->setContentsMargins(0, 0, 0, 0);
    m_lienzo = new LienzoGrafico(this);
    m_lienzo->setObjectName(QStringLiteral("Graph4"));
    vertical->addWidget(m_lienzo);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("MenuGrafo"));
    for (const char* texto : {"Copiar", "Imprimir", "Cerrar", "Salir"})
        m_acciones << m_menu->addAction(QString::fromUtf8(texto));
    connect(m_acciones.at(Copiar), &QAction::triggered, this, &Grafo::copiarPedido);
    connect(m_acciones.at(Imprimir), &QAction::triggered, this, &Grafo::imprimirPedido);
    connect(m_acciones.at(Cerrar), &QAction::triggered, this, &QWidget::close);
    // "Salir" only closes the menu.
    connect(m_lienzo, &LienzoGrafico::pulsado, this, [this](const QPoint& donde) { m_menu->popup(donde); });
}

QAction* Grafo::accion(Accion a) const
{
    return m_acciones.value(a);
}

bool Grafo::event(QEvent* evento)
{
    if (evento->type() == QEvent::WindowActivate) {
        ++m_dibujos;
        emit activada();
    }
    return QWidget::event(evento);
}
