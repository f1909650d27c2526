#pragma once

#include <QWidget>

class QVBoxLayout;

// The search tab: query builder, searches, sub-groups and reports.
class PaginaBuscar : public QWidget
{
    Q_OBJECT
public:
    explicit PaginaBuscar(QWidget* parent = nullptr);

private:
    QVBoxLayout* m_layout = nullptr;
};
