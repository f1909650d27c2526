#pragma once

#include <QWidget>

class QVBoxLayout;

// The inspections tab: detail, table, graphs and calendar.
class PaginaRevision : public QWidget
{
    Q_OBJECT
public:
    explicit PaginaRevision(QWidget* parent = nullptr);

private:
    QVBoxLayout* m_layout = nullptr;
};
