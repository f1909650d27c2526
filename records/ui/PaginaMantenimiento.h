#pragma once

#include <QWidget>

class QVBoxLayout;

// The maintenance tab: detail, table, graphs and calendar.
class PaginaMantenimiento : public QWidget
{
    Q_OBJECT
public:
    explicit PaginaMantenimiento(QWidget* parent = nullptr);

private:
    QVBoxLayout* m_layout = nullptr;
};
