#include "records/ui/PaginaEnsayos.h"

#include <QVBoxLayout>

PaginaEnsayos::PaginaEnsayos(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PaginaEnsayos"));
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(8, 8, 8, 8);
}
