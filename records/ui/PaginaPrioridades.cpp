#include "records/ui/PaginaPrioridades.h"

#include <QVBoxLayout>

PaginaPrioridades::PaginaPrioridades(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PaginaPrioridades"));
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(8, 8, 8, 8);
}
