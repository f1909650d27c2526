#include "records/ui/PaginaBuscar.h"

#include <QVBoxLayout>

PaginaBuscar::PaginaBuscar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PaginaBuscar"));
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(8, 8, 8, 8);
}
