#pragma once

#include <QWidget>

class QVBoxLayout;

// The priority list with the diagnosis of its current row.
class PaginaPrioridades : public QWidget
{
    Q_OBJECT
public:
    explicit PaginaPrioridades(QWidget* parent = nullptr);

private:
    QVBoxLayout* m_layout = nullptr;
};
