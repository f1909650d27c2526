#include "records/ui/PaginaBuscar.h"

#include "records/ui/CabeceraTrafo.h"

#include <QVBoxLayout>

PaginaBuscar::PaginaBuscar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PaginaBuscar"));
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(8, 8, 8, 8);
    m_luz = CabeceraTrafo::crearLuz(7, this);
}

void PaginaBuscar::setEstadoLuz(int estado)
{
    CabeceraTrafo::setEstadoLuz(m_luz, estado);
}

void PaginaBuscar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    CabeceraTrafo::colocarEnEsquina(m_luz);
}

void PaginaBuscar::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    CabeceraTrafo::colocarEnEsquina(m_luz);
}
