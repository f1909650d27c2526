#include "records/ui/PaginaRevision.h"

#include <QVBoxLayout>

PaginaRevision::PaginaRevision(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PaginaRevision"));
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(8, 8, 8, 8);
}
