#include "records/ui/PaginaMantenimiento.h"

#include <QVBoxLayout>

PaginaMantenimiento::PaginaMantenimiento(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PaginaMantenimiento"));
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(8, 8, 8, 8);
}
