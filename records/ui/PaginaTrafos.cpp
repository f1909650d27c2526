#include "records/ui/PaginaTrafos.h"

#include <QVBoxLayout>

PaginaTrafos::PaginaTrafos(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PaginaTrafos"));
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(8, 8, 8, 8);
}
